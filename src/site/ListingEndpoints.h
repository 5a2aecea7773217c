#pragma once

#include <QString>

// The base addresses that the listing downloads read from ("http://host[:port]", no trailing
// slash). The defaults are the site's own hosts.
struct ListingEndpoints
{
    QString closedListBase = QStringLiteral("http://closeduser.auctions.yahoo.co.jp");
    QString itemBase = QStringLiteral("http://page.auctions.yahoo.co.jp");

    // From host names that may carry a port ("127.0.0.1:8123"); an empty host keeps the default.
    static ListingEndpoints fromHosts(const QString& closedListHost, const QString& itemHost);

    // The closed-listings page with a winner, page 1 first.
    QString closedListUrl(int page) const;
    // The item page of an auction; the id is percent-encoded.
    QString itemUrl(const QString& aid) const;
};
