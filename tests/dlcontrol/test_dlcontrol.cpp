// The download frame of the main window with its real threads: a hand-over that throws, the
// stop command in the middle of the detailed, the instant-buy and the automatic message
// re-download, and closing the window while a download runs.
#include "support/AnswerGate.h"
#include "support/FakeSite.h"
#include "support/FixtureDb.h"
#include "support/ListingPages.h"
#include "support/MainWindowFixture.h"
#include "support/NaviBoardSite.h"

#include "app/UnitNavi.h"
#include "platform/Application.h"
#include "platform/Sql.h"
#include "site/DownloadControl.h"
#include "site/DownloadThread.h"
#include "site/LoginControl.h"
#include "views/BidListView.h"
#include "views/ListingTab.h"

#include <QAction>
#include <QListWidget>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringEncoder>
#include <QTest>
#include <QToolButton>

#include <atomic>
#include <memory>
#include <stdexcept>

using namespace ListingPages;

namespace {

const QString seller = QStringLiteral("seller");
const QString buyer = QStringLiteral("buyer01");
const QString aidA = QStringLiteral("a100");
const QString failureText = QStringLiteral("書き込みに失敗しました");
const QString statusPage =
    QStringLiteral("<html><head><title>マイ・オークション</title></head><body>\n"
                   "<table><tr><td><b>こんにちは、  seller さん</b></td></tr></table>\n"
                   "</body></html>\n");

FakeSite::Response shiftJisPage(const QString& text)
{
    FakeSite::Response response;
    QStringEncoder encoder("CP932");
    response.body = encoder.encode(text);
    response.contentType = "text/html; charset=Shift_JIS";
    return response;
}

// What a download whose first hand-over throws went through; it outlives the thread, which is
// freed once it ends.
struct ThrowingProbe
{
    std::atomic<int> throwingRuns{0};
    std::atomic<int> laterRuns{0};
    std::atomic<bool> firstAccepted{true};
    std::atomic<bool> passedCheckAfter{true};
};

// After its throwing hand-over the download goes on as a run does, trying further hand-overs
// and checks.
class ThrowingDownload : public DownloadThread
{
public:
    ThrowingDownload(QObject* guiTarget, const QString& loginId,
                     std::shared_ptr<ThrowingProbe> probe)
        : DownloadThread(guiTarget, loginId), m_probe(std::move(probe))
    {
    }

protected:
    void run() override
    {
        m_probe->firstAccepted = handOver([this] {
            ++m_probe->throwingRuns;
            throw std::runtime_error(failureText.toStdString());
        });
        m_probe->passedCheckAfter = checkPoint();
        for (int i = 0; i < 3; ++i)
            handOver([this] { ++m_probe->laterRuns; });
    }

private:
    std::shared_ptr<ThrowingProbe> m_probe;
};

} // namespace

class TestDownloadControl : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;
    std::shared_ptr<AnswerGate> gate;

    void makeNavi()
    {
        navi = app->start();
        // The account check of a start fills the list with the account's rows; do it now.
        QVERIFY(navi->loginControl().checkLoginStatus());
        QCOMPARE(navi->loginId, seller);
    }
    // The answers of the path wait at the gate when holds() picks the request.
    void holdAnswers(const QByteArray& path, const FakeSite::Handler& answer,
                     const std::function<bool(const FakeSite::Request&)>& holds)
    {
        const std::shared_ptr<AnswerGate> held = gate;
        app->site().setHandler("GET", path,
                               [held, answer, holds](const FakeSite::Request& request) {
                                   if (holds(request))
                                       held->pass();
                                   return answer(request);
                               });
    }
    void holdItemPage(const QString& aid, const QString& page)
    {
        const QByteArray path = "/jp/auction/" + aid.toUtf8();
        const FakeSite::Response response = shiftJisPage(page);
        holdAnswers(
            path, [response](const FakeSite::Request&) { return response; },
            [](const FakeSite::Request&) { return true; });
    }
    void setItemPage(const QString& aid, const QString& page)
    {
        app->site().setRoute("GET", "/jp/auction/" + aid.toUtf8(), shiftJisPage(page));
    }
    void selectListings(const QStringList& keys)
    {
        for (const QString& key : keys) {
            const QStringList parts = key.split(':');
            BidRow item = navi->ListViewBid->findBidItem(parts[0], parts[1]);
            QVERIFY2(item, qPrintable(key));
            item->setSelected(true);
        }
    }
    int countOf(const QString& line) const { return int(app->log().count(line)); }
    QStringList databaseDump() const
    {
        QStringList rows;
        for (const QString& table : {QStringLiteral("T_BidData"), QStringLiteral("T_Navi")}) {
            QSqlQuery query = Sql::exec(navi->connection, QStringLiteral("SELECT * FROM ") + table +
                                                              QStringLiteral(" ORDER BY rowid"));
            while (query.next()) {
                QStringList cells{table};
                for (int c = 0; c < query.record().count(); ++c)
                    cells << query.value(c).toString();
                rows << cells.join('|');
            }
        }
        return rows;
    }
    int errorBoxes() const
    {
        return int(std::count_if(
            app->dialogs().requests().cbegin(), app->dialogs().requests().cend(),
            [](const Dialogs::Request& request) { return request.kind == Dialogs::Kind::Error; }));
    }
    void verifyIdle() const
    {
        QCOMPARE(navi->downloadKind, 0);
        for (QAction* command :
             {navi->ActionBidDownloadNow, navi->ActionBidDownload, navi->ActionNaviDownloadSelect,
              navi->ActionNaviDownloadShow, navi->ActionBidDetailedDownload,
              navi->ActionBidPromptDecisionDownload})
            QVERIFY2(command->isEnabled(), qPrintable(command->objectName()));
        QVERIFY(navi->ToolButtonLogin->isEnabled());
        QVERIFY(!navi->MainMenuDataDownloadQuit->isEnabled());
    }
    // Starts the download that kind names against the site set up by the test; its one held
    // request is then under way.
    void startHeldDownload(int kind)
    {
        switch (kind) {
        case 1:
            holdAnswers(
                "/jp/show/mystatus",
                [](const FakeSite::Request& request) {
                    if (!request.query().contains("apg="))
                        return shiftJisPage(statusPage);
                    const bool first = request.query().endsWith("apg=1");
                    return shiftJisPage(first ? closedListPage(51, numberedListings(1, 50))
                                              : closedListPage(51, numberedListings(51, 1)));
                },
                [](const FakeSite::Request& request) { return request.query().endsWith("apg=2"); });
            navi->ActionBidDownload->trigger();
            break;
        case 2:
            holdAnswers(
                "/jp/show/contact",
                [this](const FakeSite::Request& request) { return app->boards().answer(request); },
                [](const FakeSite::Request&) { return true; });
            selectListings({aidA + ':' + buyer});
            navi->ActionNaviDownloadSelect->trigger();
            break;
        case 4:
            holdItemPage("x2", itemPage({{"w3"}}));
            selectListings({"x1:w1", "x2:bidder2"});
            navi->ActionBidDetailedDownload->trigger();
            break;
        }
        QCOMPARE(navi->downloadKind, kind);
        QTRY_COMPARE_WITH_TIMEOUT(gate->arrivals(), 1, 10000);
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        app->serveBoards(seller);
        gate = std::make_shared<AnswerGate>();
    }
    void cleanup()
    {
        // A held answer would keep the site's thread from ending.
        gate->open();
        app->closeWindow();
        gate.reset();
        app.reset();
    }

    void handOverThatThrowsRunsOnceAndEndsTheDownload_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("endLine");
        QTest::newRow("closed listings") << 1 << "出品データダウンロードに失敗しました";
        QTest::newRow("message boards") << 2 << "ナビ情報ダウンロードに失敗しました";
        QTest::newRow("detailed listings") << 4 << QString();
        QTest::newRow("automatic re-download") << 5 << "ナビ情報ダウンロードに失敗しました";
    }
    void handOverThatThrowsRunsOnceAndEndsTheDownload()
    {
        QFETCH(int, kind);
        QFETCH(QString, endLine);
        makeNavi();
        const auto probe = std::make_shared<ThrowingProbe>();
        QPointer<DownloadThread> thread;
        QVERIFY(navi->downloadControl().startDownload(
            kind,
            [&]() -> DownloadThread* {
                thread = new ThrowingDownload(navi, navi->loginId, probe);
                return thread;
            },
            QStringLiteral("開始")));
        QVERIFY(thread);
        QCOMPARE(navi->downloadKind, kind);
        const int logCount = navi->ListBoxMessage->count();

        QTRY_VERIFY_WITH_TIMEOUT(!thread, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(errorBoxes(), 1, 5000);
        QCoreApplication::processEvents();
        QCOMPARE(probe->throwingRuns.load(), 1);
        QVERIFY(!probe->firstAccepted);
        QVERIFY(!probe->passedCheckAfter);
        QCOMPARE(probe->laterRuns.load(), 0);
        QCOMPARE(errorBoxes(), 1);
        QCOMPARE(app->dialogs().requests().last().text, failureText);

        verifyIdle();
        QVERIFY(!navi->downloadControl().threadOfKind(kind));
        QCOMPARE(app->log().mid(logCount),
                 endLine.isEmpty() ? QStringList() : QStringList{endLine});
        // The next download starts as usual.
        setItemPage("x9", itemPage({{"w9"}}));
        FixtureDb::addListing(navi->connection, {.aid = "x9", .bidId = "w9", .loginId = seller});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        selectListings({"x9:w9"});
        navi->ActionBidDetailedDownload->trigger();
        QCOMPARE(navi->downloadKind, 4);
        QTRY_COMPARE_WITH_TIMEOUT(navi->downloadKind, 0, 10000);
        QCOMPARE(app->log().last(), QStringLiteral("出品終了詳細データダウンロード終了"));
    }

    void stopDuringDetailedDownloadStoresNothing_data()
    {
        QTest::addColumn<bool>("instantBuy");
        QTest::newRow("selected listings") << false;
        QTest::newRow("instant buy") << true;
    }
    void stopDuringDetailedDownloadStoresNothing()
    {
        QFETCH(bool, instantBuy);
        makeNavi();
        FixtureDb::addListing(navi->connection, {.aid = "x1", .bidId = "w1", .index = 1});
        FixtureDb::addListing(navi->connection, {.aid = "x2", .bidId = "bidder2", .index = 2});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        // Selected listings: the first one's page is read and the second one's is held until
        // after the stop. Instant buy: its only page is held.
        setItemPage("x1", itemPage({{"w1", "2"}, {"w3"}}));
        if (instantBuy) {
            holdItemPage("y7", instantBuyPage("即決商品", {{"w7", "1", "500"}}));
            app->dialogs().queue(Dialogs::Answer::Ok, "y7");
            navi->ActionBidPromptDecisionDownload->trigger();
        } else {
            holdItemPage("x2", itemPage({{"w4"}}));
            selectListings({"x1:w1", "x2:bidder2"});
            navi->ActionBidDetailedDownload->trigger();
        }
        QCOMPARE(navi->downloadKind, 4);
        const QPointer<DownloadThread> thread = navi->downloadControl().threadBidDetailedDownload;
        QVERIFY(thread);
        QTRY_COMPARE_WITH_TIMEOUT(gate->arrivals(), 1, 10000);
        const QStringList before = databaseDump();
        app->dialogs().clear();

        navi->MainMenuDataDownloadQuit->trigger();

        QCOMPARE(app->dialogs().texts(),
                 QStringList{"出品終了詳細データダウンロードを中止しますか？"});
        QCOMPARE(app->log().last(), QStringLiteral("出品終了詳細データ取得を中止しました"));
        verifyIdle();
        QVERIFY(!navi->downloadControl().threadBidDetailedDownload);
        gate->open();
        QTRY_VERIFY_WITH_TIMEOUT(!thread, 10000);
        QCoreApplication::processEvents();
        QCOMPARE(app->log().last(), QStringLiteral("出品終了詳細データ取得を中止しました"));
        QCOMPARE(countOf("出品終了詳細データダウンロード終了"), 0);
        QCOMPARE(databaseDump(), before);
        QVERIFY(!navi->ListViewBid->findBidItem("x1", "w3"));
        QVERIFY(!navi->ListViewBid->findBidItem("y7", "w7"));
        verifyIdle();
    }

    void stopDuringAutomaticReDownloadStoresNothing()
    {
        makeNavi();
        FixtureDb::addListing(navi->connection, {.aid = aidA, .bidId = buyer, .title = "時計"});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        // The board lists number 3 twice: its messages are deleted again and it is queued.
        app->boards().addBoard(
            aidA, buyer,
            {{"3", buyer, "入金しました"}, {"3", seller, "ご連絡"}, {"1", buyer, "はじめまして"}});
        const QByteArray board = NaviBoardSite::boardTarget(aidA, buyer);
        auto boardRequests = std::make_shared<std::atomic<int>>(0);
        holdAnswers(
            "/jp/show/contact",
            [this](const FakeSite::Request& request) { return app->boards().answer(request); },
            [board, boardRequests](const FakeSite::Request& request) {
                return request.target == board && ++*boardRequests == 2;
            });
        selectListings({aidA + ':' + buyer});
        navi->ActionNaviDownloadSelect->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(gate->arrivals(), 1, 10000);
        QCOMPARE(navi->downloadKind, 5);
        QCOMPARE(countOf("ナビ情報をダウンロード終了"), 1);
        QVERIFY(
            app->log().contains(aidA + "：時計 ナビNo重複 自動再取得を行います(" + buyer + ")"));
        const QPointer<DownloadThread> thread = navi->downloadControl().threadNaviDownload;
        QVERIFY(thread);
        const QStringList before = databaseDump();
        app->dialogs().clear();

        navi->MainMenuDataDownloadQuit->trigger();

        QCOMPARE(app->dialogs().texts(), QStringList{"取引ナビダウンロードを中止しますか？"});
        QCOMPARE(app->log().last(), QStringLiteral("取引ナビダウンロードを中止しました"));
        verifyIdle();
        QVERIFY(!navi->downloadControl().threadNaviDownload);
        gate->open();
        QTRY_VERIFY_WITH_TIMEOUT(!thread, 10000);
        QCoreApplication::processEvents();
        QCOMPARE(countOf("取引ナビダウンロードを中止しました"), 1);
        QCOMPARE(app->log().last(), QStringLiteral("取引ナビダウンロードを中止しました"));
        QCOMPARE(countOf("ナビ情報をダウンロード終了"), 1);
        QCOMPARE(databaseDump(), before);
        QCOMPARE(
            Sql::scalar(navi->connection, QStringLiteral("SELECT COUNT(*) FROM T_Navi")).toInt(),
            0);
        verifyIdle();
    }

    void closingTheWindowEndsTheRunningDownload_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("closed listings") << 1;
        QTest::newRow("message boards") << 2;
        QTest::newRow("detailed listings") << 4;
    }
    void closingTheWindowEndsTheRunningDownload()
    {
        QFETCH(int, kind);
        makeNavi();
        FixtureDb::addListing(navi->connection, {.aid = "x1", .bidId = "w1", .index = 1});
        FixtureDb::addListing(navi->connection, {.aid = "x2", .bidId = "bidder2", .index = 2});
        FixtureDb::addListing(navi->connection, {.aid = aidA, .bidId = buyer, .index = 3});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        app->boards().addBoard(aidA, buyer, {{"1", buyer, "はじめまして"}});
        setItemPage("x1", itemPage({{"w1", "2"}, {"w3"}}));
        startHeldDownload(kind);
        const QPointer<DownloadThread> thread = navi->downloadControl().threadOfKind(kind);
        QVERIFY(thread);
        const QStringList before = databaseDump();
        const QStringList logBefore = app->log();

        navi->close();

        QVERIFY(!navi->isVisible());
        // The close waited for the thread, whose request ended early.
        QVERIFY(!thread || thread->isFinished());
        gate->open();
        QTRY_VERIFY_WITH_TIMEOUT(!thread, 10000);
        QCoreApplication::processEvents();
        QCOMPARE(app->log(), logBefore);
        QCOMPARE(databaseDump(), before);
        QCOMPARE(errorBoxes(), 0);
    }
};

int main(int argc, char** argv)
{
    // The program's own application object: it would show an exception that reaches the
    // event loop.
    Application app(argc, argv);
    TestDownloadControl test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_dlcontrol.moc"
