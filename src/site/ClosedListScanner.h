#pragma once

#include <QList>
#include <QString>

// The marker texts of the site's closed-listings pages.
namespace ClosedListMarkers {
inline constexpr char16_t noListings[] = u"終了したオークションはありません";
inline constexpr char16_t delimiterStart[] = u"<!-- DELIMITER START -->";
inline constexpr char16_t listing[] = u"LISTING";
// The block ends this many characters past the start of the last "LISTING".
inline constexpr int listingTail = 17;
inline constexpr char16_t totalLine[] = u"件中";
inline constexpr char16_t checkbox[] = u"checkbox";
inline constexpr char16_t value[] = u"value";
// Past "value", the equals sign and the opening quote.
inline constexpr int valueSkip = 7;
inline constexpr char16_t left[] = u"left";
inline constexpr char16_t href[] = u"href";
inline constexpr char16_t linkEnd[] = u"</a>";
inline constexpr char16_t right[] = u"right";
inline constexpr char16_t bold[] = u"<b>";
inline constexpr char16_t yen[] = u"円";
inline constexpr char16_t allWinners[] = u"allwinners";
inline constexpr char16_t allWinnersCaption[] = u"落札者一覧";
inline constexpr int checkboxLimit = 100;
inline constexpr int leftLimit = 30;
inline constexpr int rightLimit = 30;
inline constexpr int hrefLimit = 60;
} // namespace ClosedListMarkers

// One listing as a closed-listings page shows it.
struct ClosedListing
{
    QString aid;
    QString url;
    QString title;
    QString price; // as the page writes it
    QString bidId;
    bool allWinners = false; // the winner line links the list of all winners
};

// What one closed-listings page gave. The listings are those read before the page ended or the
// scan failed; a failure (result 1 or 2) lies after the last of them.
struct ClosedListPage
{
    enum Result { Read = 0, NotRecognised = 1, LimitReached = 2, NothingToDownload = 3 };
    int result = Read;
    int total = 0;     // first page: the number of closed listings it announces
    int pageCount = 0; // first page: pages of 50 listings that total needs
    QList<ClosedListing> listings;
};

// Pages of 50 listings needed for total listings.
int closedListPageCount(int total);

// The first page: total, page count and the page's listings.
ClosedListPage scanFirstClosedListPage(const QString& page);
// A further page: its listings.
ClosedListPage scanNextClosedListPage(const QString& page);
