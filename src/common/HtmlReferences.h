#pragma once

#include <QString>
#include <QStringView>

// Replaces the character references of a page's text by the characters they stand for, as a
// browser shows them: the named references of HTML 4 and "&apos;" (with their ';'), and decimal
// ("&#39;") and hexadecimal ("&#x27;") numbers, whose ';' may be missing. A number that is 0, a
// surrogate or beyond U+10FFFF becomes U+FFFD; 0x80 to 0x9F are read as Windows-1252, as
// browsers read them. Text that forms no reference ("&", "&foo;", "&#;") stays as written.
// Each reference is read once: "&amp;lt;" gives "&lt;".
QString decodeHtmlReferences(QStringView text);
