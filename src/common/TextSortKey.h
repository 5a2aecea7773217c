#pragma once

#include <QStringView>
#include <QtGlobal>

// The text order of the program's lists as integers: the ASCII letters compare without regard to
// case, every other UTF-16 code unit by its value, and a text that is the beginning of another
// sorts first. Four folded code units are packed into one 64-bit word, the first in the high
// bits and missing units as 0, so that words compare as the texts do; texts whose words are
// equal are told apart by the following words.
namespace TextSortKey {

constexpr int UnitsPerWord = 4;

inline char16_t fold(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}

// Word number `word` of the text's key: folded units word*4 … word*4+3.
inline quint64 word(QStringView text, qsizetype word)
{
    quint64 key = 0;
    const qsizetype first = word * UnitsPerWord;
    for (qsizetype i = first; i < first + UnitsPerWord; ++i)
        key = (key << 16) | (i < text.size() ? fold(text[i].unicode()) : 0u);
    return key;
}

// The comparison itself (negative, 0, positive), from unit `from` on.
int compare(QStringView a, QStringView b, qsizetype from = 0);

} // namespace TextSortKey
