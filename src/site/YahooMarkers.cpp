#include "site/YahooMarkers.h"

#include <QStringList>

namespace YahooMarkers {

bool loginAccepted(const QString& answer)
{
    if (answer.isEmpty())
        return false;
    return !answer.contains(loginRequest) || answer.contains(automaticForward);
}

QString loginIdFromStatusPage(const QString& page)
{
    const qsizetype found = page.indexOf(greeting);
    if (found < 0)
        return QString();
    qsizetype start = found + greeting.size();
    while (start < page.size() && page.at(start) == u' ')
        ++start;
    qsizetype end = page.indexOf(u' ', start);
    if (end < 0)
        end = page.size();
    return page.mid(start, end - start);
}

bool passwordReconfirmation(const QString& page, QString& accountId)
{
    if (!page.contains(reconfirmation))
        return false;
    const qsizetype first = page.indexOf(reconfirmationStart);
    const qsizetype last = page.lastIndexOf(reconfirmationEnd);
    accountId.clear();
    if (first < 0 || last < 0)
        return false;
    // A closing text before the opening one leaves nothing to read.
    const QStringList lines = page.mid(first, qMax<qsizetype>(0, last - first)).split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const qsizetype strong = line.indexOf(QLatin1String("strong"));
        if (strong < 0)
            continue;
        // "strong>" is 7 characters; the id ends before the "<" of the first "/strong".
        const qsizetype start = strong + 7;
        const qsizetype closing = line.indexOf(QLatin1String("/strong"));
        const qsizetype end = closing < 0 ? line.size() : closing - 1;
        if (end > start)
            accountId = line.mid(start, end - start);
        break;
    }
    return true;
}

QString endTimeFromWebService(const QString& answer)
{
    static const QString open = QStringLiteral("<endtime>");
    static const QString close = QStringLiteral("</endtime>");
    const qsizetype start = answer.indexOf(open);
    const qsizetype end = answer.indexOf(close);
    if (start < 0 || end < 0 || end < start + open.size())
        return QString();
    return answer.mid(start + open.size(), end - start - open.size());
}

} // namespace YahooMarkers
