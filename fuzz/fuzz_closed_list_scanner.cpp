// Feeds arbitrary bytes, as text, to the closed-listings page scanner: it must neither crash
// nor loop on any page.
#include "site/ClosedListScanner.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString page = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    scanFirstClosedListPage(page);
    scanNextClosedListPage(page);
    return 0;
}
