// Feeds arbitrary text to the message page reader.
#include "site/NaviMessageReader.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString page = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const NaviMessageRead read = readNaviMessage(page);
    // Success and an error text exclude each other; the text is a part of the page.
    if (read.ok != read.errorText.isEmpty() || read.text.size() > page.size())
        __builtin_trap();
    if (read.ok && read.text.contains(QStringLiteral("<br>")))
        __builtin_trap();
    return 0;
}
