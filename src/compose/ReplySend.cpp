#include "compose/ReplySend.h"

#include "site/htmlYahoo.h"

namespace ReplySend {

int subjectNumber(bool first, bool payment, bool receipt, bool others)
{
    if (first)
        return 1;
    if (payment)
        return 2;
    if (receipt)
        return 3;
    if (others)
        return 4;
    return 0;
}

QString confirmationText(int subject)
{
    static const QString question = QStringLiteral("\r\n送信しますか？");
    switch (subject) {
    case 1:
        return QStringLiteral("件名：連絡先、支払い、発送などについて") + question;
    case 2:
        return QStringLiteral("入金を確認しました") + question;
    case 3:
        return QStringLiteral("商品を発送しました") + question;
    case 4:
        return QStringLiteral("その他") + question;
    default:
        return QString();
    }
}

QString checkInput(int subject, const QString& text, bool postAllowed)
{
    if (subject < 1 || subject > 4)
        return noSubject;
    if (text.isEmpty())
        return noText;
    if (!postAllowed)
        return busy;
    return QString();
}

QString accountRefusal(htmlYahoo& site, const QString& loginId, const QString& reconfirmation)
{
    const QString current = site.getLoginId();
    if (current.isEmpty())
        return notLoggedIn;
    if (current != loginId)
        return otherAccount;
    if (site.isPasswordReconfirmation())
        return site.accountId + reconfirmation;
    return QString();
}

QString checkAccount(htmlYahoo& site, const QString& loginId)
{
    return accountRefusal(site, loginId, reconfirmationSuffix);
}

} // namespace ReplySend
