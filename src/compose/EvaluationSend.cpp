#include "compose/EvaluationSend.h"

#include "site/htmlYahoo.h"

namespace EvaluationSend {

QString confirmationText(const QString& ratingText)
{
    return QStringLiteral("「") + ratingText + QStringLiteral("」\n\r評価を送信しますか？");
}

QString sentLogLine(const QString& aid, const QString& title)
{
    return aid + QStringLiteral("：") + title + QStringLiteral("の評価をしました");
}

QString checkInput(int rating, const QString& comment, bool idle)
{
    if (rating < 0)
        return noRating;
    if (comment.isEmpty())
        return noComment;
    if (!idle)
        return busy;
    return QString();
}

QString checkAccount(htmlYahoo& site, const QString& loginId)
{
    return ReplySend::accountRefusal(site, loginId, reconfirmationSuffix);
}

} // namespace EvaluationSend
