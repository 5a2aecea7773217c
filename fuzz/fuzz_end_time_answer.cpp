// Feeds arbitrary bytes, as the web service's UTF-8 answer, to the end-time reader and the
// fixed-width form the list shows: neither may crash, and a found end time is part of the answer.
#include "common/CommonRoutines.h"
#include "site/YahooMarkers.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString answer = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString endTime = YahooMarkers::endTimeFromWebService(answer);
    if (endTime.isEmpty())
        return 0;
    if (!answer.contains(endTime))
        std::abort();
    padEndDateText(endTime);
    return 0;
}
