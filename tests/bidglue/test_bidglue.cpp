// The listing download commands of the main window against a fake site: the full and the
// new-listings download, the detailed and the instant-buy download, their stores, failures
// and the stop command.
#include "support/FixtureDb.h"
#include "support/ListingPages.h"
#include "support/MainWindowFixture.h"
#include "app/UnitNavi.h"
#include "platform/Database.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"
#include "site/DownloadControl.h"
#include "site/ListingEndpoints.h"
#include "site/LoginControl.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringEncoder>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace ListingPages;

namespace {

const QString seller = QStringLiteral("seller");

const QString statusPage =
    QStringLiteral("<html><head><title>マイ・オークション</title></head><body>\n"
                   "<table><tr><td><b>こんにちは、  seller さん</b></td></tr></table>\n"
                   "</body></html>\n");

FakeSite::Response page(const QString& text, int delayMs = 0)
{
    FakeSite::Response response;
    QStringEncoder encoder("CP932");
    response.body = encoder.encode(text);
    response.contentType = "text/html; charset=Shift_JIS";
    response.delayMs = delayMs;
    return response;
}

struct StoredRow
{
    int index = 0;
    QString title;
    QString quantity;
    QString price;
    QString url;
    bool deleted = false;
    int count = 0;
};

} // namespace

class TestBidGlue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fullRunReadsPagesAndSeveralWinners();
    void newOnlyRunShiftsIndexesAndInsertsNewRows();
    void fullRunMarksVanishedListingsDeleted_data();
    void fullRunMarksVanishedListingsDeleted();
    void instantBuyDownloadStoresOutsideTheIndexes();
    void instantBuyRefusals_data();
    void instantBuyRefusals();
    void detailedDownloadAddsAndRemovesWinners();
    void detailedDownloadWithoutSelectionStartsNothing();
    void failurePagesLeaveDatabaseUnchanged_data();
    void failurePagesLeaveDatabaseUnchanged();
    void unreadableWinnersPageKeepsThatListing();
    void stopMidRunStoresNothing();
    void furtherPageWithoutListingEndsRun_data();
    void furtherPageWithoutListingEndsRun();

private:
    void makeNavi();
    void setClosedPages(const QList<QString>& pages, int delayedPage = 0);
    void setItemPage(const QString& aid, const QString& text);
    // Every request but the account checks, as "path?query".
    QStringList siteRequests() const;
    StoredRow stored(const QString& aid, const QString& bidId) const;
    QStringList databaseDump() const;
    void verifyIdle() const;
    void runToEnd(QAction* command, int kind);

    std::unique_ptr<MainWindowFixture> m_app;
    TFormNavi* m_navi = nullptr;
    QString m_connection;
    QSqlDatabase m_db;
    ListingEndpoints m_endpoints;
};

void TestBidGlue::initTestCase()
{
    Q_INIT_RESOURCE(tessaly);
}

void TestBidGlue::init()
{
    m_app = std::make_unique<MainWindowFixture>();
    m_app->site().setRoute("GET", "/jp/show/mystatus", page(statusPage));
    m_endpoints = ListingEndpoints::fromHosts(m_app->site().host(), m_app->site().host());
    m_connection = Database::uniqueConnectionName(QStringLiteral("bidglue"));
    m_db = Database::open(m_connection);
}

void TestBidGlue::cleanup()
{
    m_app->closeWindow();
    m_db = QSqlDatabase();
    Database::close(m_connection);
    m_app.reset();
}

void TestBidGlue::makeNavi()
{
    m_navi = m_app->start();
    // The account check of a start fills the list with the account's rows; do it now.
    QVERIFY(m_navi->loginControl().checkLoginStatus());
    QCOMPARE(m_navi->loginId, seller);
    m_app->site().clearRequests();
}

void TestBidGlue::setClosedPages(const QList<QString>& pages, int delayedPage)
{
    // The closed listings share their path with the account's status page.
    m_app->site().setHandler("GET", "/jp/show/mystatus",
                             [pages, delayedPage](const FakeSite::Request& request) {
                                 const QByteArray query = request.query();
                                 const qsizetype at = query.indexOf("apg=");
                                 if (at < 0)
                                     return page(statusPage);
                                 const int number = query.mid(at + 4).toInt();
                                 if (number < 1 || number > pages.size()) {
                                     FakeSite::Response missing;
                                     missing.status = 404;
                                     missing.body = "Not Found";
                                     return missing;
                                 }
                                 return page(pages[number - 1], number == delayedPage ? 10000 : 0);
                             });
}

void TestBidGlue::setItemPage(const QString& aid, const QString& text)
{
    m_app->site().setRoute("GET", QByteArray("/jp/auction/") + aid.toUtf8(), page(text));
}

QStringList TestBidGlue::siteRequests() const
{
    QStringList targets;
    for (const FakeSite::Request& request : m_app->site().requests())
        if (request.path() != "/jp/show/mystatus" || request.query().contains("apg="))
            targets << QString::fromUtf8(request.target);
    return targets;
}

StoredRow TestBidGlue::stored(const QString& aid, const QString& bidId) const
{
    QSqlQuery query = Sql::exec(m_db,
                                QStringLiteral("SELECT [Index],Title,Quantity,Price,Url,DeleteFlg "
                                               "FROM T_BidData WHERE Aid=:AID AND BidId=:BID"),
                                {{":AID", aid}, {":BID", bidId}});
    StoredRow row;
    while (query.next()) {
        if (row.count++ > 0)
            continue;
        row.index = query.value(0).toInt();
        row.title = query.value(1).toString();
        row.quantity = query.value(2).toString();
        row.price = query.value(3).toString();
        row.url = query.value(4).toString();
        row.deleted = query.value(5).toInt() == 1;
    }
    return row;
}

QStringList TestBidGlue::databaseDump() const
{
    QSqlQuery query = Sql::exec(m_db, QStringLiteral("SELECT * FROM T_BidData ORDER BY rowid"));
    QStringList rows;
    while (query.next()) {
        QStringList cells;
        for (int c = 0; c < query.record().count(); ++c)
            cells << query.value(c).toString();
        rows << cells.join('|');
    }
    return rows;
}

void TestBidGlue::verifyIdle() const
{
    QCOMPARE(m_navi->downloadKind, 0);
    for (QAction* command :
         {m_navi->ActionBidDownloadNow, m_navi->ActionBidDownload, m_navi->ActionBidDetailedDownload,
          m_navi->ActionBidPromptDecisionDownload})
        QVERIFY2(command->isEnabled(), qPrintable(command->objectName()));
    QVERIFY(m_navi->ToolButtonLogin->isEnabled());
    QVERIFY(!m_navi->MainMenuDataDownloadQuit->isEnabled());
}

void TestBidGlue::runToEnd(QAction* command, int kind)
{
    QVERIFY(command->isEnabled());
    command->trigger();
    QCOMPARE(m_navi->downloadKind, kind);
    QVERIFY(!m_navi->ActionBidDownload->isEnabled());
    QVERIFY(!m_navi->ActionBidPromptDecisionDownload->isEnabled());
    QVERIFY(m_navi->MainMenuDataDownloadQuit->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(m_navi->downloadKind, 0, 20000);
}

void TestBidGlue::fullRunReadsPagesAndSeveralWinners()
{
    QList<Listing> first = numberedListings(1, 50);
    first[1].allWinners = true;
    setClosedPages({closedListPage(52, first), closedListPage(52, numberedListings(51, 2))});
    setItemPage("x2", itemPage({{"winnerA", "2", "2,000"}, {"winnerB", "1", "1,500"}}));
    makeNavi();

    runToEnd(m_navi->ActionBidDownload, 1);
    verifyIdle();

    QCOMPARE(siteRequests(),
             QStringList({"/jp/show/mystatus?alocale=0jp&select=closed&hasWinner=1&apg=1",
                          "/jp/auction/x2",
                          "/jp/show/mystatus?alocale=0jp&select=closed&hasWinner=1&apg=2"}));
    const StoredRow x1 = stored("x1", "bidder1");
    QCOMPARE(x1.index, 1);
    QCOMPARE(x1.price, QStringLiteral("1000"));
    QCOMPARE(x1.quantity, QString());
    QCOMPARE(x1.title, QStringLiteral("商品1"));
    QCOMPARE(x1.url, listingUrl("x1"));
    const StoredRow winnerA = stored("x2", "winnerA");
    QCOMPARE(winnerA.index, 2);
    QCOMPARE(winnerA.quantity, QStringLiteral("2"));
    QCOMPARE(winnerA.price, QStringLiteral("2000"));
    QCOMPARE(winnerA.url, listingUrl("x2"));
    QCOMPARE(winnerA.title, QStringLiteral("商品2"));
    const StoredRow winnerB = stored("x2", "winnerB");
    QCOMPARE(winnerB.index, 2);
    QCOMPARE(winnerB.price, QStringLiteral("1500"));
    QCOMPARE(stored("x2", "bidder2").count, 0);
    QCOMPARE(stored("x3", "bidder3").index, 3);
    QCOMPARE(stored("x52", "bidder52").index, 52);
    QCOMPARE(stored("x52", "bidder52").price, QStringLiteral("52000"));

    QCOMPARE(m_navi->ListViewBid->topLevelItemCount(), 53);
    BidRow item = m_navi->ListViewBid->findBidItem("x2", "winnerA");
    QVERIFY(item);
    QCOMPARE(item->text(BidListColumns::CaptionColumn), QStringLiteral("2"));
    QCOMPARE(item->subItem(BidListColumns::Quantity), QStringLiteral("2"));
    QCOMPARE(item->subItem(BidListColumns::Price), QStringLiteral("2000"));
    QCOMPARE(item->subItem(BidListColumns::Url), listingUrl("x2"));
    QCOMPARE(m_navi->statusPanels[1]->text(), QStringLiteral("53件"));
    QCOMPARE(m_app->log().mid(m_app->log().size() - 2),
             QStringList({"出品情報ダウンロード開始…", "出品データダウンロード終了"}));
}

void TestBidGlue::newOnlyRunShiftsIndexesAndInsertsNewRows()
{
    FixtureDb::addListing(m_db, {"x1", "bidder1", seller, "古1", "1000", 1});
    FixtureDb::addListing(m_db, {"x2", "bidder2", seller, "古2", "1000", 2});
    FixtureDb::addListing(m_db, {"y9", "buyer9", seller, "即決", "500", -1});
    QList<Listing> listings = {{"n1", "新1", "3,000", "new1"},
                               {"n2", "新2", "2,000", "new2"},
                               {"n3", "新3", "1,000", "new3"},
                               {"x1", "古1", "1,000", "bidder1"},
                               {"x2", "古2", "1,000", "bidder2"}};
    setClosedPages({closedListPage(5, listings)});
    makeNavi();
    QCOMPARE(m_navi->ListViewBid->topLevelItemCount(), 3);

    runToEnd(m_navi->ActionBidDownloadNow, 1);
    verifyIdle();

    QCOMPARE(siteRequests(),
             QStringList({"/jp/show/mystatus?alocale=0jp&select=closed&hasWinner=1&apg=1"}));
    QCOMPARE(stored("n1", "new1").index, 1);
    QCOMPARE(stored("n1", "new1").price, QStringLiteral("3000"));
    QCOMPARE(stored("n3", "new3").index, 3);
    QCOMPARE(stored("x1", "bidder1").index, 4);
    QCOMPARE(stored("x2", "bidder2").index, 5);
    QCOMPARE(stored("y9", "buyer9").index, -1);
    QCOMPARE(stored("x1", "bidder1").count, 1);

    BidListView* list = m_navi->ListViewBid;
    QCOMPARE(list->topLevelItemCount(), 6);
    QCOMPARE(list->findBidItem("n2", "new2")->text(0), QStringLiteral("2"));
    QCOMPARE(list->findBidItem("x1", "bidder1")->text(0), QStringLiteral("4"));
    QCOMPARE(list->findBidItem("x2", "bidder2")->text(0), QStringLiteral("5"));
    QCOMPARE(list->findBidItem("y9", "buyer9")->text(0), QStringLiteral("-1"));
    QCOMPARE(m_app->log().mid(m_app->log().size() - 2),
             QStringList({"新規出品情報ダウンロード開始…", "出品データダウンロード終了"}));
}

void TestBidGlue::fullRunMarksVanishedListingsDeleted_data()
{
    QTest::addColumn<int>("vanished");
    QTest::newRow("one") << 1;
    QTest::newRow("many") << 70;
}

void TestBidGlue::fullRunMarksVanishedListingsDeleted()
{
    QFETCH(int, vanished);
    FixtureDb::addListing(m_db, {"x1", "bidder1", seller, "商品1", "1000", 1, "2"});
    for (int i = 0; i < vanished; ++i)
        FixtureDb::addListing(m_db, {QStringLiteral("gone%1").arg(i), "bidderG", seller, "消えた",
                                     "1000", 2 + i});
    FixtureDb::addListing(m_db, {"y9", "buyer9", seller, "即決", "500", -1});
    setClosedPages({closedListPage(1, numberedListings(1, 1))});
    makeNavi();
    BidListView* list = m_navi->ListViewBid;
    QCOMPARE(list->topLevelItemCount(), vanished + 2);
    list->findBidItem("x1", "bidder1")->setSelected(true);

    runToEnd(m_navi->ActionBidDownload, 1);
    verifyIdle();

    QVERIFY(!stored("x1", "bidder1").deleted);
    QCOMPARE(stored("x1", "bidder1").quantity, QStringLiteral("2"));
    for (int i = 0; i < vanished; ++i) {
        QVERIFY(stored(QStringLiteral("gone%1").arg(i), "bidderG").deleted);
        QVERIFY(!list->findBidItem(QStringLiteral("gone%1").arg(i), "bidderG"));
    }
    QVERIFY(!stored("y9", "buyer9").deleted);
    QCOMPARE(list->topLevelItemCount(), 2);
    QVERIFY(list->findBidItem("y9", "buyer9"));
    BidRow x1 = list->findBidItem("x1", "bidder1");
    QCOMPARE(x1->subItem(BidListColumns::Quantity), QStringLiteral("2"));
    QVERIFY(x1->isSelected());
    QCOMPARE(m_navi->statusPanels[1]->text(), QStringLiteral("2件"));
}

void TestBidGlue::instantBuyDownloadStoresOutsideTheIndexes()
{
    // Stored earlier by an instant-buy download: read again.
    FixtureDb::addListing(m_db, {"y7", "old", seller, "即決商品", "500", -1});
    setItemPage("y7", instantBuyPage("即決商品", {{"w1", "3", "4,500"}, {"old", "1", "500"}}));
    makeNavi();
    m_app->dialogs().queue(Dialogs::Answer::Ok, "y7");

    runToEnd(m_navi->ActionBidPromptDecisionDownload, 4);
    verifyIdle();

    QCOMPARE(m_app->dialogs().requests().size(), 1);
    QCOMPARE(m_app->dialogs().requests()[0].kind, Dialogs::Kind::InputText);
    QCOMPARE(m_app->dialogs().requests()[0].caption, QStringLiteral("オークションID入力"));
    QCOMPARE(m_app->dialogs().requests()[0].text,
             QStringLiteral("取得するオークションIDを入力してください"));
    QCOMPARE(siteRequests(), QStringList({"/jp/auction/y7"}));
    const StoredRow w1 = stored("y7", "w1");
    QCOMPARE(w1.index, -1);
    QCOMPARE(w1.title, QStringLiteral("即決商品"));
    QCOMPARE(w1.quantity, QStringLiteral("3"));
    QCOMPARE(w1.price, QStringLiteral("4500"));
    QCOMPARE(w1.url, m_endpoints.itemUrl("y7"));
    QVERIFY(!stored("y7", "old").deleted);
    QCOMPARE(stored("y7", "old").count, 1);
    BidRow item = m_navi->ListViewBid->findBidItem("y7", "w1");
    QVERIFY(item);
    QCOMPARE(item->text(0), QStringLiteral("-1"));
    QCOMPARE(item->subItem(BidListColumns::Title), QStringLiteral("即決商品"));
    QCOMPARE(
        m_app->log().mid(m_app->log().size() - 2),
        QStringList({"即決出品終了データダウンロード開始…", "出品終了詳細データダウンロード終了"}));
}

void TestBidGlue::instantBuyRefusals_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("logLine");
    QTest::addColumn<QString>("errorText");
    QTest::newRow("stored with another index, other account")
        << "x1" << QString() << "既に終了しているオークションです。処理を中止します。";
    QTest::newRow("empty") << "" << "入力されたオークションIDは不正です" << QString();
}

void TestBidGlue::instantBuyRefusals()
{
    QFETCH(QString, input);
    QFETCH(QString, logLine);
    QFETCH(QString, errorText);
    FixtureDb::addListing(m_db, {"x1", "bidder1", "other", "商品1", "1000", 3});
    setItemPage("x1", instantBuyPage("商品1", {{"bidder1", "1", "1,000"}}));
    makeNavi();
    const QStringList before = databaseDump();
    const int logCount = m_navi->ListBoxMessage->count();
    m_app->dialogs().queue(Dialogs::Answer::Ok, input);

    m_navi->ActionBidPromptDecisionDownload->trigger();

    verifyIdle();
    QVERIFY(siteRequests().isEmpty());
    QCOMPARE(databaseDump(), before);
    if (!errorText.isEmpty()) {
        QCOMPARE(m_app->dialogs().requests().size(), 2);
        QCOMPARE(m_app->dialogs().requests()[1].kind, Dialogs::Kind::Error);
        QCOMPARE(m_app->dialogs().requests()[1].caption, QStringLiteral("終了済み"));
        QCOMPARE(m_app->dialogs().requests()[1].text, errorText);
        QCOMPARE(m_navi->ListBoxMessage->count(), logCount);
    } else {
        QCOMPARE(m_app->dialogs().requests().size(), 1);
        QCOMPARE(m_app->log().mid(logCount), QStringList({logLine}));
    }
}

void TestBidGlue::detailedDownloadAddsAndRemovesWinners()
{
    FixtureDb::addListing(m_db, {"x1", "w1", seller, "商品1", "1000", 1, "1"});
    FixtureDb::addListing(m_db, {"x1", "w2", seller, "商品1", "1000", 1, "1"});
    FixtureDb::addListing(m_db, {"x2", "bidder2", seller, "商品2", "1000", 2});
    setItemPage("x1", itemPage({{"w1", "2", "2,000"}, {"w3", "1", "1,000"}}));
    makeNavi();
    BidListView* list = m_navi->ListViewBid;
    QCOMPARE(list->topLevelItemCount(), 3);
    list->findBidItem("x1", "w1")->setSelected(true);

    runToEnd(m_navi->ActionBidDetailedDownload, 4);
    verifyIdle();

    QCOMPARE(siteRequests(), QStringList({"/jp/auction/x1"}));
    QVERIFY(!stored("x1", "w1").deleted);
    QCOMPARE(stored("x1", "w1").quantity, QStringLiteral("2"));
    QVERIFY(stored("x1", "w2").deleted);
    const StoredRow w3 = stored("x1", "w3");
    QCOMPARE(w3.count, 1);
    QCOMPARE(w3.index, 1);
    QCOMPARE(w3.title, QStringLiteral("商品1"));
    QVERIFY(!stored("x2", "bidder2").deleted);

    QCOMPARE(list->topLevelItemCount(), 3);
    QCOMPARE(list->findBidItem("x1", "w1")->subItem(BidListColumns::Quantity),
             QStringLiteral("2"));
    QVERIFY(!list->findBidItem("x1", "w2"));
    QVERIFY(list->findBidItem("x1", "w3"));
    QVERIFY(list->findBidItem("x2", "bidder2"));
    QCOMPARE(
        m_app->log().mid(m_app->log().size() - 2),
        QStringList({"出品終了詳細データダウンロード開始…", "出品終了詳細データダウンロード終了"}));
}

void TestBidGlue::detailedDownloadWithoutSelectionStartsNothing()
{
    FixtureDb::addListing(m_db, {"x1", "w1", seller, "商品1", "1000", 1});
    makeNavi();

    m_navi->ActionBidDetailedDownload->trigger();

    verifyIdle();
    QVERIFY(m_app->site().requests().isEmpty());
    QCOMPARE(m_app->log().last(), QStringLiteral("行を選択してください"));
}

void TestBidGlue::failurePagesLeaveDatabaseUnchanged_data()
{
    QTest::addColumn<QList<QString>>("pages");
    QTest::addColumn<QString>("itemPage");
    QTest::addColumn<bool>("detailed");
    QTest::addColumn<QString>("endLine");

    const QString failed = QStringLiteral("出品データダウンロードに失敗しました");
    QString noCheckbox;
    for (int i = 0; i < 120; ++i)
        noCheckbox += QStringLiteral("<td>-</td>\r\n");

    QTest::newRow("unknown first page")
        << QList<QString>{"<html>メンテナンス中</html>"} << QString() << false << failed;
    QTest::newRow("empty first page") << QList<QString>{QString()} << QString() << false << failed;
    QTest::newRow("nothing to download")
        << QList<QString>{noListingsPage()} << QString() << false
        << QStringLiteral("ダウンロードするデータがありません");
    QTest::newRow("no checkbox within its limit")
        << QList<QString>{closedListPageAround(2, noCheckbox)} << QString() << false
        << QStringLiteral("出品データダウンロードを中止しました");
    QTest::newRow("second page missing")
        << QList<QString>{closedListPage(51, numberedListings(1, 50))} << QString() << false
        << failed;
    QTest::newRow("detailed: item page unknown")
        << QList<QString>{} << QStringLiteral("<html>エラー</html>") << true
        << QStringLiteral("出品終了詳細データダウンロード終了");
}

void TestBidGlue::failurePagesLeaveDatabaseUnchanged()
{
    QFETCH(QList<QString>, pages);
    QFETCH(QString, itemPage);
    QFETCH(bool, detailed);
    QFETCH(QString, endLine);
    FixtureDb::addListing(m_db, {"x1", "bidder1", seller, "商品1", "1000", 1, "1"});
    FixtureDb::addListing(m_db, {"old", "bidderO", seller, "古い", "1000", 2});
    setClosedPages(pages);
    setItemPage("x1", itemPage);
    makeNavi();
    const QStringList before = databaseDump();
    BidListView* list = m_navi->ListViewBid;
    QCOMPARE(list->topLevelItemCount(), 2);

    if (detailed) {
        list->findBidItem("x1", "bidder1")->setSelected(true);
        runToEnd(m_navi->ActionBidDetailedDownload, 4);
    } else {
        runToEnd(m_navi->ActionBidDownload, 1);
    }
    verifyIdle();

    QCOMPARE(databaseDump(), before);
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->findBidItem("x1", "bidder1")->text(0), QStringLiteral("1"));
    QCOMPARE(m_app->log().last(), endLine);
}

void TestBidGlue::unreadableWinnersPageKeepsThatListing()
{
    FixtureDb::addListing(m_db, {"x1", "bidder1", seller, "商品1", "1000", 3, "1"});
    FixtureDb::addListing(m_db, {"old", "bidderO", seller, "古い", "1000", 4});
    QList<Listing> listings = numberedListings(1, 2);
    listings[0].allWinners = true;
    setClosedPages({closedListPage(2, listings)});
    setItemPage("x1", QStringLiteral("<html>エラー</html>"));
    makeNavi();
    runToEnd(m_navi->ActionBidDownload, 1);
    verifyIdle();
    // The listing whose winners could not be read stays, at its place in this run.
    BidListView* list = m_navi->ListViewBid;
    QVERIFY(list->findBidItem("x1", "bidder1"));
    QCOMPARE(list->findBidItem("x1", "bidder1")->text(0), QStringLiteral("1"));
    QVERIFY(list->findBidItem("x2", "bidder2"));
    QVERIFY(!list->findBidItem("old", "bidderO"));
    const QStringList lines = m_app->log();
    QVERIFY(lines.contains(QStringLiteral("x1：落札者一覧を読めませんでした")));
    QCOMPARE(lines.last(), QStringLiteral("出品データダウンロード終了"));
}

void TestBidGlue::stopMidRunStoresNothing()
{
    FixtureDb::addListing(m_db, {"old", "bidderO", seller, "古い", "1000", 1});
    setClosedPages({closedListPage(51, numberedListings(1, 50)),
                    closedListPage(51, numberedListings(51, 1))},
                   2);
    makeNavi();
    const QStringList before = databaseDump();

    m_navi->ActionBidDownload->trigger();
    QCOMPARE(m_navi->downloadKind, 1);
    QTRY_VERIFY_WITH_TIMEOUT(siteRequests().size() == 2, 10000);
    m_navi->MainMenuDataDownloadQuit->trigger();

    verifyIdle();
    QCOMPARE(m_app->dialogs().requests().size(), 1);
    QCOMPARE(m_app->dialogs().requests()[0].text,
             QStringLiteral("終了データダウンロードを中止しますか？"));
    QCOMPARE(m_app->log().last(), QStringLiteral("出品終了データダウンロードを中止しました"));
    // The thread ends (its request ends early) and is freed without any hand-over.
    QTRY_VERIFY_WITH_TIMEOUT(std::all_of(m_navi->downloadControl().downloadThreads.cbegin(),
                                         m_navi->downloadControl().downloadThreads.cend(),
                                         [](const auto& thread) { return thread.isNull(); }),
                             5000);
    QCoreApplication::processEvents();
    QCOMPARE(m_app->log().last(), QStringLiteral("出品終了データダウンロードを中止しました"));
    QCOMPARE(databaseDump(), before);
    QCOMPARE(m_navi->ListViewBid->topLevelItemCount(), 1);
}

void TestBidGlue::furtherPageWithoutListingEndsRun_data()
{
    QTest::addColumn<int>("firstPageListings");
    QTest::newRow("first page full") << 50;
    QTest::newRow("first page without listing") << 0;
}

void TestBidGlue::furtherPageWithoutListingEndsRun()
{
    QFETCH(int, firstPageListings);
    // The first page announces a million listings (20,000 pages); every further page is an
    // empty listing.
    const int total = 1000000;
    const QString first = closedListPage(total, numberedListings(1, firstPageListings));
    const QString empty = closedListPage(total, {});
    m_app->site().setHandler("GET", "/jp/show/mystatus",
                             [first, empty](const FakeSite::Request& request) {
                                 const QByteArray query = request.query();
                                 const qsizetype at = query.indexOf("apg=");
                                 if (at < 0)
                                     return page(statusPage);
                                 return page(query.mid(at + 4).toInt() == 1 ? first : empty);
                             });
    makeNavi();

    runToEnd(m_navi->ActionBidDownload, 1);
    verifyIdle();

    QCOMPARE(siteRequests(),
             QStringList({"/jp/show/mystatus?alocale=0jp&select=closed&hasWinner=1&apg=1",
                          "/jp/show/mystatus?alocale=0jp&select=closed&hasWinner=1&apg=2"}));
    QCOMPARE(m_navi->ListViewBid->topLevelItemCount(), firstPageListings);
    if (firstPageListings > 0)
        QCOMPARE(stored("x50", "bidder50").index, 50);
    QCOMPARE(m_app->log().last(), QStringLiteral("出品データダウンロード終了"));
}

QTEST_MAIN(TestBidGlue)
#include "test_bidglue.moc"
