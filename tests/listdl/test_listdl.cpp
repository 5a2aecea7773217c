#include "support/ListingPages.h"

#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"
#include "common/CommonRoutines.h"
#include "platform/Database.h"
#include "platform/Sql.h"
#include "site/ClosedListScanner.h"
#include "site/ClosedListingRun.h"
#include "site/DetailedListingRun.h"
#include "site/ItemPageScanner.h"
#include "site/ListingEndpoints.h"
#include "site/ListingStore.h"
#include "site/ListingTexts.h"
#include "site/PageLineReader.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <memory>

using namespace ListingPages;

namespace {

const QString seller = QStringLiteral("seller");

// Serves pages by URL and records every request in order; an unknown URL gives an empty page.
struct FakeFetcher
{
    QHash<QString, QString> pages;
    QStringList requests;

    PageFetcher fetcher()
    {
        return [this](const QString& url) {
            requests << url;
            return pages.value(url);
        };
    }
};

QString filler(int lines)
{
    QString text;
    for (int i = 0; i < lines; ++i)
        text += QStringLiteral("<td>-</td>\r\n");
    return text;
}

struct StoredRow
{
    int index = 0;
    QString quantity;
    QString price;
    QString title;
    QString url;
    QString loginId;
    bool deleted = false;
    bool updated = false;
    int count = 0;
};

} // namespace

class TestListingDownload : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lineReaderKeepsCarriageReturnAndStaysInBlock();
    void lineReaderCountsLinesTowardsLimit();

    void scansClosedListPage();
    void pageCountFollowsTotal_data();
    void pageCountFollowsTotal();
    void closedListPageFailures_data();
    void closedListPageFailures();
    void listingMarkerEndsPage();
    void scansNextClosedListPage();

    void scansItemPage();
    void itemPageFailures_data();
    void itemPageFailures();
    void otherTableEndsWinnerRows();
    void scansInstantBuyPage();
    void instantBuyPageWithoutWinnersTable();

    void endpointsBuildUrls();

    void closedRunReadsPagesAndSeveralWinners();
    void closedRunDetailedOptions_data();
    void closedRunDetailedOptions();
    void newOnlyRunStopsAtStoredListing_data();
    void newOnlyRunStopsAtStoredListing();
    void closedRunNothingToDownload();
    void closedRunStopsWhenAsked();
    void closedRunGoesOnWhenWinnersUnreadable();
    void fullStoreKeepsListingsWhoseWinnersWereUnreadable();
    void detailedRunStopsAtUnreadablePage();
    void instantBuyRunReadsTitleAndLogsMissingWinners();

    void fullStoreConfirmsInsertsAndMarksDeleted();
    void fullStoreFindsRowsByExactKey();
    void fullStoreWritesOnlyChangedRows_data();
    void fullStoreWritesOnlyChangedRows();
    void rowDownloadedTwiceIsStoredOnce();
    void newOnlyStoreShiftsIndexes();
    void newOnlyStoreWithNothingReadWritesNothing();
    void failedRunStoresNothing_data();
    void failedRunStoresNothing();
    void storeErrorLeavesDatabaseUnchanged();
    void instantBuyTargetCheck_data();
    void instantBuyTargetCheck();
    void detailedStoreAddsAndRemovesWinners();
    void detailedStoreSkipsUnfinishedAuction();
    void instantBuyRowsSurviveFullStore();
    void listRowCells();

private:
    StoredRow stored(const QString& aid, const QString& bidId) const;
    int rowCount() const;
    qint64 rowsWritten() const;
    QStringList rowsOtherThan(const QString& aid) const;

    std::unique_ptr<TestDataFolder> m_folder;
    QString m_connection;
    QSqlDatabase m_db;
};

void TestListingDownload::init()
{
    m_folder = std::make_unique<TestDataFolder>();
    m_connection = Database::uniqueConnectionName(QStringLiteral("listdl"));
    m_db = Database::open(m_connection);
}

void TestListingDownload::cleanup()
{
    m_db = QSqlDatabase();
    Database::close(m_connection);
    m_folder.reset();
}

StoredRow TestListingDownload::stored(const QString& aid, const QString& bidId) const
{
    QSqlQuery query = Sql::exec(
        m_db,
        QStringLiteral("SELECT [Index],Quantity,Price,Title,Url,LoginId,DeleteFlg,UpdateFlg "
                       "FROM T_BidData WHERE Aid=:AID AND BidId=:BID"),
        {{":AID", aid}, {":BID", bidId}});
    StoredRow row;
    while (query.next()) {
        if (row.count++ > 0)
            continue;
        row.index = query.value(0).toInt();
        row.quantity = query.value(1).toString();
        row.price = query.value(2).toString();
        row.title = query.value(3).toString();
        row.url = query.value(4).toString();
        row.loginId = query.value(5).toString();
        row.deleted = query.value(6).toInt() == 1;
        row.updated = query.value(7).toInt() == 1;
    }
    return row;
}

int TestListingDownload::rowCount() const
{
    return Sql::scalar(m_db, QStringLiteral("SELECT COUNT(*) FROM T_BidData")).toInt();
}

qint64 TestListingDownload::rowsWritten() const
{
    return Sql::scalar(m_db, QStringLiteral("SELECT total_changes()")).toLongLong();
}

// Every column of every row but those of the auction, in rowid order.
QStringList TestListingDownload::rowsOtherThan(const QString& aid) const
{
    QSqlQuery query =
        Sql::exec(m_db, QStringLiteral("SELECT * FROM T_BidData WHERE Aid<>:AID ORDER BY rowid"),
                  {{":AID", aid}});
    QStringList rows;
    while (query.next()) {
        QStringList cells;
        for (int c = 0; c < query.record().count(); ++c)
            cells << query.value(c).toString() + '/' + query.value(c).metaType().name();
        rows << cells.join('|');
    }
    return rows;
}

// --- line reader

void TestListingDownload::lineReaderKeepsCarriageReturnAndStaysInBlock()
{
    const QString text = QStringLiteral("skip\nab\r\ncd\nefgh");
    PageLineReader reader(text, 5, 14); // "ab\r\ncd\nef"
    QVERIFY(reader.readLine());
    QCOMPARE(reader.line().toString(), QStringLiteral("ab\r"));
    QVERIFY(reader.readLine());
    QCOMPARE(reader.line().toString(), QStringLiteral("cd"));
    QVERIFY(reader.readLine());
    QCOMPARE(reader.line().toString(), QStringLiteral("ef"));
    QVERIFY(!reader.ended());
    QVERIFY(!reader.readLine());
    QVERIFY(reader.ended());
    QCOMPARE(reader.line().toString(), QStringLiteral("ef"));

    PageLineReader outside(text, 40, 3);
    QVERIFY(!outside.readLine());
    QVERIFY(!PageLineReader::contains(u"abc", u""));
}

void TestListingDownload::lineReaderCountsLinesTowardsLimit()
{
    const QString text = QStringLiteral("a\nb\nc\nmark\n");
    PageLineReader found(text, 0, text.size());
    QCOMPARE(found.seek(u"mark", 4), PageLineReader::Seek::Found);
    PageLineReader limited(text, 0, text.size());
    QCOMPARE(limited.seek(u"mark", 3), PageLineReader::Seek::LimitReached);
    QCOMPARE(limited.line().toString(), QStringLiteral("c"));
    PageLineReader ended(text, 0, text.size());
    QCOMPARE(ended.seek(u"none"), PageLineReader::Seek::BlockEnded);
}

// --- closed-listings scanner

void TestListingDownload::scansClosedListPage()
{
    QList<Listing> listings = numberedListings(1, 3);
    listings[1].allWinners = true;
    listings[2].title = QStringLiteral("タイトル <b>太字</b>");
    const ClosedListPage page = scanFirstClosedListPage(closedListPage(3, listings));
    QCOMPARE(page.result, int(ClosedListPage::Read));
    QCOMPARE(page.total, 3);
    QCOMPARE(page.pageCount, 1);
    QCOMPARE(page.listings.size(), 3);
    QCOMPARE(page.listings[0].aid, QStringLiteral("x1"));
    QCOMPARE(page.listings[0].url, listingUrl("x1"));
    QCOMPARE(page.listings[0].title, QStringLiteral("商品1"));
    QCOMPARE(page.listings[0].price, QStringLiteral("1,000"));
    QCOMPARE(page.listings[0].bidId, QStringLiteral("bidder1"));
    QVERIFY(!page.listings[0].allWinners);
    QVERIFY(page.listings[1].allWinners);
    QCOMPARE(page.listings[2].title, QStringLiteral("タイトル <b>太字</b>"));
}

void TestListingDownload::pageCountFollowsTotal_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("pages");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("50") << 50 << 1;
    QTest::newRow("51") << 51 << 2;
    QTest::newRow("100") << 100 << 2;
    QTest::newRow("101") << 101 << 3;
}

void TestListingDownload::pageCountFollowsTotal()
{
    QFETCH(int, total);
    QFETCH(int, pages);
    QCOMPARE(closedListPageCount(total), pages);
    QCOMPARE(scanFirstClosedListPage(closedListPage(total, {})).pageCount, pages);
}

void TestListingDownload::closedListPageFailures_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("listingsRead");

    const QString one = listingLines(numberedListings(1, 1)[0]);
    const Listing second = numberedListings(2, 1)[0];
    const QString good = closedListPage(2, numberedListings(1, 2));

    QTest::newRow("no listings") << noListingsPage() << 3 << 0;
    QTest::newRow("no delimiter") << QString(good).remove("<!-- DELIMITER START -->") << 1 << 0;
    QTest::newRow("no LISTING") << QStringLiteral("<!-- DELIMITER START -->\r\n<td>3件中</td>\r\n")
                                << 1 << 0;
    QTest::newRow("LISTING before delimiter")
        << QStringLiteral("LISTING\r\n<!-- DELIMITER START -->\r\n<td>3件中</td>\r\n") << 1 << 0;
    QTest::newRow("no total line") << QString(good).replace("件中", "件") << 1 << 0;
    QTest::newRow("total without digits")
        << QString(good).replace("2件中 1～50件目", "件中") << 1 << 0;
    QTest::newRow("total too large")
        << QString(good).replace("2件中", "99999999999999999999件中") << 1 << 0;
    QTest::newRow("100 lines without checkbox")
        << closedListPageAround(2, one + filler(100) + listingLines(second)) << 2 << 1;
    QTest::newRow("no left within 30")
        << closedListPageAround(
               2, one + QString(listingLines(second))
                            .replace("<td align=\"left\">", filler(30) + "<td align=\"left\">"))
        << 2 << 1;
    QTest::newRow("value without quote")
        << closedListPageAround(
               2, one + QString(listingLines(second)).replace("value=\"x2\"", "value=x2"))
        << 1 << 1;
    QTest::newRow("link without closing quote")
        << closedListPageAround(
               2,
               one +
                   QString(listingLines(second)).replace(listingUrl("x2") + "\"", listingUrl("x2")))
        << 1 << 1;
    QTest::newRow("price without yen")
        << closedListPageAround(2, one + QString(listingLines(second)).replace("円", "")) << 1 << 1;
    QTest::newRow("winner without tag end")
        << closedListPageAround(
               2, one + QString(listingLines(second)).replace("bidder2</a> さん</td>", "bidder2"))
        << 1 << 1;
    const QString cut = one + QString(listingLines(second)).section("<td align=\"right\">", 0, 0);
    QTest::newRow("block ends inside a listing")
        << QStringLiteral("<!-- DELIMITER START -->\r\n<td>2件中</td>\r\nLISTING\r\n") + cut +
               QStringLiteral("LISTING")
        << 1 << 1;
}

void TestListingDownload::closedListPageFailures()
{
    QFETCH(QString, page);
    QFETCH(int, result);
    QFETCH(int, listingsRead);
    const ClosedListPage scanned = scanFirstClosedListPage(page);
    QCOMPARE(scanned.result, result);
    QCOMPARE(scanned.listings.size(), listingsRead);
}

void TestListingDownload::listingMarkerEndsPage()
{
    const QList<Listing> two = numberedListings(1, 2);
    const QString page =
        closedListPageAround(60, listingLines(two[0]) + filler(98) +
                                     QStringLiteral("<!-- LISTING -->\r\n") + listingLines(two[1]));
    const ClosedListPage scanned = scanFirstClosedListPage(page);
    QCOMPARE(scanned.result, int(ClosedListPage::Read));
    QCOMPARE(scanned.listings.size(), 1);
}

void TestListingDownload::scansNextClosedListPage()
{
    const ClosedListPage next = scanNextClosedListPage(closedListPage(52, numberedListings(51, 2)));
    QCOMPARE(next.result, int(ClosedListPage::Read));
    QCOMPARE(next.listings.size(), 2);
    QCOMPARE(next.listings[1].aid, QStringLiteral("x52"));
    QCOMPARE(scanNextClosedListPage(QStringLiteral("<html>no table</html>")).result,
             int(ClosedListPage::NotRecognised));
    QCOMPARE(scanNextClosedListPage(QString()).result, int(ClosedListPage::NotRecognised));
}

// --- item page scanner

void TestListingDownload::scansItemPage()
{
    const ItemPage page =
        scanItemPage(itemPage({{"winnerA", "2", "3,000"}, {"winnerB", "1個", "1,500"}}), false);
    QCOMPARE(page.result, int(ItemPage::Read));
    QVERIFY(page.title.isEmpty());
    QCOMPARE(page.winners.size(), 2);
    QCOMPARE(page.winners[0].bidId, QStringLiteral("winnerA"));
    QCOMPARE(page.winners[0].quantity, QStringLiteral("2"));
    QCOMPARE(page.winners[0].price, QStringLiteral("3,000"));
    QCOMPARE(page.winners[1].bidId, QStringLiteral("winnerB"));
    QCOMPARE(page.winners[1].quantity, QStringLiteral("1個"));
    QCOMPARE(page.winners[1].price, QStringLiteral("1,500"));
}

void TestListingDownload::itemPageFailures_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("winnersRead");

    const QString first = winnerLines({"w1"});
    const QString second = winnerLines({"w2"});
    const QString sep = QStringLiteral("<!-- advance -->\r\n");
    QTest::newRow("empty page") << QString() << 1 << 0;
    QTest::newRow("no table") << QStringLiteral("<html>品切れ</html>") << 1 << 0;
    QTest::newRow("no table end") << QString(itemPage({{"w1"}})).remove("<!-- /LISTTABLE -->") << 1
                                  << 0;
    QTest::newRow("100 lines before winner")
        << itemPageAround(first + sep + filler(100) + second) << 2 << 1;
    QTest::newRow("no contact within row")
        << itemPageAround(first + sep + QString(second).replace("/show/contact", "/x") +
                          filler(100))
        << 2 << 1;
    QTest::newRow("block ends inside a row")
        << QStringLiteral("LISTTABLE\r\n") + first + sep + second.section("/show/contact", 0, 0) +
               QStringLiteral("/LISTTABLE")
        << 1 << 1;
    QTest::newRow("quantity without closing tag")
        << itemPageAround(first + sep +
                          QString(second).replace("<td class=\"decBg01 decBg05\">1</td>",
                                                  "<td class=\"decBg01 decBg05\">1"))
        << 1 << 1;
    QTest::newRow("winner line ending the table")
        << itemPageAround(first + sep + "<tr>\r\n<td class=\"decBg01 decBg05\">LISTING</td>\r\n" +
                          second)
        << 0 << 1;
}

void TestListingDownload::itemPageFailures()
{
    QFETCH(QString, page);
    QFETCH(int, result);
    QFETCH(int, winnersRead);
    const ItemPage scanned = scanItemPage(page, false);
    QCOMPARE(scanned.result, result);
    QCOMPARE(scanned.winners.size(), winnersRead);
}

void TestListingDownload::otherTableEndsWinnerRows()
{
    const QString page =
        itemPageAround(winnerLines({"w1"}) + QStringLiteral("<!-- advance -->\r\n<tr>\r\n") +
                       QStringLiteral("<table class=\"LISTTABLE2\">\r\n") + winnerLines({"w2"}));
    const ItemPage scanned = scanItemPage(page, false);
    QCOMPARE(scanned.result, int(ItemPage::Read));
    QCOMPARE(scanned.winners.size(), 1);
}

void TestListingDownload::scansInstantBuyPage()
{
    const ItemPage page =
        scanItemPage(instantBuyPage(QStringLiteral("即決 商品"), {{"w1", "3", "500"}}), true);
    QCOMPARE(page.result, int(ItemPage::Read));
    QVERIFY(!page.noWinnersTable);
    QCOMPARE(page.title, QStringLiteral("即決 商品"));
    QCOMPARE(page.winners.size(), 1);
    QCOMPARE(page.winners[0].bidId, QStringLiteral("w1"));
    QCOMPARE(page.winners[0].quantity, QStringLiteral("3"));
}

void TestListingDownload::instantBuyPageWithoutWinnersTable()
{
    const ItemPage page =
        scanItemPage(QString(instantBuyPage("t", {{"w1"}})).remove("TITLEBAR"), true);
    QCOMPARE(page.result, int(ItemPage::Read));
    QVERIFY(page.noWinnersTable);
    QVERIFY(page.winners.isEmpty());
}

// --- endpoints

void TestListingDownload::endpointsBuildUrls()
{
    const ListingEndpoints site;
    QCOMPARE(site.closedListUrl(2),
             QStringLiteral("http://closeduser.auctions.yahoo.co.jp/jp/show/mystatus?alocale=0jp"
                            "&select=closed&hasWinner=1&apg=2"));
    QCOMPARE(site.itemUrl("x123"),
             QStringLiteral("http://page.auctions.yahoo.co.jp/jp/auction/x123"));
    const ListingEndpoints local =
        ListingEndpoints::fromHosts(QStringLiteral("127.0.0.1:8123"), QString());
    QVERIFY(local.closedListUrl(1).startsWith("http://127.0.0.1:8123/jp/show/mystatus?"));
    QCOMPARE(local.itemBase, site.itemBase);
    QCOMPARE(
        site.itemUrl(QStringLiteral("a b/../?x=1&y")),
        QStringLiteral("http://page.auctions.yahoo.co.jp/jp/auction/a%20b%2F..%2F%3Fx%3D1%26y"));
}

// --- runs

void TestListingDownload::closedRunReadsPagesAndSeveralWinners()
{
    const ListingEndpoints endpoints;
    FakeFetcher site;
    QList<Listing> first = numberedListings(1, 50);
    first[1].allWinners = true;
    site.pages[endpoints.closedListUrl(1)] = closedListPage(52, first);
    site.pages[endpoints.closedListUrl(2)] = closedListPage(52, numberedListings(51, 2));
    site.pages[endpoints.itemUrl("x2")] =
        itemPage({{"winnerA", "2", "2,000"}, {"winnerB", "1", "1,000"}});

    int maximum = -1;
    int steps = 0;
    ListingDownloadCallbacks callbacks;
    callbacks.initProgress = [&](int m) { maximum = m; };
    callbacks.stepProgress = [&] { ++steps; };
    ClosedListingRun run(
        endpoints, site.fetcher(), [] { return false; }, callbacks);
    const ClosedListingResult result = run.run({ClosedListingRequest::All, QString()});

    QCOMPARE(result.result, int(ClosedListingResult::Finished));
    QVERIFY(!result.stopped);
    QCOMPARE(result.total, 52);
    QCOMPARE(result.done, 52);
    QCOMPARE(maximum, 52);
    QCOMPARE(steps, 52);
    QCOMPARE(site.requests, QStringList({endpoints.closedListUrl(1), endpoints.itemUrl("x2"),
                                         endpoints.closedListUrl(2)}));
    QCOMPARE(result.rows.size(), 53);
    QCOMPARE(result.rows[0].index, 1);
    QCOMPARE(result.rows[0].price, QStringLiteral("1,000"));
    QVERIFY(result.rows[0].quantity.isEmpty());
    for (int i : {1, 2}) {
        QCOMPARE(result.rows[i].index, 2);
        QCOMPARE(result.rows[i].aid, QStringLiteral("x2"));
        QCOMPARE(result.rows[i].url, listingUrl("x2"));
        QCOMPARE(result.rows[i].title, QStringLiteral("商品2"));
    }
    QCOMPARE(result.rows[1].bidId, QStringLiteral("winnerA"));
    QCOMPARE(result.rows[1].price, QStringLiteral("2,000"));
    QCOMPARE(result.rows[1].quantity, QStringLiteral("2"));
    QCOMPARE(result.rows[2].bidId, QStringLiteral("winnerB"));
    QCOMPARE(result.rows[3].index, 3);
    QCOMPARE(result.rows[3].aid, QStringLiteral("x3"));
    QCOMPARE(result.rows.last().index, 52);
    QCOMPARE(result.rows.last().aid, QStringLiteral("x52"));
    QCOMPARE(result.rows.last().bidId, QStringLiteral("bidder52"));
}

void TestListingDownload::closedRunDetailedOptions_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("detailedAll");
    QTest::addColumn<bool>("detailedNew");
    QTest::addColumn<int>("itemRequests");
    QTest::newRow("all, no option") << 1 << false << false << 1;
    QTest::newRow("all, all option") << 1 << true << false << 3;
    QTest::newRow("all, new option") << 1 << false << true << 1;
    QTest::newRow("new, all option") << 0 << true << false << 1;
    QTest::newRow("new, new option") << 0 << false << true << 3;
}

void TestListingDownload::closedRunDetailedOptions()
{
    QFETCH(int, mode);
    QFETCH(bool, detailedAll);
    QFETCH(bool, detailedNew);
    QFETCH(int, itemRequests);
    const ListingEndpoints endpoints;
    FakeFetcher site;
    QList<Listing> listings = numberedListings(1, 3);
    listings[2].allWinners = true;
    site.pages[endpoints.closedListUrl(1)] = closedListPage(3, listings);
    for (const Listing& listing : listings)
        site.pages[endpoints.itemUrl(listing.aid)] = itemPage({{"w" + listing.aid}});
    ClosedListingRun run(endpoints, site.fetcher(), {});
    const ClosedListingResult result = run.run({mode, QString(), detailedAll, detailedNew});
    QCOMPARE(result.result, 0);
    QCOMPARE(site.requests.size() - 1, itemRequests);
    QCOMPARE(result.rows.size(), 3);
    QCOMPARE(result.rows[2].bidId, QStringLiteral("wx3"));
}

void TestListingDownload::newOnlyRunStopsAtStoredListing_data()
{
    QTest::addColumn<QString>("stopAid");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("requests");
    QTest::newRow("first listing") << "x1" << 0 << 0 << 1;
    QTest::newRow("third listing") << "x3" << 0 << 2 << 1;
    QTest::newRow("before unreadable listing") << "x52" << 0 << 51 << 2;
    QTest::newRow("not listed") << "x99" << 1 << 52 << 2;
}

void TestListingDownload::newOnlyRunStopsAtStoredListing()
{
    QFETCH(QString, stopAid);
    QFETCH(int, result);
    QFETCH(int, done);
    QFETCH(int, requests);
    const ListingEndpoints endpoints;
    FakeFetcher site;
    site.pages[endpoints.closedListUrl(1)] = closedListPage(55, numberedListings(1, 50));
    // The listing after x52 does not read: a run that stops before it still finishes.
    QString unreadable = listingLines(numberedListings(53, 1)[0]);
    unreadable.remove("円");
    site.pages[endpoints.closedListUrl(2)] = closedListPageAround(
        55, listingLines(numberedListings(51, 1)[0]) + listingLines(numberedListings(52, 1)[0]) +
                unreadable + listingLines(numberedListings(54, 1)[0]));
    ClosedListingRun run(endpoints, site.fetcher(), {});
    const ClosedListingResult read = run.run({ClosedListingRequest::NewOnly, stopAid});
    QCOMPARE(read.result, result);
    QCOMPARE(read.done, done);
    QCOMPARE(read.rows.size(), done);
    QCOMPARE(site.requests.size(), requests);
    QCOMPARE(read.stopAid, stopAid);
}

void TestListingDownload::closedRunNothingToDownload()
{
    const ListingEndpoints endpoints;
    FakeFetcher site;
    site.pages[endpoints.closedListUrl(1)] = noListingsPage();
    const ClosedListingResult result = ClosedListingRun(endpoints, site.fetcher(), {}).run({});
    QCOMPARE(result.result, 3);
    QCOMPARE(site.requests.size(), 1);
    QCOMPARE(ListingTexts::closedListingEndLine(result.result),
             QStringLiteral("ダウンロードするデータがありません"));

    FakeFetcher empty;
    QCOMPARE(ClosedListingRun(endpoints, empty.fetcher(), {}).run({}).result, 1);
}

void TestListingDownload::closedRunStopsWhenAsked()
{
    const ListingEndpoints endpoints;
    FakeFetcher site;
    site.pages[endpoints.closedListUrl(1)] = closedListPage(52, numberedListings(1, 50));
    site.pages[endpoints.closedListUrl(2)] = closedListPage(52, numberedListings(51, 2));
    int steps = 0;
    ListingDownloadCallbacks callbacks;
    callbacks.stepProgress = [&] { ++steps; };
    ClosedListingRun run(
        endpoints, site.fetcher(), [&] { return steps >= 2; }, callbacks);
    const ClosedListingResult result = run.run({});
    QVERIFY(result.stopped);
    QCOMPARE(steps, 2);
    QCOMPARE(site.requests.size(), 1);
}

void TestListingDownload::closedRunGoesOnWhenWinnersUnreadable()
{
    const ListingEndpoints endpoints;
    FakeFetcher site;
    QList<Listing> listings = numberedListings(1, 3);
    listings[1].allWinners = true;
    site.pages[endpoints.closedListUrl(1)] = closedListPage(3, listings);
    QStringList log;
    ListingDownloadCallbacks callbacks;
    callbacks.logMessage = [&](const QString& line) { log << line; };
    const ClosedListingResult result =
        ClosedListingRun(endpoints, site.fetcher(), {}, callbacks).run({});
    QCOMPARE(result.result, 0);
    QCOMPARE(site.requests.size(), 2);
    QCOMPARE(result.rows.size(), 2);
    QCOMPARE(result.rows[0].aid, QStringLiteral("x1"));
    QCOMPARE(result.rows[1].aid, QStringLiteral("x3"));
    QCOMPARE(result.rows[1].index, 3);
    QCOMPARE(result.unreadListings, (QList<std::pair<QString, int>>{{"x2", 2}}));
    QCOMPARE(log, QStringList{"x2：落札者一覧を読めませんでした"});
}

void TestListingDownload::fullStoreKeepsListingsWhoseWinnersWereUnreadable()
{
    FixtureDb::addListing(m_db, {"x2", "bA", seller, "商品2", "1000", 7, "1"});
    FixtureDb::addListing(m_db, {"x2", "bB", seller, "商品2", "1000", 7, "2"});
    FixtureDb::addListing(m_db, {"x5", "b5", seller, "商品5", "1000", 8, "1"});
    ClosedListingResult download;
    download.total = download.done = 3;
    download.rows = {{1, "x1", "http://u/x1", "商品1", "1,000", "b1", ""},
                     {3, "x3", "http://u/x3", "商品3", "1,000", "b3", ""}};
    download.unreadListings = {{"x2", 2}};
    const ListingStoreSummary summary = ListingStore(m_db).storeClosedListings(seller, download);
    QVERIFY(summary.written);
    for (const QString bidId : {"bA", "bB"}) {
        const StoredRow row = stored("x2", bidId);
        QVERIFY(!row.deleted);
        QCOMPARE(row.index, 2);
    }
    QCOMPARE(stored("x2", "bB").quantity, QStringLiteral("2"));
    QVERIFY(stored("x5", "b5").deleted);
    QCOMPARE(summary.markedDeleted, QList<ListingKey>({{"x5", "b5"}}));
}

void TestListingDownload::detailedRunStopsAtUnreadablePage()
{
    const ListingEndpoints endpoints;
    FakeFetcher site;
    site.pages[endpoints.itemUrl("a1")] = itemPage({{"w1", "2"}, {"w2"}});
    site.pages[endpoints.itemUrl("a2")] = QStringLiteral("<html>エラー</html>");
    site.pages[endpoints.itemUrl("a3")] = itemPage({{"w3"}});
    int maximum = -1;
    int steps = 0;
    ListingDownloadCallbacks callbacks;
    callbacks.initProgress = [&](int m) { maximum = m; };
    callbacks.stepProgress = [&] { ++steps; };
    DetailedListingRun run(endpoints, site.fetcher(), {}, callbacks);
    const DetailedListingResult result =
        run.run(DetailedListingResult::SelectedRows, {"a1", "a2", "a3"});
    QCOMPARE(result.result, 1);
    QCOMPARE(site.requests, QStringList({endpoints.itemUrl("a1"), endpoints.itemUrl("a2")}));
    QCOMPARE(result.finishedAids, QStringList({"a1"}));
    QCOMPARE(result.rows.size(), 2);
    QCOMPARE(result.rows[0].aid, QStringLiteral("a1"));
    QCOMPARE(result.rows[0].quantity, QStringLiteral("2"));
    QCOMPARE(result.rows[0].url, endpoints.itemUrl("a1"));
    QVERIFY(result.rows[0].title.isEmpty());
    QCOMPARE(maximum, 3);
    QCOMPARE(steps, 1);
}

void TestListingDownload::instantBuyRunReadsTitleAndLogsMissingWinners()
{
    const ListingEndpoints endpoints;
    FakeFetcher site;
    site.pages[endpoints.itemUrl("b1")] = instantBuyPage("即決品", {{"w1"}, {"w2"}});
    QStringList log;
    ListingDownloadCallbacks callbacks;
    callbacks.logMessage = [&](const QString& line) { log << line; };
    DetailedListingRun run(endpoints, site.fetcher(), {}, callbacks);
    DetailedListingResult result = run.run(DetailedListingResult::InstantBuy, {"b1"});
    QCOMPARE(result.result, 0);
    QCOMPARE(result.rows.size(), 2);
    QCOMPARE(result.rows[1].title, QStringLiteral("即決品"));
    QVERIFY(log.isEmpty());

    result = run.run(DetailedListingResult::InstantBuy, {"b2"});
    QCOMPARE(result.result, 0);
    QVERIFY(result.rows.isEmpty());
    QCOMPARE(log, QStringList({QStringLiteral("b2：落札者がいません")}));
}

// --- stores

void TestListingDownload::fullStoreConfirmsInsertsAndMarksDeleted()
{
    FixtureDb::addListing(m_db, {"x1", "b1", seller, "商品1", "1000", 1, "1"});
    FixtureDb::addListing(m_db, {"x2", "b2", seller, "商品2", "1000", 2, "1"});
    FixtureDb::addListing(m_db, {"x3", "b3", seller, "商品3", "1000", 3, "1"});
    FixtureDb::addListing(m_db, {"x9", "b9", seller, "即決", "500", -1, "1"});
    FixtureDb::addListing(m_db, {"x8", "b8", seller, "削除済み", "500", 4, "1", true});
    FixtureDb::addListing(m_db, {"y1", "c1", "other", "他", "700", 1, "1"});

    ClosedListingResult download;
    download.total = download.done = 3;
    download.rows = {{1, "x4", "http://u/x4", "新商品", "3,000 ", "b4", ""},
                     {2, "x1", "http://u/x1", "商品1", "1,200", "b1", ""},
                     {3, "x2", "http://u/x2", "商品2", "2,000", "b2", "2個"}};
    const ListingStoreSummary summary = ListingStore(m_db).storeClosedListings(seller, download);

    QVERIFY(summary.written);
    QCOMPARE(summary.logLine, QStringLiteral("出品データダウンロード終了"));
    QCOMPARE(summary.indexShift, 0);
    const StoredRow x4 = stored("x4", "b4");
    QCOMPARE(x4.count, 1);
    QCOMPARE(x4.index, 1);
    QCOMPARE(x4.price, QStringLiteral("3000"));
    QCOMPARE(x4.loginId, seller);
    QVERIFY(x4.updated);
    QVERIFY(!x4.deleted);
    const StoredRow x1 = stored("x1", "b1");
    QCOMPARE(x1.index, 2);
    QCOMPARE(x1.quantity, QStringLiteral("1"));
    QCOMPARE(x1.price, QStringLiteral("1200"));
    QVERIFY(!x1.deleted);
    QCOMPARE(stored("x2", "b2").quantity, QStringLiteral("2"));
    QVERIFY(stored("x3", "b3").deleted);
    QVERIFY(stored("x8", "b8").deleted);
    const StoredRow x9 = stored("x9", "b9");
    QVERIFY(!x9.deleted);
    QCOMPARE(x9.index, -1);
    QVERIFY(!stored("y1", "c1").deleted);

    QCOMPARE(summary.inserted.size(), 1);
    QCOMPARE(summary.inserted[0].aid, QStringLiteral("x4"));
    QCOMPARE(summary.inserted[0].price, QStringLiteral("3000"));
    QCOMPARE(summary.updated.size(), 2);
    QCOMPARE(summary.updated[0].key, (ListingKey{"x1", "b1"}));
    QCOMPARE(summary.updated[0].index, std::optional<int>(2));
    QVERIFY(!summary.updated[0].quantity);
    QCOMPARE(summary.updated[1].quantity, std::optional<QString>("2"));
    QCOMPARE(summary.markedDeleted, QList<ListingKey>({{"x3", "b3"}}));
}

void TestListingDownload::fullStoreFindsRowsByExactKey()
{
    FixtureDb::addListing(m_db, {"x1", "b1", seller, "t", "1", 1});
    FixtureDb::addListing(m_db, {"x10", "b1", seller, "t", "1", 2});
    FixtureDb::addListing(m_db, {"x1", "b10", seller, "t", "1", 3});
    ClosedListingResult download;
    download.done = download.total = 1;
    download.rows = {{1, "x1", "u", "t", "1", "b1", ""}};
    const ListingStoreSummary summary = ListingStore(m_db).storeClosedListings(seller, download);
    QCOMPARE(summary.updated.size(), 1);
    QCOMPARE(summary.updated[0].key, (ListingKey{"x1", "b1"}));
    QCOMPARE(summary.markedDeleted, QList<ListingKey>({{"x10", "b1"}, {"x1", "b10"}}));
    QVERIFY(!stored("x1", "b1").deleted);
    QVERIFY(stored("x10", "b1").deleted);
    QVERIFY(stored("x1", "b10").deleted);
}

void TestListingDownload::fullStoreWritesOnlyChangedRows_data()
{
    QTest::addColumn<bool>("listed");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("bidId");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<bool>("storedDeleted");
    QTest::addColumn<bool>("storedUpdated");
    QTest::addColumn<int>("written");
    QTest::newRow("unchanged") << true << 1 << "b1"
                               << "1,000"
                               << "" << false << true << 0;
    QTest::newRow("same quantity") << true << 1 << "b1"
                                   << "1,000"
                                   << "1個" << false << true << 0;
    QTest::newRow("price") << true << 1 << "b1"
                           << "1,100"
                           << "" << false << true << 1;
    QTest::newRow("quantity") << true << 1 << "b1"
                              << "1,000"
                              << "3" << false << true << 1;
    QTest::newRow("index") << true << 4 << "b1"
                           << "1,000"
                           << "" << false << true << 1;
    QTest::newRow("winner id case") << true << 1 << "B1"
                                    << "1,000"
                                    << "" << false << true << 1;
    QTest::newRow("listed again") << true << 1 << "b1"
                                  << "1,000"
                                  << "" << true << true << 1;
    QTest::newRow("not marked updated") << true << 1 << "b1"
                                        << "1,000"
                                        << "" << false << false << 1;
    QTest::newRow("vanished") << false << 0 << ""
                              << ""
                              << "" << false << true << 1;
    QTest::newRow("gone before") << false << 0 << ""
                                 << ""
                                 << "" << true << true << 0;
}

void TestListingDownload::fullStoreWritesOnlyChangedRows()
{
    QFETCH(bool, listed);
    QFETCH(int, index);
    QFETCH(QString, bidId);
    QFETCH(QString, price);
    QFETCH(QString, quantity);
    QFETCH(bool, storedDeleted);
    QFETCH(bool, storedUpdated);
    QFETCH(int, written);
    FixtureDb::addListing(
        m_db,
        {"x1", "b1", seller, "t", "1000", 1, "1", storedDeleted, {{"UpdateFlg", storedUpdated}}});
    FixtureDb::addListing(m_db, {"x2", "b2", seller, "t", "2000", 2, "1"});
    FixtureDb::addListing(m_db, {"x3", "b3", seller, "t", "3000", 3, ""});
    FixtureDb::addListing(m_db, {"x8", "b8", seller, "t", "500", 5, "1", true});
    FixtureDb::addListing(m_db, {"x9", "b9", seller, "t", "500", -1, "1"});
    FixtureDb::addListing(m_db, {"y1", "c1", "other", "t", "700", 1, "1"});
    const QStringList others = rowsOtherThan("x1");

    ClosedListingResult download;
    if (listed)
        download.rows << ClosedListingRow{index, "x1", "u", "t", price, bidId, quantity};
    download.rows << ClosedListingRow{2, "x2", "u", "t", "2,000", "b2", ""}
                  << ClosedListingRow{3, "x3", "u", "t", "3,000", "b3", ""};
    download.done = download.total = download.rows.size();
    const qint64 before = rowsWritten();
    const ListingStoreSummary summary = ListingStore(m_db).storeClosedListings(seller, download);
    QCOMPARE(rowsWritten() - before, written);
    QCOMPARE(rowsOtherThan("x1"), others);

    const StoredRow x1 = stored("x1", "b1");
    QCOMPARE(x1.count, 1);
    QCOMPARE(summary.inserted.size(), 0);
    QCOMPARE(summary.updated.size(), download.rows.size());
    if (listed) {
        QCOMPARE(x1.index, index);
        QCOMPARE(x1.price, extractDigits(price));
        QCOMPARE(x1.quantity, quantity.isEmpty() ? QStringLiteral("1") : extractDigits(quantity));
        QVERIFY(!x1.deleted);
        QVERIFY(x1.updated);
        QCOMPARE(Sql::scalar(m_db, QStringLiteral("SELECT BidId FROM T_BidData WHERE Aid='x1'"))
                     .toString(),
                 bidId);
        QVERIFY(summary.markedDeleted.isEmpty());
    } else {
        QVERIFY(x1.deleted);
        QCOMPARE(x1.index, 1);
        QCOMPARE(summary.markedDeleted.isEmpty(), storedDeleted);
    }
}

void TestListingDownload::rowDownloadedTwiceIsStoredOnce()
{
    FixtureDb::addListing(m_db, {"x1", "b1", seller, "t", "1000", 1, "1"});
    ClosedListingResult download;
    download.rows = {{1, "x5", "u5", "t5", "500", "b5", "2"},
                     {2, "x1", "u1", "t1", "1,000", "b1", ""},
                     {3, "x5", "u5", "t5", "600", "B5", ""},
                     {4, "x1", "u1", "t1", "1,200", "b1", ""}};
    download.done = download.total = 4;
    const ListingStoreSummary summary = ListingStore(m_db).storeClosedListings(seller, download);
    QCOMPARE(rowCount(), 2);
    const StoredRow x5 = stored("x5", "b5");
    QCOMPARE(x5.index, 3);
    QCOMPARE(x5.price, QStringLiteral("600"));
    QCOMPARE(x5.quantity, QStringLiteral("2"));
    QCOMPARE(x5.title, QStringLiteral("t5"));
    QCOMPARE(stored("x1", "b1").index, 4);
    QCOMPARE(stored("x1", "b1").price, QStringLiteral("1200"));
    QCOMPARE(summary.inserted.size(), 1);
    QCOMPARE(summary.inserted[0].index, 3);
    QCOMPARE(summary.inserted[0].bidId, QStringLiteral("B5"));
    QCOMPARE(summary.inserted[0].price, QStringLiteral("600"));
    QCOMPARE(summary.updated.size(), 2);
    QCOMPARE(summary.updated[1].index, std::optional<int>(4));
    QVERIFY(summary.markedDeleted.isEmpty());
}

void TestListingDownload::newOnlyStoreShiftsIndexes()
{
    FixtureDb::addListing(m_db, {"x1", "b1", seller, "t", "1", 1, "1"});
    FixtureDb::addListing(m_db, {"x2", "b2", seller, "t", "1", 2, "1"});
    FixtureDb::addListing(m_db, {"x9", "b9", seller, "t", "1", -1, "1"});
    FixtureDb::addListing(m_db, {"y1", "c1", "other", "t", "1", 1, "1"});
    FixtureDb::addListing(m_db, {"x5", "b5", seller, "t", "1", 7, "4"});

    ClosedListingResult download;
    download.stopAid = "x1";
    download.total = 10;
    download.done = 3;
    download.rows = {{1, "x7", "u7", "t7", "700", "b7", ""},
                     {2, "x6", "u6", "t6", "600", "b6", "2"},
                     {3, "x5", "u5", "t5", "500", "b5", ""}};
    const ListingStoreSummary summary = ListingStore(m_db).storeClosedListings(seller, download);
    QVERIFY(summary.written);
    QCOMPARE(summary.indexShift, 3);
    QCOMPARE(stored("x1", "b1").index, 4);
    QCOMPARE(stored("x2", "b2").index, 5);
    QCOMPARE(stored("x9", "b9").index, -1);
    QCOMPARE(stored("y1", "c1").index, 1);
    QCOMPARE(stored("x7", "b7").index, 1);
    QCOMPARE(stored("x6", "b6").index, 2);
    QCOMPARE(stored("x6", "b6").quantity, QStringLiteral("2"));
    const StoredRow x5 = stored("x5", "b5");
    QCOMPARE(x5.count, 1);
    QCOMPARE(x5.index, 3);
    QCOMPARE(x5.quantity, QString(""));
    QVERIFY(!stored("x2", "b2").deleted);
    QCOMPARE(summary.inserted.size(), 2);
    QCOMPARE(summary.updated.size(), 1);
    QCOMPARE(summary.updated[0].quantity, std::optional<QString>(""));
    QVERIFY(summary.markedDeleted.isEmpty());
}

void TestListingDownload::newOnlyStoreWithNothingReadWritesNothing()
{
    FixtureDb::addListing(m_db, {"x1", "b1", seller, "t", "1", 1});
    ClosedListingResult download;
    download.stopAid = "x1";
    const ListingStoreSummary summary = ListingStore(m_db).storeClosedListings(seller, download);
    QVERIFY(!summary.written);
    QCOMPARE(summary.logLine, QStringLiteral("出品データダウンロード終了"));
    QCOMPARE(stored("x1", "b1").index, 1);
}

void TestListingDownload::failedRunStoresNothing_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<QString>("logLine");
    QTest::newRow("not recognised") << 1 << false << "出品データダウンロードに失敗しました";
    QTest::newRow("limit") << 2 << false << "出品データダウンロードを中止しました";
    QTest::newRow("nothing") << 3 << false << "ダウンロードするデータがありません";
    QTest::newRow("stopped") << 0 << true << "出品データダウンロード終了";
}

void TestListingDownload::failedRunStoresNothing()
{
    QFETCH(int, result);
    QFETCH(bool, stopped);
    QFETCH(QString, logLine);
    FixtureDb::addListing(m_db, {"x1", "b1", seller, "t", "1", 1});
    ClosedListingResult download;
    download.result = result;
    download.stopped = stopped;
    download.done = 1;
    download.rows = {{1, "x2", "u", "t", "1", "b2", ""}};
    const ListingStoreSummary summary = ListingStore(m_db).storeClosedListings(seller, download);
    QVERIFY(!summary.written);
    QCOMPARE(summary.logLine, logLine);
    QCOMPARE(rowCount(), 1);
    QVERIFY(!stored("x1", "b1").deleted);
}

void TestListingDownload::storeErrorLeavesDatabaseUnchanged()
{
    FixtureDb::addListing(m_db, {"x1", "b1", seller, "t", "1", 1});
    FixtureDb::addListing(m_db, {"x2", "b2", seller, "t", "1", 2});
    Sql::exec(m_db, QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON T_BidData "
                                   "WHEN NEW.Aid='bad' BEGIN SELECT RAISE(ABORT,'refused'); END"));
    ClosedListingResult download;
    download.done = download.total = 2;
    download.rows = {{1, "x3", "u", "t", "1", "b3", ""}, {2, "bad", "u", "t", "1", "b4", ""}};
    QVERIFY_THROWS_EXCEPTION(DatabaseError,
                             ListingStore(m_db).storeClosedListings(seller, download));
    QCOMPARE(rowCount(), 2);
    QVERIFY(!stored("x1", "b1").deleted);
    QVERIFY(!stored("x2", "b2").deleted);
}

void TestListingDownload::instantBuyTargetCheck_data()
{
    QTest::addColumn<QString>("aid");
    QTest::addColumn<int>("check");
    QTest::newRow("empty") << "" << int(ListingStore::InstantBuyCheck::Empty);
    QTest::newRow("regular, other account")
        << "x1" << int(ListingStore::InstantBuyCheck::AlreadyClosed);
    QTest::newRow("instant buy") << "x9" << int(ListingStore::InstantBuyCheck::Accepted);
    QTest::newRow("not stored") << "x5" << int(ListingStore::InstantBuyCheck::Accepted);
    QTest::newRow("quote") << "x1' OR '1'='1" << int(ListingStore::InstantBuyCheck::Accepted);
}

void TestListingDownload::instantBuyTargetCheck()
{
    QFETCH(QString, aid);
    QFETCH(int, check);
    FixtureDb::addListing(m_db, {"x1", "b1", "other", "t", "1", 3});
    FixtureDb::addListing(m_db, {"x9", "b9", seller, "t", "1", -1});
    QCOMPARE(int(ListingStore(m_db).checkInstantBuyTarget(aid)), check);
}

void TestListingDownload::detailedStoreAddsAndRemovesWinners()
{
    FixtureDb::addListing(m_db, {"x1", "b1", seller, "複数", "1000", 5, "1"});
    FixtureDb::addListing(m_db, {"x1", "b2", seller, "複数", "1000", 5, "1"});
    FixtureDb::addListing(m_db, {"x1", "b4", seller, "複数", "1000", 5, "1", true});
    FixtureDb::addListing(m_db, {"x2", "c1", seller, "単品", "800", 6, "1"});

    DetailedListingResult download;
    download.mode = DetailedListingResult::SelectedRows;
    download.finishedAids = {"x1", "x2"};
    download.rows = {{"x1", "3個", "1,000", "b1", "", "http://item/x1"},
                     {"x1", "1", "1,100 ", "b3", "", "http://item/x1"},
                     {"x2", "2", "800", "c1", "", "http://item/x2"}};
    const ListingStoreSummary summary = ListingStore(m_db).storeDetailedListings(seller, download);
    QCOMPARE(summary.logLine, QStringLiteral("出品終了詳細データダウンロード終了"));
    const StoredRow b1 = stored("x1", "b1");
    QVERIFY(!b1.deleted);
    QCOMPARE(b1.quantity, QStringLiteral("3"));
    QVERIFY(stored("x1", "b2").deleted);
    QVERIFY(stored("x1", "b4").deleted);
    const StoredRow b3 = stored("x1", "b3");
    QCOMPARE(b3.index, 5);
    QCOMPARE(b3.title, QStringLiteral("複数"));
    QCOMPARE(b3.url, QStringLiteral("https://page.auctions.yahoo.co.jp/jp/auction/x1"));
    QCOMPARE(b3.price, QStringLiteral("1100"));
    QCOMPARE(b3.loginId, seller);
    QCOMPARE(stored("x2", "c1").quantity, QStringLiteral("2"));
    QCOMPARE(summary.inserted.size(), 1);
    QCOMPARE(summary.inserted[0].index, 5);
    QCOMPARE(summary.updated.size(), 2);
    QCOMPARE(summary.updated[0].quantity, std::optional<QString>("3"));
    QCOMPARE(summary.markedDeleted, QList<ListingKey>({{"x1", "b2"}}));
}

void TestListingDownload::detailedStoreSkipsUnfinishedAuction()
{
    const ListingEndpoints endpoints;
    FakeFetcher site;
    site.pages[endpoints.itemUrl("x1")] = itemPage({{"b1", "2"}});
    site.pages[endpoints.itemUrl("x2")] =
        itemPageAround(winnerLines({"c1"}) + QStringLiteral("<!-- advance -->\r\n") +
                       QString(winnerLines({"c2"})).replace("/show/contact", "/") + filler(100));
    FixtureDb::addListing(m_db, {"x1", "b1", seller, "t", "1", 1, "1"});
    FixtureDb::addListing(m_db, {"x2", "c1", seller, "t", "1", 2, "1"});
    FixtureDb::addListing(m_db, {"x2", "c2", seller, "t", "1", 2, "1"});

    const DetailedListingResult download =
        DetailedListingRun(endpoints, site.fetcher(), {})
            .run(DetailedListingResult::SelectedRows, {"x1", "x2"});
    QCOMPARE(download.result, 2);
    const ListingStoreSummary summary = ListingStore(m_db).storeDetailedListings(seller, download);
    QVERIFY(summary.written);
    QCOMPARE(stored("x1", "b1").quantity, QStringLiteral("2"));
    QVERIFY(!stored("x2", "c1").deleted);
    QVERIFY(!stored("x2", "c2").deleted);
    QVERIFY(summary.markedDeleted.isEmpty());
}

void TestListingDownload::instantBuyRowsSurviveFullStore()
{
    FixtureDb::addListing(m_db, {"x1", "b1", seller, "t", "1", 1});
    DetailedListingResult instantBuy;
    instantBuy.mode = DetailedListingResult::InstantBuy;
    instantBuy.finishedAids = {"q1"};
    instantBuy.rows = {{"q1", "1", "900", "w1", "即決品", "http://item/q1"},
                       {"q1", "2", "900", "w2", "即決品", "http://item/q1"}};
    ListingStore store(m_db);
    const ListingStoreSummary first = store.storeDetailedListings(seller, instantBuy);
    QCOMPARE(first.inserted.size(), 2);
    const StoredRow w2 = stored("q1", "w2");
    QCOMPARE(w2.index, -1);
    QCOMPARE(w2.title, QStringLiteral("即決品"));
    QCOMPARE(w2.url, QStringLiteral("http://item/q1"));
    QVERIFY(w2.updated);
    QCOMPARE(store.checkInstantBuyTarget("q1"), ListingStore::InstantBuyCheck::Accepted);

    ClosedListingResult full;
    full.done = full.total = 1;
    full.rows = {{1, "x2", "u", "t", "1", "b2", ""}};
    const ListingStoreSummary second = store.storeClosedListings(seller, full);
    QVERIFY(!stored("q1", "w1").deleted);
    QVERIFY(!stored("q1", "w2").deleted);
    QVERIFY(stored("x1", "b1").deleted);
    QCOMPARE(second.markedDeleted, QList<ListingKey>({{"x1", "b1"}}));
    QCOMPARE(store.checkInstantBuyTarget("x2"), ListingStore::InstantBuyCheck::AlreadyClosed);
}

void TestListingDownload::listRowCells()
{
    // Every column given: the fixture binds an unset one as NULL.
    FixtureDb::addBidder(m_db, {"b1", "山田太郎", "m@example.jp", "100-0001", "東京都", "03"});
    ListingStore store(m_db);
    const QStringList cells = store.listViewBidCells({3, "x1", "t", "b1", "2個", "1,000", "u"});
    QCOMPARE(cells.size(), 20);
    QCOMPARE(cells[0], QStringLiteral("3"));
    QCOMPARE(cells[1], QStringLiteral("x1"));
    QCOMPARE(cells[3], QStringLiteral("b1"));
    QCOMPARE(cells[4], QStringLiteral("山田太郎"));
    QCOMPARE(cells[5], QStringLiteral("2"));
    QCOMPARE(cells[6], QStringLiteral("1000"));
    QCOMPARE(cells[19], QStringLiteral("u"));
    QVERIFY(store.listViewBidCells({1, "x2", "t", "nobody", "", "", ""})[4].isEmpty());
}

QTEST_GUILESS_MAIN(TestListingDownload)
#include "test_listdl.moc"
