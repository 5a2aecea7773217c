#include "views/UnitFindNavi.h"

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
#include "views/NaviListItem.h"
#include "views/NaviRowOrder.h"
#include "views/NaviSelectionDelay.h"
#include "views/SideListLayout.h"
#include "views/UnitAuctionNaviList.h"
#include "views/UnitNaviMessage.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString searchingText = QStringLiteral("検索中…中止する場合は[ESC]キーを押してください");

// Frees rows taken out of a list a slice at a time between events: a hundred thousand rows
// take a tenth of a second to free, a pause the seller would feel.
class RowDisposal : public QObject
{
public:
    explicit RowDisposal(QList<QTreeWidgetItem*> rows)
        : QObject(QCoreApplication::instance()), m_rows(std::move(rows))
    {
        QTimer::singleShot(0, this, &RowDisposal::freeSlice);
    }
    ~RowDisposal() override { qDeleteAll(m_rows); }

private:
    void freeSlice()
    {
        QElapsedTimer slice;
        slice.start();
        while (!m_rows.isEmpty() && slice.elapsed() < 10)
            for (int i = 0; i < 256 && !m_rows.isEmpty(); ++i)
                delete m_rows.takeLast();
        if (m_rows.isEmpty())
            deleteLater();
        else
            QTimer::singleShot(0, this, &RowDisposal::freeSlice);
    }

    QList<QTreeWidgetItem*> m_rows;
};

// Empties the list at once; its rows are freed in the background.
void clearInSlices(QTreeWidget* list)
{
    new RowDisposal(list->invisibleRootItem()->takeChildren());
}

} // namespace

TFormFindNavi::TFormFindNavi(const QString& connectionName, int messageFontSize,
                             std::function<bool()> confirmationNaviOpen)
    : m_connectionName(connectionName), m_messageFontSize(messageFontSize),
      m_confirmationNaviOpen(std::move(confirmationNaviOpen))
{
    setObjectName("FormFindNavi");
    ParentlessWindow::setUp(this);
    setMinimumSize(675, 310);
    buildLayout();
    connectSignals();
    m_placement = new WindowPlacement(this, QString::fromLatin1(section),
                                      WindowPlacement::MinimisedAs::Normal);
}

TFormFindNavi::~TFormFindNavi()
{
    detachChildren(this);
}

QSqlDatabase TFormFindNavi::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

void TFormFindNavi::buildLayout()
{
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    PanelSearch = new QWidget(central);
    PanelSearch->setObjectName("PanelSearch");
    auto* grid = new QGridLayout(PanelSearch);
    auto makeEdit = [this](const char* name, bool ime) {
        auto* edit = new QLineEdit(PanelSearch);
        edit->setObjectName(QString::fromLatin1(name));
        if (!ime)
            edit->setInputMethodHints(Qt::ImhLatinOnly);
        CtrlClickSelect::install(edit);
        return edit;
    };
    EditSearchBidId = makeEdit("EditSearchBidId", false);
    EditSearchBidName = makeEdit("EditSearchBidName", true);
    ComboBoxSearchLoginId = new QComboBox(PanelSearch);
    ComboBoxSearchLoginId->setObjectName("ComboBoxSearchLoginId");
    CheckBoxReceive = new QCheckBox(QStringLiteral("受信"), PanelSearch);
    CheckBoxReceive->setObjectName("CheckBoxReceive");
    CheckBoxReceive->setToolTip(QStringLiteral("受信ナビを検索"));
    CheckBoxReceive->setChecked(true);
    CheckBoxSend = new QCheckBox(QStringLiteral("送信"), PanelSearch);
    CheckBoxSend->setObjectName("CheckBoxSend");
    CheckBoxSend->setToolTip(QStringLiteral("送信ナビを検索"));
    CheckBoxSend->setChecked(true);
    EditSearchAuctionID = makeEdit("EditSearchAuctionID", false);
    EditSearchTitle = makeEdit("EditSearchTitle", true);
    EditSearchMessage = makeEdit("EditSearchMessage", true);
    BitBtnSearch = new QPushButton(QStringLiteral("検索"), PanelSearch);
    BitBtnSearch->setObjectName("BitBtnSearch");
    BitBtnSearch->setToolTip(QStringLiteral("検索"));
    BitBtnSearchClear = new QPushButton(QStringLiteral("クリア"), PanelSearch);
    BitBtnSearchClear->setObjectName("BitBtnSearchClear");
    BitBtnSearchClear->setToolTip(QStringLiteral("検索条件クリア"));
    const auto label = [this](const QString& text) { return new QLabel(text, PanelSearch); };
    grid->addWidget(label(QStringLiteral("落札者ID")), 0, 0);
    grid->addWidget(EditSearchBidId, 0, 1);
    grid->addWidget(label(QStringLiteral("落札者氏名")), 0, 2);
    grid->addWidget(EditSearchBidName, 0, 3);
    grid->addWidget(label(QStringLiteral("ログインID")), 0, 4);
    grid->addWidget(ComboBoxSearchLoginId, 0, 5);
    grid->addWidget(CheckBoxReceive, 0, 6);
    grid->addWidget(CheckBoxSend, 0, 7);
    grid->addWidget(label(QStringLiteral("商品ID")), 1, 0);
    grid->addWidget(EditSearchAuctionID, 1, 1);
    grid->addWidget(label(QStringLiteral("商品名")), 1, 2);
    grid->addWidget(EditSearchTitle, 1, 3);
    grid->addWidget(label(QStringLiteral("メッセージ")), 1, 4);
    grid->addWidget(EditSearchMessage, 1, 5);
    grid->addWidget(BitBtnSearch, 1, 6);
    grid->addWidget(BitBtnSearchClear, 1, 7);
    column->addWidget(PanelSearch);

    Splitter = new QSplitter(Qt::Vertical, central);
    Splitter->setObjectName("Splitter");
    ListViewNavi = new QTreeWidget(Splitter);
    ListViewNavi->setObjectName("ListViewNavi");
    NaviListView::setupListViewNavi(ListViewNavi);
    ListViewNavi->setSelectionMode(QAbstractItemView::SingleSelection);
    ListViewNavi->setDragEnabled(false);
    MemoNaviMessage = new QPlainTextEdit(Splitter);
    MemoNaviMessage->setObjectName("MemoNaviMessage");
    MemoNaviMessage->setReadOnly(true);
    Splitter->setStretchFactor(1, 1);
    column->addWidget(Splitter, 1);
    setCentralWidget(central);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    for (int width : {100, 100, 50}) {
        auto* panel = new QLabel(StatusBar);
        panel->setMinimumWidth(width);
        statusPanels << panel;
    }
    StatusBar->addWidget(statusPanels[0]);
    ProgressBar = new QProgressBar(StatusBar);
    ProgressBar->setObjectName("ProgressBar");
    ProgressBarRange::setIdle(ProgressBar);
    ProgressBar->setTextVisible(false);
    ProgressBar->setFixedWidth(100);
    StatusBar->addWidget(ProgressBar);
    StatusBar->addWidget(statusPanels[1]);
    StatusBar->addWidget(statusPanels[2], 1);
    setStatusBar(StatusBar);

    auto makeAction = [this](const char* name, const QString& caption, const QKeySequence& key) {
        auto* command = new QAction(caption, this);
        command->setObjectName(QString::fromLatin1(name));
        command->setShortcut(key);
        addAction(command);
        return command;
    };
    ActionSearchStop = makeAction("ActionSearchStop", QStringLiteral("検索中止(&S)"),
                                  QKeySequence(Qt::Key_Escape));
    ActionAllSelect =
        makeAction("ActionAllSelect", QStringLiteral("全て選択(&a)"), QKeySequence("Ctrl+A"));
    ActionNaviOpenMessage =
        makeAction("ActionNaviOpenMessage", QStringLiteral("開く(&S)..."), QKeySequence());
    ActionShowSelectAuctionIdNaviList =
        makeAction("ActionShowSelectAuctionIdNaviList",
                   QStringLiteral("選択商品ナビメッセージ一覧表示(&A)..."), QKeySequence());
    PopupMenuListViewNavi = new QMenu(this);
    PopupMenuListViewNavi->setObjectName("PopupMenuListViewNavi");
    PopupMenuListViewNavi->addAction(ActionNaviOpenMessage);
    PopupMenuListViewNavi->addSeparator();
    PopupMenuListViewNavi->addAction(ActionShowSelectAuctionIdNaviList);
}

void TFormFindNavi::connectSignals()
{
    connect(BitBtnSearch, &QPushButton::clicked, this, &TFormFindNavi::BitBtnSearchClick);
    connect(BitBtnSearchClear, &QPushButton::clicked, this, &TFormFindNavi::BitBtnSearchClearClick);
    connect(ActionSearchStop, &QAction::triggered, this, &TFormFindNavi::ActionSearchStopExecute);
    connect(ActionAllSelect, &QAction::triggered, this, &TFormFindNavi::ActionAllSelectExecute);
    connect(ActionNaviOpenMessage, &QAction::triggered, this,
            &TFormFindNavi::ActionNaviOpenMessageExecute);
    connect(ActionShowSelectAuctionIdNaviList, &QAction::triggered, this,
            &TFormFindNavi::ActionShowSelectAuctionIdNaviListExecute);
    connect(ListViewNavi, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenuListViewNavi->popup(ListViewNavi->viewport()->mapToGlobal(at));
    });
    connect(ListViewNavi->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        sortType = NaviListView::nextSortType(column, sortColumn, sortType);
        sortColumn = column;
        NaviListView::sort(ListViewNavi, sortColumn, sortType);
    });
    // The hit's text shows at once; the list holds only the head of a long message.
    m_selection = new NaviSelectionDelay(ListViewNavi, MemoNaviMessage, 0, this);
    m_selection->setDetailFields({nullptr, nullptr, nullptr, nullptr, nullptr, MemoNaviMessage});
    m_selection->setMessageText([this](const NaviRow& row) {
        return NaviListQuery::wholeMessage(database(), row.loginId, row);
    });
    for (QWidget* control :
         {static_cast<QWidget*>(EditSearchBidId), static_cast<QWidget*>(EditSearchBidName),
          static_cast<QWidget*>(ComboBoxSearchLoginId), static_cast<QWidget*>(CheckBoxReceive),
          static_cast<QWidget*>(CheckBoxSend), static_cast<QWidget*>(EditSearchAuctionID),
          static_cast<QWidget*>(EditSearchTitle), static_cast<QWidget*>(EditSearchMessage)})
        control->installEventFilter(this);
    m_wheel = new WheelRouter(this);
    m_wheel->track(ListViewNavi);
    m_wheel->track(MemoNaviMessage, true);
    connect(m_wheel, &WheelRouter::fontStepRequested, this, [](QWidget* control, bool towardsUser) {
        WheelRouter::stepFont(control, towardsUser);
    });
}

bool TFormFindNavi::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (BitBtnSearch->isEnabled())
                BitBtnSearchClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormFindNavi::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFormFindNavi::FormShow()
{
    setWindowTitle(QStringLiteral("ナビ検索(") + loginId + QLatin1Char(')'));
    const IniFile ini(CommonDefine::settingIniPath());
    const int state = m_placement->restore(ini);
    if (layout())
        layout()->activate();
    const QString sectionName = QString::fromLatin1(section);
    SideListLayout::read(ini, sectionName, QStringLiteral("ListViewNaviHeight"), Splitter,
                         ListViewNavi);
    sortColumn = ini.readInteger(sectionName, QStringLiteral("SortColumnNavi"), 0);
    sortType = ini.readInteger(sectionName, QStringLiteral("SortTypeNavi"), 0);
    if (state == 2)
        setWindowState(Qt::WindowMaximized);
    if (m_messageFontSize > 0) {
        QFont font = MemoNaviMessage->font();
        font.setPointSize(m_messageFontSize);
        MemoNaviMessage->setFont(font);
    }
    ComboBoxSearchLoginId->clear();
    ComboBoxSearchLoginId->addItem(QStringLiteral("指定なし"));
    ComboBoxSearchLoginId->addItems(FindNaviQuery::accounts(database()));
    ComboBoxSearchLoginId->setCurrentIndex(qMax(0, ComboBoxSearchLoginId->findText(loginId)));
}

FindNaviCriteria TFormFindNavi::criteria() const
{
    FindNaviCriteria c;
    if (ComboBoxSearchLoginId->currentIndex() > 0)
        c.loginId = ComboBoxSearchLoginId->currentText();
    c.received = CheckBoxReceive->isChecked();
    c.sent = CheckBoxSend->isChecked();
    c.bidId = EditSearchBidId->text();
    c.bidName = EditSearchBidName->text();
    c.aid = EditSearchAuctionID->text();
    c.title = EditSearchTitle->text();
    c.message = EditSearchMessage->text();
    return c;
}

void TFormFindNavi::BitBtnSearchClick()
{
    if (m_searching)
        return;
    if (!CheckBoxReceive->isChecked() && !CheckBoxSend->isChecked()) {
        Dialogs::showError(this, QStringLiteral("検索条件エラー"),
                           QStringLiteral("受信・送信どちらかに\n\rチェックを付けてください。"));
        return;
    }
    // The window's events run while SQLite counts and reads, so Esc is answered at once.
    m_search = std::make_unique<FindNaviSearch>(database(), criteria(),
                                                [this] { return turnEventsIfDue(); });
    m_searching = true;
    m_sinceTurn.start();
    statusPanels[2]->setText(searchingText);
    BitBtnSearch->setEnabled(false);

    const QPointer<TFormFindNavi> self(this);
    QList<NaviListItem*> items;
    try {
        if (!m_search->start()) {
            if (self)
                endStopped(items);
            return;
        }
        MemoNaviMessage->clear();
        ListViewNavi->setUpdatesEnabled(false);
        clearInSlices(ListViewNavi);
        ProgressBarRange::start(ProgressBar, m_search->total());
        if (turnEventsIfDue()) {
            if (self)
                endStopped(items);
            return;
        }
        QList<NaviRow> rows;
        bool more = true;
        while (more) {
            rows.clear();
            more = m_search->read(&rows, batchRows, QDeadlineTimer(eventIntervalMs));
            for (const NaviRow& row : std::as_const(rows))
                items.append(new NaviListItem(NaviList::Search, row));
            ProgressBar->setValue(qMin(int(items.size()), ProgressBar->maximum()));
            const bool stop = turnEvents();
            if (!self)
                return;
            if (stop) {
                endStopped(items);
                return;
            }
        }
    } catch (const DatabaseError&) {
        // The error reaches the event loop; the search ends as a stopped one.
        if (self)
            endStopped(items);
        throw;
    }
    NaviRowOrder::sort(items, sortColumn, sortType);
    if (!showHits(items)) {
        endStopped(items);
        return;
    }
    m_search.reset();
    m_searching = false;
    BitBtnSearch->setEnabled(true);
    ProgressBar->setValue(ProgressBar->maximum());
    ListViewNavi->header()->setSortIndicator(sortColumn, sortType == 0 ? Qt::AscendingOrder
                                                                       : Qt::DescendingOrder);
    ListViewNavi->setUpdatesEnabled(true);
    statusPanels[2]->clear();
    statusPanels[0]->setText(QStringLiteral("件数：") +
                             QString::number(ListViewNavi->topLevelItemCount()));
    ProgressBarRange::setIdle(ProgressBar);
}

bool TFormFindNavi::showHits(QList<NaviListItem*>& items)
{
    // Added in batches with the event loop between them, so Esc still answers.
    const QPointer<TFormFindNavi> self(this);
    while (!items.isEmpty()) {
        const qsizetype count = qMin<qsizetype>(items.size(), qMax(1, batchRows * 4));
        QList<QTreeWidgetItem*> batch(items.cbegin(), items.cbegin() + count);
        items.remove(0, count);
        ListViewNavi->addTopLevelItems(batch);
        const bool stop = turnEvents();
        if (!self || stop)
            return false;
    }
    return true;
}

bool TFormFindNavi::turnEvents()
{
    const QPointer<TFormFindNavi> self(this);
    QCoreApplication::processEvents();
    if (!self)
        return true;
    m_sinceTurn.restart();
    return stopRequested();
}

bool TFormFindNavi::turnEventsIfDue()
{
    if (m_sinceTurn.elapsed() < eventIntervalMs)
        return stopRequested();
    return turnEvents();
}

bool TFormFindNavi::stopRequested() const
{
    // A confirmed stop enables the search button again.
    return BitBtnSearch->isEnabled() || m_closed;
}

void TFormFindNavi::endStopped(QList<NaviListItem*>& items)
{
    qDeleteAll(items);
    items.clear();
    if (m_search)
        m_search->abandon();
    m_search.reset();
    m_searching = false;
    clearInSlices(ListViewNavi);
    ListViewNavi->setUpdatesEnabled(true);
    BitBtnSearch->setEnabled(true);
    ProgressBarRange::setIdle(ProgressBar);
    statusPanels[0]->clear();
    statusPanels[2]->clear();
    if (m_deleteAfterSearch)
        deleteLater();
}

void TFormFindNavi::BitBtnSearchClearClick()
{
    for (QLineEdit* edit : {EditSearchBidId, EditSearchBidName, EditSearchAuctionID,
                            EditSearchTitle, EditSearchMessage})
        edit->clear();
}

void TFormFindNavi::ActionSearchStopExecute()
{
    if (!m_searching || BitBtnSearch->isEnabled())
        return;
    if (Dialogs::askOkCancel(this, QStringLiteral("確認"), QStringLiteral("検索を中止しますか？")))
        BitBtnSearch->setEnabled(true);
}

void TFormFindNavi::ActionAllSelectExecute()
{
    SelectAll::selectFocused(this, SelectAll::LineEdits | SelectAll::PlainTexts);
}

NaviListItem* TFormFindNavi::selectedItem() const
{
    const QList<QTreeWidgetItem*> selected = ListViewNavi->selectedItems();
    return selected.isEmpty() ? nullptr : NaviListItem::of(selected.first());
}

void TFormFindNavi::ActionNaviOpenMessageExecute()
{
    NaviListItem* item = selectedItem();
    if (!item)
        return;
    if (m_confirmationNaviOpen && m_confirmationNaviOpen() &&
        !Dialogs::askOkCancel(this, QStringLiteral("確認"),
                              QStringLiteral("メッセージを開きますか？")))
        return;
    item = selectedItem();
    if (!item)
        return;
    const NaviRow& row = item->row();
    const QSqlDatabase db = database();
    NaviMessageContent content;
    content.captionText = row.title;
    // The hit's own transaction: its winner and its account.
    content.loginId = row.loginId;
    content.aid = row.aid;
    content.title = row.title;
    content.bidId = row.bidId;
    content.bidName = row.received ? row.name : FindNaviQuery::bidderName(db, row.bidId);
    content.message = NaviListQuery::wholeMessage(db, row.loginId, row);
    content.number = row.number.toInt();
    content.received = row.received;
    TFormNaviMessage::open(handOver, content, m_messageFontSize);
}

void TFormFindNavi::ActionShowSelectAuctionIdNaviListExecute()
{
    NaviListItem* item = selectedItem();
    if (!item)
        return;
    const NaviRow& row = item->row();
    auto* list = new TFormAuctionNaviList(m_connectionName, m_messageFontSize);
    list->aid = row.aid;
    list->title = row.title;
    list->bidId = row.bidId;
    list->loginId = row.loginId;
    list->show();
}

void TFormFindNavi::closeEvent(QCloseEvent* event)
{
    FormClose();
    if (m_searching) {
        // The running search ends at its next turn and frees the window then.
        setAttribute(Qt::WA_DeleteOnClose, false);
        m_deleteAfterSearch = true;
    }
    QMainWindow::closeEvent(event);
}

void TFormFindNavi::FormClose()
{
    if (m_closed || !m_shown)
        return;
    m_closed = true;
    IniFile ini(CommonDefine::settingIniPath());
    IniFile::Batch batch(ini);
    m_placement->save(ini);
    const QString sectionName = QString::fromLatin1(section);
    SideListLayout::write(ini, sectionName, QStringLiteral("ListViewNaviHeight"), Splitter,
                          ListViewNavi);
    ini.writeInteger(sectionName, QStringLiteral("SortColumnNavi"), sortColumn);
    ini.writeInteger(sectionName, QStringLiteral("SortTypeNavi"), sortType);
    batch.save();
}
