// The main window's listing selection: the price total, the delayed fill of the bidder panel and
// the listing tab's message panel, the message commands' state, and the double-click and Enter
// operations of the listing list.
#include "app/UnitNavi.h"

#include "site/DownloadControl.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/EventHook.h"
#include "views/FolderTree.h"
#include "views/NaviActionState.h"
#include "views/NaviListItem.h"
#include "views/NaviSelectionDelay.h"
#include "views/SelectionTotal.h"

#include <QAction>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString cell(const BidRow& row, int subItem)
{
    return row.subItem(subItem);
}

} // namespace

void TFormNavi::buildBidNaviFields()
{
    auto* fields = new QHBoxLayout;
    fields->setSpacing(2);
    auto field = [this, fields](const char* name, int stretch) {
        auto* edit = new QLineEdit(PanelBidNaviList);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        fields->addWidget(edit, stretch);
        return edit;
    };
    EditBidAid = field("EditBidAid", 1);
    EditBidTitle = field("EditBidTitle", 3);
    EditBidBidderName = field("EditBidBidderName", 0);
    EditBidBidderName->hide();
    EditBidNaviBidId = field("EditBidNaviBidId", 0);
    EditBidNaviBidId->hide();
    static_cast<QVBoxLayout*>(PanelBidNaviList->layout())->insertLayout(0, fields);

    TimerListViewBid = new QTimer(this);
    TimerListViewBid->setObjectName("TimerListViewBid");
    TimerListViewBid->setSingleShot(true);
    TimerListViewBid->setInterval(50);
}

void TFormNavi::ListViewBidSelectItem()
{
    selectedPriceTotal = SelectionTotal::of(ListViewBid);
    statusPanels[2]->setText(SelectionTotal::text(selectedPriceTotal));
}

void TFormNavi::ListViewBidChange()
{
    TimerListViewBid->stop();
    BidRow row = ListViewBid->currentItem();
    if (!row || !ListViewBid->isSelected(row))
        row = ListViewBid->firstSelectedItem();
    if (!row)
        return;
    if (cell(row, BidListColumns::Aid) != EditBidAid->text() ||
        cell(row, BidListColumns::BidId) != EditBidId->text()) {
        currentBidItem = row;
        TimerListViewBid->start();
    }
}

void TFormNavi::TimerListViewBidTimer()
{
    TimerListViewBid->stop();
    if (!currentBidItem)
        return;
    const BidRow row = currentBidItem;
    if (bidNaviPanelVisible())
        loadBidNaviList(cell(row, BidListColumns::Aid), cell(row, BidListColumns::BidId), row);
    showBidderInfo(cell(row, BidListColumns::BidId), cell(row, BidListColumns::Name));
}

void TFormNavi::forgetCurrentBidItem()
{
    TimerListViewBid->stop();
    currentBidItem = BidRow();
}

bool TFormNavi::bidNaviPanelVisible() const
{
    return !PanelBidNavi->isHidden();
}

void TFormNavi::loadBidNaviList(const QString& aid, const QString& bidId, const BidRow& row)
{
    if (!isDatabaseOpen() || !row)
        return;
    if (EditBidAid->text() == cell(row, BidListColumns::Aid) &&
        EditBidId->text() == cell(row, BidListColumns::BidId))
        return;
    EditBidAid->setText(cell(row, BidListColumns::Aid));
    EditBidTitle->setText(cell(row, BidListColumns::Title));
    EditBidTitle->home(false);
    EditBidNaviBidId->setText(cell(row, BidListColumns::BidId));
    bidNaviSelectionDelay->clearDetail();
    ListViewBidNavi->clear();
    NaviListView::loadTransactionList(ListViewBidNavi, connection, aid, bidId, loginId,
                                      bidNaviSortColumn, bidNaviSortType);
    if (QTreeWidgetItem* first = ListViewBidNavi->topLevelItem(0))
        ListViewBidNavi->setCurrentItem(first);
    updateNaviActions(QString(), -1);
}

void TFormNavi::clearBidNaviPanel()
{
    for (QLineEdit* edit : {EditBidAid, EditBidTitle, EditBidNaviBidId})
        edit->clear();
    ListViewBidNavi->clear();
    bidNaviSelectionDelay->clearDetail();
}

void TFormNavi::updateNaviActions(const QString& folderId, int kind)
{
    NaviActionInput input;
    input.naviTab = PageControlMain->currentIndex() == 1;
    input.folderId = folderId;
    input.kind = kind;
    input.bidNaviPanelVisible = bidNaviPanelVisible();
    const QList<QTreeWidgetItem*> selected = ListViewBidNavi->selectedItems();
    input.bidNaviSelectedRows = int(selected.size());
    if (selected.size() == 1)
        if (const NaviListItem* row = NaviListItem::of(selected.first()))
            input.selectedPicture = row->picture();

    const NaviActionState state = decideNaviActions(input);
    for (auto it = state.enabled.cbegin(); it != state.enabled.cend(); ++it) {
        const QString& name = it.key();
        if (name == QLatin1String("MainMenuNavi"))
            MainMenuNavi->setEnabled(it.value());
        else if (name == QLatin1String("ToolButtonBidSearch"))
            ToolButtonBidSearch->setEnabled(it.value());
        else if (name == QLatin1String("ToolButtonNaviFind"))
            ToolButtonNaviFind->setEnabled(it.value());
        else if (QAction* command = action(name))
            enableCommand(command, it.value());
        else if (auto* item = findChild<QAction*>(name))
            item->setEnabled(it.value());
    }
    if (state.visible.contains("PopupMenuNaviListReply"))
        PopupMenuNaviListReply->setVisible(state.visible["PopupMenuNaviListReply"]);
    if (state.visible.contains("PopupMenuNaviListMake"))
        PopupMenuNaviListMake->setVisible(state.visible["PopupMenuNaviListMake"]);
    if (state.treeEditable)
        TreeViewNavi->setEditTriggers(*state.treeEditable ? QAbstractItemView::EditKeyPressed |
                                                                QAbstractItemView::SelectedClicked
                                                          : QAbstractItemView::NoEditTriggers);
}

void TFormNavi::refreshNaviActions()
{
    if (PageControlMain->currentIndex() == 0) {
        updateNaviActions(QString(), -1);
        return;
    }
    // On the message tab the commands follow the chosen folder; without one they stay.
    QTreeWidgetItem* folder = TreeViewNavi->currentItem();
    if (!loginId.isEmpty() && folder)
        updateNaviActions(FolderTree::folderId(folder), FolderTree::folderKind(folder));
}

void TFormNavi::runBidListOperation(int operation)
{
    if (operation == 0) {
        ActionShowBrowserExecute();
    } else if (operation == 1) {
        if (ActionNaviDownloadSelect->isEnabled())
            downloadControl().ActionNaviDownloadSelectExecute();
    }
}

int TFormNavi::getSubItemIndexAtCursor(const QTreeView* list) const
{
    const QPoint at = list->viewport()->mapFromGlobal(QCursor::pos());
    // The header counts the horizontal scroll; right of the last column there is no index.
    const int column = list->header()->logicalIndexAt(at.x());
    return column < 0 ? -1 : column - 1;
}

void TFormNavi::ListViewBidDblClick()
{
    if (options.bidDblClickFlgChange) {
        const int c = getSubItemIndexAtCursor(ListViewBid);
        const BidRow first = ListViewBid->firstSelectedItem();
        if (first && c >= BidListColumns::FirstFlg && c <= BidListColumns::EndFlg) {
            updateProgressFlags(c, cell(first, c).isEmpty());
            return;
        }
    }
    runBidListOperation(options.operationBidListDblClick);
}

void TFormNavi::ListViewBidKeyDown()
{
    runBidListOperation(options.operationBidListEnter);
}

void TFormNavi::connectSelectionSignals()
{
    connect(ListViewBid, &BidListView::itemSelectionChanged, this, [this] {
        ListViewBidSelectItem();
        ListViewBidChange();
    });
    connect(ListViewBid, &BidListView::currentItemChanged, this, &TFormNavi::ListViewBidChange);
    connect(TimerListViewBid, &QTimer::timeout, this, &TFormNavi::TimerListViewBidTimer);
    auto* activation = new EventHook(
        [this](QObject* watched, QEvent* event) {
            if (watched == ListViewBid->viewport() &&
                event->type() == QEvent::MouseButtonDblClick) {
                ListViewBidDblClick();
                return true;
            }
            if (watched == ListViewBid && event->type() == QEvent::KeyPress) {
                const int key = static_cast<QKeyEvent*>(event)->key();
                if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                    ListViewBidKeyDown();
                    return true;
                }
            }
            return false;
        },
        this);
    activation->watch(ListViewBid);
    activation->watch(ListViewBid->viewport());

    // The listing tab's message list: the chosen row decides the commands.
    connect(ListViewBidNavi, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (PageControlMain->currentIndex() == 0)
            updateNaviActions(QString(), -1);
    });
    // The popup's own reply and new-message items run the shared commands.
    for (const auto& pair : {std::pair{PopupMenuNaviListReply, action("ActionNaviReply")},
                             std::pair{PopupMenuNaviListMake, ActionNaviMake}}) {
        QAction* item = pair.first;
        QAction* command = pair.second;
        item->setEnabled(command->isEnabled());
        connect(command, &QAction::changed, item,
                [item, command] { item->setEnabled(command->isEnabled()); });
        connect(item, &QAction::triggered, command, &QAction::trigger);
    }
}
