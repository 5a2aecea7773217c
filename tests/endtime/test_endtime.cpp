// The end-time lookup of the main window against the fake site's item web service: the listing
// query's queue and timer, one tick per listing writing the database and every row of the
// listing, failed answers, ticks that meet a download or another tick, and a database error.
#include "support/AnswerGate.h"
#include "support/FakeSite.h"
#include "support/FixtureDb.h"
#include "support/ListingPages.h"
#include "support/MainWindowFixture.h"
#include "support/SitePages.h"

#include "app/UnitNavi.h"
#include "platform/Application.h"
#include "platform/Sql.h"
#include "site/EndTimeControl.h"
#include "site/EndTimeLookup.h"
#include "site/EndTimeQueue.h"
#include "site/LoginControl.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/ListingTab.h"

#include <QAction>
#include <QListWidget>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include <map>
#include <memory>

namespace {

const QString seller = QStringLiteral("seller");
const QString other = QStringLiteral("other");
const QByteArray servicePath = "/AuctionWebService/V1/AuctionItem";

FakeSite::Response serviceAnswer(const QString& result)
{
    FakeSite::Response response;
    response.contentType = "text/xml; charset=utf-8";
    response.body = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                   "<ResultSet><Result>%1</Result></ResultSet>\n")
                        .arg(result)
                        .toUtf8();
    return response;
}

FakeSite::Response endTimeAnswer(const QString& endTime)
{
    return serviceAnswer(QStringLiteral("<AuctionID>x</AuctionID><endtime>") + endTime +
                         QStringLiteral("</endtime>"));
}

QList<QAction*> heldCommands(const TFormNavi& navi)
{
    return {navi.ActionBidDownloadNow, navi.ActionBidDownload, navi.ActionNaviDownloadShow,
            navi.ActionNaviDownloadSelect};
}

QList<QAction*> downloadCommands(const TFormNavi& navi)
{
    return heldCommands(navi) +
           QList<QAction*>{navi.ActionBidDetailedDownload, navi.ActionBidPromptDecisionDownload};
}

} // namespace

Q_DECLARE_METATYPE(FakeSite::Response)

class TestEndTime : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;
    std::shared_ptr<AnswerGate> gate;

    void makeNavi()
    {
        navi = app->start();
        QVERIFY(navi->loginControl().checkLoginStatus());
        QCOMPARE(navi->loginId, seller);
    }
    // The web service answers each auction id from answers; others get an answer without an
    // end time.
    void setAnswers(const std::map<QString, FakeSite::Response>& answers)
    {
        app->site().setHandler("GET", servicePath, [answers](const FakeSite::Request& request) {
            const QString aid =
                QUrlQuery(QString::fromUtf8(request.query()))
                    .queryItemValue(QStringLiteral("auctionID"), QUrl::FullyDecoded);
            const auto found = answers.find(aid);
            return found != answers.end() ? found->second
                                          : serviceAnswer(QStringLiteral("<Title>x</Title>"));
        });
    }
    // The auction ids asked of the web service, in order.
    QStringList askedIds() const
    {
        QStringList ids;
        for (const FakeSite::Request& request : app->site().requests())
            if (request.path() == servicePath)
                ids << QUrlQuery(QString::fromUtf8(request.query()))
                           .queryItemValue(QStringLiteral("auctionID"), QUrl::FullyDecoded);
        return ids;
    }
    QString storedEndTime(const QString& aid, const QString& bidId,
                          const QString& loginId = seller) const
    {
        return Sql::scalar(navi->connection,
                           QStringLiteral("SELECT EndDataTime FROM T_BidData WHERE Aid=:AID AND "
                                          "BidId=:BID AND LoginId=:LOGIN"),
                           {{":AID", aid}, {":BID", bidId}, {":LOGIN", loginId}})
            .toString();
    }
    QString shownEndTime(const QString& aid, const QString& bidId) const
    {
        const BidRow item = navi->ListViewBid->findBidItem(aid, bidId);
        return item ? item->subItem(BidListColumns::EndDataTime) : QStringLiteral("<no row>");
    }
    QStringList endTimeColumn() const
    {
        QStringList cells;
        QSqlQuery query =
            Sql::exec(navi->connection,
                      QStringLiteral(
                          "SELECT Aid, BidId, LoginId, EndDataTime FROM T_BidData ORDER BY rowid"));
        while (query.next())
            cells << QStringList{query.value(0).toString(), query.value(1).toString(),
                                 query.value(2).toString(), query.value(3).toString()}
                         .join('|');
        return cells;
    }
    int logCount() const { return navi->ListBoxMessage->count(); }
    void verifyTimerRunning() const
    {
        QVERIFY(navi->TimerEndDateTime->isActive());
        QCOMPARE(navi->TimerEndDateTime->interval(), 20000);
    }
    void verifyCommands(const QList<QAction*>& commands, bool enabled) const
    {
        for (QAction* command : commands)
            QVERIFY2(command->isEnabled() == enabled, qPrintable(command->objectName()));
    }
    // Two listings without an end time, listed in this order.
    void addTwoListings()
    {
        FixtureDb::addListing(navi->connection, {.aid = "a1", .bidId = "w1", .index = 2});
        FixtureDb::addListing(navi->connection, {.aid = "a2", .bidId = "w2", .index = 1});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QCOMPARE(navi->endTimeControl().endTimeQueue.ids(), (QStringList{"a1", "a2"}));
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        SitePages::serveAccount(app->site(), seller);
        gate = std::make_shared<AnswerGate>();
    }
    void cleanup()
    {
        gate->open();
        app->closeWindow();
        gate.reset();
        app.reset();
    }

    void tickFollowsTheBusyState_data()
    {
        QTest::addColumn<int>("downloadKind");
        QTest::addColumn<bool>("postRunning");
        QTest::addColumn<bool>("tickInFlight");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<bool>("commandsBack");
        using S = EndTimeLookup::Start;
        QTest::newRow("idle") << 0 << false << false << true << int(S::Begin) << true << true;
        QTest::newRow("idle, nothing pending")
            << 0 << false << false << false << int(S::StopTimer) << false << true;
        for (int kind : {1, 2, 4, 5})
            QTest::addRow("download %d", kind)
                << kind << false << false << true << int(S::Wait) << false << false;
        QTest::newRow("post") << 0 << true << false << true << int(S::Wait) << false << true;
        QTest::newRow("post, nothing pending")
            << 0 << true << false << false << int(S::Wait) << false << true;
        QTest::newRow("another tick") << 0 << false << true << true << int(S::Wait) << true << true;
    }
    void tickFollowsTheBusyState()
    {
        QFETCH(int, downloadKind);
        QFETCH(bool, postRunning);
        QFETCH(bool, tickInFlight);
        QFETCH(bool, pending);
        QFETCH(int, start);
        QFETCH(bool, asks);
        QFETCH(bool, commandsBack);
        EndTimeQueue queue;
        if (pending) {
            queue.enqueue("a1");
            queue.enqueue("a2");
        }
        const EndTimeLookup::Busy busy{downloadKind, postRunning, tickInFlight};
        QCOMPARE(int(EndTimeLookup::startOf(busy, queue)), start);
        const std::optional<QString> asked = EndTimeLookup::idToAsk(busy, queue);
        QCOMPARE(asked.has_value(), asks);
        if (asked)
            QCOMPARE(*asked, QStringLiteral("a1"));
        QCOMPARE(EndTimeLookup::commandsComeBack(busy), commandsBack);
        QCOMPARE(queue.pendingCount(), pending ? 2 : 0);
    }

    void queueHoldsEachListingOnce()
    {
        EndTimeQueue queue;
        for (const char* aid : {"a1", "a2", "a1", "a3", "a2"})
            queue.enqueue(aid);
        QCOMPARE(queue.ids(), (QStringList{"a1", "a2", "a3"}));
        QCOMPARE(queue.front(), QStringLiteral("a1"));
        QCOMPARE(queue.dequeue(), QStringLiteral("a1"));
        queue.enqueue("a2");
        queue.enqueue("a1");
        QCOMPARE(queue.ids(), (QStringList{"a2", "a3", "a1"}));
        queue.clear();
        queue.enqueue("a3");
        QCOMPARE(queue.ids(), QStringList{"a3"});
    }

    void ticksFillEveryRowOfEachListing()
    {
        makeNavi();
        QVERIFY(!navi->TimerEndDateTime->isActive());
        const QString storedBefore = QStringLiteral("12月01日 10時00分");
        FixtureDb::addListing(navi->connection, {.aid = "a1", .bidId = "w1", .index = 4});
        FixtureDb::addListing(navi->connection, {.aid = "a2", .bidId = "w2a", .index = 3});
        FixtureDb::addListing(navi->connection, {.aid = "a2", .bidId = "w2b", .index = 3});
        FixtureDb::addListing(navi->connection, {.aid = "a3", .bidId = "w3", .index = 2});
        FixtureDb::addListing(
            navi->connection,
            {.aid = "a4", .bidId = "w4", .index = 1, .extra = {{"EndDataTime", storedBefore}}});
        FixtureDb::addListing(navi->connection, {.aid = "a1", .bidId = "o1", .loginId = other});
        setAnswers({{"a1", endTimeAnswer("1月  5日  5時 5分")},
                    {"a2", endTimeAnswer("12月 28日 22時 10分")},
                    {"a3", endTimeAnswer("3月 3日 9時 30分")},
                    {"a4", endTimeAnswer("9月 9日 9時 9分")}});
        const std::map<QString, QString> expected{
            {"a1", "01月05日 05時05分"}, {"a2", "12月28日 22時10分"}, {"a3", "03月03日 09時30分"}};
        const std::map<QString, QStringList> winners{
            {"a1", {"w1"}}, {"a2", {"w2a", "w2b"}}, {"a3", {"w3"}}};

        navi->listingTab().ToolButtonBidSearchSearchClick();

        QCOMPARE(navi->ListViewBid->topLevelItemCount(), 5);
        const QStringList queued = navi->endTimeControl().endTimeQueue.ids();
        QCOMPARE(queued.size(), 3);
        QStringList sorted = queued;
        sorted.sort();
        QCOMPARE(sorted, (QStringList{"a1", "a2", "a3"}));
        QCOMPARE(navi->endTimeControl().endTimePendingCount(), 3);
        verifyTimerRunning();
        const int logBefore = logCount();

        QStringList done;
        for (const QString& aid : queued) {
            app->site().clearRequests();
            navi->endTimeControl().TimerEndDateTimeTimer();

            QCOMPARE(askedIds(), QStringList{aid});
            done << aid;
            QCOMPARE(navi->endTimeControl().endTimePendingCount(), 3 - int(done.size()));
            QCOMPARE(navi->endTimeControl().endTimeQueue.ids(), queued.mid(done.size()));
            for (const QString& key :
                 {QStringLiteral("a1"), QStringLiteral("a2"), QStringLiteral("a3")}) {
                const QString want = done.contains(key) ? expected.at(key) : QString();
                for (const QString& bidId : winners.at(key)) {
                    QCOMPARE(storedEndTime(key, bidId), want);
                    QCOMPARE(shownEndTime(key, bidId), want);
                }
            }
            verifyCommands(downloadCommands(*navi), true);
            if (done.size() < 3)
                verifyTimerRunning();
        }
        QVERIFY(!navi->TimerEndDateTime->isActive());
        QCOMPARE(storedEndTime("a1", "o1", other), QString());
        QCOMPARE(storedEndTime("a4", "w4"), storedBefore);
        QCOMPARE(shownEndTime("a4", "w4"), storedBefore);
        QCOMPARE(logCount(), logBefore);

        // A tick of the stopped timer asks nothing.
        app->site().clearRequests();
        navi->endTimeControl().TimerEndDateTimeTimer();
        QCOMPARE(askedIds(), QStringList());
    }

    void endTimeIsStoredAsGiven_data()
    {
        QTest::addColumn<QString>("answered");
        QTest::addColumn<QString>("stored");
        QTest::newRow("blank-padded parts") << "1月  5日  5時 5分"
                                            << "01月05日 05時05分";
        QTest::newRow("quote") << "12月 1日 O'Neil's"
                               << "12月 1日 O'Neil's";
        QTest::newRow("quote closing the statement") << "x' WHERE 1=1; DROP TABLE T_BidData; --"
                                                     << "x' WHERE 1=1; DROP TABLE T_BidData; --";
    }
    void endTimeIsStoredAsGiven()
    {
        QFETCH(QString, answered);
        QFETCH(QString, stored);
        makeNavi();
        FixtureDb::addListing(navi->connection, {.aid = "a'1", .bidId = "w1"});
        FixtureDb::addListing(navi->connection, {.aid = "a2", .bidId = "w2"});
        FixtureDb::addListing(navi->connection, {.aid = "a'1", .bidId = "o1", .loginId = other});
        setAnswers({{"a'1", endTimeAnswer(answered)}});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QCOMPARE(navi->endTimeControl().endTimeQueue.front(), QStringLiteral("a'1"));

        navi->endTimeControl().TimerEndDateTimeTimer();

        QCOMPARE(askedIds(), QStringList{"a'1"});
        QCOMPARE(endTimeColumn(),
                 (QStringList{"a'1|w1|seller|" + stored, "a2|w2|seller|", "a'1|o1|other|"}));
        QCOMPARE(shownEndTime("a'1", "w1"), stored);
        QCOMPARE(shownEndTime("a2", "w2"), QString());
    }

    void answerWithoutEndTimeDropsTheId_data()
    {
        QTest::addColumn<FakeSite::Response>("answer");
        FakeSite::Response dropped;
        dropped.drop = true;
        FakeSite::Response missing = endTimeAnswer("1月 5日 5時 5分");
        missing.status = 404;
        missing.body = "Not Found";
        // A valid answer that comes only after the lookup's time-out.
        FakeSite::Response silent = endTimeAnswer("1月 5日 5時 5分");
        silent.delayMs = 8000;
        QTest::newRow("no end time") << serviceAnswer("<Title>時計</Title>");
        QTest::newRow("tags in the wrong order")
            << serviceAnswer("</endtime>1月 5日 5時 5分<endtime>");
        QTest::newRow("only the opening tag") << serviceAnswer("<endtime>1月 5日 5時 5分");
        QTest::newRow("empty end time") << endTimeAnswer("");
        QTest::newRow("dropped connection") << dropped;
        QTest::newRow("not found") << missing;
        QTest::newRow("silent service") << silent;
    }
    void answerWithoutEndTimeDropsTheId()
    {
        QFETCH(FakeSite::Response, answer);
        makeNavi();
        addTwoListings();
        setAnswers({{"a1", answer}, {"a2", endTimeAnswer("2月 2日 2時 2分")}});
        const QStringList before = endTimeColumn();
        const int logBefore = logCount();

        navi->endTimeControl().TimerEndDateTimeTimer();

        QVERIFY(askedIds().contains("a1"));
        QCOMPARE(endTimeColumn(), before);
        QCOMPARE(shownEndTime("a1", "w1"), QString());
        QCOMPARE(logCount(), logBefore);
        QVERIFY(app->dialogs().requests().isEmpty());
        QCOMPARE(navi->endTimeControl().endTimeQueue.ids(), QStringList{"a2"});
        verifyTimerRunning();
        verifyCommands(downloadCommands(*navi), true);

        app->site().clearRequests();
        navi->endTimeControl().TimerEndDateTimeTimer();
        QCOMPARE(askedIds(), QStringList{"a2"});
        QCOMPARE(storedEndTime("a2", "w2"), QStringLiteral("02月02日 02時02分"));
        QCOMPARE(shownEndTime("a2", "w2"), QStringLiteral("02月02日 02時02分"));
        QVERIFY(!navi->TimerEndDateTime->isActive());
    }

    void tickDuringClosedListingDownloadWaits()
    {
        makeNavi();
        addTwoListings();
        setAnswers({{"a1", endTimeAnswer("1月 5日 5時 5分")}});
        const QString closedPage = ListingPages::closedListPage(
            2, {{.aid = "a1", .bidId = "w1"}, {.aid = "a2", .bidId = "w2"}});
        const std::shared_ptr<AnswerGate> held = gate;
        app->site().setHandler("GET", "/jp/show/mystatus",
                               [held, closedPage](const FakeSite::Request& request) {
                                   if (!request.query().contains("apg="))
                                       return SitePages::page(SitePages::statusPage(seller));
                                   held->pass();
                                   return SitePages::page(closedPage);
                               });
        navi->ActionBidDownload->trigger();
        QCOMPARE(navi->downloadKind, 1);
        QTRY_COMPARE_WITH_TIMEOUT(gate->arrivals(), 1, 10000);
        app->site().clearRequests();

        navi->endTimeControl().TimerEndDateTimeTimer();

        QCOMPARE(askedIds(), QStringList());
        QCOMPARE(navi->endTimeControl().endTimeQueue.ids(), (QStringList{"a1", "a2"}));
        verifyTimerRunning();
        verifyCommands(downloadCommands(*navi), false);
        QVERIFY(navi->MainMenuDataDownloadQuit->isEnabled());

        gate->open();
        QTRY_COMPARE_WITH_TIMEOUT(navi->downloadKind, 0, 10000);
        verifyCommands(downloadCommands(*navi), true);
        navi->endTimeControl().TimerEndDateTimeTimer();
        QCOMPARE(askedIds(), QStringList{"a1"});
        QCOMPARE(storedEndTime("a1", "w1"), QStringLiteral("01月05日 05時05分"));
        QCOMPARE(shownEndTime("a1", "w1"), QStringLiteral("01月05日 05時05分"));
        QCOMPARE(navi->endTimeControl().endTimeQueue.ids(), QStringList{"a2"});
    }

    void tickDuringAMessagePostAsksNothing()
    {
        makeNavi();
        addTwoListings();
        setAnswers({{"a1", endTimeAnswer("1月 5日 5時 5分")}});
        navi->session.beginMessagePost();
        navi->endTimeControl().TimerEndDateTimeTimer();
        QCOMPARE(askedIds(), QStringList());
        QCOMPARE(navi->endTimeControl().endTimeQueue.ids(), (QStringList{"a1", "a2"}));
        verifyTimerRunning();

        navi->session.endMessagePost();
        navi->endTimeControl().TimerEndDateTimeTimer();
        QCOMPARE(askedIds(), QStringList{"a1"});
        QCOMPARE(storedEndTime("a1", "w1"), QStringLiteral("01月05日 05時05分"));
    }

    void downloadStartedDuringTheTickKeepsTheId()
    {
        makeNavi();
        addTwoListings();
        setAnswers({{"a1", endTimeAnswer("1月 5日 5時 5分")}});
        const std::shared_ptr<AnswerGate> held = gate;
        const FakeSite::Response item = SitePages::page(ListingPages::itemPage({{.bidId = "w1"}}));
        app->site().setHandler("GET", "/jp/auction/a1", [held, item](const FakeSite::Request&) {
            held->pass();
            return item;
        });
        navi->ListViewBid->findBidItem("a1", "w1")->setSelected(true);
        // The detailed download stays enabled during a tick; a click on it waits in the queue.
        QMetaObject::invokeMethod(
            navi, [this] { navi->ActionBidDetailedDownload->trigger(); }, Qt::QueuedConnection);

        navi->endTimeControl().TimerEndDateTimeTimer();

        QCOMPARE(navi->downloadKind, 4);
        QCOMPARE(askedIds(), QStringList());
        QCOMPARE(navi->endTimeControl().endTimeQueue.ids(), (QStringList{"a1", "a2"}));
        verifyCommands(downloadCommands(*navi), false);
        QVERIFY(!navi->endTimeControl().endTimeTickInFlight);

        QTRY_COMPARE_WITH_TIMEOUT(gate->arrivals(), 1, 10000);
        gate->open();
        QTRY_COMPARE_WITH_TIMEOUT(navi->downloadKind, 0, 10000);
        verifyCommands(downloadCommands(*navi), true);
        navi->endTimeControl().TimerEndDateTimeTimer();
        QCOMPARE(askedIds(), QStringList{"a1"});
        QCOMPARE(storedEndTime("a1", "w1"), QStringLiteral("01月05日 05時05分"));
    }

    void tickDuringATickDoesNothing()
    {
        makeNavi();
        addTwoListings();
        setAnswers(
            {{"a1", endTimeAnswer("1月 5日 5時 5分")}, {"a2", endTimeAnswer("2月 2日 2時 2分")}});
        QMetaObject::invokeMethod(
            navi, [this] { navi->endTimeControl().TimerEndDateTimeTimer(); }, Qt::QueuedConnection);

        navi->endTimeControl().TimerEndDateTimeTimer();

        QCOMPARE(askedIds(), QStringList{"a1"});
        QCOMPARE(navi->endTimeControl().endTimeQueue.ids(), QStringList{"a2"});
        QCOMPARE(storedEndTime("a2", "w2"), QString());
        verifyCommands(downloadCommands(*navi), true);
    }

    void listingQueryReplacesThePendingIds()
    {
        makeNavi();
        addTwoListings();
        setAnswers({{"a1", endTimeAnswer("1月 5日 5時 5分")}});
        navi->endTimeControl().TimerEndDateTimeTimer();
        QCOMPARE(navi->endTimeControl().endTimeQueue.ids(), QStringList{"a2"});

        FixtureDb::addListing(navi->connection, {.aid = "a3", .bidId = "w3", .index = 0});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QCOMPARE(navi->endTimeControl().endTimeQueue.ids(), (QStringList{"a2", "a3"}));
        verifyTimerRunning();

        Sql::exec(navi->connection, QStringLiteral("UPDATE T_BidData SET EndDataTime='x'"));
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QCOMPARE(navi->endTimeControl().endTimePendingCount(), 0);
        QVERIFY(!navi->TimerEndDateTime->isActive());
    }

    // A database that refuses the write (a full disk) stops the lookup with one error box
    // until the next listing query collects the ids again.
    void databaseErrorStopsTheLookupWithOneBox()
    {
        makeNavi();
        addTwoListings();
        setAnswers({{"a1", endTimeAnswer("01月05日 05時05分")},
                    {"a2", endTimeAnswer("02月02日 02時02分")}});
        Sql::exec(navi->connection,
                  QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE OF EndDataTime ON T_BidData "
                                 "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        // Under the box no further tick can come: the lookup has stopped already.
        bool timerUnderTheBox = true;
        int pendingUnderTheBox = -1;
        app->dialogs().whileAsking([&](const Dialogs::Request&) {
            timerUnderTheBox = navi->TimerEndDateTime->isActive();
            pendingUnderTheBox = navi->endTimeControl().endTimePendingCount();
        });
        // The ticks come from the timer, through the event loop, as in the program.
        navi->TimerEndDateTime->setInterval(10);
        QTRY_COMPARE_WITH_TIMEOUT(app->dialogs().requests().size(), 1, 10000);
        QCOMPARE(app->dialogs().requests().first().kind, Dialogs::Kind::Error);
        QVERIFY(app->dialogs().requests().first().text.contains("refused"));
        QVERIFY(!timerUnderTheBox);
        QCOMPARE(pendingUnderTheBox, 0);
        QCOMPARE(askedIds(), QStringList{"a1"});
        QVERIFY(!navi->TimerEndDateTime->isActive());
        QCOMPARE(navi->endTimeControl().endTimePendingCount(), 0);
        verifyCommands(downloadCommands(*navi), true);
        QVERIFY(!navi->endTimeControl().endTimeTickInFlight);
        QCOMPARE(shownEndTime("a1", "w1"), QString());
        QCOMPARE(storedEndTime("a1", "w1"), QString());
        navi->TimerEndDateTime->setInterval(EndTimeLookup::TickInterval);

        // The next listing query collects them again; a tick called directly stops the same way.
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QCOMPARE(navi->endTimeControl().endTimeQueue.ids(), (QStringList{"a1", "a2"}));
        verifyTimerRunning();
        QVERIFY_THROWS_EXCEPTION(DatabaseError, navi->endTimeControl().TimerEndDateTimeTimer());
        QCOMPARE(navi->endTimeControl().endTimePendingCount(), 0);
        QVERIFY(!navi->TimerEndDateTime->isActive());
        verifyCommands(downloadCommands(*navi), true);

        // With the database writable again the next listing query's lookups go through.
        Sql::exec(navi->connection, QStringLiteral("DROP TRIGGER refuse"));
        navi->listingTab().ToolButtonBidSearchSearchClick();
        navi->endTimeControl().TimerEndDateTimeTimer();
        navi->endTimeControl().TimerEndDateTimeTimer();
        QCOMPARE(storedEndTime("a1", "w1"), QString("01月05日 05時05分"));
        QCOMPARE(storedEndTime("a2", "w2"), QString("02月02日 02時02分"));
        QVERIFY(!navi->TimerEndDateTime->isActive());
        QCOMPARE(app->dialogs().requests().size(), 1);
    }
};

int main(int argc, char** argv)
{
    // The program's own application object: it shows an exception that reaches the event loop.
    Application app(argc, argv);
    TestEndTime test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_endtime.moc"
