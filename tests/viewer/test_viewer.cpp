// The message viewer (placement, font menus, wheel, hand-over to the composer), the main
// window's open command on both tabs, and the per-listing message list.
#include "support/FixtureDb.h"
#include "support/MainWindowFixture.h"

#include "common/CommonDefine.h"
#include "app/UnitNavi.h"
#include "compose/UnitReply.h"
#include "platform/Database.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"
#include "site/LoginControl.h"
#include "views/ListingTab.h"
#include "views/MessageTab.h"
#include "views/NaviFolderList.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/FontSizeMenu.h"
#include "views/NaviListItem.h"
#include "views/UnitAuctionNaviList.h"
#include "views/UnitFindNavi.h"
#include "views/UnitNaviMessage.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller01");

template <typename T> QList<T*> openWindows()
{
    QList<T*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<T*>(widget); window && window->isVisible())
            windows << window;
    return windows;
}

void sendWheel(QWidget* target, int delta, Qt::KeyboardModifiers modifiers, bool* handled = nullptr)
{
    const QPointF at(5, 5);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    const bool result = QApplication::sendEvent(target, &wheel);
    if (handled)
        *handled = result;
}

} // namespace

class TestViewer : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;

    TFormNaviMessage* openViewer(bool received = true)
    {
        NaviMessageContent content{"時計(受信メッセージ)", seller, "a1",    "時計", "b1", "山田",
                                   "一行目\r\n二行目",     7,      received};
        return TFormNaviMessage::open(navi->messageHandOver(), content, 12);
    }
    IniFile ini() const { return IniFile(CommonDefine::settingIniPath()); }
    QRect storedBounds(const QString& section) const
    {
        const IniFile file = ini();
        return QRect(file.readInteger(section, "Left", -1), file.readInteger(section, "Top", -1),
                     file.readInteger(section, "Width", -1),
                     file.readInteger(section, "Height", -1));
    }
    TFormAuctionNaviList* openList(const QString& aid, const QString& bidId)
    {
        auto* list = new TFormAuctionNaviList(navi->connectionName, 12);
        list->aid = aid;
        list->title = "時計";
        list->bidId = bidId;
        list->loginId = seller;
        list->show();
        return list;
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        app->serveBoards(seller);
        {
            Database::ScopedConnection db;
            using FixtureDb::addMessage;
            FixtureDb::addListing(db.db(), {.aid = "a1",
                                            .bidId = "b1",
                                            .loginId = seller,
                                            .title = "時計",
                                            .extra = {{"FirstFlg", "07/05"}}});
            FixtureDb::addListing(db.db(), {.aid = "a1",
                                            .bidId = "b2",
                                            .loginId = seller,
                                            .title = "時計",
                                            .index = 2,
                                            .extra = {{"PaymentFlg", "●"}}});
            FixtureDb::addBidder(db.db(), {.id = "b1", .name = "山田"});
            addMessage(db.db(),
                       {.aid = "a1", .bidId = "b1", .number = 1, .read = true, .loginId = seller});
            addMessage(db.db(), {.aid = "a1",
                                 .bidId = "b1",
                                 .number = 2,
                                 .loginId = seller,
                                 .subject = "入金",
                                 .message = "振り込みました"});
            addMessage(
                db.db(),
                {.aid = "a1", .bidId = "b1", .number = 3, .received = false, .loginId = seller});
            addMessage(db.db(), {.aid = "a1", .bidId = "b2", .number = 1, .loginId = seller});
            addMessage(db.db(), {.aid = "a7", .bidId = "b7", .number = 1, .loginId = seller});
        }
        navi = app->start();
        navi->loginControl().updateLoginId();
        QCOMPARE(navi->loginId, seller);
    }
    void cleanup()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget != navi)
                widget->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        app.reset();
    }

    void viewerWithoutSectionOpensAtDefaults()
    {
        TFormNaviMessage* viewer = openViewer();
        QCOMPARE(viewer->geometry(), QRect(100, 100, 900, 600));
        QCOMPARE(viewer->windowTitle(), QString("時計(受信メッセージ)"));
        QCOMPARE(viewer->MemoMessage->toPlainText(), QString("一行目\n二行目"));
        QCOMPARE(viewer->MemoMessage->font().pointSize(), 12);
        QVERIFY(viewer->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(!viewer->parent());
    }

    void closedViewerStoresItsNormalBounds_data()
    {
        QTest::addColumn<int>("state"); // 0 normal, 1 minimised, 2 maximised
        QTest::addColumn<int>("stored");
        QTest::newRow("normal") << 0 << 0;
        QTest::newRow("minimised") << 1 << 0;
        QTest::newRow("maximised") << 2 << 2;
    }
    void closedViewerStoresItsNormalBounds()
    {
        QFETCH(int, state);
        QFETCH(int, stored);
        TFormNaviMessage* viewer = openViewer();
        const QRect normal(150, 160, 700, 500);
        viewer->setGeometry(normal);
        QCoreApplication::processEvents();
        if (state == 1)
            viewer->setWindowState(Qt::WindowMinimized);
        if (state == 2)
            viewer->setWindowState(Qt::WindowMaximized);
        QCoreApplication::processEvents();
        QPointer<TFormNaviMessage> guard(viewer);
        viewer->close();
        QCOMPARE(storedBounds("NaviMessageWindow"), normal);
        QCOMPARE(ini().readInteger("NaviMessageWindow", "WindowState", -1), stored);
        QTRY_VERIFY(guard.isNull());
    }

    void fontMenusHoldSixteenSizes()
    {
        TFormNaviMessage* viewer = openViewer();
        for (QMenu* menu : {viewer->MainMenuViewFontSize, viewer->PopupMenuFontSize}) {
            const QList<QAction*> items = menu->actions();
            QCOMPARE(items.size(), 16);
            QCOMPARE(items.first()->text(), QString("8\t(&0)"));
            QCOMPARE(items[10]->text(), QString("24\t(&a)"));
            QCOMPARE(items.last()->text(), QString("72\t(&f)"));
            QCOMPARE(items.last()->toolTip(), QString("72"));
        }
        viewer->PopupMenuFontSize->actions()[13]->trigger();
        QCOMPARE(viewer->MemoMessage->font().pointSize(), 36);
    }

    void ctrlWheelStepsTheFontWithinLimits_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("once");
        QTest::addColumn<int>("twice");
        QTest::newRow("towards the user at 71") << 71 << -120 << 73 << 73;
        QTest::newRow("away from the user at 5") << 5 << 120 << 3 << 3;
    }
    void ctrlWheelStepsTheFontWithinLimits()
    {
        QFETCH(int, start);
        QFETCH(int, delta);
        QFETCH(int, once);
        QFETCH(int, twice);
        TFormNaviMessage* viewer = openViewer();
        QFont font = viewer->MemoMessage->font();
        font.setPointSize(start);
        viewer->MemoMessage->setFont(font);
        sendWheel(viewer->MemoMessage->viewport(), delta, Qt::ControlModifier);
        QCOMPARE(viewer->MemoMessage->font().pointSize(), once);
        sendWheel(viewer->MemoMessage->viewport(), delta, Qt::ControlModifier);
        QCOMPARE(viewer->MemoMessage->font().pointSize(), twice);
    }

    void wheelOverAnEditIsTakenAndScrollsNothing()
    {
        TFormNaviMessage* viewer = openViewer();
        QStringList lines;
        for (int i = 0; i < 200; ++i)
            lines << QString::number(i);
        viewer->MemoMessage->setPlainText(lines.join('\n'));
        const int before = viewer->MemoMessage->verticalScrollBar()->value();
        bool handled = false;
        sendWheel(viewer->EditTitle, -120, Qt::NoModifier, &handled);
        QVERIFY(handled);
        QCOMPARE(viewer->MemoMessage->verticalScrollBar()->value(), before);
        sendWheel(viewer->MemoMessage->viewport(), -120, Qt::NoModifier);
        QCOMPARE(viewer->MemoMessage->verticalScrollBar()->value(), before + 3);
    }

    void handOverToTheComposer_data()
    {
        QTest::addColumn<bool>("reply");
        QTest::newRow("reply") << true;
        QTest::newRow("new message") << false;
    }
    void handOverToTheComposer()
    {
        QFETCH(bool, reply);
        TFormNaviMessage* viewer = openViewer(reply);
        const QRect normal(140, 150, 720, 520);
        viewer->setGeometry(normal);
        QCoreApplication::processEvents();
        viewer->setWindowState(Qt::WindowMaximized);
        QCoreApplication::processEvents();
        QPointer<TFormNaviMessage> guard(viewer);
        auto* form = qobject_cast<TFormReply*>(reply ? viewer->ActionNaviReplyExecute()
                                                     : viewer->ActionNaviMakeExecute());
        QVERIFY(form);
        QCOMPARE(storedBounds("ReplyWindow"), normal);
        QCOMPARE(ini().readInteger("ReplyWindow", "WindowState", -1), 2);
        QCOMPARE(form->title, QString("時計"));
        QCOMPARE(form->aid, QString("a1"));
        QCOMPARE(form->bidId, QString("b1"));
        QCOMPARE(form->loginId, seller);
        QCOMPARE(form->isReply, reply);
        QCOMPARE(form->replyNumber, reply ? 7 : -1);
        QCOMPARE(form->EditBidName->text(), QString("山田"));
        QCOMPARE(form->EditTitle->text(), QString("時計"));
        if (reply)
            QCOMPARE(form->MemoReplyMessage->toPlainText(), QString("一行目\n二行目"));
        QCOMPARE(form->windowTitle(), reply ? QString("返信：時計") : QString("投稿：時計"));
        QVERIFY(form->isMaximized());
        QTRY_VERIFY(guard.isNull());
    }

    // Once the session that the viewer hands over in has ended, replying opens nothing,
    // writes no placement and leaves the viewer open.
    void handOverAfterItsSessionEndedDoesNothing()
    {
        auto session = std::make_unique<NaviSession>();
        int opened = 0;
        NaviMessageHandOver handOver{session.get(), [&](const NaviMessageContent&, bool) {
                                         ++opened;
                                         return static_cast<QWidget*>(nullptr);
                                     }};
        NaviMessageContent content{
            "時計(受信メッセージ)", seller, "a1", "時計", "b1", "山田", "本文", 7, true};
        TFormNaviMessage* viewer = TFormNaviMessage::open(handOver, content, 12);
        session.reset();
        QVERIFY(!viewer->ActionNaviReplyExecute());
        QCOMPARE(opened, 0);
        QVERIFY(viewer->isVisible());
        QVERIFY(!ini().sectionExists("ReplyWindow"));
    }

    void hiddenCommandShortcutDoesNothing()
    {
        TFormNaviMessage* viewer = openViewer(false);
        QVERIFY(!viewer->ActionNaviReply->isVisible());
        viewer->activateWindow();
        QTest::keyClick(viewer, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!viewer->ActionNaviReplyExecute());
        QVERIFY(openWindows<TFormReply>().isEmpty());
        QVERIFY(viewer->isVisible());
        QVERIFY(!ini().sectionExists("ReplyWindow"));
    }

    void openOnTheMessageTab_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("open") << false;
        QTest::newRow("question cancelled") << true;
    }
    void openOnTheMessageTab()
    {
        QFETCH(bool, cancel);
        navi->options.confirmationNaviOpen = cancel;
        if (cancel)
            app->dialogs().queue(Dialogs::Answer::Cancel);
        navi->PageControlMain->setCurrentIndex(1);
        navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "000"));
        int unread = -1;
        for (int i = 0; i < navi->ListViewNavi->rowCount(); ++i) {
            const NaviRow item = navi->ListViewNavi->row(i);
            if (item.aid == "a1" && item.number == "2")
                unread = i;
        }
        QVERIFY(unread >= 0);
        navi->ListViewNavi->selectRow(unread);
        navi->action("ActionNaviOpenMessage")->trigger();
        const bool read =
            Sql::scalar(navi->connection, "SELECT UnsealingFlg FROM T_Navi WHERE Aid='a1' AND "
                                          "BidId='b1' AND [Number]=2")
                .toBool();
        QCOMPARE(read, !cancel);
        QCOMPARE(openWindows<TFormNaviMessage>().size(), cancel ? 0 : 1);
        if (cancel) {
            QCOMPARE(app->dialogs().texts(), QStringList{"メッセージを開きますか？"});
            return;
        }
        TFormNaviMessage* viewer = openWindows<TFormNaviMessage>().first();
        QCOMPARE(viewer->windowTitle(), QString("時計(受信メッセージ)"));
        QCOMPARE(viewer->EditBidId->text(), QString("b1"));
        QCOMPARE(viewer->EditBidName->text(), QString("山田"));
        QCOMPARE(viewer->MemoMessage->toPlainText(), QString("振り込みました"));
        QCOMPARE(viewer->messageNumber, 2);
        QCOMPARE(navi->ListViewNavi->picture(unread), NaviPicture::read);
    }

    void openOnTheListingTab()
    {
        navi->listingTab().ToolButtonBidSearchSearchClick();
        navi->PanelBidNavi->show();
        navi->resize(1400, 700);
        BidRow listing = navi->ListViewBid->findBidItem("a1", "b1");
        QVERIFY(listing);
        listing->setSelected(true);
        navi->ListViewBid->setCurrentItem(listing);
        QTRY_COMPARE(navi->listingTab().currentBidItem, listing);
        navi->listingTab().TimerListViewBidTimer();
        QTRY_COMPARE(navi->EditBidAid->text(), QString("a1"));
        QTRY_COMPARE(navi->ListViewBidNavi->topLevelItemCount(), 3);
        for (int i = 0; i < 3; ++i)
            if (NaviListItem::of(navi->ListViewBidNavi->topLevelItem(i))->row().number == "2")
                navi->ListViewBidNavi->setCurrentItem(navi->ListViewBidNavi->topLevelItem(i));
        navi->action("ActionNaviOpenMessage")->trigger();
        QCOMPARE(openWindows<TFormNaviMessage>().size(), 1);
        TFormNaviMessage* viewer = openWindows<TFormNaviMessage>().first();
        QCOMPARE(viewer->windowTitle(), QString("時計(受信メッセージ)"));
        QCOMPARE(viewer->EditAid->text(), QString("a1"));
        QCOMPARE(viewer->messageNumber, 2);
        QVERIFY(Sql::scalar(navi->connection, "SELECT UnsealingFlg FROM T_Navi WHERE Aid='a1' "
                                              "AND BidId='b1' AND [Number]=2")
                    .toBool());
    }

    void listShowsOneWinnersTransaction()
    {
        TFormAuctionNaviList* list = openList("a1", "b1");
        QTRY_VERIFY(list->isLoaded());
        QCOMPARE(list->windowTitle(), QString("時計"));
        QCOMPARE(list->ListViewNavi->topLevelItemCount(), 3);
        QStringList pictures;
        for (int i = 0; i < 3; ++i) {
            const NaviListItem* item = NaviListItem::of(list->ListViewNavi->topLevelItem(i));
            pictures << QString::number(item->picture()) + ":" + item->row().number;
            QVERIFY(item->data(1, Qt::FontRole).isNull());
            QVERIFY(item->data(1, Qt::BackgroundRole).isNull());
        }
        QCOMPARE(pictures, (QStringList{"0:2", "1:1", "3:3"}));
        QCOMPARE(list->statusPanels[0]->text(), QString("住所：●"));
        QCOMPARE(list->statusPanels[1]->text(), QString("入金："));
        QCOMPARE(list->statusPanels[4]->text(), QString("終了："));
        QTRY_COMPARE(list->EditNaviSubject->text(), QString("入金"));
        QCOMPARE(list->EditNaviWriter->text(), QString("b1"));
        QCOMPARE(list->MemoMessage->toPlainText(), QString("振り込みました"));
    }

    void listOfEmptyOrUnlistedTransaction_data()
    {
        QTest::addColumn<QString>("aid");
        QTest::addColumn<QString>("bidId");
        QTest::addColumn<int>("rows");
        QTest::newRow("no messages") << "a1"
                                     << "b9" << 0;
        QTest::newRow("no listing row") << "a7"
                                        << "b7" << 1;
    }
    void listOfEmptyOrUnlistedTransaction()
    {
        QFETCH(QString, aid);
        QFETCH(QString, bidId);
        QFETCH(int, rows);
        TFormAuctionNaviList* list = openList(aid, bidId);
        QTRY_VERIFY(list->isLoaded());
        QCOMPARE(list->ListViewNavi->topLevelItemCount(), rows);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(list->statusPanels[i]->text(), CommonDefine::flagCaptions[i]);
    }

    void failedListLoadIsReportedOnce()
    {
        auto* list = new TFormAuctionNaviList("no-such-connection", 12);
        list->aid = "a1";
        list->show();
        QTRY_VERIFY(list->isLoaded());
        list->AppIdle();
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::Error);
        QCOMPARE(list->ListViewNavi->topLevelItemCount(), 0);
    }

    void mainWindowOpensTheListForTheChosenListing()
    {
        navi->listingTab().ToolButtonBidSearchSearchClick();
        BidRow listing = navi->ListViewBid->findBidItem("a1", "b2");
        listing->setSelected(true);
        navi->ListViewBid->setCurrentItem(listing);
        QTRY_COMPARE(navi->listingTab().currentBidItem, listing);
        navi->action("ActionShowSelectAuctionIdNaviList")->trigger();
        TFormAuctionNaviList* list = openWindows<TFormAuctionNaviList>().first();
        QCOMPARE(list->bidId, QString("b2"));
        QTRY_VERIFY(list->isLoaded());
        QCOMPARE(list->ListViewNavi->topLevelItemCount(), 1);
        QCOMPARE(list->statusPanels[1]->text(), QString("入金：●"));
        QCOMPARE(list->statusPanels[0]->text(), QString("住所："));
    }

    void listOpenerHandsOverTheFocusedRow_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("chooseRow");
        QTest::addColumn<QString>("bidId");
        QTest::newRow("listing tab") << 0 << true << "b2";
        QTest::newRow("message tab") << 1 << true << "b1";
        QTest::newRow("listing tab, no row") << 0 << false << "";
        QTest::newRow("message tab, no row") << 1 << false << "";
    }
    void listOpenerHandsOverTheFocusedRow()
    {
        QFETCH(int, tab);
        QFETCH(bool, chooseRow);
        QFETCH(QString, bidId);
        navi->listingTab().ToolButtonBidSearchSearchClick();
        navi->PageControlMain->setCurrentIndex(tab);
        if (tab == 1)
            navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "000"));
        if (tab == 1) {
            NaviFolderList* list = navi->ListViewNavi;
            int row = -1;
            for (int i = 0; i < list->rowCount() && chooseRow; ++i) {
                const NaviRow candidate = list->row(i);
                if (candidate.bidId == bidId && candidate.aid == "a1")
                    row = i;
            }
            QCOMPARE(row >= 0, chooseRow);
            list->selectRow(row);
            if (row >= 0)
                QTRY_COMPARE(navi->messageTab().currentNaviItem.row(), row);
            else
                QTRY_VERIFY(!navi->messageTab().currentNaviItem.isValid());
        } else {
            BidListView* list = navi->ListViewBid;
            BidRow row;
            for (int i = 0; i < list->topLevelItemCount() && chooseRow; ++i) {
                const BidRow candidate = list->topLevelItem(i);
                if (candidate->text(1) == "a1" && candidate->text(3) == bidId)
                    row = candidate;
            }
            QCOMPARE(bool(row), chooseRow);
            list->setCurrentItem(row);
            if (row)
                QTRY_COMPARE(navi->listingTab().currentBidItem, row);
            else
                QTRY_VERIFY(!navi->listingTab().currentBidItem);
        }
        QAction* command = navi->action("ActionShowSelectAuctionIdNaviList");
        command->setEnabled(true);
        command->trigger();
        const QList<TFormAuctionNaviList*> shown = openWindows<TFormAuctionNaviList>();
        QCOMPARE(shown.size(), chooseRow ? 1 : 0);
        if (!chooseRow)
            return;
        TFormAuctionNaviList* opened = shown.first();
        QCOMPARE(opened->aid, QString("a1"));
        QCOMPARE(opened->title, QString("時計"));
        QCOMPARE(opened->bidId, bidId);
        QCOMPARE(opened->loginId, seller);
        QVERIFY(!opened->parentWidget());
    }

    void searchOpenerHandsOverTheAccount()
    {
        QAction* command = navi->action("ActionFindNavi");
        QVERIFY(command->isEnabled());
        command->trigger();
        command->trigger();
        const QList<TFormFindNavi*> shown = openWindows<TFormFindNavi>();
        QCOMPARE(shown.size(), 2);
        for (TFormFindNavi* find : shown) {
            QCOMPARE(find->loginId, seller);
            QCOMPARE(find->windowTitle(), "ナビ検索(" + seller + ")");
        }
    }
};

QTEST_MAIN(TestViewer)
#include "test_viewer.moc"
