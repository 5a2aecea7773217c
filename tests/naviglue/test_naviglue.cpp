// The message-board download from the main window against a fake site: the commands, the work
// lists, the stores into the database and the lists, the re-download and the stop.
#include "support/FixtureDb.h"
#include "support/MainWindowFixture.h"
#include "support/NaviBoardSite.h"

#include "app/UnitNavi.h"
#include "platform/Sql.h"
#include "site/DownloadControl.h"
#include "site/DownloadThread.h"
#include "site/LoginControl.h"
#include "views/ListingTab.h"
#include "views/MessageTab.h"
#include "views/NaviFolderList.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/NaviListItem.h"

#include <QAction>
#include <QListWidget>
#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller01");
const QString buyer = QStringLiteral("buyer01");
const QString aidA = QStringLiteral("a100");
const QString aidB = QStringLiteral("b200");

using Msg = NaviTestPages::Message;

// Newest first: two from the winner, one from the seller.
QList<Msg> threeMessages()
{
    return {{"3", buyer, "入金しました", "12月08日 09時03分", "振り込みました<br>確認を"},
            {"2", seller, "ご連絡", "12月07日 18時30分", "落札ありがとうございます"},
            {"1", buyer, "はじめまして", "12月07日 12時00分", "よろしくお願いします"}};
}

struct StoredRow
{
    int number;
    QString writeId;
    QString folderId;
    bool recFlg;
    bool newFlg;
    QString writeDate;
    QString message;
    QString loginId;
};

QList<StoredRow> storedRows(const QSqlDatabase& db, const QString& aid)
{
    QSqlQuery query = Sql::exec(
        db,
        QStringLiteral("SELECT [Number],WriteId,FolderID,RecFlg,NewFlg,WriteDate,Message,LoginId "
                       "FROM T_Navi WHERE Aid=:AID ORDER BY [Number] DESC"),
        {{":AID", aid}});
    QList<StoredRow> rows;
    while (query.next())
        rows << StoredRow{query.value(0).toInt(),  query.value(1).toString(),
                          query.value(2).toString(), query.value(3).toBool(),
                          query.value(4).toBool(),   query.value(5).toString(),
                          query.value(6).toString(), query.value(7).toString()};
    return rows;
}

} // namespace

class TestNaviGlue : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;

    void addListing(const QString& aid, const QString& bidId = buyer)
    {
        FixtureDb::addListing(navi->connection,
                              {.aid = aid, .bidId = bidId, .loginId = seller, .title = "時計"});
    }
    void listListings() { navi->listingTab().ToolButtonBidSearchSearchClick(); }
    BidRow listingRow(const QString& aid) const
    {
        return navi->ListViewBid->findBidItem(aid, buyer);
    }
    // Selects the rows of the auction ids and downloads their boards to the end.
    void downloadSelected(const QStringList& aids)
    {
        listListings();
        for (const QString& aid : aids)
            listingRow(aid)->setSelected(true);
        navi->ActionNaviDownloadSelect->trigger();
        QTRY_COMPARE(navi->downloadKind, 0);
    }
    int countOf(const QString& line) const { return int(app->log().count(line)); }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        app->serveBoards(seller);
        navi = app->start();
        navi->downloadControl().naviTodayJulianDay = QDate(2026, 12, 10).toJulianDay();
        navi->loginControl().updateLoginId();
        QCOMPARE(navi->loginId, seller);
    }
    void cleanup() { app.reset(); }

    void firstDownloadStoresReceivedAndSentMessages()
    {
        addListing(aidA);
        app->boards().addBoard(aidA, buyer, threeMessages());
        downloadSelected({aidA});

        const QList<StoredRow> rows = storedRows(navi->connection, aidA);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].number, 3);
        QCOMPARE(rows[0].writeId, buyer);
        QCOMPARE(rows[0].folderId, QString("000"));
        QVERIFY(rows[0].recFlg && rows[0].newFlg);
        QCOMPARE(rows[0].writeDate, QString("2026/12/08 09:03"));
        QCOMPARE(rows[0].message, QString("振り込みました\r\n確認を"));
        QCOMPARE(rows[1].writeId, seller);
        QCOMPARE(rows[1].folderId, QString("001"));
        QVERIFY(!rows[1].recFlg && !rows[1].newFlg);
        QCOMPARE(rows[1].writeDate, QString("2026/12/07 18:30"));
        QCOMPARE(rows[2].folderId, QString("000"));
        for (const StoredRow& row : rows)
            QCOMPARE(row.loginId, seller);

        const QStringList lines = app->log();
        QVERIFY(lines.contains("ナビ情報ダウンロード開始…"));
        QVERIFY(lines.contains(aidA + "：時計：新着2件(" + buyer + ")"));
        QCOMPARE(lines.last(), QString("ナビ情報をダウンロード終了"));
        QCOMPARE(listingRow(aidA)->subItem(BidListColumns::NaviCount), QString("3(2)"));
        QVERIFY(navi->ActionNaviDownloadSelect->isEnabled());
        QVERIFY(!navi->MainMenuDataDownloadQuit->isEnabled());
        QVERIFY(!navi->downloadControl().threadNaviDownload);
    }

    void secondRunFetchesOnlyTheBoard()
    {
        addListing(aidA);
        app->boards().addBoard(aidA, buyer, threeMessages());
        downloadSelected({aidA});
        app->site().clearRequests();
        downloadSelected({aidA});
        QCOMPARE(app->boards().pageRequests(),
                 QList<QByteArray>{NaviBoardSite::boardTarget(aidA, buyer)});
        QCOMPARE(storedRows(navi->connection, aidA).size(), 3);
        QCOMPARE(countOf(aidA + "：時計：新着2件(" + buyer + ")"), 1);
        QCOMPARE(listingRow(aidA)->subItem(BidListColumns::NaviCount), QString("3(2)"));
    }

    void laterRunFetchesOnlyNewerMessages()
    {
        addListing(aidA);
        app->boards().addBoard(aidA, buyer, threeMessages());
        downloadSelected({aidA});
        QList<Msg> four = threeMessages();
        four.prepend({"4", buyer, "届きました", "12月09日 08時00分", "ありがとう"});
        app->boards().addBoard(aidA, buyer, four);
        app->site().clearRequests();
        downloadSelected({aidA});
        QCOMPARE(app->boards().pageRequests(),
                 (QList<QByteArray>{NaviBoardSite::boardTarget(aidA, buyer),
                                    NaviBoardSite::messageTarget(aidA, "4", buyer)}));
        QCOMPARE(storedRows(navi->connection, aidA).size(), 4);
        QVERIFY(app->log().contains(aidA + "：時計：新着1件(" + buyer + ")"));
        QCOMPARE(listingRow(aidA)->subItem(BidListColumns::NaviCount), QString("4(3)"));
    }

    // The page writes a message's characters as references; the store keeps what was written,
    // the seller's own sent text included. A message stored before stays as it is.
    void messagesAreStoredAsWritten()
    {
        addListing(aidA);
        FixtureDb::addMessage(navi->connection, {.aid = aidA,
                                                 .bidId = buyer,
                                                 .number = 1,
                                                 .loginId = seller,
                                                 .subject = "&quot;旧&quot;",
                                                 .message = "前&amp;後"});
        app->boards().addBoard(
            aidA, buyer,
            {{"3", buyer, "&quot;入金&quot; &amp; 発送", "12月08日 09時03分",
              "振り込みました&#12290;&lt;br&gt;は文字です<br>次の行 &#x2665; caf&eacute; "
              "&#39;x&#39;"},
             {"2", seller, "ご連絡 &lt;重要&gt;", "12月07日 18時30分",
              "送料&amp;手数料 &quot;込み&quot;&lt;b&gt;"},
             {"1", buyer, "はじめまして", "12月07日 12時00分", "よろしく"}});
        downloadSelected({aidA});

        QSqlQuery query = Sql::exec(navi->connection,
                                    QStringLiteral("SELECT [Number],Subject,Message FROM T_Navi "
                                                   "WHERE Aid=:AID ORDER BY [Number] DESC"),
                                    {{":AID", aidA}});
        QStringList stored;
        while (query.next())
            stored << query.value(0).toString() + '|' + query.value(1).toString() + '|' +
                          query.value(2).toString();
        QCOMPARE(
            stored,
            (QStringList{QString::fromUtf8("3|\"入金\" & 発送|振り込みました。<br>は文字です"
                                           "\r\n次の行 ♥ café 'x'"),
                         "2|ご連絡 <重要>|送料&手数料 \"込み\"<b>", "1|&quot;旧&quot;|前&amp;後"}));
    }

    void storedDuplicateNumberPurgesAndReloadsTheBoard()
    {
        addListing(aidA);
        for (int i = 0; i < 2; ++i)
            FixtureDb::addMessage(navi->connection,
                                  {.aid = aidA, .bidId = buyer, .number = 3, .loginId = seller});
        // Another account's rows of the same transaction are neither counted nor deleted.
        FixtureDb::addMessage(navi->connection,
                              {.aid = aidA, .bidId = buyer, .number = 9, .loginId = "other"});
        app->boards().addBoard(aidA, buyer, threeMessages());
        downloadSelected({aidA});
        QVERIFY(app->log().contains(aidA + "：時計 ナビNo重複 取得前にナビを削除します(" + buyer +
                                    ")"));
        QList<int> numbers;
        for (const StoredRow& row : storedRows(navi->connection, aidA))
            numbers << row.number;
        QCOMPARE(numbers, (QList<int>{9, 3, 2, 1}));
        QCOMPARE(listingRow(aidA)->subItem(BidListColumns::NaviCount), QString("3(2)"));
    }

    void boardListingANumberTwiceIsDownloadedAgain()
    {
        addListing(aidA);
        addListing(aidB);
        QList<Msg> twice = threeMessages();
        twice[1].number = "3";
        app->boards().addBoard(aidA, buyer, twice);
        app->boards().addBoard(aidB, buyer, threeMessages());
        downloadSelected({aidA, aidB});
        // The re-download runs after the first download's end and ends the same way.
        QTRY_COMPARE(countOf("ナビ情報をダウンロード終了"), 2);
        QTRY_COMPARE(navi->downloadKind, 0);
        const QStringList lines = app->log();
        QCOMPARE(countOf(aidA + "：時計 ナビNo重複 自動再取得を行います(" + buyer + ")"), 1);
        QCOMPARE(countOf(aidA + "：時計 ナビNo重複 ナビ取得を再取得してください(" + buyer + ")"),
                 1);
        QCOMPARE(countOf("ナビ情報ダウンロード開始…"), 1);
        QVERIFY(lines.indexOf("ナビ情報をダウンロード終了") <
                lines.indexOf(aidA + "：時計 ナビNo重複 ナビ取得を再取得してください(" + buyer +
                              ")"));
        // The re-download read the board from its first message and kept what it read.
        QCOMPARE(storedRows(navi->connection, aidA).size(), 3);
        QCOMPARE(storedRows(navi->connection, aidB).size(), 3);
        QCOMPARE(app->boards().pageRequests().count(NaviBoardSite::boardTarget(aidB, buyer)), 1);
        QVERIFY(navi->downloadControl().naviReDownloadQueue.isEmpty());
    }

    void accessErrorOnAMessagePageStoresNothingOfTheBoard()
    {
        addListing(aidA);
        app->boards().addBoard(aidA, buyer, threeMessages());
        app->boards().setMessagePage(aidA, "2", buyer, NaviTestPages::accessNoticePage());
        downloadSelected({aidA});
        QVERIFY(app->log().contains(
            aidA + "：メッセージ取得時に正しい手順でアクセスされていません。というエラーが"
                   "発生しました。ブラウザでアクセスして確認してください。"));
        QVERIFY(storedRows(navi->connection, aidA).isEmpty());
        QVERIFY(!app->boards().wasRequested(NaviBoardSite::messageTarget(aidA, "1", buyer)));
        QCOMPARE(app->log().last(), QString("ナビ情報をダウンロード終了"));

        app->boards().addBoard(aidA, buyer, threeMessages());
        downloadSelected({aidA});
        QCOMPARE(storedRows(navi->connection, aidA).size(), 3);
    }

    void noSelectionAsksForARow()
    {
        addListing(aidA);
        listListings();
        app->site().clearRequests();
        navi->ActionNaviDownloadSelect->trigger();
        QCOMPARE(app->log().last(), QString("行を選択してください"));
        QCOMPARE(navi->downloadKind, 0);
        QVERIFY(app->site().requests().isEmpty());
    }

    void shownRowsCommandDownloadsEveryRow()
    {
        addListing(aidA);
        addListing(aidB);
        app->boards().addBoard(aidA, buyer, threeMessages());
        app->boards().addBoard(aidB, buyer, threeMessages().mid(2));
        navi->options.confirmationNaviDownload = true;
        app->dialogs().queue(Dialogs::Answer::Cancel);
        listListings();
        navi->ActionNaviDownloadShow->trigger();
        QCOMPARE(app->dialogs().texts().value(0),
                 QString("表示行ナビデータをダウンロードしますか？"));
        QCOMPARE(navi->downloadKind, 0);
        navi->ActionNaviDownloadShow->trigger();
        QTRY_COMPARE(navi->downloadKind, 0);
        QCOMPARE(listingRow(aidA)->subItem(BidListColumns::NaviCount), QString("3(2)"));
        QCOMPARE(listingRow(aidB)->subItem(BidListColumns::NaviCount), QString("1(1)"));
    }

    void stopMidRunKeepsWhatWasStored()
    {
        addListing(aidA);
        addListing(aidB);
        app->boards().addBoard(aidA, buyer, threeMessages());
        app->boards().addBoard(aidB, buyer, threeMessages());
        app->boards().setBoardDelay(aidB, buyer, 20000);
        listListings();
        listingRow(aidA)->setSelected(true);
        listingRow(aidB)->setSelected(true);
        navi->ActionNaviDownloadSelect->trigger();
        QTRY_VERIFY(app->boards().wasRequested(NaviBoardSite::boardTarget(aidB, buyer)));
        const QPointer<DownloadThread> thread = navi->downloadControl().threadNaviDownload;
        QVERIFY(thread);
        navi->MainMenuDataDownloadQuit->trigger();
        QCOMPARE(app->dialogs().texts().value(0), QString("取引ナビダウンロードを中止しますか？"));
        QCOMPARE(navi->downloadKind, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!thread, 10000);
        QCOMPARE(countOf("取引ナビダウンロードを中止しました"), 1);
        QCOMPARE(countOf("ナビ情報をダウンロード終了"), 0);
        QCOMPARE(storedRows(navi->connection, aidA).size(), 3);
        QVERIFY(storedRows(navi->connection, aidB).isEmpty());
        QVERIFY(navi->ActionNaviDownloadSelect->isEnabled());
    }

    void rowsAppearOnlyInTheMatchingRootFolder_data()
    {
        QTest::addColumn<QString>("shownFolder");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QList<int>>("pictures");
        QTest::newRow("received root") << "000" << QStringList{"3", "1"} << QList<int>{0, 0};
        QTest::newRow("sent root") << "001" << QStringList{"2"} << QList<int>{2};
        QTest::newRow("child folder") << "000-000" << QStringList{} << QList<int>{};
    }
    void rowsAppearOnlyInTheMatchingRootFolder()
    {
        QFETCH(QString, shownFolder);
        QFETCH(QStringList, numbers);
        QFETCH(QList<int>, pictures);
        FixtureDb::addFolder(navi->connection, "000-000", "保存", 1, seller);
        addListing(aidA);
        app->boards().addBoard(aidA, buyer, threeMessages());
        navi->messageTab().loadFolderTree();
        QTreeWidgetItem* node = FolderTree::findFolder(navi->TreeViewNavi, shownFolder);
        QVERIFY(node);
        navi->TreeViewNavi->setCurrentItem(node);
        QCOMPARE(navi->ListViewNavi->rowCount(), 0);
        downloadSelected({aidA});
        QStringList shown;
        QList<int> shownPictures;
        for (int i = 0; i < navi->ListViewNavi->rowCount(); ++i) {
            shown << navi->ListViewNavi->row(i).number;
            shownPictures << navi->ListViewNavi->picture(i);
        }
        shown.sort();
        std::sort(numbers.begin(), numbers.end());
        QCOMPARE(shown, numbers);
        QCOMPARE(shownPictures, pictures);
        const QTreeWidgetItem* received = FolderTree::findFolder(navi->TreeViewNavi, "000");
        QCOMPARE(received->data(0, FolderTree::UnreadCountRole).toInt(), 2);
    }
};

QTEST_MAIN(TestNaviGlue)
#include "test_naviglue.moc"
