// The message search window over a small stored fixture: the criteria, the account choice, a
// running search stopped, cancelled or closed, and hits opened in the viewer and the
// per-listing list.
#include "support/FixtureDb.h"
#include "support/ProgressBarState.h"
#include "support/TestDataFolder.h"
#include "support/TestDialogs.h"

#include "platform/Database.h"
#include "platform/IniFile.h"
#include "common/CommonDefine.h"
#include "views/FindNaviQuery.h"
#include "views/NaviListItem.h"
#include "views/UnitAuctionNaviList.h"
#include "views/UnitFindNavi.h"
#include "views/UnitNaviMessage.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller");

template <typename T> QList<T*> openWindows()
{
    QList<T*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<T*>(widget); window && window->isVisible())
            windows << window;
    return windows;
}

} // namespace

class TestFindNavi : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDataFolder> folder;
    std::unique_ptr<TestDialogs> dialogs;
    QString connectionName;
    QSqlDatabase db;
    QPointer<TFormFindNavi> find;
    bool confirmOpen = false;

    void openWindow(const QString& loginId = seller)
    {
        find = new TFormFindNavi(connectionName, 12, [this] { return confirmOpen; });
        find->loginId = loginId;
        find->show();
    }
    void openWindowForEveryAccount()
    {
        openWindow();
        find->ComboBoxSearchLoginId->setCurrentIndex(0);
    }
    // "aid/winner/number" of every hit, in list order.
    QStringList hits() const
    {
        QStringList keys;
        for (int i = 0; i < find->ListViewNavi->topLevelItemCount(); ++i) {
            const NaviRow& row = NaviListItem::of(find->ListViewNavi->topLevelItem(i))->row();
            keys << row.aid + '/' + row.bidId + '/' + row.number;
        }
        keys.sort();
        return keys;
    }
    void selectHit(const QString& key)
    {
        for (int i = 0; i < find->ListViewNavi->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = find->ListViewNavi->topLevelItem(i);
            const NaviRow& row = NaviListItem::of(item)->row();
            if (row.aid + '/' + row.bidId + '/' + row.number == key) {
                find->ListViewNavi->setCurrentItem(item);
                return;
            }
        }
        QFAIL(qPrintable("no hit " + key));
    }

private slots:
    void init()
    {
        folder = std::make_unique<TestDataFolder>();
        dialogs = std::make_unique<TestDialogs>();
        connectionName = Database::uniqueConnectionName("findtest");
        db = Database::open(connectionName);
        using FixtureDb::addMessage;
        FixtureDb::addListing(db, {.aid = "a1", .bidId = "b1", .title = "時計"});
        FixtureDb::addListing(db, {.aid = "a1", .bidId = "b2", .title = "時計", .index = 2});
        FixtureDb::addListing(db, {.aid = "a2", .bidId = "b3", .title = "鞄", .index = 3});
        FixtureDb::addBidder(db, {.id = "b1", .name = "山田"});
        FixtureDb::addBidder(db, {.id = "b2", .name = "佐藤"});
        addMessage(db, {.aid = "a1", .bidId = "b1", .number = 1, .message = "よろしく"});
        addMessage(
            db,
            {.aid = "a1", .bidId = "b1", .number = 2, .received = false, .message = "ありがとう"});
        addMessage(
            db, {.aid = "a1", .bidId = "b2", .number = 1, .read = true, .message = "入金しました"});
        addMessage(db, {.aid = "a2", .bidId = "b3", .number = 1, .message = "O'Brien 100% です"});
        addMessage(db, {.aid = "a9",
                        .bidId = "b9",
                        .number = 1,
                        .loginId = "other",
                        .message = "別アカウント"});
    }
    void cleanup()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            widget->close();
        delete find;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        db = QSqlDatabase();
        Database::close(connectionName);
        dialogs.reset();
        folder.reset();
    }

    void criteriaFindTheirMessages_data()
    {
        QTest::addColumn<QString>("account");
        QTest::addColumn<bool>("received");
        QTest::addColumn<bool>("sent");
        QTest::addColumn<QStringList>("texts"); // id, name, aid, title, message
        QTest::addColumn<QStringList>("expected");
        const QStringList none = {"", "", "", "", ""};
        const QStringList all = {"a1/b1/1", "a1/b1/2", "a1/b2/1", "a2/b3/1", "a9/b9/1"};
        QTest::newRow("everything") << "指定なし" << true << true << none << all;
        QTest::newRow("account") << seller << true << true << none
                                 << QStringList{"a1/b1/1", "a1/b1/2", "a1/b2/1", "a2/b3/1"};
        QTest::newRow("received only") << "指定なし" << true << false << none
                                       << QStringList{"a1/b1/1", "a1/b2/1", "a2/b3/1", "a9/b9/1"};
        QTest::newRow("sent only") << "指定なし" << false << true << none << QStringList{"a1/b1/2"};
        QTest::newRow("writer without saved bidder")
            << "指定なし" << true << true << QStringList{"b3", "", "", "", ""}
            << QStringList{"a2/b3/1"};
        QTest::newRow("sent only with winner id")
            << "指定なし" << false << true << QStringList{"b1", "", "", "", ""} << QStringList{};
        QTest::newRow("name") << "指定なし" << true << true << QStringList{"", "山田", "", "", ""}
                              << QStringList{"a1/b1/1"};
        QTest::newRow("auction id") << "指定なし" << true << true
                                    << QStringList{"", "", "a2", "", ""} << QStringList{"a2/b3/1"};
        QTest::newRow("title") << "指定なし" << true << true << QStringList{"", "", "", "時計", ""}
                               << QStringList{"a1/b1/1", "a1/b1/2", "a1/b2/1"};
        QTest::newRow("message") << "指定なし" << true << true
                                 << QStringList{"", "", "", "", "入金"} << QStringList{"a1/b2/1"};
        QTest::newRow("quote") << "指定なし" << true << true
                               << QStringList{"", "", "", "", "O'Brien"} << QStringList{"a2/b3/1"};
        QTest::newRow("underscore wildcard")
            << "指定なし" << true << true << QStringList{"", "", "", "", "O_Brien"}
            << QStringList{"a2/b3/1"};
        QTest::newRow("percent wildcard")
            << seller << true << true << QStringList{"", "", "", "", "%"}
            << QStringList{"a1/b1/1", "a1/b1/2", "a1/b2/1", "a2/b3/1"};
    }
    void criteriaFindTheirMessages()
    {
        QFETCH(QString, account);
        QFETCH(bool, received);
        QFETCH(bool, sent);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, expected);
        openWindow();
        find->ComboBoxSearchLoginId->setCurrentIndex(
            find->ComboBoxSearchLoginId->findText(account));
        find->CheckBoxReceive->setChecked(received);
        find->CheckBoxSend->setChecked(sent);
        find->EditSearchBidId->setText(texts[0]);
        find->EditSearchBidName->setText(texts[1]);
        find->EditSearchAuctionID->setText(texts[2]);
        find->EditSearchTitle->setText(texts[3]);
        find->EditSearchMessage->setText(texts[4]);
        find->BitBtnSearchClick();
        QCOMPARE(hits(), expected);
        QCOMPARE(find->statusPanels[0]->text(), "件数：" + QString::number(expected.size()));
        QVERIFY(find->BitBtnSearch->isEnabled());
        QVERIFY(dialogs->requests().isEmpty());
    }

    void sentOnlyWithWinnerIdTestsBothDirections()
    {
        FindNaviCriteria criteria;
        criteria.received = false;
        criteria.bidId = "b1";
        const FindNaviQuery::Condition condition = FindNaviQuery::condition(criteria);
        QVERIFY(condition.where.contains("T_Navi.RecFlg=FALSE"));
        QVERIFY(condition.where.contains("T_Navi.RecFlg=TRUE AND T_Navi.WriteId LIKE"));
        QVERIFY(!condition.where.contains("b1")); // bound, never pasted
    }

    void neitherDirectionIsAnError()
    {
        openWindowForEveryAccount();
        find->BitBtnSearchClick();
        QCOMPARE(find->ListViewNavi->topLevelItemCount(), 5);
        find->CheckBoxReceive->setChecked(false);
        find->CheckBoxSend->setChecked(false);
        find->BitBtnSearchClick();
        QCOMPARE(dialogs->requests().size(), 1);
        QCOMPARE(dialogs->requests()[0].kind, Dialogs::Kind::Error);
        QCOMPARE(dialogs->requests()[0].caption, QString("検索条件エラー"));
        QCOMPARE(dialogs->requests()[0].text,
                 QString("受信・送信どちらかに\n\rチェックを付けてください。"));
        QCOMPARE(find->ListViewNavi->topLevelItemCount(), 5);
    }

    void enterInCriteriaSearches()
    {
        openWindow();
        find->EditSearchMessage->setText("よろしく");
        QTest::keyClick(find->EditSearchMessage, Qt::Key_Return);
        QCOMPARE(hits(), QStringList{"a1/b1/1"});
    }

    void accountChoiceListsStoredAccounts_data()
    {
        QTest::addColumn<QString>("loginId");
        QTest::addColumn<int>("selected");
        QTest::newRow("current account") << seller << 2;
        QTest::newRow("account without messages") << "newcomer" << 0;
    }
    void accountChoiceListsStoredAccounts()
    {
        QFETCH(QString, loginId);
        QFETCH(int, selected);
        openWindow(loginId);
        QStringList items;
        for (int i = 0; i < find->ComboBoxSearchLoginId->count(); ++i)
            items << find->ComboBoxSearchLoginId->itemText(i);
        QCOMPARE(items, (QStringList{"指定なし", "other", seller}));
        QCOMPARE(find->ComboBoxSearchLoginId->currentIndex(), selected);
        QCOMPARE(find->windowTitle(), "ナビ検索(" + loginId + ")");
    }

    void escWhenIdleAsksNothing()
    {
        openWindow();
        find->ActionSearchStop->trigger();
        QVERIFY(dialogs->requests().isEmpty());
    }

    void stopQuestionDuringSearch_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("rows");
        QTest::newRow("cancel goes on") << false << 5;
        QTest::newRow("ok stops") << true << 0;
    }
    void stopQuestionDuringSearch()
    {
        QFETCH(bool, confirm);
        QFETCH(int, rows);
        openWindowForEveryAccount();
        find->batchRows = 1;
        dialogs->queue(confirm ? Dialogs::Answer::Ok : Dialogs::Answer::Cancel);
        bool searching = false;
        QTimer::singleShot(0, find, [&] {
            searching = find->isSearching();
            find->ActionSearchStop->trigger();
        });
        find->BitBtnSearchClick();
        QVERIFY(searching);
        QCOMPARE(dialogs->requests().size(), 1);
        QCOMPARE(dialogs->requests()[0].text, QString("検索を中止しますか？"));
        QCOMPARE(dialogs->requests()[0].caption, QString("確認"));
        QCOMPARE(find->ListViewNavi->topLevelItemCount(), rows);
        QVERIFY(find->BitBtnSearch->isEnabled());
        QVERIFY(!find->isSearching());
        QCOMPARE(find->statusPanels[2]->text(), QString());
        QCOMPARE(find->statusPanels[0]->text().isEmpty(), confirm);
    }

    void progressBarStandsStillWhileIdle_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("shown") << "shown";
        QTest::newRow("after a search") << "searched";
        QTest::newRow("after a search without hits") << "no hits";
        QTest::newRow("after a stopped search") << "stopped";
    }
    void progressBarStandsStillWhileIdle()
    {
        QFETCH(QString, state);
        openWindowForEveryAccount();
        find->batchRows = 1;
        if (state == "no hits")
            find->EditSearchMessage->setText("見つからない");
        if (state == "stopped")
            QTimer::singleShot(0, find, [&] { find->ActionSearchStop->trigger(); });
        if (state != "shown")
            find->BitBtnSearchClick();
        QCOMPARE(find->ListViewNavi->topLevelItemCount(), state == "searched" ? 5 : 0);
        VERIFY_IDLE_BAR(find->ProgressBar);
    }

    void escIsAnsweredWhileSQLiteStillCounts()
    {
        // Counting these takes SQLite many thousand steps of its machine.
        QList<FixtureDb::Message> many;
        for (int i = 0; i < 5000; ++i)
            many.append({.aid = "m" + QString::number(i % 50),
                         .bidId = "b1",
                         .number = i + 10,
                         .message = QString("お取引 %1 のご連絡").arg(i)});
        FixtureDb::addMessages(db, many);
        openWindowForEveryAccount();
        find->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(find));
        find->BitBtnSearchClick();
        const int shown = find->ListViewNavi->topLevelItemCount();
        QCOMPARE(shown, 5005);

        // Every stretch of SQLite's work lets the events run.
        find->eventIntervalMs = 0;
        find->EditSearchMessage->setText("ご連絡");
        int rowsWhenAsked = -1;
        bool searchingWhenAsked = false;
        Dialogs::setAnswerer([&](const Dialogs::Request& request) {
            if (request.text == "検索を中止しますか？") {
                rowsWhenAsked = find->ListViewNavi->topLevelItemCount();
                searchingWhenAsked = find->isSearching();
            }
            return Dialogs::Reply{Dialogs::Answer::Ok, QString()};
        });
        QTimer::singleShot(0, find, [&] { QTest::keyClick(find, Qt::Key_Escape); });
        find->BitBtnSearchClick();
        Dialogs::setAnswerer(nullptr);

        // Asked while the count ran: the list still held the last search's rows.
        QVERIFY(searchingWhenAsked);
        QCOMPARE(rowsWhenAsked, shown);
        QVERIFY(!find->isSearching());
        QVERIFY(find->BitBtnSearch->isEnabled());
        QCOMPARE(find->ListViewNavi->topLevelItemCount(), 0);
        QCOMPARE(find->statusPanels[2]->text(), QString());
        VERIFY_IDLE_BAR(find->ProgressBar);
        // The search runs again to its end afterwards.
        find->BitBtnSearchClick();
        QCOMPARE(find->ListViewNavi->topLevelItemCount(), 5000);
    }

    void closingMidSearchEndsIt()
    {
        openWindow();
        find->batchRows = 1;
        QTimer::singleShot(0, find, [&] { find->close(); });
        find->BitBtnSearchClick();
        QTRY_VERIFY(find.isNull());
        const IniFile ini(CommonDefine::settingIniPath());
        QVERIFY(ini.sectionExists("FindNaviWindow"));
    }

    void receivedHitOpensItsTransaction()
    {
        openWindowForEveryAccount();
        find->BitBtnSearchClick();
        selectHit("a9/b9/1"); // another account's hit
        QCOMPARE(find->MemoNaviMessage->toPlainText(), QString("別アカウント"));
        find->ActionNaviOpenMessage->trigger();
        QCOMPARE(openWindows<TFormNaviMessage>().size(), 1);
        TFormNaviMessage* viewer = openWindows<TFormNaviMessage>().first();
        QCOMPARE(viewer->loginId, QString("other"));
        QCOMPARE(viewer->EditAid->text(), QString("a9"));
        QCOMPARE(viewer->EditBidId->text(), QString("b9"));
        QCOMPARE(viewer->messageNumber, 1);
        QVERIFY(viewer->ActionNaviReply->isVisible());
        QVERIFY(!viewer->ActionNaviMake->isVisible());

        find->ActionShowSelectAuctionIdNaviList->trigger();
        TFormAuctionNaviList* list = openWindows<TFormAuctionNaviList>().first();
        QCOMPARE(list->loginId, QString("other"));
        QTRY_VERIFY(list->isLoaded());
        QCOMPARE(list->ListViewNavi->topLevelItemCount(), 1);
    }

    void sentHitOpensItsWinnersTransaction()
    {
        openWindow();
        find->BitBtnSearchClick();
        selectHit("a1/b1/2");
        find->ActionNaviOpenMessage->trigger();
        TFormNaviMessage* viewer = openWindows<TFormNaviMessage>().first();
        QCOMPARE(viewer->windowTitle(), QString("時計"));
        QCOMPARE(viewer->EditBidId->text(), QString("b1"));
        QCOMPARE(viewer->EditBidName->text(), QString("山田"));
        QCOMPARE(viewer->MemoMessage->toPlainText(), QString("ありがとう"));
        QVERIFY(!viewer->ActionNaviReply->isVisible());
        QVERIFY(viewer->ActionNaviMake->isVisible());

        find->ActionShowSelectAuctionIdNaviList->trigger();
        TFormAuctionNaviList* list = openWindows<TFormAuctionNaviList>().first();
        QCOMPARE(list->bidId, QString("b1"));
        QTRY_VERIFY(list->isLoaded());
        QCOMPARE(list->ListViewNavi->topLevelItemCount(), 2);
    }

    void openQuestionCancelled()
    {
        confirmOpen = true;
        openWindow();
        find->BitBtnSearchClick();
        selectHit("a1/b1/1");
        dialogs->queue(Dialogs::Answer::Cancel);
        find->ActionNaviOpenMessage->trigger();
        QCOMPARE(dialogs->requests().size(), 1);
        QCOMPARE(dialogs->requests()[0].text, QString("メッセージを開きますか？"));
        QVERIFY(openWindows<TFormNaviMessage>().isEmpty());
    }

    void sortedByPictureUnreadFirst()
    {
        openWindowForEveryAccount();
        find->BitBtnSearchClick();
        QCOMPARE(find->sortColumn, 0);
        QStringList pictures;
        for (int i = 0; i < find->ListViewNavi->topLevelItemCount(); ++i)
            pictures << QString::number(
                NaviListItem::of(find->ListViewNavi->topLevelItem(i))->picture());
        QCOMPARE(pictures, (QStringList{"0", "0", "0", "1", "2"}));
        QTreeWidgetItem* sent = find->ListViewNavi->topLevelItem(4);
        QVERIFY(sent->data(1, Qt::BackgroundRole).isValid());
        QVERIFY(sent->data(1, Qt::FontRole).isNull());
        QVERIFY(find->ListViewNavi->topLevelItem(0)->data(1, Qt::FontRole).value<QFont>().bold());
    }
};

QTEST_MAIN(TestFindNavi)
#include "test_findnavi.moc"
