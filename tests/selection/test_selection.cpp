// Selecting, double-clicking and pressing Enter in the listing list: the price total, the delayed
// fill of the panels, the message commands' state, the flag toggle and the chosen operations.
#include "support/FixtureDb.h"
#include "support/MainWindowFixture.h"
#include "support/NaviBoardSite.h"

#include "app/UnitNavi.h"
#include "platform/Database.h"
#include "platform/Sql.h"
#include "site/DownloadControl.h"
#include "site/LoginControl.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/ListingTab.h"
#include "views/NaviActionState.h"
#include "views/NaviListItem.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

using Flags = QMap<QString, bool>;

namespace {

const QString seller = QStringLiteral("seller01");

} // namespace

class TestSelection : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;

    BidRow row(const QString& aid) const
    {
        for (int i = 0; i < navi->ListViewBid->topLevelItemCount(); ++i)
            if (navi->ListViewBid->bidItem(i)->subItem(BidListColumns::Aid) == aid)
                return navi->ListViewBid->bidItem(i);
        return nullptr;
    }
    QString total() const { return navi->statusPanels[2]->text(); }
    // Double-clicks the first selected row in the header column, the pointer placed there.
    void doubleClickAt(int x)
    {
        const BidRow first = navi->ListViewBid->selectedItems().first();
        const QRect rect = navi->ListViewBid->visualItemRect(first);
        const QPoint at(x, rect.center().y());
        QCursor::setPos(navi->ListViewBid->viewport()->mapToGlobal(at));
        QTest::mouseDClick(navi->ListViewBid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    int columnCentre(int subItem) const
    {
        QHeaderView* header = navi->ListViewBid->header();
        const int column = BidListColumns::column(subItem);
        return header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        app->serveBoards(seller);
        {
            Database::ScopedConnection db;
            FixtureDb::addListing(db.db(), {.aid = "a1",
                                            .bidId = "b1",
                                            .loginId = seller,
                                            .title = "時計",
                                            .price = "1000",
                                            .index = 4});
            FixtureDb::addListing(
                db.db(),
                {.aid = "a2", .bidId = "b2", .loginId = seller, .price = "2500", .index = 3});
            FixtureDb::addListing(
                db.db(), {.aid = "a3", .bidId = "b3", .loginId = seller, .price = "", .index = 2});
            FixtureDb::addListing(
                db.db(),
                {.aid = "a4", .bidId = "b4", .loginId = seller, .price = "3000000000", .index = 1});
            FixtureDb::addMessage(
                db.db(),
                {.aid = "a1", .bidId = "b1", .number = 1, .loginId = seller, .subject = "最初"});
            FixtureDb::addMessage(
                db.db(),
                {.aid = "a1", .bidId = "b1", .number = 2, .received = false, .loginId = seller});
            FixtureDb::addBidder(db.db(), {.id = "b1", .name = "山田", .mail = "y@example.jp"});
        }
        navi = app->start();
        navi->loginControl().updateLoginId();
        QCOMPARE(navi->loginId, seller);
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QCOMPARE(navi->ListViewBid->topLevelItemCount(), 4);
        navi->PanelBidNavi->show();
        navi->resize(1400, 700);
        for (int c = 0; c < navi->ListViewBid->columnCount(); ++c)
            navi->ListViewBid->setColumnWidth(c, 40);
    }
    void cleanup() { app.reset(); }

    void totalFollowsTheSelection()
    {
        row("a1")->setSelected(true);
        row("a2")->setSelected(true);
        QCOMPARE(total(), QString("合計価格：3500"));
        // An empty price counts 0.
        row("a3")->setSelected(true);
        QCOMPARE(total(), QString("合計価格：3500"));
        // Beyond 32 bits.
        row("a4")->setSelected(true);
        QCOMPARE(total(), QString("合計価格：3000003500"));
        QCOMPARE(navi->listingTab().selectedPriceTotal, Q_INT64_C(3000003500));
        row("a4")->setSelected(false);
        row("a1")->setSelected(false);
        row("a2")->setSelected(false);
        QCOMPARE(total(), QString("合計価格：0"));

        row("a2")->setSelected(true);
        navi->listingTab().ToolButtonBidSearchSearchClick();
        row("a1")->setSelected(true);
        QCOMPARE(total(), QString("合計価格：1000"));

        // A price cell written after the query counts its new text; a non-number counts 0.
        row("a2")->setText(BidListColumns::column(BidListColumns::Price), "4000");
        row("a2")->setSelected(true);
        QCOMPARE(total(), QString("合計価格：5000"));
        row("a2")->setText(BidListColumns::column(BidListColumns::Price), "4千");
        row("a3")->setSelected(true);
        QCOMPARE(total(), QString("合計価格：1000"));
    }

    void restingSelectionFillsThePanelsOnce()
    {
        navi->ListViewBid->setFocus();
        navi->ListViewBid->setCurrentItem(navi->ListViewBid->topLevelItem(0));
        const QString firstAid =
            navi->ListViewBid->topLevelItem(0)->text(BidListColumns::column(BidListColumns::Aid));
        QTRY_COMPARE(navi->EditBidAid->text(), firstAid);
        QSignalSpy aidShown(navi->EditBidAid, &QLineEdit::textChanged);
        QSignalSpy bidderShown(navi->EditBidId, &QLineEdit::textChanged);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(navi->ListViewBid, Qt::Key_Down);
        QCOMPARE(navi->ListViewBid->currentItem(), navi->ListViewBid->topLevelItem(3));
        const QString lastAid =
            navi->ListViewBid->topLevelItem(3)->text(BidListColumns::column(BidListColumns::Aid));
        QTRY_COMPARE(navi->EditBidAid->text(), lastAid);
        QVERIFY(!navi->listingTab().TimerListViewBid->isActive());
        QCOMPARE(aidShown.count(), 1);
        QCOMPARE(bidderShown.count(), 1);
    }

    void detailFillShowsTheTransaction()
    {
        row("a1")->setSelected(true);
        navi->ListViewBid->setCurrentItem(row("a1"));
        QTRY_COMPARE(navi->EditBidAid->text(), QString("a1"));
        QCOMPARE(navi->listingTab().currentBidItem, row("a1"));
        QCOMPARE(navi->EditBidTitle->text(), QString("時計"));
        QCOMPARE(navi->EditBidNaviBidId->text(), QString("b1"));
        QCOMPARE(navi->EditBidId->text(), QString("b1"));
        QCOMPARE(navi->EditBidName->text(), QString("山田"));
        QCOMPARE(navi->EditBidMail->text(), QString("y@example.jp"));
        QCOMPARE(navi->ListViewBidNavi->topLevelItemCount(), 2);
        QCOMPARE(navi->ListViewBidNavi->selectedItems().size(), 1);
        QVERIFY(!navi->EditBidNaviSubject->text().isEmpty());

        // A new query stops the fill under way and forgets its row.
        navi->ListViewBid->setCurrentItem(row("a2"));
        QVERIFY(navi->listingTab().TimerListViewBid->isActive());
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QVERIFY(!navi->listingTab().TimerListViewBid->isActive());
        QVERIFY(!navi->listingTab().currentBidItem);
        for (QLineEdit* edit : {navi->EditBidAid, navi->EditBidTitle, navi->EditBidNaviBidId,
                                navi->EditBidNaviSubject, navi->EditBidId})
            QVERIFY(edit->text().isEmpty());
        QCOMPARE(navi->ListViewBidNavi->topLevelItemCount(), 0);
    }

    void listingTabMessageCommandsFollowTheChosenMessage()
    {
        QAction* extract = navi->action("ActionGetBidInfo");
        row("a1")->setSelected(true);
        navi->ListViewBid->setCurrentItem(row("a1"));
        QTRY_COMPARE(navi->ListViewBidNavi->topLevelItemCount(), 2);
        for (int i = 0; i < 2; ++i) {
            QTreeWidgetItem* item = navi->ListViewBidNavi->topLevelItem(i);
            navi->ListViewBidNavi->setCurrentItem(item);
            const bool received = NaviListItem::of(item)->isReceived();
            QCOMPARE(extract->isEnabled(), received);
            QCOMPARE(navi->PopupMenuNaviListReply->isVisible(), received);
            QCOMPARE(navi->PopupMenuNaviListMake->isVisible(), !received);
            QVERIFY(navi->MainMenuNavi->isEnabled());
        }
    }

    void naviActionsDecision_data()
    {
        QTest::addColumn<bool>("naviTab");
        QTest::addColumn<QString>("folderId");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("panel");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("picture");
        QTest::addColumn<Flags>("enabled");
        QTest::addColumn<Flags>("visible");
        const Flags listingAlways{{"ActionShowSelectAuctionIdNaviList", true},
                                  {"ActionShowSelectBidIdList", true},
                                  {"ActionNaviMake", true},
                                  {"ToolButtonBidSearch", true},
                                  {"ToolButtonNaviFind", false}};
        auto listing = [&](bool menu, bool open, bool reply) {
            Flags flags = listingAlways;
            flags["MainMenuNavi"] = menu;
            for (const char* name : {"ActionNaviOpenMessage", "ActionPrintNaviMessage",
                                     "ActionPrintPreviewNaviMessage"})
                flags[name] = open;
            for (const char* name : {"ActionNaviReply", "ActionNaviUnsealing",
                                     "ActionNaviUnunsealing", "ActionGetBidInfo"})
                flags[name] = reply;
            return flags;
        };
        auto replyItems = [](bool reply) {
            return Flags{{"PopupMenuNaviListReply", reply}, {"PopupMenuNaviListMake", !reply}};
        };
        QTest::newRow("listing, panel hidden") << false << "" << -1 << false << 1 << 0
                                               << listing(false, false, false) << replyItems(false);
        QTest::newRow("listing, nothing chosen")
            << false << "" << -1 << true << 0 << -1 << listing(true, false, false)
            << replyItems(false);
        QTest::newRow("listing, unread received")
            << false << "" << -1 << true << 1 << 0 << listing(true, true, true) << replyItems(true);
        QTest::newRow("listing, read received")
            << false << "" << -1 << true << 1 << 1 << listing(true, true, true) << replyItems(true);
        QTest::newRow("listing, sent: open and print only")
            << false << "" << -1 << true << 1 << 3 << listing(true, true, false)
            << replyItems(false);

        auto naviTab = [](std::optional<bool> received, bool root, std::optional<bool> newFolder) {
            Flags flags{{"ActionNaviMake", false},
                        {"MainMenuNavi", true},
                        {"ActionShowSelectAuctionIdNaviList", true},
                        {"ActionNaviOpenMessage", true},
                        {"ActionPrintNaviMessage", true},
                        {"ActionPrintPreviewNaviMessage", true},
                        {"ActionTreeNaviDeleteFolder", !root},
                        {"ActionTreeNaviReNameFolder", !root}};
            if (received)
                for (const char* name :
                     {"ActionNaviReply", "ActionNaviUnsealing", "ActionNaviUnunsealing",
                      "ActionGetBidInfo", "ActionShowSelectBidIdList"})
                    flags[name] = *received;
            if (newFolder)
                flags["PopupMenuTreeNaviNewFolder"] = *newFolder;
            return flags;
        };
        QTest::newRow("message tab, received root")
            << true << "000" << 0 << false << 0 << -1 << naviTab(true, true, true)
            << Flags{{"PopupMenuNaviListReply", true}, {"PopupMenuNaviListMake", false}};
        QTest::newRow("message tab, sent folder")
            << true << "001123" << 1 << true << 1 << 0 << naviTab(false, false, std::nullopt)
            << Flags{{"PopupMenuNaviListReply", false}, {"PopupMenuNaviListMake", false}};
        QTest::newRow("message tab, other root")
            << true << "003" << 10 << false << 0 << -1 << naviTab(std::nullopt, true, std::nullopt)
            << Flags{};
    }
    void naviActionsDecision()
    {
        QFETCH(bool, naviTab);
        QFETCH(QString, folderId);
        QFETCH(int, kind);
        QFETCH(bool, panel);
        QFETCH(int, selected);
        QFETCH(int, picture);
        QFETCH(Flags, enabled);
        QFETCH(Flags, visible);
        const NaviActionState state =
            decideNaviActions({naviTab, folderId, kind, panel, selected, picture});
        QCOMPARE(state.enabled, enabled);
        QCOMPARE(state.visible, visible);
        QCOMPARE(state.treeEditable.has_value(), naviTab);
        if (naviTab)
            QCOMPARE(*state.treeEditable, folderId.size() != 3);
    }

    void doubleClick_data()
    {
        QTest::addColumn<bool>("flagOption");
        QTest::addColumn<int>("subItem"); // -2: right of the last column
        QTest::addColumn<QString>("receiptBefore");
        QTest::addColumn<QString>("receiptAfter");
        QTest::addColumn<bool>("operationRuns");
        QTest::newRow("shipping, empty: set") << true << int(BidListColumns::ReceiptFlg) << ""
                                              << "●" << false;
        QTest::newRow("shipping, set: cleared") << true << int(BidListColumns::ReceiptFlg) << "済"
                                                << "" << false;
        QTest::newRow("URL column") << true << int(BidListColumns::Url) << ""
                                    << "" << true;
        QTest::newRow("option off") << false << int(BidListColumns::ReceiptFlg) << ""
                                    << "" << true;
        QTest::newRow("right of the last column") << true << -2 << ""
                                                  << "" << true;
    }
    void doubleClick()
    {
        QFETCH(bool, flagOption);
        QFETCH(int, subItem);
        QFETCH(QString, receiptBefore);
        QFETCH(QString, receiptAfter);
        QFETCH(bool, operationRuns);
        navi->options.bidDblClickFlgChange = flagOption;
        navi->options.operationBidListDblClick = 1;
        app->boards().addBoard("a1", "b1", {});
        app->boards().addBoard("a2", "b2", {});
        Sql::exec(navi->connection, "UPDATE T_BidData SET ReceiptFlg=:R", {{":R", receiptBefore}});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        for (int c = 0; c < navi->ListViewBid->columnCount(); ++c)
            navi->ListViewBid->setColumnWidth(c, 40);
        row("a1")->setSelected(true);
        row("a2")->setSelected(true);
        const int x =
            subItem == -2 ? navi->ListViewBid->header()->length() + 20 : columnCentre(subItem);
        QVERIFY(x < navi->ListViewBid->viewport()->width());
        doubleClickAt(x);
        if (operationRuns) {
            QTRY_VERIFY(app->boards().wasRequested(NaviBoardSite::boardTarget("a2", "b2")));
            QTRY_COMPARE(navi->downloadKind, 0);
        } else {
            QVERIFY(!app->log().contains("ナビ情報ダウンロード開始…"));
        }
        for (const char* aid : {"a1", "a2"}) {
            QCOMPARE(row(aid)->subItem(BidListColumns::ReceiptFlg),
                     operationRuns ? receiptBefore : receiptAfter);
            QCOMPARE(Sql::scalar(navi->connection, "SELECT ReceiptFlg FROM T_BidData WHERE Aid=:A",
                                 {{":A", QString(aid)}})
                         .toString(),
                     operationRuns ? receiptBefore : receiptAfter);
        }
        QCOMPARE(row("a3")->subItem(BidListColumns::ReceiptFlg), receiptBefore);
    }

    void enterRunsTheBoardDownloadUnlessOneRuns()
    {
        navi->options.operationBidListEnter = 1;
        app->boards().addBoard("a1", "b1", {});
        row("a1")->setSelected(true);
        navi->ListViewBid->setFocus();
        // While a download runs the command is not offered: Enter does nothing.
        navi->downloadControl().disableDownloadActions();
        QTest::keyClick(navi->ListViewBid, Qt::Key_Return);
        QVERIFY(app->site().requests().isEmpty() ||
                !app->boards().wasRequested(NaviBoardSite::boardTarget("a1", "b1")));
        QVERIFY(!app->log().contains("ナビ情報ダウンロード開始…"));
        navi->downloadControl().enableDownloadActions();
        QTest::keyClick(navi->ListViewBid, Qt::Key_Return);
        QTRY_VERIFY(app->boards().wasRequested(NaviBoardSite::boardTarget("a1", "b1")));
        QTRY_COMPARE(navi->downloadKind, 0);
        QVERIFY(app->log().contains("ナビ情報ダウンロード開始…"));

        // Operation 0 opens the in-app browser (closed here as soon as it shows), and neither
        // it nor another value starts a download.
        const int lines = navi->ListBoxMessage->count();
        QStringList modalShown;
        QTimer closer;
        closer.setInterval(10);
        connect(&closer, &QTimer::timeout, this, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modalShown << modal->metaObject()->className();
                modal->close();
            }
        });
        closer.start();
        for (int operation : {0, 7}) {
            navi->options.operationBidListEnter = operation;
            QTest::keyClick(navi->ListViewBid, Qt::Key_Enter);
        }
        closer.stop();
        QCOMPARE(modalShown, QStringList{"TFormBrowser"});
        QCOMPARE(navi->ListBoxMessage->count(), lines);
        QCOMPARE(navi->downloadKind, 0);
    }
};

QTEST_MAIN(TestSelection)
#include "test_selection.moc"
