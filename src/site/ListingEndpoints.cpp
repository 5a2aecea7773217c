#include "site/ListingEndpoints.h"

#include <QUrl>

ListingEndpoints ListingEndpoints::fromHosts(const QString& closedListHost, const QString& itemHost)
{
    ListingEndpoints endpoints;
    if (!closedListHost.isEmpty())
        endpoints.closedListBase = QStringLiteral("http://") + closedListHost;
    if (!itemHost.isEmpty())
        endpoints.itemBase = QStringLiteral("http://") + itemHost;
    return endpoints;
}

QString ListingEndpoints::closedListUrl(int page) const
{
    return closedListBase +
           QStringLiteral("/jp/show/mystatus?alocale=0jp&select=closed&hasWinner=1&apg=") +
           QString::number(page);
}

QString ListingEndpoints::itemUrl(const QString& aid) const
{
    return itemBase + QStringLiteral("/jp/auction/") +
           QString::fromLatin1(QUrl::toPercentEncoding(aid));
}
