#include "compose/ReplyLog.h"

namespace ReplyLog {

namespace {

bool isSeparatorBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 0x20;
}

} // namespace

QStringList splitDelimited(const QString& text)
{
    const QChar delimiter = u',';
    const QChar quote = u'"';
    QStringList parts;
    const int size = int(text.size());
    int at = 0;
    while (at < size && isSeparatorBlank(text[at]))
        ++at;
    while (at < size) {
        QString part;
        if (text[at] == quote) {
            ++at;
            while (at < size) {
                if (text[at] == quote) {
                    if (at + 1 < size && text[at + 1] == quote) {
                        part += quote;
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                part += text[at++];
            }
        } else {
            const int start = at;
            while (at < size && text[at].unicode() > 0x20 && text[at] != delimiter)
                ++at;
            part = text.mid(start, at - start);
        }
        parts << part;
        while (at < size && isSeparatorBlank(text[at]))
            ++at;
        if (at < size && text[at] == delimiter) {
            if (at + 1 == size)
                parts << QString();
            ++at;
            while (at < size && isSeparatorBlank(text[at]))
                ++at;
        }
    }
    return parts;
}

QStringList lines(const QString& text)
{
    if (text.contains(QLatin1String("\n\r")))
        return splitDelimited(text);
    return {text};
}

QString placeholderOf(const QString& line)
{
    const qsizetype first = line.indexOf(u'%');
    if (first < 0)
        return QString();
    const qsizetype last = line.lastIndexOf(u'%');
    return line.mid(first, last - first + 1);
}

int findPlaceholder(const QString& text, const QString& placeholder, int from)
{
    if (placeholder.isEmpty())
        return -1;
    const qsizetype found = text.indexOf(placeholder, qBound(0, from, int(text.size())));
    if (found >= 0)
        return int(found);
    if (from == 0)
        return -1;
    return int(text.indexOf(placeholder));
}

} // namespace ReplyLog
