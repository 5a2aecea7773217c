#pragma once

#include <QList>
#include <QString>

// The marker texts of the site's item pages.
namespace ItemPageMarkers {
inline constexpr char16_t listTable[] = u"LISTTABLE";
inline constexpr char16_t listTableEnd[] = u"/LISTTABLE";
// The winners block ends this many characters past the start of the last "/LISTTABLE".
inline constexpr int listTableTail = 7;
inline constexpr char16_t titleBar[] = u"TITLEBAR";
// The instant-buy block ends this many characters past the start of the last "/LISTTABLE".
inline constexpr int titleBarTail = 27;
inline constexpr char16_t titleLine[] = u"auction:Title";
inline constexpr char16_t cell[] = u"decBg01 decBg05";
inline constexpr char16_t otherTable2[] = u"LISTTABLE2";
inline constexpr char16_t otherTable3[] = u"LISTTABLE3";
inline constexpr char16_t listing[] = u"LISTING";
inline constexpr char16_t contact[] = u"/show/contact";
inline constexpr char16_t yen[] = u"円";
inline constexpr char16_t nextRow[] = u"advance";
inline constexpr char16_t nextRowDeleted[] = u"decDel";
inline constexpr int titleLimit = 100;
inline constexpr int listTableLimit = 500;
inline constexpr int rowLimit = 100;
} // namespace ItemPageMarkers

// One winner row of an item page.
struct ItemWinner
{
    QString bidId;
    QString quantity; // as the page writes it
    QString price;    // as the page writes it
};

// What one item page gave. winners are those read before the page ended or the scan failed.
struct ItemPage
{
    enum Result { Read = 0, NotRecognised = 1, LimitReached = 2 };
    int result = Read;
    // Instant-buy page without its title bar or winners table: read, with no winner.
    bool noWinnersTable = false;
    QString title; // instant-buy pages only
    QList<ItemWinner> winners;
};

// Scans an item page. instantBuy reads the title bar and its title too (the page of an
// auction that the closed-listings pages do not show).
ItemPage scanItemPage(const QString& page, bool instantBuy);
