// The listing pane and the message pane as the main window wires them: an account's rows and
// folders, the message list of a folder, the read state followed by every count.
#include "FixtureDb.h"
#include "MainWindowFixture.h"
#include "SitePages.h"
#include "app/UnitNavi.h"
#include "platform/Database.h"
#include "platform/Sql.h"
#include "site/html.h"
#include "views/ListingTab.h"
#include "views/MessageTab.h"
#include "views/NaviFolderList.h"
#include "views/NaviFolderModel.h"
#include "views/BidListColumns.h"
#include "views/BidListFindPanel.h"
#include "views/BidListView.h"
#include "views/BidSearchPanel.h"
#include "views/FolderId.h"
#include "views/FolderTree.h"
#include "views/ListSearchView.h"
#include "views/NaviListItem.h"

#include <QAction>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

class TestPanes : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;

    QString countCell(const QString& aid) const
    {
        for (int i = 0; i < navi->ListViewBid->topLevelItemCount(); ++i) {
            BidRow row = navi->ListViewBid->topLevelItem(i);
            if (row->text(BidListColumns::column(BidListColumns::Aid)) == aid)
                return row->text(BidListColumns::column(BidListColumns::NaviCount));
        }
        return "missing";
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        html::setDefaultTimeout(5000);
        SitePages::serveAccount(app->site(), "seller");
        {
            Database::ScopedConnection db;
            FixtureDb::addListing(db.db(), {.aid = "a1", .bidId = "b1", .title = "カメラ"});
            FixtureDb::addListing(db.db(), {.aid = "a2", .bidId = "b2", .index = 2});
            FixtureDb::addListing(db.db(), {.aid = "a3", .bidId = "b3", .loginId = "other"});
            FixtureDb::addListing(db.db(), {.aid = "a4", .bidId = "b4", .deleted = true});
            FixtureDb::addMessage(db.db(), {.aid = "a1", .bidId = "b1", .number = 1});
            FixtureDb::addMessage(db.db(), {.aid = "a1", .bidId = "b1", .number = 2, .read = true});
            FixtureDb::addMessage(db.db(), {.aid = "a1", .bidId = "b1", .number = 3});
            FixtureDb::addMessage(db.db(),
                                  {.aid = "a1", .bidId = "b1", .number = 4, .received = false});
        }
        navi = app->start();
    }
    void cleanup() { app.reset(); }

    void accountAtStartListsItsRowsAndFolders()
    {
        QCOMPARE(navi->loginId, QString("seller"));
        QCOMPARE(navi->ListViewBid->topLevelItemCount(), 2);
        QCOMPARE(navi->statusPanels[1]->text(), QString("2件"));
        QCOMPARE(countCell("a1"), QString("4(2)"));
        QCOMPARE(countCell("a2"), QString());
        QCOMPARE(Sql::scalar(navi->connection,
                             "SELECT COUNT(*) FROM T_NaviFolderMaster WHERE LoginId='seller'")
                     .toInt(),
                 6);
    }

    void searchPanelFiltersTheList()
    {
        navi->PanelBidSearch->EditBidSearchTitle->setText("カメ");
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QCOMPARE(navi->ListViewBid->topLevelItemCount(), 1);
        QCOMPARE(navi->statusPanels[1]->text(), QString("1件"));
    }

    void receivedFolderListsItsMessagesAndReadStateFollows()
    {
        navi->PageControlMain->setCurrentIndex(1);
        QTreeWidgetItem* received = FolderTree::findFolder(navi->TreeViewNavi, "000");
        QVERIFY(received);
        navi->TreeViewNavi->setCurrentItem(received);
        QCOMPARE(navi->ListViewNavi->rowCount(), 3);
        QCOMPARE(navi->statusPanels[1]->text(), QString("件数：3（未開封：2）"));
        QVERIFY(navi->action("ActionNaviUnsealing")->isEnabled());

        // Mark every row read: exactly the two unread rows change.
        navi->ListViewNavi->selectAll();
        navi->action("ActionNaviUnsealing")->trigger();
        QCOMPARE(Sql::scalar(navi->connection,
                             "SELECT COUNT(*) FROM T_Navi WHERE RecFlg=1 AND UnsealingFlg=0")
                     .toInt(),
                 0);
        QCOMPARE(navi->statusPanels[1]->text(), QString("件数：3（未開封：0）"));
        QCOMPARE(countCell("a1"), QString("4"));
        QCOMPARE(received->data(0, FolderTree::UnreadCountRole).toInt(), 0);
    }

    // The folder tree's menu makes a folder under the chosen one; Del in the tree deletes the
    // chosen folder only when it is a user folder holding no message, after asking.
    void folderTreeCommandsMakeAndDeleteFolders_data()
    {
        QTest::addColumn<QString>("target"); // empty: the folder made through the menu
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("asked");
        QTest::newRow("new empty folder") << QString() << true << "フォルダを削除しますか？";
        QTest::newRow("folder holding a message")
            << "000-000" << false
            << "現在のバージョンではフォルダにメッセージが存在する場合は削除できません。";
        QTest::newRow("root folder") << "000" << false << QString();
    }

    void folderTreeCommandsMakeAndDeleteFolders()
    {
        QFETCH(QString, target);
        QFETCH(bool, deleted);
        QFETCH(QString, asked);
        const auto folders = [this] {
            return Sql::scalar(navi->connection,
                               "SELECT COUNT(*) FROM T_NaviFolderMaster WHERE LoginId='seller'")
                .toInt();
        };
        Sql::exec(navi->connection, "UPDATE T_Navi SET FolderID='000-000' WHERE [Number]=1");
        navi->PageControlMain->setCurrentIndex(1);
        QTreeWidgetItem* received = FolderTree::findFolder(navi->TreeViewNavi, "000");
        navi->TreeViewNavi->setCurrentItem(received);
        if (target.isEmpty()) {
            auto* newFolder = navi->findChild<QAction*>("PopupMenuTreeNaviNewFolder");
            QVERIFY(newFolder);
            newFolder->trigger();
            QCOMPARE(folders(), 7);
            QTreeWidgetItem* made = navi->TreeViewNavi->currentItem();
            QCOMPARE(made->parent(), received);
            target = FolderTree::folderId(made);
            QVERIFY(!FolderId::isRoot(target));
        }
        const int before = folders();
        navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, target));
        app->dialogs().clear();
        navi->action("ActionTreeNaviDeleteFolder")->trigger();
        QCOMPARE(app->dialogs().texts(), asked.isEmpty() ? QStringList() : QStringList{asked});
        QCOMPARE(folders(), deleted ? before - 1 : before);
        QCOMPARE(FolderTree::findFolder(navi->TreeViewNavi, target) == nullptr, deleted);
    }

    // A click on a column of the folder's message list sorts by it, a second click turns the
    // order.
    void messageListColumnClickSortsAndTurns()
    {
        navi->PageControlMain->setCurrentIndex(1);
        navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "000"));
        QHeaderView* header = navi->ListViewNavi->header();
        const auto numbers = [this] {
            QStringList shown;
            for (int i = 0; i < navi->ListViewNavi->rowCount(); ++i)
                shown << navi->ListViewNavi->row(i).number;
            return shown;
        };
        const int numberColumn = NaviFolderModel::NumberColumn;
        emit header->sectionClicked(numberColumn);
        const QStringList first = numbers();
        const int firstType = navi->messageTab().naviSortType;
        emit header->sectionClicked(numberColumn);
        QCOMPARE(navi->messageTab().naviSortColumn, numberColumn);
        QVERIFY(navi->messageTab().naviSortType != firstType);
        QStringList turned = numbers();
        std::reverse(turned.begin(), turned.end());
        QCOMPARE(turned, first);
    }

    void sentFolderIgnoresTheReadCommands()
    {
        navi->PageControlMain->setCurrentIndex(1);
        navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "001"));
        QCOMPARE(navi->ListViewNavi->rowCount(), 1);
        QVERIFY(!navi->action("ActionNaviUnsealing")->isEnabled());
    }

    void messageTabDetailFollowsTheSelectionAndEmptiesOnFolderChange()
    {
        const QString longText = QStringLiteral("ご入金ありがとうございます。\r\n").repeated(40) +
                                 QStringLiteral("発送は明日です");
        Sql::exec(navi->connection,
                  "UPDATE T_Navi SET Message=:M, Subject='入金確認', WriteDate='2026/01/05 09:30' "
                  "WHERE [Number]=3",
                  {{":M", longText}});
        navi->PageControlMain->setCurrentIndex(1);
        navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "000"));
        QCOMPARE(navi->LabelNaviWriter->text(), QString("投稿者："));
        int third = -1;
        for (int i = 0; i < navi->ListViewNavi->rowCount(); ++i)
            if (navi->ListViewNavi->text(i, 5) == "3")
                third = i;
        QVERIFY(third >= 0);
        navi->ListViewNavi->selectRow(third);
        const QList<QLineEdit*> fields{navi->EditNaviID, navi->EditNaviTitle, navi->EditNaviWriter,
                                       navi->EditNaviSubject, navi->EditNaviDate};
        const auto texts = [&] {
            QStringList result;
            for (QLineEdit* field : fields)
                result << field->text();
            return result;
        };
        QTRY_COMPARE_WITH_TIMEOUT(
            texts(), QStringList({"a1", "カメラ", "b1", "入金確認", "2026/01/05 09:30"}), 2000);
        QCOMPARE(navi->MemoNavi->toPlainText(), QString(longText).replace("\r\n", "\n"));
        QCOMPARE(navi->messageTab().currentNaviItem.row(), third);
        for (QLineEdit* field : fields)
            QVERIFY(field->isReadOnly());

        navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "001"));
        QCOMPARE(texts(), QStringList({"", "", "", "", ""}));
        QVERIFY(navi->MemoNavi->toPlainText().isEmpty());
        QCOMPARE(navi->LabelNaviWriter->text(), QString("送信先："));
        navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "000"));
        QCOMPARE(navi->LabelNaviWriter->text(), QString("投稿者："));
    }

    void listingTabDetailFollowsTheSelectionAndEmptiesOnNewQuery()
    {
        Sql::exec(navi->connection,
                  "UPDATE T_Navi SET Message=:M, Subject='質問', WriteDate='2026/01/04 08:00' "
                  "WHERE [Number]=2",
                  {{":M", QStringLiteral("いつ届きますか\r\n？")}});
        navi->PageControlMain->setCurrentIndex(0);
        NaviListView::loadTransactionList(navi->ListViewBidNavi, navi->connection, "a1", "b1",
                                          "seller", 2, 0);
        QCOMPARE(navi->ListViewBidNavi->topLevelItemCount(), 4);
        navi->ListViewBidNavi->setCurrentItem(navi->ListViewBidNavi->topLevelItem(1));
        const QList<QLineEdit*> fields{navi->EditBidNaviWriter, navi->EditBidNaviSubject,
                                       navi->EditBidNaviDate};
        const auto texts = [&] {
            QStringList result;
            for (QLineEdit* field : fields)
                result << field->text();
            return result;
        };
        QCOMPARE(texts(), QStringList({"b1", "質問", "2026/01/04 08:00"}));
        QCOMPARE(navi->MemoBidNavi->toPlainText(), QString("いつ届きますか\n？"));
        // The sent message names the seller as its writer.
        navi->ListViewBidNavi->setCurrentItem(navi->ListViewBidNavi->topLevelItem(3));
        QCOMPARE(texts().first(), QString("seller"));
        for (QLineEdit* field : fields)
            QVERIFY(field->isReadOnly());

        navi->listingTab().ToolButtonBidSearchSearchClick();
        QCOMPARE(navi->ListViewBidNavi->topLevelItemCount(), 0);
        QCOMPARE(texts(), QStringList({"", "", ""}));
        QVERIFY(navi->MemoBidNavi->toPlainText().isEmpty());
    }

    void bodySearchFindsTextPastTheListedHead()
    {
        const QString longText = QStringLiteral("お世話になります。\r\n").repeated(60) +
                                 QStringLiteral("追跡番号は 1234 です");
        Sql::exec(navi->connection, "UPDATE T_Navi SET Message=:M WHERE [Number]=2",
                  {{":M", longText}});
        navi->PageControlMain->setCurrentIndex(1);
        navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "000"));
        navi->listingTab().findText = "1234";
        navi->listingTab().findTarget = 4;
        navi->listingTab().ActionNaviFindNextExecute();
        QVERIFY(ListSearchView::selectedRow(navi->ListViewNavi) >= 0);
        const int selected = ListSearchView::selectedRow(navi->ListViewNavi);
        QCOMPARE(navi->ListViewNavi->text(selected, 5), QString("2"));
        QCOMPARE(navi->MemoNavi->textCursor().selectedText(), QString("1234"));
        QCOMPARE(navi->MemoNavi->toPlainText(), QString(longText).replace("\r\n", "\n"));
    }

    void findLineFollowsTheListingPanels_data()
    {
        QTest::addColumn<bool>("messagePanel");
        QTest::addColumn<bool>("memoPanel");
        QTest::addColumn<bool>("line");
        QTest::newRow("both hidden") << false << false << false;
        QTest::newRow("message panel only") << true << false << true;
        QTest::newRow("both shown") << true << true << false;
        QTest::newRow("memo panel only") << false << true << false;
    }
    void findLineFollowsTheListingPanels()
    {
        QFETCH(bool, messagePanel);
        QFETCH(bool, memoPanel);
        QFETCH(bool, line);
        navi->PageControlMain->setCurrentIndex(0);
        QFrame* shape = navi->findChild<QFrame*>("ShapeBidListFind");
        QVERIFY(shape);
        // Set when the panel opens...
        navi->ActionShowBidNaviPanel->setChecked(messagePanel);
        navi->ActionShowMemoWrite->setChecked(memoPanel);
        shape->setVisible(!line);
        navi->listingTab().ActionNaviFindExecute();
        QVERIFY(!navi->PanelBidListFind->isHidden());
        QCOMPARE(!shape->isHidden(), line);
        // ...and followed while it is open, as the panels are switched.
        shape->setVisible(!line);
        navi->ActionShowBidNaviPanel->setChecked(!messagePanel);
        navi->ActionShowMemoWrite->setChecked(!memoPanel);
        navi->ActionShowBidNaviPanel->setChecked(messagePanel);
        navi->ActionShowMemoWrite->setChecked(memoPanel);
        QCOMPARE(!shape->isHidden(), line);
    }

    void bodySearchShowsTheHitAtOnce()
    {
        {
            Sql::exec(navi->connection, "UPDATE T_Navi SET Message=:M WHERE [Number]=3",
                      {{":M", QStringLiteral("発送しました\r\n追跡番号です")}});
        }
        navi->PageControlMain->setCurrentIndex(1);
        navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "000"));
        navi->listingTab().findText = "追跡";
        navi->listingTab().findTarget = 4;
        navi->listingTab().ActionNaviFindNextExecute();
        QVERIFY(navi->MemoNavi->toPlainText().contains("追跡番号"));
        QCOMPARE(navi->MemoNavi->textCursor().selectedText(), QString("追跡"));
        // The list shows the line break as a blank; the search does not match across it.
        navi->listingTab().findText = QStringLiteral("発送しました 追跡");
        navi->ListViewNavi->clearSelection();
        QVERIFY(!ListSearchView::findInMessages(navi->ListViewNavi, 6, navi->MemoNavi,
                                                navi->listingTab().findText, true, {}));
    }
};

QTEST_MAIN(TestPanes)
#include "test_panes.moc"
