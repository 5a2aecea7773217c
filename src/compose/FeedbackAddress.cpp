#include "compose/FeedbackAddress.h"

#include "site/SiteEndpoints.h"

#include <QUrl>

namespace FeedbackAddress {

QString hostNumber(const QString& url, const QString& prefix)
{
    if (prefix.isEmpty())
        return QString();
    const qsizetype at = url.indexOf(prefix);
    if (at < 0)
        return QString();
    const qsizetype start = at + prefix.size();
    const qsizetype dot = url.indexOf(u'.', start);
    if (dot <= start)
        return QString();
    const QString number = url.mid(start, dot - start);
    for (const QChar c : number)
        if (c < u'0' || c > u'9')
            return QString();
    return number;
}

QString leaveFeedbackUrl(const SiteEndpoints& site, const QString& listingUrl, const QString& bidId,
                         const QString& aid)
{
    const QString number = hostNumber(listingUrl, site.itemPagePrefix);
    if (number.isEmpty())
        return QString();
    const QString host = site.feedbackHostPrefix + number + u'.' + site.auctionDomain;
    return SiteEndpoints::httpUrl(
        host, QStringLiteral("/jp/config/leavefeedback?t=") +
                  QString::fromLatin1(QUrl::toPercentEncoding(bidId)) + QStringLiteral("&&aID=") +
                  QString::fromLatin1(QUrl::toPercentEncoding(aid)) + QStringLiteral("&&nr=1"));
}

} // namespace FeedbackAddress
