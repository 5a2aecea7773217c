// The listing tab's controller on its own: real widgets and a real database file, the main
// window replaced by a recording side. What crosses to the window goes through that side only.
#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"

#include "common/NaviSession.h"
#include "platform/Database.h"
#include "site/EndTimeControl.h"
#include "views/BidListColumns.h"
#include "views/BidListFindPanel.h"
#include "views/BidListView.h"
#include "views/BidSearchPanel.h"
#include "views/ListingTab.h"
#include "views/NaviActionState.h"
#include "views/NaviFolderList.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller01");

// What the listing tab asked of the window, in order.
class RecordingWindow final : public ListingTab::Window
{
public:
    QStringList calls;
    QLineEdit* bidderId = nullptr;

    void showBidderInfo(const QString& id, const QString& name) override
    {
        calls << "showBidderInfo " + id + ' ' + name;
        // The bidder panel shows the winner, as the window's panel does.
        bidderId->setText(id);
    }
    void clearBidderInfo() override { calls << "clearBidderInfo"; }
    void clearBidNaviDetail() override { calls << "clearBidNaviDetail"; }
    std::pair<int, int> bidNaviSort() const override { return {0, 0}; }
    void applyNaviActions(const NaviActionState&) override { calls << "applyNaviActions"; }
    void openBrowser() override { calls << "openBrowser"; }
    void downloadSelectedBoards() override { calls << "downloadSelectedBoards"; }
    void showSelectedMessageNow() override { calls << "showSelectedMessageNow"; }
};

class QuietEndTimeWindow final : public EndTimeControl::Window
{
public:
    void setHeldCommandsEnabled(bool) override {}
    void showEndTime(const QString&, const QString&) override {}
};

// The components the tab acts on, in one host widget, over a session on the test's database.
struct Harness
{
    TestDataFolder data;
    NaviSession session;
    RecordingWindow window;
    QuietEndTimeWindow endTimeWindow;
    QWidget host;
    QTimer endTimeTimer;
    std::unique_ptr<EndTimeControl> endTime;
    ListingTab::Widgets w;
    std::unique_ptr<ListingTab> tab;

    Harness()
    {
        session.connection = Database::open(QStringLiteral("listingtab"));
        session.loginId = seller;
        FixtureDb::addListing(session.connection,
                              {.aid = "a1", .bidId = "b1", .loginId = seller, .title = "時計"});
        FixtureDb::addListing(session.connection,
                              {.aid = "a2", .bidId = "b2", .loginId = seller, .index = 2});
        FixtureDb::addMessage(session.connection,
                              {.aid = "a1", .bidId = "b1", .number = 1, .loginId = seller});
        endTime = std::make_unique<EndTimeControl>(session, endTimeWindow, &endTimeTimer);

        w.PageControlMain = new QTabWidget(&host);
        w.PageControlMain->addTab(new QWidget, "listing");
        w.PageControlMain->addTab(new QWidget, "messages");
        w.ListViewBid = new BidListView(&host);
        w.PanelBidSearch = new BidSearchPanel(&host);
        w.PanelBidListFind = new BidListFindPanel(&host);
        w.statusPanelRows = new QLabel(&host);
        w.statusPanelTotal = new QLabel(&host);
        w.TimerEndDateTime = &endTimeTimer;
        w.PanelBid = new QWidget(&host);
        w.EditBidId = new QLineEdit(&host);
        w.PanelMemoWrite = new QWidget(&host);
        w.EditMemoWrite = new QLineEdit(&host);
        w.PanelBidNavi = new QWidget(&host);
        w.EditBidAid = new QLineEdit(&host);
        w.EditBidTitle = new QLineEdit(&host);
        w.EditBidNaviBidId = new QLineEdit(&host);
        w.ListViewBidNavi = new QTreeWidget(&host);
        w.TreeViewNavi = new QTreeWidget(&host);
        w.ListViewNavi = new NaviFolderList(&host);
        w.MemoNavi = new QPlainTextEdit(&host);
        w.MainMenuNavi = new QMenu(&host);
        w.ComboBoxInputCarriage = new QComboBox(&host);
        w.ComboBoxInputCarriage->setEditable(true);
        w.ComboBoxInputForwarding = new QComboBox(&host);
        w.EditInputForwarding = new QLineEdit(w.ComboBoxInputForwarding);
        w.CheckBoxMemo2PluralWrite = new QCheckBox(&host);
        w.ProgressBar = new QProgressBar(&host);
        w.ProgressBar2 = new QProgressBar(&host);
        for (QAction** command :
             {&w.ActionNaviDownloadSelect, &w.ActionFlgConfirm, &w.MainMenuContactConfirm,
              &w.MainMenuEvaluationFlgConfirm, &w.ActionShowBidInfo, &w.ActionShowMemoWrite,
              &w.ActionShowBidNaviPanel}) {
            *command = new QAction(&host);
            (*command)->setCheckable(true);
        }
        window.bidderId = w.EditBidId;
        tab = std::make_unique<ListingTab>(session, window, *endTime, w);
        tab->setUpInputs();
        QObject::connect(w.ListViewBid, &BidListView::itemSelectionChanged, tab.get(),
                         &ListingTab::ListViewBidChange);
        QObject::connect(tab->TimerListViewBid, &QTimer::timeout, tab.get(),
                         &ListingTab::TimerListViewBidTimer);
    }
    ~Harness()
    {
        tab.reset();
        session.connection = QSqlDatabase();
        Database::close(QStringLiteral("listingtab"));
    }

    BidRow row(const QString& aid) const
    {
        for (int i = 0; i < w.ListViewBid->topLevelItemCount(); ++i)
            if (w.ListViewBid->bidItem(i)->subItem(BidListColumns::Aid) == aid)
                return w.ListViewBid->bidItem(i);
        return nullptr;
    }
};

} // namespace

class TestListingTab : public QObject
{
    Q_OBJECT

private slots:
    // The query lists the account's rows and empties the panels through the window; choosing
    // a row fills the bidder panel once, after the delay, and the message panel from the
    // database; choosing it again while the panels show it asks nothing more.
    void queryAndDetailFillGoThroughTheWindow()
    {
        Harness h;
        h.tab->ToolButtonBidSearchSearchClick();
        QCOMPARE(h.w.ListViewBid->topLevelItemCount(), 2);
        QVERIFY(h.window.calls.contains("clearBidderInfo"));
        QVERIFY(h.window.calls.contains("clearBidNaviDetail"));
        QVERIFY(!h.w.statusPanelRows->text().isEmpty());
        h.window.calls.clear();

        const BidRow first = h.row("a1");
        const QString name = first.subItem(BidListColumns::Name);
        first->setSelected(true);
        QCOMPARE(h.tab->currentBidItem, first);
        QTRY_COMPARE(h.window.calls.filter("showBidderInfo"),
                     QStringList{"showBidderInfo b1 " + name});
        QCOMPARE(h.w.EditBidAid->text(), QString("a1"));
        QCOMPARE(h.w.EditBidTitle->text(), QString("時計"));
        QCOMPARE(h.w.ListViewBidNavi->topLevelItemCount(), 1);

        h.tab->ListViewBidChange();
        QVERIFY(!h.tab->TimerListViewBid->isActive());

        // A query forgets the row, so a late tick fills nothing.
        first->setSelected(false);
        h.row("a2")->setSelected(true);
        QVERIFY(h.tab->TimerListViewBid->isActive());
        h.tab->ToolButtonBidSearchSearchClick();
        QVERIFY(!h.tab->TimerListViewBid->isActive());
        QVERIFY(!h.tab->currentBidItem);
    }

    // Enter on the listing list runs the chosen operation through the window; the board
    // download only while its command is offered. Other keys are left to the list.
    void enterRunsTheChosenOperation_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("downloadOffered");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("browser") << 0 << true << QStringList{"openBrowser"};
        QTest::newRow("board download") << 1 << true << QStringList{"downloadSelectedBoards"};
        QTest::newRow("board download not offered") << 1 << false << QStringList();
        QTest::newRow("no operation") << 2 << true << QStringList();
    }
    void enterRunsTheChosenOperation()
    {
        QFETCH(int, operation);
        QFETCH(bool, downloadOffered);
        QFETCH(QStringList, calls);
        Harness h;
        h.session.options.operationBidListEnter = operation;
        h.w.ActionNaviDownloadSelect->setEnabled(downloadOffered);

        const QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QVERIFY(!h.tab->ListViewBidKeyPress(&letter));
        QVERIFY(h.window.calls.isEmpty());
        const QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QVERIFY(h.tab->ListViewBidKeyPress(&enter));
        QCOMPARE(h.window.calls, calls);
    }
};

QTEST_MAIN(TestListingTab)
#include "test_listingtab.moc"
