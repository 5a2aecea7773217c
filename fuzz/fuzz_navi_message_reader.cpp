// Feeds arbitrary text to the message page reader and to the character-reference decoder.
#include "common/HtmlReferences.h"
#include "site/NaviMessageReader.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString page = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    // A reference never decodes into more text than it takes, nor into a lone surrogate.
    const QString decoded = decodeHtmlReferences(page);
    if (decoded.size() > page.size() || !decoded.isValidUtf16())
        __builtin_trap();
    if (!page.contains(u'&') && decoded != page)
        __builtin_trap();

    const NaviMessageRead read = readNaviMessage(page);
    // Success and an error text exclude each other; the text is a part of the page.
    if (read.ok != read.errorText.isEmpty() || read.text.size() > page.size())
        __builtin_trap();
    if (read.ok && !read.text.isValidUtf16())
        __builtin_trap();
    // A "<br>" left in the text was written as references.
    if (read.ok && read.text.contains(QStringLiteral("<br>")) && !page.contains(u'&'))
        __builtin_trap();
    return 0;
}
