#include "app/SettingLists.h"

#include "common/CommonRoutines.h"

namespace SettingLists {

namespace {

QChar foldAscii(QChar c)
{
    return c >= 'A' && c <= 'Z' ? QChar(c.unicode() + ('a' - 'A')) : c;
}

} // namespace

bool sameLine(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    return true;
}

AddCheck checkNewLine(const QStringList& lines, const QString& text)
{
    if (text.isEmpty())
        return AddCheck::Nothing;
    if (trimSpaces(text).isEmpty())
        return AddCheck::Blank;
    for (const QString& line : lines)
        if (sameLine(line, text))
            return AddCheck::Duplicate;
    return AddCheck::Accept;
}

} // namespace SettingLists
