// Feeds arbitrary bytes, as text, to the item page scanner in both of its forms: it must
// neither crash nor loop on any page.
#include "site/ItemPageScanner.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString page = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    scanItemPage(page, false);
    scanItemPage(page, true);
    return 0;
}
