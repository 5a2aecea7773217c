#include "views/UnitBidDataEtc.h"

#include "platform/ChildTeardown.h"
#include "common/CommonDefine.h"
#include "platform/CtrlClickSelect.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/ParentlessWindow.h"
#include "platform/ProgressBarRange.h"
#include "platform/SelectAll.h"
#include "platform/WheelRouter.h"
#include "platform/WindowPlacement.h"
#include "views/BidDataEtcColumns.h"
#include "views/BidDataEtcItem.h"
#include "views/BidDataEtcQuery.h"
#include "views/BidDataEtcSort.h"
#include "views/FontSizeMenu.h"
#include "views/ListSearchView.h"
#include "views/MemoText.h"
#include "views/NaviListItem.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString section = QStringLiteral("BidDataEtc");

// Rows are added for this long per turn of the event loop, so the list paints and the program
// answers while a long list loads.
constexpr int loadSliceMs = 40;
constexpr int loadBatchRows = 200;

QLineEdit* makeEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

} // namespace

TFormBidDataEtc::TFormBidDataEtc(const QSqlDatabase& connection, int memoFontSize, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_db(connection)
{
    setObjectName(QStringLiteral("FormBidDataEtc"));
    ParentlessWindow::setUp(this);
    buildLayout();
    buildMenus();
    buildFontSizeMenu();
    connectSignals();
    if (memoFontSize > 0)
        changeFontSize(memoFontSize);
    placement = new WindowPlacement(this, section, WindowPlacement::MinimisedAs::Normal);
}

TFormBidDataEtc::~TFormBidDataEtc()
{
    detachChildren(this);
}

QAction* TFormBidDataEtc::action(const char* name) const
{
    return findChild<QAction*>(QLatin1String(name));
}

void TFormBidDataEtc::buildLayout()
{
    SplitterBid = new QSplitter(Qt::Vertical, this);
    SplitterBid->setObjectName(QStringLiteral("SplitterBid"));
    SplitterBid->setChildrenCollapsible(false);
    setCentralWidget(SplitterBid);

    auto* top = new QWidget(SplitterBid);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);

    PanelBid = new QWidget(top);
    PanelBid->setObjectName(QStringLiteral("PanelBid"));
    auto* bidLayout = new QHBoxLayout(PanelBid);
    bidLayout->setContentsMargins(2, 2, 2, 2);
    const auto addField = [&](const char* label, QLineEdit* edit) {
        bidLayout->addWidget(new QLabel(QString::fromUtf8(label), PanelBid));
        bidLayout->addWidget(edit);
    };
    EditBidId = makeEdit(PanelBid, "EditBidId");
    EditBidId->setReadOnly(true);
    EditBidName = makeEdit(PanelBid, "EditBidName");
    EditBidMail = makeEdit(PanelBid, "EditBidMail");
    EditBidPost = makeEdit(PanelBid, "EditBidPost");
    EditBidAddress = makeEdit(PanelBid, "EditBidAddress");
    EditBidTel = makeEdit(PanelBid, "EditBidTel");
    addField("ID：", EditBidId);
    addField("氏名：", EditBidName);
    addField("メール：", EditBidMail);
    addField("〒：", EditBidPost);
    addField("住所：", EditBidAddress);
    addField("TEL：", EditBidTel);
    BitBtnBidSave = new QPushButton(QStringLiteral("保存"), PanelBid);
    BitBtnBidSave->setObjectName(QStringLiteral("BitBtnBidSave"));
    BitBtnBidSave->setVisible(false);
    bidLayout->addWidget(BitBtnBidSave);
    topLayout->addWidget(PanelBid);

    ListViewBid = new QTreeWidget(top);
    ListViewBid->setObjectName(QStringLiteral("ListViewBid"));
    ListViewBid->setColumnCount(BidDataEtcColumns::ColumnCount);
    QStringList captions;
    for (const char* caption : BidDataEtcColumns::HeaderCaptions)
        captions << QString::fromUtf8(caption);
    ListViewBid->setHeaderLabels(captions);
    ListViewBid->setRootIsDecorated(false);
    ListViewBid->setUniformRowHeights(true);
    ListViewBid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListViewBid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListViewBid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewBid->setSortingEnabled(false);
    ListViewBid->header()->setSectionsClickable(true);
    ListViewBid->header()->setSortIndicatorShown(true);
    topLayout->addWidget(ListViewBid, 1);

    PanelBidDataFind = new QWidget(top);
    PanelBidDataFind->setObjectName(QStringLiteral("PanelBidDataFind"));
    auto* findLayout = new QHBoxLayout(PanelBidDataFind);
    findLayout->setContentsMargins(2, 5, 2, 2);
    findLayout->addWidget(new QLabel(QStringLiteral("検索："), PanelBidDataFind));
    EditBidDataFind = makeEdit(PanelBidDataFind, "EditBidDataFind");
    findLayout->addWidget(EditBidDataFind);
    ComboBoxBidDataFind = new QComboBox(PanelBidDataFind);
    ComboBoxBidDataFind->setObjectName(QStringLiteral("ComboBoxBidDataFind"));
    ComboBoxBidDataFind->addItems({QStringLiteral("商品ID"), QStringLiteral("商品名"),
                                   QStringLiteral("落札者"), QStringLiteral("氏名")});
    ComboBoxBidDataFind->setCurrentIndex(0);
    findLayout->addWidget(ComboBoxBidDataFind);
    topLayout->addWidget(PanelBidDataFind);
    PanelBidDataFind->setVisible(false);

    PanelNavi = new QSplitter(Qt::Horizontal, SplitterBid);
    PanelNavi->setObjectName(QStringLiteral("PanelNavi"));
    PanelNavi->setChildrenCollapsible(false);
    PanelNaviList = new QWidget(PanelNavi);
    PanelNaviList->setObjectName(QStringLiteral("PanelNaviList"));
    auto* listLayout = new QVBoxLayout(PanelNaviList);
    listLayout->setContentsMargins(0, 0, 0, 0);
    auto* heads = new QHBoxLayout;
    EditBidAid = makeEdit(PanelNaviList, "EditBidAid");
    EditBidAid->setReadOnly(true);
    EditBidTitle = makeEdit(PanelNaviList, "EditBidTitle");
    EditBidTitle->setReadOnly(true);
    heads->addWidget(EditBidAid);
    heads->addWidget(EditBidTitle, 1);
    listLayout->addLayout(heads);
    ListViewNavi = new QTreeWidget(PanelNaviList);
    ListViewNavi->setObjectName(QStringLiteral("ListViewNavi"));
    NaviListView::setupListViewBidNavi(ListViewNavi);
    ListViewNavi->setSortingEnabled(false);
    ListViewNavi->header()->setSectionsClickable(true);
    listLayout->addWidget(ListViewNavi, 1);

    auto* message = new QWidget(PanelNavi);
    auto* grid = new QGridLayout(message);
    grid->setContentsMargins(0, 0, 0, 0);
    EditNaviWriter = makeEdit(message, "EditNaviWriter");
    EditNaviSubject = makeEdit(message, "EditNaviSubject");
    EditNaviDate = makeEdit(message, "EditNaviDate");
    for (QLineEdit* edit : {EditNaviWriter, EditNaviSubject, EditNaviDate})
        edit->setReadOnly(true);
    grid->addWidget(new QLabel(QStringLiteral("投稿者："), message), 0, 0);
    grid->addWidget(EditNaviWriter, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("件名："), message), 0, 2);
    grid->addWidget(EditNaviSubject, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("投稿日時："), message), 0, 4);
    grid->addWidget(EditNaviDate, 0, 5);
    MemoNavi = new QPlainTextEdit(message);
    MemoNavi->setObjectName(QStringLiteral("MemoNavi"));
    MemoNavi->setReadOnly(true);
    grid->addWidget(MemoNavi, 1, 0, 1, 6);
    grid->setRowStretch(1, 1);

    for (int i = 0; i < 3; ++i) {
        statusPanels[i] = new QLabel(statusBar());
        statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusPanels[i]->setMinimumWidth(100);
        statusBar()->addWidget(statusPanels[i], i == 2 ? 1 : 0);
        if (i == 0) {
            ProgressBar = new QProgressBar(statusBar());
            ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
            ProgressBarRange::setIdle(ProgressBar);
            ProgressBar->setMaximumWidth(150);
            ProgressBar->setTextVisible(false);
            statusBar()->addWidget(ProgressBar);
        }
    }

    TimerListViewBid = new QTimer(this);
    TimerListViewBid->setObjectName(QStringLiteral("TimerListViewBid"));
    TimerListViewBid->setSingleShot(true);
    TimerListViewBid->setInterval(50);
}

void TFormBidDataEtc::buildMenus()
{
    const auto make = [this](const char* name, const char* caption,
                             const QKeySequence& key = QKeySequence()) {
        auto* command = new QAction(QString::fromUtf8(caption), this);
        command->setObjectName(QLatin1String(name));
        command->setShortcut(key);
        return command;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("MainMenuFile"));
    QMenu* exportMenu = file->addMenu(QStringLiteral("エクスポート(&E)"));
    exportMenu->addAction(make("ActionCsvExportBidList", "出品終了データエクスポート(&B)..."));
    file->addAction(make("MainMenuFileClose", "閉じる(&C)", Qt::Key_Escape));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("MainMenuEdit"));
    edit->addAction(make("ActionShowSearchPanel", "検索(&F)", QKeySequence(Qt::CTRL | Qt::Key_F)));
    edit->addAction(make("ActionSearchNext", "次候補(&N)", Qt::Key_F3));
    edit->addAction(
        make("ActionSearchPrevious", "前候補(&P)", QKeySequence(Qt::SHIFT | Qt::Key_F3)));

    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    view->setObjectName(QStringLiteral("MainMenuView"));
    MainMenuViewFontSize = view->addMenu(QStringLiteral("フォントサイズ(&F)"));
    MainMenuViewFontSize->setObjectName(QStringLiteral("MainMenuViewFontSize"));

    addAction(make("ActionAllSelect", "全て選択(&a)", QKeySequence(Qt::CTRL | Qt::Key_A)));

    auto* next = new QToolButton(PanelBidDataFind);
    next->setObjectName(QStringLiteral("ToolButtonSearchNext"));
    next->setText(QStringLiteral("次候補 "));
    auto* previous = new QToolButton(PanelBidDataFind);
    previous->setObjectName(QStringLiteral("ToolButtonSearchPrevious"));
    previous->setText(QStringLiteral("前候補"));
    auto* close = new QToolButton(PanelBidDataFind);
    close->setObjectName(QStringLiteral("ToolButtonSearchClose"));
    close->setText(QStringLiteral("×"));
    auto* layout = static_cast<QHBoxLayout*>(PanelBidDataFind->layout());
    layout->addWidget(next);
    layout->addWidget(previous);
    layout->addWidget(close);
    layout->addStretch(1);
    connect(next, &QToolButton::clicked, this, &TFormBidDataEtc::ActionSearchNextExecute);
    connect(previous, &QToolButton::clicked, this, &TFormBidDataEtc::ActionSearchPreviousExecute);
    connect(close, &QToolButton::clicked, PanelBidDataFind, &QWidget::hide);
}

void TFormBidDataEtc::buildFontSizeMenu()
{
    MainMenuViewFontSize->clear();
    FontSizeMenu::append(MainMenuViewFontSize, [this](int points) { changeFontSize(points); });
}

void TFormBidDataEtc::connectSignals()
{
    connect(action("ActionCsvExportBidList"), &QAction::triggered, this,
            &TFormBidDataEtc::ActionCsvExportBidListExecute);
    connect(action("MainMenuFileClose"), &QAction::triggered, this, &QWidget::close);
    connect(action("ActionShowSearchPanel"), &QAction::triggered, this,
            &TFormBidDataEtc::ActionShowSearchPanelExecute);
    connect(action("ActionSearchNext"), &QAction::triggered, this,
            &TFormBidDataEtc::ActionSearchNextExecute);
    connect(action("ActionSearchPrevious"), &QAction::triggered, this,
            &TFormBidDataEtc::ActionSearchPreviousExecute);
    connect(action("ActionAllSelect"), &QAction::triggered, this,
            &TFormBidDataEtc::ActionAllSelectExecute);
    connect(ListViewBid->header(), &QHeaderView::sectionClicked, this,
            &TFormBidDataEtc::ListViewBidColumnClick);
    connect(ListViewNavi->header(), &QHeaderView::sectionClicked, this,
            &TFormBidDataEtc::ListViewNaviColumnClick);
    connect(ListViewBid, &QTreeWidget::itemSelectionChanged, this,
            &TFormBidDataEtc::ListViewBidChange);
    connect(ListViewBid, &QTreeWidget::currentItemChanged, this,
            &TFormBidDataEtc::ListViewBidChange);
    connect(TimerListViewBid, &QTimer::timeout, this, &TFormBidDataEtc::TimerListViewBidTimer);
    connect(ListViewNavi, &QTreeWidget::itemSelectionChanged, this,
            &TFormBidDataEtc::ListViewNaviChange);

    wheelRouter = new WheelRouter(this);
    wheelRouter->track(ListViewBid);
    wheelRouter->track(ListViewNavi);
    wheelRouter->track(MemoNavi, true);
    connect(wheelRouter, &WheelRouter::fontStepRequested, this,
            [this](QWidget* control, bool towardsUser) {
                if (control == MemoNavi)
                    changeFontSize(
                        WheelRouter::steppedFontSize(MemoNavi->font().pointSize(), towardsUser));
            });

    CtrlClickSelect::installBelow(this);
    EditBidDataFind->installEventFilter(this);
    ComboBoxBidDataFind->installEventFilter(this);
}

bool TFormBidDataEtc::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        (watched == EditBidDataFind || watched == ComboBoxBidDataFind)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier)
                ActionSearchPreviousExecute();
            else
                ActionSearchNextExecute();
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn && watched == EditBidDataFind) {
        // The ids are typed in ASCII; the titles and names in Japanese.
        const int target = ComboBoxBidDataFind->currentIndex();
        EditBidDataFind->setInputMethodHints(target == 0 || target == 2 ? Qt::ImhLatinOnly
                                                                        : Qt::ImhNone);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormBidDataEtc::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFormBidDataEtc::FormShow()
{
    setWindowTitle(captionText + QStringLiteral("(") + loginId + QStringLiteral(")"));
    const IniFile ini(CommonDefine::settingIniPath());
    const int state = placement->restore(ini);
    if (state == 2)
        setWindowState(Qt::WindowMaximized);
    const int naviHeight = ini.readInteger(section, QStringLiteral("NaviPanelHeight"), 130);
    const int listWidth = ini.readInteger(section, QStringLiteral("NaviPanelList"), 350);
    for (int c = 0; c < ListViewBid->columnCount(); ++c)
        ListViewBid->setColumnWidth(
            c, ini.readInteger(section, QStringLiteral("ListViewBidColWidth%1").arg(c), 120));
    for (int c = 0; c < ListViewNavi->columnCount(); ++c)
        ListViewNavi->setColumnWidth(
            c, ini.readInteger(section, QStringLiteral("ListViewNaviColWidth%1").arg(c), 120));
    bidSortColumn = ini.readInteger(section, QStringLiteral("SortColumnBid"), 0);
    bidSortType = ini.readInteger(section, QStringLiteral("SortTypeBid"), 0);
    naviSortColumn = ini.readInteger(section, QStringLiteral("SortColumnNavi"), 0);
    naviSortType = ini.readInteger(section, QStringLiteral("SortTypeNavi"), 0);
    if (bidSortColumn != BidDataEtcQuery::validSortColumn(bidSortColumn))
        bidSortColumn = 0;

    // The panes get their stored sizes once the window's layout has placed the splitters.
    if (layout())
        layout()->activate();
    const int total = SplitterBid->height() - SplitterBid->handleWidth();
    SplitterBid->setSizes({qMax(1, total - naviHeight), naviHeight});
    const int width = PanelNavi->width() - PanelNavi->handleWidth();
    PanelNavi->setSizes({listWidth, qMax(1, width - listWidth)});

    QTimer::singleShot(0, this, &TFormBidDataEtc::AppIdle);
}

void TFormBidDataEtc::AppIdle()
{
    if (m_closing)
        return;
    queryBidderInfo.emplace(m_db);
    queryBidderInfo->setForwardOnly(true);
    queryBidderInfo->prepare(QStringLiteral(
        "SELECT Name,MailMain,Post,Address1,Tel FROM T_BidMaster WHERE Id=:DATA_ID"));
    ActionBidDataUpdateExecute();
}

void TFormBidDataEtc::ActionBidDataUpdateExecute()
{
    m_loading = true;
    m_added = 0;
    m_outOfOrder = false;
    m_lastRow.clear();
    ListViewBid->header()->setSortIndicator(bidSortColumn, bidSortType == 0 ? Qt::AscendingOrder
                                                                            : Qt::DescendingOrder);
    try {
        ProgressBarRange::start(ProgressBar,
                                BidDataEtcQuery::rowCount(m_db, listMode, loginId, bidId));
        queryBidList =
            BidDataEtcQuery::open(m_db, listMode, loginId, bidId, bidSortColumn, bidSortType);
    } catch (const std::exception&) {
        // A failed load shows what was read: nothing.
        queryBidList.reset();
    }
    addPendingRows();
}

void TFormBidDataEtc::addPendingRows()
{
    if (m_closing)
        return;
    QElapsedTimer slice;
    slice.start();
    // The first batch shows at once; later ones go in slices of time between paints.
    const bool first = m_added == 0;
    bool more = queryBidList.has_value();
    const int column = bidSortColumn;
    while (more) {
        QList<QTreeWidgetItem*> batch;
        batch.reserve(loadBatchRows);
        try {
            while (batch.size() < loadBatchRows && (more = queryBidList->next())) {
                QStringList cells = BidDataEtcQuery::rowOf(*queryBidList);
                // The statement orders as the list compares; a row it puts otherwise (a price
                // that is no plain number) has the list sorted once at the end.
                if (!m_lastRow.isEmpty()) {
                    const int order = BidDataEtcSort::compareCells(column, m_lastRow.at(column),
                                                                   cells.at(column));
                    if (bidSortType == 0 ? order > 0 : order < 0)
                        m_outOfOrder = true;
                }
                m_lastRow = cells;
                batch.append(new BidDataEtcItem(cells));
            }
        } catch (const std::exception&) {
            more = false; // the rows read so far stay
        }
        ListViewBid->addTopLevelItems(batch);
        m_added += batch.size();
        ProgressBar->setValue(int(qMin<qsizetype>(m_added, ProgressBar->maximum())));
        if (first || slice.elapsed() >= loadSliceMs)
            break;
    }
    if (more) {
        QTimer::singleShot(0, this, &TFormBidDataEtc::addPendingRows);
        return;
    }
    finishLoad();
}

void TFormBidDataEtc::finishLoad()
{
    queryBidList.reset();
    m_lastRow.clear();
    if (m_outOfOrder || m_sortedDuringLoad)
        ListViewBid->sortItems(bidSortColumn,
                               bidSortType == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    ProgressBar->setValue(ProgressBar->maximum());
    statusPanels[0]->setText(QStringLiteral("件数：") +
                             QString::number(ListViewBid->topLevelItemCount()));
    ProgressBarRange::setIdle(ProgressBar);
    m_loading = false;
    m_loaded = true;
    emit loadFinished();
}

void TFormBidDataEtc::ListViewBidColumnClick(int column)
{
    bidSortType = column == bidSortColumn ? (bidSortType == 0 ? 1 : 0) : bidSortType;
    bidSortColumn = column;
    ListViewBid->sortItems(column, bidSortType == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    if (m_loading)
        m_sortedDuringLoad = true;
    const QList<QTreeWidgetItem*> selected = ListViewBid->selectedItems();
    if (!selected.isEmpty())
        ListViewBid->scrollToItem(selected.first());
}

void TFormBidDataEtc::ListViewNaviColumnClick(int column)
{
    naviSortType = NaviListView::nextSortType(column, naviSortColumn, naviSortType);
    naviSortColumn = column;
    NaviListView::sort(ListViewNavi, naviSortColumn, naviSortType);
}

void TFormBidDataEtc::ListViewBidChange()
{
    TimerListViewBid->stop();
    QTreeWidgetItem* item = ListViewBid->currentItem();
    if (!item || !item->isSelected())
        return;
    using namespace BidDataEtcColumns;
    if (item->text(column(Aid)) == EditBidAid->text() &&
        item->text(column(BidId)) == EditBidId->text())
        return;
    selectedBidItem = item;
    TimerListViewBid->start();
}

void TFormBidDataEtc::TimerListViewBidTimer()
{
    TimerListViewBid->stop();
    QTreeWidgetItem* item = selectedBidItem;
    if (!item || item->treeWidget() != ListViewBid)
        return;
    using namespace BidDataEtcColumns;
    showTransactionNavi(item);
    showBidderInfo(item->text(column(BidId)), item->text(column(Name)));
}

void TFormBidDataEtc::showTransactionNavi(QTreeWidgetItem* item)
{
    using namespace BidDataEtcColumns;
    const QString aid = item->text(column(Aid));
    const QString bidderId = item->text(column(BidId));
    if (EditBidAid->text() == aid && EditBidId->text() == bidderId)
        return;
    EditBidAid->setText(aid);
    EditBidTitle->setText(item->text(column(Title)));
    EditNaviWriter->clear();
    EditNaviSubject->clear();
    EditNaviDate->clear();
    MemoNavi->clear();
    ListViewNavi->clear();
    const int rows = NaviListView::loadTransactionList(ListViewNavi, m_db, aid, bidderId, loginId,
                                                       naviSortColumn, naviSortType);
    if (rows > 0) {
        QTreeWidgetItem* first = ListViewNavi->topLevelItem(0);
        ListViewNavi->setCurrentItem(first);
        first->setSelected(true);
    }
    emit transactionShown(aid, bidderId);
}

void TFormBidDataEtc::ListViewNaviChange()
{
    const QList<QTreeWidgetItem*> selected = ListViewNavi->selectedItems();
    NaviListItem* item = selected.isEmpty() ? nullptr : NaviListItem::of(selected.first());
    if (!item)
        return;
    const NaviRow& row = item->row();
    EditNaviWriter->setText(row.writeId);
    EditNaviSubject->setText(row.subject);
    EditNaviDate->setText(row.writeDate);
    MemoText::set(MemoNavi, row.message);
}

void TFormBidDataEtc::showBidderInfo(const QString& bidderId, const QString& name)
{
    EditBidId->setText(bidderId);
    EditBidName->setText(name);
    const QString key = BidderStore::idKey(bidderId);
    auto cached = bidderInfoCache.constFind(key);
    if (cached == bidderInfoCache.cend()) {
        BidInfo stored =
            BidderStore::read(m_db, bidderId, queryBidderInfo ? &*queryBidderInfo : nullptr);
        stored.name = name;
        cached = bidderInfoCache.insert(key, stored);
    }
    EditBidMail->setText(cached->mail);
    EditBidPost->setText(cached->post);
    EditBidAddress->setText(cached->address);
    EditBidTel->setText(cached->tel);
}

void TFormBidDataEtc::ActionShowSearchPanelExecute()
{
    PanelBidDataFind->setVisible(true);
    EditBidDataFind->setFocus();
}

namespace {

// The list's item index: the current row when it is selected, else -1.
int itemIndex(const QTreeWidget* list)
{
    QTreeWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? list->indexOfTopLevelItem(item) : -1;
}

} // namespace

void TFormBidDataEtc::ActionSearchNextExecute()
{
    const QString text = EditBidDataFind->text();
    if (text.isEmpty() || ListViewBid->topLevelItemCount() == 0)
        return;
    const int row = ListSearchView::findListItem(ListViewBid, qMax(0, itemIndex(ListViewBid)),
                                                 ComboBoxBidDataFind->currentIndex(), text);
    if (row >= 0)
        ListSearchView::selectFoundRow(ListViewBid, row);
}

void TFormBidDataEtc::ActionSearchPreviousExecute()
{
    const QString text = EditBidDataFind->text();
    if (text.isEmpty())
        return;
    const int row = ListSearchView::findPreviousListItem(ListViewBid, itemIndex(ListViewBid),
                                                         ComboBoxBidDataFind->currentIndex(), text);
    if (row >= 0)
        ListSearchView::selectFoundRow(ListViewBid, row);
}

void TFormBidDataEtc::ActionCsvExportBidListExecute()
{
    if (!exportList)
        return;
    QString message;
    if (exportList(ListViewBid, &message, QStringLiteral("出品終了データ"))) {
        statusPanels[0]->setText(message);
        return;
    }
    Dialogs::showError(this, QStringLiteral("ファイル保存エラー"), message);
    statusPanels[0]->setText(QStringLiteral("エクスポート失敗('・ω・`)"));
}

void TFormBidDataEtc::ActionAllSelectExecute()
{
    SelectAll::selectFocused(this,
                             SelectAll::LineEdits | SelectAll::PlainTexts | SelectAll::ItemViews);
}

void TFormBidDataEtc::changeFontSize(int points)
{
    if (points <= 0)
        return;
    QFont font = MemoNavi->font();
    font.setPointSize(points);
    MemoNavi->setFont(font);
}

void TFormBidDataEtc::closeEvent(QCloseEvent* event)
{
    // A load still under way ends here; its next slice finds the window closing.
    m_closing = true;
    TimerListViewBid->stop();
    saveSettings();
    queryBidList.reset();
    queryBidderInfo.reset();
    // The main window may release its connection before this window is deleted.
    m_db = QSqlDatabase();
    QMainWindow::closeEvent(event);
}

void TFormBidDataEtc::saveSettings()
{
    IniFile ini(CommonDefine::settingIniPath());
    IniFile::Batch batch(ini);
    placement->save(ini);
    ini.writeInteger(section, QStringLiteral("NaviPanelHeight"), PanelNavi->height());
    ini.writeInteger(section, QStringLiteral("NaviPanelList"), PanelNaviList->width());
    for (int c = 0; c < ListViewBid->columnCount(); ++c)
        ini.writeInteger(section, QStringLiteral("ListViewBidColWidth%1").arg(c),
                         ListViewBid->columnWidth(c));
    for (int c = 0; c < ListViewNavi->columnCount(); ++c)
        ini.writeInteger(section, QStringLiteral("ListViewNaviColWidth%1").arg(c),
                         ListViewNavi->columnWidth(c));
    ini.writeInteger(section, QStringLiteral("SortColumnBid"), bidSortColumn);
    ini.writeInteger(section, QStringLiteral("SortTypeBid"), bidSortType);
    ini.writeInteger(section, QStringLiteral("SortColumnNavi"), naviSortColumn);
    ini.writeInteger(section, QStringLiteral("SortTypeNavi"), naviSortType);
    batch.save();
}
