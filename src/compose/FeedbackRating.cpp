#include "compose/FeedbackRating.h"

namespace FeedbackRating {

const QStringList& texts()
{
    static const QStringList ratings = {QStringLiteral("非常に良い"), QStringLiteral("良い"),
                                        QStringLiteral("どちらでもない"), QStringLiteral("悪い"),
                                        QStringLiteral("非常に悪い")};
    return ratings;
}

bool confirms(const QString& bodyHtml, const QString& ratingText)
{
    const QStringList lines = bodyHtml.split(u'\n');
    qsizetype marker = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(QStringLiteral("<B>評価</B>")) ||
            lines[i].contains(QStringLiteral("<b>評価</b>"))) {
            marker = i;
            break;
        }
    }
    if (marker < 0 || marker + 1 >= lines.size())
        return false;
    const QString& line = lines[marker + 1];
    qsizetype start = line.indexOf(QLatin1String("<SMALL>"));
    if (start < 0)
        start = line.indexOf(QLatin1String("<small>"));
    if (start < 0)
        return false;
    start += 7;
    qsizetype end = line.lastIndexOf(QLatin1String("</SMALL>"));
    if (end < 0)
        end = line.lastIndexOf(QLatin1String("</small>"));
    if (end < start)
        return false;
    return line.mid(start, end - start) == ratingText;
}

} // namespace FeedbackRating
