#include "support/NaviTestPages.h"

#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "site/NaviBoardScanner.h"
#include "site/NaviDownloadRun.h"
#include "site/NaviDownloadTexts.h"
#include "site/NaviMessageReader.h"
#include "site/NaviStore.h"
#include "site/MessageCountCell.h"
#include "site/NaviWorkList.h"

#include <QSqlQuery>
#include <QtTest>

#include <memory>

using NaviTestPages::FakeSite;
using Msg = NaviTestPages::Message;

namespace {

const QString seller = QStringLiteral("seller");
const QString aidA = QStringLiteral("x100000001");
const QString aidB = QStringLiteral("x100000002");
const QString buyer = QStringLiteral("buyer1");
const QDate today(2026, 12, 10);

// Newest first, as on the site: two from the winner, one from the seller.
QList<Msg> threeMessages()
{
    return {{"3", buyer, "入金しました", "12月08日 09時03分",
             "振り込みました<br>確認を<br>お願いします"},
            {"2", seller, "ご連絡", "12月07日 18時30分", "<b>お支払い</b>について"},
            {"1", buyer, "はじめまして", "12月06日 07時05分", "よろしくお願いします"}};
}

struct RunOutcome
{
    NaviDownloadRun::Result result = NaviDownloadRun::Finished;
    QStringList log;
    QList<NaviStoreSummary> summaries;
    int boardsHandedOver = 0;
};

} // namespace

class TestBoardDl : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void profileLinkMarkerIsSchemeAndFirstLabel_data();
    void profileLinkMarkerIsSchemeAndFirstLabel();
    void scannerReadsMessagesNewestFirst();
    void scannerStopsAtStoredNumber_data();
    void scannerStopsAtStoredNumber();
    void scannerSkipsBoardWithoutMarkers_data();
    void scannerSkipsBoardWithoutMarkers();
    void scannerEndsAtNonDecimalNumber_data();
    void scannerEndsAtNonDecimalNumber();
    void scannerDropsIncompleteLastMessage();
    void readerTurnsBreakTagsIntoLineBreaks();
    void readerDecodesReferencesAfterTheTags_data();
    void readerDecodesReferencesAfterTheTags();
    void scannerDecodesTheSubject();
    void readerReportsFailures_data();
    void readerReportsFailures();

    void boardUrlPercentEncodesIds();
    void firstDownloadStoresReceivedAndSentMessages();
    void secondRunFetchesOnlyTheBoard();
    void runFetchesOnlyNewerMessages();
    void failedMessagePageStoresNothingOfTheBoard();
    void nonDecimalNumberIsLoggedAndNothingStored();
    void boardListingNumberTwiceIsQueuedForReDownload();
    void stopEndsRunWithoutFurtherHandOver();
    void failedStoreEndsRunAsFailed();

    void storeWritesFoldersFlagsWritersAndDates();
    void storeConvertsDatesAgainstToday_data();
    void storeConvertsDatesAgainstToday();
    void storeAcceptsMessageWithEmptyFields();
    void messageCountCellComesFromDatabase();
    void storedDuplicateDeletesBoardAndQueuesIt();
    void reDownloadOnlyLogsRepeatedDuplicate();
    void duplicateCheckLooksAtDownloadingAccount();
    void storeStampsStartingAccount();
    void databaseErrorRollsBoardBackAndIsLogged();
    void highestNumberLeavesOutDeletedAndOtherAccounts();
    void purgeBeforeDownloadDeletesAccountsRows();

private:
    QSqlDatabase& db() { return m_db; }
    RunOutcome runDownload(FakeSite& site, NaviStore& store, const QList<NaviWorkItem>& work,
                           NaviDownloadRun::StopCheck stop = {});
    NaviWorkItem workItem(const QString& aid, const QString& bidId = buyer,
                          const QString& loginId = seller);
    int rowCount(const QString& aid, const QString& loginId = seller);

    std::unique_ptr<TestDataFolder> m_folder;
    QString m_connection;
    QSqlDatabase m_db;
};

void TestBoardDl::init()
{
    m_folder = std::make_unique<TestDataFolder>();
    m_connection = Database::uniqueConnectionName(QStringLiteral("boarddl"));
    m_db = Database::open(m_connection);
    FixtureDb::addListing(m_db, {.aid = aidA, .bidId = buyer, .title = "腕時計"});
    // Every field given: the builder binds an empty QString as NULL.
    FixtureDb::addBidder(
        m_db, {.id = buyer, .name = "山田太郎", .mail = "", .post = "", .address = "", .tel = ""});
}

void TestBoardDl::cleanup()
{
    m_db = QSqlDatabase();
    Database::close(m_connection);
    m_folder.reset();
}

RunOutcome TestBoardDl::runDownload(FakeSite& site, NaviStore& store,
                                    const QList<NaviWorkItem>& work,
                                    NaviDownloadRun::StopCheck stop)
{
    RunOutcome outcome;
    NaviDownloadRun::Callbacks callbacks;
    callbacks.log = [&](const QString& line) { outcome.log << line; };
    callbacks.storeBoard = [&](const NaviBoard& board) {
        ++outcome.boardsHandedOver;
        const NaviStoreSummary summary = store.storeBoard(board);
        outcome.log << summary.logLines;
        outcome.summaries << summary;
        return summary.ok;
    };
    NaviDownloadRun run(NaviTestPages::urls(), site.fetcher(), std::move(stop), callbacks);
    outcome.result = run.run(work);
    return outcome;
}

NaviWorkItem TestBoardDl::workItem(const QString& aid, const QString& bidId, const QString& loginId)
{
    return NaviWorkList::prepareItem(m_db, aid, QString(), bidId, QString(), loginId).item;
}

int TestBoardDl::rowCount(const QString& aid, const QString& loginId)
{
    return Sql::scalar(m_db, "SELECT COUNT(*) FROM T_Navi WHERE Aid=:AID AND LoginId=:LOGIN_ID",
                       {{":AID", aid}, {":LOGIN_ID", loginId}})
        .toInt();
}

// ---- scanners

void TestBoardDl::profileLinkMarkerIsSchemeAndFirstLabel_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("marker");
    QTest::newRow("host") << "http://profiles.test"
                          << "http://profiles";
    QTest::newRow("with path") << "https://a.b.example.jp/x/"
                               << "https://a";
    QTest::newRow("port") << "http://127.0.0.1:8123"
                          << "http://127";
    QTest::newRow("no host") << "nonsense"
                             << "";
}

void TestBoardDl::profileLinkMarkerIsSchemeAndFirstLabel()
{
    QFETCH(QString, base);
    QFETCH(QString, marker);
    QCOMPARE(naviProfileLinkMarker(base), marker);
}

void TestBoardDl::scannerReadsMessagesNewestFirst()
{
    const NaviBoardScan scan =
        scanNaviBoard(NaviTestPages::boardPage(aidA, buyer, threeMessages()), "http://profiles", 0);
    QVERIFY(scan.found);
    QVERIFY(!scan.numberError);
    QCOMPARE(scan.entries.size(), 3);
    const NaviBoardEntry& first = scan.entries[0];
    QCOMPARE(first.link, NaviTestPages::messageLink(aidA, "3", buyer));
    QCOMPARE(first.number, QString("3"));
    QCOMPARE(first.numberValue, 3);
    QCOMPARE(first.subject, QString("入金しました"));
    QCOMPARE(first.writeId, buyer);
    QCOMPARE(first.date, QString("12月08日 09時03分"));
    QCOMPARE(scan.entries[1].writeId, seller);
    QCOMPARE(scan.entries[2].numberValue, 1);
}

void TestBoardDl::scannerStopsAtStoredNumber_data()
{
    QTest::addColumn<qint64>("lastNumber");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("none stored") << qint64(0) << QStringList{"3", "2", "1"};
    QTest::newRow("older stored") << qint64(2) << QStringList{"3"};
    QTest::newRow("newest stored") << qint64(3) << QStringList{};
    QTest::newRow("stored number not on the page") << qint64(7) << QStringList{"3", "2", "1"};
}

void TestBoardDl::scannerStopsAtStoredNumber()
{
    QFETCH(qint64, lastNumber);
    QFETCH(QStringList, numbers);
    const NaviBoardScan scan = scanNaviBoard(NaviTestPages::boardPage(aidA, buyer, threeMessages()),
                                             "http://profiles", lastNumber);
    QStringList read;
    for (const NaviBoardEntry& entry : scan.entries)
        read << entry.number;
    QCOMPARE(read, numbers);
}

void TestBoardDl::scannerSkipsBoardWithoutMarkers_data()
{
    const QString page = NaviTestPages::boardPage(aidA, buyer, threeMessages());
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("entries");
    QTest::newRow("empty page (fetch failed)") << QString() << false << 0;
    QTest::newRow("no list heading") << QString(page).remove("メッセージ一覧") << false << 0;
    QTest::newRow("no closing body") << QString(page).remove("</body>") << false << 0;
    QTest::newRow("upper-case closing body")
        << QString(page).replace("</body>", "</BODY>") << true << 3;
    QTest::newRow("login page") << "<html><body>ログインしてください</body></html>" << false << 0;
}

void TestBoardDl::scannerSkipsBoardWithoutMarkers()
{
    QFETCH(QString, page);
    QFETCH(bool, found);
    QFETCH(int, entries);
    const NaviBoardScan scan = scanNaviBoard(page, "http://profiles", 0);
    QCOMPARE(scan.found, found);
    QCOMPARE(scan.entries.size(), entries);
}

void TestBoardDl::scannerEndsAtNonDecimalNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::newRow("letters") << "2a";
    QTest::newRow("full-width digit") << "２";
    QTest::newRow("empty") << "";
    QTest::newRow("sign") << "-2";
    QTest::newRow("too long") << "1234567890123456789";
}

void TestBoardDl::scannerEndsAtNonDecimalNumber()
{
    QFETCH(QString, number);
    QList<Msg> messages = threeMessages();
    messages[1].number = number;
    const NaviBoardScan scan =
        scanNaviBoard(NaviTestPages::boardPage(aidA, buyer, messages), "http://profiles", 0);
    QVERIFY(scan.found);
    QVERIFY(scan.numberError);
    QCOMPARE(scan.badNumber, number);
    QCOMPARE(scan.entries.size(), 1);
}

void TestBoardDl::scannerDropsIncompleteLastMessage()
{
    QString page = NaviTestPages::boardPage(aidA, buyer, threeMessages().mid(0, 1));
    page.replace("</table>",
                 QStringLiteral("<tr><td><a href=\"%1\">No.1</a> <b>件名</b></td></tr>\n"
                                "</table>")
                     .arg(NaviTestPages::messageLink(aidA, "1", buyer)));
    const NaviBoardScan scan = scanNaviBoard(page, "http://profiles", 0);
    QCOMPARE(scan.entries.size(), 1);
    QCOMPARE(scan.entries[0].number, QString("3"));
}

void TestBoardDl::readerTurnsBreakTagsIntoLineBreaks()
{
    const NaviMessageRead read =
        readNaviMessage(NaviTestPages::messagePage("一行目<br>二行目<br><i>三</i>行目"));
    QVERIFY(read.ok);
    QCOMPARE(read.text, QString("一行目\r\n二行目\r\n<i>三</i>行目"));
    QVERIFY(read.errorText.isEmpty());
}

void TestBoardDl::readerDecodesReferencesAfterTheTags_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("text");
    QTest::newRow("quotes and ampersand") << "&quot;送料&quot; &amp; &#39;手数料&#39;"
                                          << "\"送料\" & '手数料'";
    QTest::newRow("a written <br> stays text, a tag breaks the line") << "a&lt;br&gt;b<br>c"
                                                                      << "a<br>b\r\nc";
    QTest::newRow("other tags stay, their written form decoded") << "<i>x</i> &lt;i&gt;y&lt;/i&gt;"
                                                                 << "<i>x</i> <i>y</i>";
    QTest::newRow("numeric and named beyond Shift_JIS")
        << "&#x2764;&#12354;&eacute;" << QString::fromUtf8("❤あé");
}

void TestBoardDl::readerDecodesReferencesAfterTheTags()
{
    QFETCH(QString, written);
    QFETCH(QString, text);
    const NaviMessageRead read = readNaviMessage(NaviTestPages::messagePage(written));
    QVERIFY(read.ok);
    QCOMPARE(read.text, text);
}

void TestBoardDl::scannerDecodesTheSubject()
{
    QList<Msg> messages = threeMessages();
    messages[0].subject = "&quot;発送&quot; &amp; &lt;b&gt;";
    const NaviBoardScan scan =
        scanNaviBoard(NaviTestPages::boardPage(aidA, buyer, messages), "http://profiles", 0);
    QCOMPARE(scan.entries.size(), 3);
    QCOMPARE(scan.entries[0].subject, QString("\"発送\" & <b>"));
    QCOMPARE(scan.entries[1].subject, QString("ご連絡"));
}

void TestBoardDl::readerReportsFailures_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("errorText");
    QTest::newRow("access notice")
        << NaviTestPages::accessNoticePage() << NaviTexts::accessErrorText;
    QTest::newRow("empty page (fetch failed)") << QString() << NaviTexts::unexpectedErrorText;
    QTest::newRow("no span") << "<html><body><small>x</small></body></html>"
                             << NaviTexts::unexpectedErrorText;
    QTest::newRow("no small in span")
        << "<span>x</span><small>y</small>" << NaviTexts::unexpectedErrorText;
    QTest::newRow("small closed before opened")
        << "<span></small><small></span>" << NaviTexts::unexpectedErrorText;
}

void TestBoardDl::readerReportsFailures()
{
    QFETCH(QString, page);
    QFETCH(QString, errorText);
    const NaviMessageRead read = readNaviMessage(page);
    QVERIFY(!read.ok);
    QCOMPARE(read.errorText, errorText);
}

// ---- the download run

void TestBoardDl::boardUrlPercentEncodesIds()
{
    QCOMPARE(
        NaviDownloadRun::boardUrl({"http://item.test", {}}, "x1&a=b", "山 田"),
        QString("http://item.test/jp/show/contact?aID=x1%26a%3Db&target=%E5%B1%B1%20%E7%94%B0"));
}

void TestBoardDl::firstDownloadStoresReceivedAndSentMessages()
{
    FakeSite site;
    site.addBoard(aidA, buyer, threeMessages());
    NaviStore store(m_db, seller, false, today);
    const RunOutcome outcome = runDownload(site, store, {workItem(aidA)});

    QCOMPARE(outcome.result, NaviDownloadRun::Finished);
    QCOMPARE(site.fetched,
             (QStringList{NaviDownloadRun::boardUrl(NaviTestPages::urls(), aidA, buyer),
                          site.messageUrl(aidA, "3", buyer), site.messageUrl(aidA, "2", buyer),
                          site.messageUrl(aidA, "1", buyer)}));
    QCOMPARE(outcome.log, QStringList{aidA + "：腕時計：新着2件(" + buyer + ")"});
    QCOMPARE(rowCount(aidA), 3);
    QCOMPARE(store.storedTransactions(), (QList<stNaviReDownload>{{aidA, buyer}}));
    QCOMPARE(store.messageCountCell(aidA, buyer), QString("3(2)"));
    QVERIFY(store.reDownloadQueue().isEmpty());
}

void TestBoardDl::secondRunFetchesOnlyTheBoard()
{
    FakeSite site;
    site.addBoard(aidA, buyer, threeMessages());
    NaviStore first(m_db, seller, false, today);
    runDownload(site, first, {workItem(aidA)});
    site.fetched.clear();

    NaviStore second(m_db, seller, false, today);
    const RunOutcome outcome = runDownload(site, second, {workItem(aidA)});
    QCOMPARE(site.fetched,
             QStringList{NaviDownloadRun::boardUrl(NaviTestPages::urls(), aidA, buyer)});
    QCOMPARE(outcome.boardsHandedOver, 0);
    QVERIFY(outcome.log.isEmpty());
    QCOMPARE(rowCount(aidA), 3);
    QVERIFY(second.storedTransactions().isEmpty());
}

void TestBoardDl::runFetchesOnlyNewerMessages()
{
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 1});
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 2, .received = false});
    FakeSite site;
    site.addBoard(aidA, buyer, threeMessages());
    NaviStore store(m_db, seller, false, today);
    const RunOutcome outcome = runDownload(site, store, {workItem(aidA)});

    QCOMPARE(site.fetched,
             (QStringList{NaviDownloadRun::boardUrl(NaviTestPages::urls(), aidA, buyer),
                          site.messageUrl(aidA, "3", buyer)}));
    QCOMPARE(outcome.summaries.size(), 1);
    QCOMPARE(outcome.summaries[0].rows.size(), 1);
    QCOMPARE(outcome.summaries[0].rows[0].number, 3);
    QCOMPARE(rowCount(aidA), 3);
    QCOMPARE(store.messageCountCell(aidA, buyer), QString("3(2)"));
}

void TestBoardDl::failedMessagePageStoresNothingOfTheBoard()
{
    FixtureDb::addListing(m_db, {.aid = aidB, .bidId = buyer});
    FakeSite site;
    site.addBoard(aidA, buyer, threeMessages());
    site.addBoard(aidB, buyer, threeMessages().mid(2));
    const QString failing = site.messageUrl(aidA, "2", buyer);
    const QString goodPage = site.pages.value(failing);
    site.pages.insert(failing, NaviTestPages::accessNoticePage());

    NaviStore store(m_db, seller, false, today);
    const RunOutcome outcome = runDownload(site, store, {workItem(aidA), workItem(aidB)});
    QCOMPARE(outcome.result, NaviDownloadRun::Finished);
    QCOMPARE(outcome.log.value(0), aidA + NaviTexts::accessErrorText);
    QCOMPARE(outcome.log.value(0),
             aidA + "：メッセージ取得時に正しい手順でアクセスされていません。というエラーが発生"
                    "しました。ブラウザでアクセスして確認してください。");
    QVERIFY(!site.fetched.contains(site.messageUrl(aidA, "1", buyer)));
    QCOMPARE(rowCount(aidA), 0);
    QCOMPARE(rowCount(aidB), 1);

    site.pages.insert(failing, goodPage);
    NaviStore next(m_db, seller, false, today);
    const RunOutcome again = runDownload(site, next, {workItem(aidA), workItem(aidB)});
    QCOMPARE(again.log, QStringList{aidA + "：腕時計：新着2件(" + buyer + ")"});
    QCOMPARE(rowCount(aidA), 3);
    QCOMPARE(rowCount(aidB), 1);
}

void TestBoardDl::nonDecimalNumberIsLoggedAndNothingStored()
{
    QList<Msg> messages = threeMessages();
    messages[1].number = "2x";
    FakeSite site;
    site.addBoard(aidA, buyer, messages);
    NaviStore store(m_db, seller, false, today);
    const RunOutcome outcome = runDownload(site, store, {workItem(aidA)});
    QCOMPARE(outcome.result, NaviDownloadRun::Finished);
    QCOMPARE(outcome.log, QStringList{aidA + NaviTexts::numberNotDecimalText + "2x)"});
    QCOMPARE(outcome.boardsHandedOver, 0);
    QCOMPARE(site.fetched.size(), 1);
}

void TestBoardDl::boardListingNumberTwiceIsQueuedForReDownload()
{
    FixtureDb::addListing(m_db, {.aid = aidB, .bidId = buyer, .title = "鞄"});
    QList<Msg> twice = threeMessages();
    twice[1].number = "3";
    FakeSite site;
    site.addBoard(aidA, buyer, twice);
    site.addBoard(aidB, buyer, threeMessages());
    NaviStore store(m_db, seller, false, today);
    const RunOutcome outcome = runDownload(site, store, {workItem(aidA), workItem(aidB)});

    QCOMPARE(outcome.log,
             (QStringList{aidA + "：腕時計：新着2件(" + buyer + ")",
                          aidA + "：腕時計 ナビNo重複 自動再取得を行います(" + buyer + ")",
                          aidB + "：鞄：新着2件(" + buyer + ")"}));
    QCOMPARE(store.reDownloadQueue(), (QList<stNaviReDownload>{{aidA, buyer}}));
    QVERIFY(outcome.summaries[0].deleted);
    QVERIFY(outcome.summaries[0].reDownloadQueued);
    QVERIFY(!outcome.summaries[1].duplicated);
    QCOMPARE(rowCount(aidA), 0);
    QCOMPARE(rowCount(aidB), 3);
    QCOMPARE(store.messageCountCell(aidA, buyer), QString());

    // The re-download reads the board from the first message.
    site.addBoard(aidA, buyer, threeMessages());
    NaviStore reDownload(m_db, seller, true, today);
    QList<NaviWorkItem> work;
    for (const stNaviReDownload& entry : store.reDownloadQueue())
        work << NaviWorkItem{entry.aid, {}, 0, entry.bidId};
    runDownload(site, reDownload, work);
    QCOMPARE(rowCount(aidA), 3);
    QCOMPARE(reDownload.messageCountCell(aidA, buyer), QString("3(2)"));
}

void TestBoardDl::stopEndsRunWithoutFurtherHandOver()
{
    FixtureDb::addListing(m_db, {.aid = aidB, .bidId = buyer});
    FakeSite site;
    site.addBoard(aidA, buyer, threeMessages());
    site.addBoard(aidB, buyer, threeMessages());
    NaviStore store(m_db, seller, false, today);
    bool stop = false;
    int progressSteps = 0;
    RunOutcome outcome;
    NaviDownloadRun::Callbacks callbacks;
    callbacks.log = [&](const QString& line) { outcome.log << line; };
    callbacks.progressStep = [&] { ++progressSteps; };
    callbacks.storeBoard = [&](const NaviBoard& board) {
        ++outcome.boardsHandedOver;
        store.storeBoard(board);
        stop = true; // the stop command confirmed while the first board was stored
        return true;
    };
    NaviDownloadRun run(
        NaviTestPages::urls(), site.fetcher(), [&] { return stop; }, callbacks);
    QCOMPARE(run.run({workItem(aidA), workItem(aidB)}), NaviDownloadRun::Stopped);
    QCOMPARE(outcome.boardsHandedOver, 1);
    QCOMPARE(progressSteps, 1);
    QVERIFY(!site.fetched.contains(NaviDownloadRun::boardUrl(NaviTestPages::urls(), aidB, buyer)));
    QCOMPARE(rowCount(aidA), 3);
    QCOMPARE(rowCount(aidB), 0);

    // A stop while a board's message pages are read drops that board.
    site.fetched.clear();
    stop = false;
    NaviDownloadRun midBoard(
        NaviTestPages::urls(),
        [&](const QString& url) {
            site.fetched << url;
            stop = site.fetched.size() == 2;
            return site.pages.value(url);
        },
        [&] { return stop; }, callbacks);
    outcome.boardsHandedOver = 0;
    QCOMPARE(midBoard.run({workItem(aidB)}), NaviDownloadRun::Stopped);
    QCOMPARE(site.fetched.size(), 2);
    QCOMPARE(outcome.boardsHandedOver, 0);
    QCOMPARE(rowCount(aidB), 0);
}

void TestBoardDl::failedStoreEndsRunAsFailed()
{
    FixtureDb::addListing(m_db, {.aid = aidB, .bidId = buyer});
    FakeSite site;
    site.addBoard(aidA, buyer, threeMessages());
    site.addBoard(aidB, buyer, threeMessages());
    int handOvers = 0;
    NaviDownloadRun::Callbacks callbacks;
    callbacks.storeBoard = [&](const NaviBoard&) {
        ++handOvers;
        return false;
    };
    NaviDownloadRun run(NaviTestPages::urls(), site.fetcher(), {}, callbacks);
    QCOMPARE(run.run({workItem(aidA), workItem(aidB)}), NaviDownloadRun::Failed);
    QCOMPARE(handOvers, 1);
    QCOMPARE(NaviTexts::endLine(NaviDownloadRun::Failed),
             QString("ナビ情報ダウンロードに失敗しました"));
}

// ---- the store

void TestBoardDl::storeWritesFoldersFlagsWritersAndDates()
{
    FakeSite site;
    site.addBoard(aidA, buyer, threeMessages());
    NaviStore store(m_db, seller, false, today);
    const RunOutcome outcome = runDownload(site, store, {workItem(aidA)});

    QSqlQuery query = Sql::exec(
        m_db,
        "SELECT [Number],WriteId,Subject,Message,WriteDate,RecFlg,NewFlg,FolderID,LoginId,"
        "BidId,UnsealingFlg,DeleteFlgSub FROM T_Navi WHERE Aid=:AID ORDER BY [Number] DESC",
        {{":AID", aidA}});
    struct Expected
    {
        int number;
        QString writer;
        QString subject;
        QString text;
        QString date;
        int rec;
        QString folder;
    };
    const QList<Expected> expected{
        {3, buyer, "入金しました", "振り込みました\r\n確認を\r\nお願いします", "2026/12/08 09:03",
         1, "000"},
        {2, seller, "ご連絡", "<b>お支払い</b>について", "2026/12/07 18:30", 0, "001"},
        {1, buyer, "はじめまして", "よろしくお願いします", "2026/12/06 07:05", 1, "000"}};
    for (const Expected& row : expected) {
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), row.number);
        QCOMPARE(query.value(1).toString(), row.writer);
        QCOMPARE(query.value(2).toString(), row.subject);
        QCOMPARE(query.value(3).toString(), row.text);
        QCOMPARE(query.value(4).toString(), row.date);
        QCOMPARE(query.value(5).toInt(), row.rec);
        QCOMPARE(query.value(6).toInt(), row.rec);
        QCOMPARE(query.value(7).toString(), row.folder);
        QCOMPARE(query.value(8).toString(), seller);
        QCOMPARE(query.value(9).toString(), buyer);
        QCOMPARE(query.value(10).toInt(), 0);
        QCOMPARE(query.value(11).toInt(), 0);
    }
    QVERIFY(!query.next());

    const NaviStoreSummary& summary = outcome.summaries.value(0);
    QCOMPARE(summary.title, QString("腕時計"));
    QCOMPARE(summary.bidderName, QString("山田太郎"));
    QCOMPARE(summary.receivedCount, 2);
    QCOMPARE(summary.sentCount, 1);
    QCOMPARE(summary.insertedByFolder, (QMap<QString, int>{{"000", 2}, {"001", 1}}));
    QCOMPARE(summary.rows.size(), 3);
    QCOMPARE(summary.rows[1].folderId, QString("001"));
    QCOMPARE(summary.rows[0].writeDate, QString("2026/12/08 09:03"));
}

void TestBoardDl::storeConvertsDatesAgainstToday_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("siteDate");
    QTest::addColumn<QString>("stored");
    QTest::newRow("last year") << QDate(2026, 1, 5) << "12月28日 09時03分"
                               << "2025/12/28 09:03";
    QTest::newRow("today") << QDate(2026, 1, 5) << "1月5日 23時59分"
                           << "2026/01/05 23:59";
    QTest::newRow("121 days before") << today << "8月11日 00時00分"
                                     << "2026/08/11 00:00";
    // An old message keeps the current year; it is never put into the future.
    QTest::newRow("122 days before") << today << "8月10日 00時00分"
                                     << "2026/08/10 00:00";
    QTest::newRow("unreadable") << today << "昨日"
                                << "";
}

void TestBoardDl::storeConvertsDatesAgainstToday()
{
    QFETCH(QDate, today);
    QFETCH(QString, siteDate);
    QFETCH(QString, stored);
    NaviStore store(m_db, seller, false, today);
    NaviBoard board{aidA, buyer, {}};
    board.messages << NaviMessage{aidA, "1", 1, "件名", buyer, siteDate, "本文", buyer, true};
    const NaviStoreSummary summary = store.storeBoard(board);
    QVERIFY(summary.ok);
    QCOMPARE(Sql::scalar(m_db, "SELECT WriteDate FROM T_Navi").toString(), stored);
}

void TestBoardDl::storeAcceptsMessageWithEmptyFields()
{
    NaviStore store(m_db, seller, false, today);
    NaviBoard board{aidA, buyer, {}};
    board.messages << NaviMessage{aidA,      "1",       1,     QString(), QString(),
                                  QString(), QString(), buyer, false};
    QVERIFY(store.storeBoard(board).ok);
    QCOMPARE(rowCount(aidA), 1);
}

void TestBoardDl::messageCountCellComesFromDatabase()
{
    NaviStore store(m_db, seller, false, today);
    QCOMPARE(store.messageCountCell(aidA, buyer), QString());
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 1, .read = true});
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 2, .received = false});
    QCOMPARE(store.messageCountCell(aidA, buyer), QString("2"));
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 3});
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 4});
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 5, .received = false});
    QCOMPARE(store.messageCountCell(aidA, buyer), QString("5(2)"));
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 1, .loginId = "other"});
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = "buyer2", .number = 1});
    QCOMPARE(store.messageCountCell(aidA, buyer), QString("5(2)"));
    QCOMPARE(MessageCountCell::read(m_db, "other", aidA, buyer), QString("1(1)"));

    // Recomputing after a store counts what is stored, however often it is asked.
    NaviBoard board{aidA, buyer, {}};
    board.messages << NaviMessage{aidA,   "6",   6,   "件名", buyer, "12月08日 09時03分",
                                  "本文", buyer, true};
    store.storeBoard(board);
    QCOMPARE(store.messageCountCell(aidA, buyer), QString("6(3)"));
    QCOMPARE(store.messageCountCell(aidA, buyer), QString("6(3)"));
}

void TestBoardDl::storedDuplicateDeletesBoardAndQueuesIt()
{
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 2});
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 1, .read = true});
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 2, .loginId = "other"});
    NaviStore store(m_db, seller, false, today);
    NaviBoard board{aidA, buyer, {}};
    board.messages << NaviMessage{aidA, "3", 3, "a", buyer, "12月08日 09時03分", "x", buyer, true}
                   << NaviMessage{aidA, "2",   2,    "b", seller, "12月07日 09時03分",
                                  "y",  buyer, false};
    const NaviStoreSummary summary = store.storeBoard(board);
    QVERIFY(summary.ok);
    QVERIFY(summary.duplicated);
    QVERIFY(summary.deleted);
    QCOMPARE(summary.logLines,
             (QStringList{aidA + "：腕時計：新着1件(" + buyer + ")",
                          aidA + "：腕時計 ナビNo重複 自動再取得を行います(" + buyer + ")"}));
    QCOMPARE(rowCount(aidA), 0);
    QCOMPARE(rowCount(aidA, "other"), 1);
    QCOMPARE(store.reDownloadQueue(), (QList<stNaviReDownload>{{aidA, buyer}}));
    QCOMPARE(store.messageCountCell(aidA, buyer), QString());
}

void TestBoardDl::reDownloadOnlyLogsRepeatedDuplicate()
{
    NaviStore store(m_db, seller, true, today);
    NaviBoard board{aidA, buyer, {}};
    board.messages << NaviMessage{aidA, "2", 2, "a", seller, "12月08日 09時03分", "x", buyer, false}
                   << NaviMessage{aidA, "2",   2,    "b", seller, "12月07日 09時03分",
                                  "y",  buyer, false};
    const NaviStoreSummary summary = store.storeBoard(board);
    QVERIFY(summary.duplicated);
    QVERIFY(!summary.deleted);
    QCOMPARE(summary.logLines,
             QStringList{aidA + "：腕時計 ナビNo重複 ナビ取得を再取得してください(" + buyer + ")"});
    QCOMPARE(rowCount(aidA), 2);
    QVERIFY(store.reDownloadQueue().isEmpty());
}

void TestBoardDl::duplicateCheckLooksAtDownloadingAccount()
{
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 1, .loginId = "other"});
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 1, .loginId = "other2"});
    QCOMPARE(NaviWorkList::numberRepeatCount(m_db, aidA, buyer, seller), 0);
    QCOMPARE(NaviWorkList::numberRepeatCount(m_db, aidA, buyer, "other"), 1);

    NaviStore store(m_db, seller, false, today);
    NaviBoard board{aidA, buyer, {}};
    board.messages << NaviMessage{aidA, "1", 1, "a", buyer, "12月08日 09時03分", "x", buyer, true};
    const NaviStoreSummary summary = store.storeBoard(board);
    QVERIFY(!summary.duplicated);
    QCOMPARE(rowCount(aidA), 1);
    QCOMPARE(rowCount(aidA, "other"), 1);
}

void TestBoardDl::storeStampsStartingAccount()
{
    // The account shown in the window may change during the download; the rows keep the one
    // that started it.
    NaviStore store(m_db, "startedBy", false, today);
    NaviBoard board{aidA, buyer, {}};
    board.messages << NaviMessage{aidA, "1", 1, "a", buyer, "12月08日 09時03分", "x", buyer, true};
    const NaviStoreSummary summary = store.storeBoard(board);
    QCOMPARE(summary.rows.value(0).loginId, QString("startedBy"));
    QCOMPARE(rowCount(aidA, "startedBy"), 1);
    QCOMPARE(rowCount(aidA, seller), 0);
}

void TestBoardDl::databaseErrorRollsBoardBackAndIsLogged()
{
    Sql::exec(m_db, "CREATE TRIGGER FailSecond BEFORE INSERT ON T_Navi WHEN NEW.[Number]=2 "
                    "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END");
    NaviStore store(m_db, seller, false, today);
    NaviBoard board{aidA, buyer, {}};
    board.messages << NaviMessage{aidA, "3", 3, "a", buyer, "12月08日 09時03分", "x", buyer, true}
                   << NaviMessage{aidA, "2", 2, "b", buyer, "12月07日 09時03分", "y", buyer, true};
    const NaviStoreSummary summary = store.storeBoard(board);
    QVERIFY(!summary.ok);
    QVERIFY(summary.rows.isEmpty());
    QCOMPARE(summary.logLines.size(), 1);
    QVERIFY(summary.logLines[0].startsWith(aidA + "：腕時計" + NaviTexts::storeFailed));
    QVERIFY(summary.logLines[0].contains("disk trouble"));
    QCOMPARE(rowCount(aidA), 0);
    QVERIFY(store.storedTransactions().isEmpty());

    // The connection is usable afterwards: the next board lands.
    Sql::exec(m_db, "DROP TRIGGER FailSecond");
    QVERIFY(store.storeBoard(board).ok);
    QCOMPARE(rowCount(aidA), 2);
}

void TestBoardDl::highestNumberLeavesOutDeletedAndOtherAccounts()
{
    QCOMPARE(NaviWorkList::highestNumber(m_db, aidA, buyer, seller), 0);
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 9});
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 10});
    QCOMPARE(NaviWorkList::highestNumber(m_db, aidA, buyer, seller), 10);
    FixtureDb::insert(m_db, "T_Navi",
                      {{"Aid", aidA},
                       {"BidId", buyer},
                       {"Number", 12},
                       {"LoginId", seller},
                       {"DeleteFlgSub", 1}});
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 15, .loginId = "other"});
    QCOMPARE(NaviWorkList::highestNumber(m_db, aidA, buyer, seller), 10);
}

void TestBoardDl::purgeBeforeDownloadDeletesAccountsRows()
{
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 1});
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 2});
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 2});
    FixtureDb::addMessage(m_db, {.aid = aidA, .bidId = buyer, .number = 2, .loginId = "other"});
    const NaviWorkList::Prepared prepared =
        NaviWorkList::prepareItem(m_db, aidA, "腕時計", buyer, "http://item.test/a", seller);
    QVERIFY(prepared.purge.purged);
    QCOMPARE(prepared.purge.logLine,
             aidA + "：腕時計 ナビNo重複 取得前にナビを削除します(" + buyer + ")");
    QCOMPARE(prepared.item.lastNumber, 0);
    QCOMPARE(prepared.item.aid, aidA);
    QCOMPARE(prepared.item.bidId, buyer);
    QCOMPARE(rowCount(aidA), 0);
    QCOMPARE(rowCount(aidA, "other"), 1);

    const NaviWorkList::Prepared clean =
        NaviWorkList::prepareItem(m_db, aidA, "腕時計", buyer, {}, "other");
    QVERIFY(!clean.purge.purged);
    QCOMPARE(clean.item.lastNumber, 2);
}

QTEST_GUILESS_MAIN(TestBoardDl)
#include "test_boarddl.moc"
