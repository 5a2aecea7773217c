#pragma once

#include <QList>
#include <QString>

// Closed-listings and item pages written for the tests, in the shape the site's markers give.
namespace ListingPages {

struct Listing
{
    QString aid;
    QString title = QStringLiteral("商品");
    QString price = QStringLiteral("1,000");
    QString bidId = QStringLiteral("bidder");
    bool allWinners = false; // links the list of all winners instead of one winner
};

struct Winner
{
    QString bidId;
    QString quantity = QStringLiteral("1");
    QString price = QStringLiteral("1,000");
};

QString listingUrl(const QString& aid);
// The lines of one listing of a closed-listings page, from its "<tr>" to its "</tr>".
QString listingLines(const Listing& listing);
// A closed-listings page: the first page announces total; listings between the LISTING markers.
QString closedListPage(int total, const QList<Listing>& listings);
// A closed-listings page around the given listing lines.
QString closedListPageAround(int total, const QString& listingBlock);
QString noListingsPage();
// Listings x<first>.. with titles 商品<n>, prices "<n>,000" and winners bidder<n>.
QList<Listing> numberedListings(int first, int count);

// The lines of one winner row, from its "<tr>" to its "</tr>".
QString winnerLines(const Winner& winner);
// An item page with its winners table.
QString itemPage(const QList<Winner>& winners);
QString itemPageAround(const QString& rowsBlock);
// An instant-buy item page: title bar with the title, then the winners table.
QString instantBuyPage(const QString& title, const QList<Winner>& winners);

} // namespace ListingPages
