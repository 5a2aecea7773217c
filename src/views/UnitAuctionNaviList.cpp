#include "views/UnitAuctionNaviList.h"

#include "platform/ChildTeardown.h"
#include "common/CommonDefine.h"
#include "platform/CtrlClickSelect.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/ParentlessWindow.h"
#include "platform/SelectAll.h"
#include "platform/Sql.h"
#include "platform/WheelRouter.h"
#include "platform/WindowPlacement.h"
#include "views/AuctionNaviQuery.h"
#include "views/NaviListItem.h"
#include "views/NaviSelectionDelay.h"
#include "views/SideListLayout.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

TFormAuctionNaviList::TFormAuctionNaviList(const QString& connectionName, int messageFontSize)
    : m_connectionName(connectionName), m_messageFontSize(messageFontSize)
{
    setObjectName("FormAuctionNaviList");
    ParentlessWindow::setUp(this);
    buildLayout();
    connectSignals();
    m_placement = new WindowPlacement(this, QString::fromLatin1(section),
                                      WindowPlacement::MinimisedAs::Normal);
}

TFormAuctionNaviList::~TFormAuctionNaviList()
{
    detachChildren(this);
}

void TFormAuctionNaviList::buildLayout()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName("MainMenuFile");
    MainMenuFileClose = file->addAction(QStringLiteral("閉じる(&C)"));
    MainMenuFileClose->setObjectName("MainMenuFileClose");
    MainMenuFileClose->setShortcut(QKeySequence(Qt::Key_Escape));
    ActionAllSelect = new QAction(QStringLiteral("全て選択(&A)"), this);
    ActionAllSelect->setObjectName("ActionAllSelect");
    ActionAllSelect->setShortcut(QKeySequence("Ctrl+A"));
    addAction(ActionAllSelect);

    Splitter = new QSplitter(Qt::Vertical, this);
    Splitter->setObjectName("Splitter");
    ListViewNavi = new QTreeWidget(Splitter);
    ListViewNavi->setObjectName("ListViewNavi");
    NaviListView::setupListViewNavi(ListViewNavi);
    ListViewNavi->setDragEnabled(false);
    auto* lower = new QWidget(Splitter);
    auto* lowerColumn = new QVBoxLayout(lower);
    lowerColumn->setContentsMargins(0, 0, 0, 0);
    PanelNaviSelect = new QWidget(lower);
    PanelNaviSelect->setObjectName("PanelNaviSelect");
    auto* form = new QFormLayout(PanelNaviSelect);
    auto makeEdit = [this, form](const char* name, const QString& label) {
        auto* edit = new QLineEdit(PanelNaviSelect);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        edit->setFrame(false);
        CtrlClickSelect::install(edit);
        form->addRow(label, edit);
        return edit;
    };
    EditNaviID = makeEdit("EditNaviID", QStringLiteral("ID："));
    EditNaviWriter = makeEdit("EditNaviWriter", QStringLiteral("投稿者："));
    EditNaviTitle = makeEdit("EditNaviTitle", QStringLiteral("商品名："));
    EditNaviSubject = makeEdit("EditNaviSubject", QStringLiteral("件名："));
    EditNaviDate = makeEdit("EditNaviDate", QStringLiteral("投稿日時："));
    lowerColumn->addWidget(PanelNaviSelect);
    MemoMessage = new QPlainTextEdit(lower);
    MemoMessage->setObjectName("MemoMessage");
    MemoMessage->setReadOnly(true);
    lowerColumn->addWidget(MemoMessage, 1);
    Splitter->setStretchFactor(1, 1);
    setCentralWidget(Splitter);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    for (int i = 0; i < 6; ++i) {
        auto* panel = new QLabel(StatusBar);
        panel->setMinimumWidth(50);
        StatusBar->addWidget(panel);
        statusPanels << panel;
    }
    setStatusBar(StatusBar);
}

void TFormAuctionNaviList::connectSignals()
{
    connect(MainMenuFileClose, &QAction::triggered, this, &QWidget::close);
    connect(ActionAllSelect, &QAction::triggered, this,
            &TFormAuctionNaviList::ActionAllSelectExecute);
    m_delay =
        new NaviSelectionDelay(ListViewNavi, MemoMessage, NaviSelectionDelay::defaultDelayMs, this);
    m_delay->timer()->setObjectName("TimerListViewNavi");
    m_delay->setDetailFields(
        {EditNaviID, EditNaviTitle, EditNaviWriter, EditNaviSubject, EditNaviDate, MemoMessage});
    connect(ListViewNavi->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        sortType = NaviListView::nextSortType(column, sortColumn, sortType);
        sortColumn = column;
        NaviListView::sort(ListViewNavi, sortColumn, sortType);
    });
    m_wheel = new WheelRouter(this);
    m_wheel->track(ListViewNavi);
    m_wheel->track(MemoMessage, true);
    connect(m_wheel, &WheelRouter::fontStepRequested, this, [](QWidget* control, bool towardsUser) {
        WheelRouter::stepFont(control, towardsUser);
    });
}

QTimer* TFormAuctionNaviList::TimerListViewNavi() const
{
    return m_delay->timer();
}

void TFormAuctionNaviList::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFormAuctionNaviList::FormShow()
{
    setWindowTitle(title);
    const IniFile ini(CommonDefine::settingIniPath());
    const int state = m_placement->restore(ini);
    if (layout())
        layout()->activate();
    const QString sectionName = QString::fromLatin1(section);
    SideListLayout::read(ini, sectionName, QStringLiteral("NaviListHeight"), Splitter,
                         ListViewNavi);
    sortColumn = ini.readInteger(sectionName, QStringLiteral("SortColumnBidNavi"), 0);
    sortType = ini.readInteger(sectionName, QStringLiteral("SortTypeNavi"), 0);
    if (state == 2)
        setWindowState(Qt::WindowMaximized);
    if (m_messageFontSize > 0) {
        QFont font = MemoMessage->font();
        font.setPointSize(m_messageFontSize);
        MemoMessage->setFont(font);
    }
    QTimer::singleShot(0, this, &TFormAuctionNaviList::AppIdle);
}

void TFormAuctionNaviList::AppIdle()
{
    if (m_loaded || m_closed)
        return;
    // Loaded once: a failed load leaves the list empty and is not tried again.
    m_loaded = true;
    QList<NaviRow> rows;
    QStringList flags;
    try {
        const QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        rows = AuctionNaviQuery::messages(db, aid, bidId, loginId);
        flags = AuctionNaviQuery::flags(db, aid, bidId);
    } catch (const DatabaseError& error) {
        ListViewNavi->clear();
        Dialogs::showError(this, CommonDefine::applicationTitle, QString::fromUtf8(error.what()));
        return;
    }
    NaviListView::fill(ListViewNavi, NaviList::Listing, rows);
    NaviListView::sort(ListViewNavi, sortColumn, sortType);
    if (QTreeWidgetItem* first = ListViewNavi->topLevelItem(0)) {
        ListViewNavi->setCurrentItem(first);
        first->setSelected(true);
    }
    const QStringList texts = AuctionNaviQuery::flagPanelTexts(flags);
    for (int i = 0; i < texts.size(); ++i)
        statusPanels[i]->setText(texts[i]);
}

void TFormAuctionNaviList::ActionAllSelectExecute()
{
    QWidget* focused = QApplication::focusWidget();
    if (!focused || focused->window() != this)
        return;
    if (focused == ListViewNavi)
        ListViewNavi->selectAll();
    else
        SelectAll::select(focused, SelectAll::LineEdits | SelectAll::PlainTexts);
}

void TFormAuctionNaviList::closeEvent(QCloseEvent* event)
{
    FormClose();
    QMainWindow::closeEvent(event);
}

void TFormAuctionNaviList::FormClose()
{
    if (m_closed || !m_shown)
        return;
    m_closed = true;
    m_delay->timer()->stop();
    IniFile ini(CommonDefine::settingIniPath());
    IniFile::Batch batch(ini);
    m_placement->save(ini);
    const QString sectionName = QString::fromLatin1(section);
    SideListLayout::write(ini, sectionName, QStringLiteral("NaviListHeight"), Splitter,
                          ListViewNavi);
    ini.writeInteger(sectionName, QStringLiteral("SortColumnBidNavi"), sortColumn);
    ini.writeInteger(sectionName, QStringLiteral("SortTypeNavi"), sortType);
    batch.save();
}
