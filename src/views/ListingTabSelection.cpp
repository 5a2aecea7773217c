// The listing selection: the price total, the delayed fill of the bidder panel and the
// listing tab's message panel, the message commands' state, and the double-click and Enter
// operations of the listing list.
#include "views/ListingTab.h"

#include "common/NaviSession.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/NaviActionState.h"
#include "views/NaviListItem.h"
#include "views/SelectionTotal.h"

#include <QAction>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

namespace {

QString cell(const BidRow& row, int subItem)
{
    return row.subItem(subItem);
}

} // namespace

ListingTab::ListingTab(NaviSession& session, Window& window, EndTimeControl& endTime,
                       const Widgets& widgets, QObject* parent)
    : QObject(parent), m_session(session), m_window(window), m_endTime(endTime), w(widgets)
{
    TimerListViewBid = new QTimer(this);
    TimerListViewBid->setObjectName("TimerListViewBid");
    TimerListViewBid->setSingleShot(true);
    TimerListViewBid->setInterval(50);
}

void ListingTab::ListViewBidSelectItem()
{
    selectedPriceTotal = SelectionTotal::of(w.ListViewBid);
    w.statusPanelTotal->setText(SelectionTotal::text(selectedPriceTotal));
}

void ListingTab::ListViewBidChange()
{
    TimerListViewBid->stop();
    BidRow row = w.ListViewBid->currentItem();
    if (!row || !w.ListViewBid->isSelected(row))
        row = w.ListViewBid->firstSelectedItem();
    if (!row)
        return;
    if (cell(row, BidListColumns::Aid) != w.EditBidAid->text() ||
        cell(row, BidListColumns::BidId) != w.EditBidId->text()) {
        currentBidItem = row;
        TimerListViewBid->start();
    }
}

void ListingTab::TimerListViewBidTimer()
{
    TimerListViewBid->stop();
    if (!currentBidItem)
        return;
    const BidRow row = currentBidItem;
    if (bidNaviPanelVisible())
        loadBidNaviList(cell(row, BidListColumns::Aid), cell(row, BidListColumns::BidId), row);
    m_window.showBidderInfo(cell(row, BidListColumns::BidId), cell(row, BidListColumns::Name));
}

void ListingTab::forgetCurrentBidItem()
{
    TimerListViewBid->stop();
    currentBidItem = BidRow();
}

bool ListingTab::bidNaviPanelVisible() const
{
    return !w.PanelBidNavi->isHidden();
}

void ListingTab::loadBidNaviList(const QString& aid, const QString& bidId, const BidRow& row)
{
    if (!m_session.connection.isOpen() || !row)
        return;
    if (w.EditBidAid->text() == cell(row, BidListColumns::Aid) &&
        w.EditBidId->text() == cell(row, BidListColumns::BidId))
        return;
    w.EditBidAid->setText(cell(row, BidListColumns::Aid));
    w.EditBidTitle->setText(cell(row, BidListColumns::Title));
    w.EditBidTitle->home(false);
    w.EditBidNaviBidId->setText(cell(row, BidListColumns::BidId));
    m_window.clearBidNaviDetail();
    w.ListViewBidNavi->clear();
    const auto [sortColumn, sortType] = m_window.bidNaviSort();
    NaviListView::loadTransactionList(w.ListViewBidNavi, m_session.connection, aid, bidId,
                                      m_session.loginId, sortColumn, sortType);
    if (QTreeWidgetItem* first = w.ListViewBidNavi->topLevelItem(0))
        w.ListViewBidNavi->setCurrentItem(first);
    updateNaviActions(QString(), -1);
}

void ListingTab::clearBidNaviPanel()
{
    for (QLineEdit* edit : {w.EditBidAid, w.EditBidTitle, w.EditBidNaviBidId})
        edit->clear();
    w.ListViewBidNavi->clear();
    m_window.clearBidNaviDetail();
}

void ListingTab::updateNaviActions(const QString& folderId, int kind)
{
    NaviActionInput input;
    input.naviTab = w.PageControlMain->currentIndex() == 1;
    input.folderId = folderId;
    input.kind = kind;
    input.bidNaviPanelVisible = bidNaviPanelVisible();
    const QList<QTreeWidgetItem*> selected = w.ListViewBidNavi->selectedItems();
    input.bidNaviSelectedRows = int(selected.size());
    if (selected.size() == 1)
        if (const NaviListItem* row = NaviListItem::of(selected.first()))
            input.selectedPicture = row->picture();
    m_window.applyNaviActions(decideNaviActions(input));
}

void ListingTab::refreshNaviActions()
{
    if (w.PageControlMain->currentIndex() == 0) {
        updateNaviActions(QString(), -1);
        return;
    }
    // On the message tab the commands follow the chosen folder; without one they stay.
    QTreeWidgetItem* folder = w.TreeViewNavi->currentItem();
    if (!m_session.loginId.isEmpty() && folder)
        updateNaviActions(FolderTree::folderId(folder), FolderTree::folderKind(folder));
}

void ListingTab::ListViewBidNaviSelectItem()
{
    // The listing tab's message list: the chosen row decides the commands.
    if (w.PageControlMain->currentIndex() == 0)
        updateNaviActions(QString(), -1);
}

void ListingTab::runBidListOperation(int operation)
{
    if (operation == 0) {
        m_window.openBrowser();
    } else if (operation == 1) {
        if (w.ActionNaviDownloadSelect->isEnabled())
            m_window.downloadSelectedBoards();
    }
}

int ListingTab::getSubItemIndexAtCursor(const QTreeView* list)
{
    const QPoint at = list->viewport()->mapFromGlobal(QCursor::pos());
    // The header counts the horizontal scroll; right of the last column there is no index.
    const int column = list->header()->logicalIndexAt(at.x());
    return column < 0 ? -1 : column - 1;
}

void ListingTab::ListViewBidDblClick()
{
    if (m_session.options.bidDblClickFlgChange) {
        const int c = getSubItemIndexAtCursor(w.ListViewBid);
        const BidRow first = w.ListViewBid->firstSelectedItem();
        if (first && c >= BidListColumns::FirstFlg && c <= BidListColumns::EndFlg) {
            updateProgressFlags(c, cell(first, c).isEmpty());
            return;
        }
    }
    runBidListOperation(m_session.options.operationBidListDblClick);
}

void ListingTab::ListViewBidKeyDown()
{
    runBidListOperation(m_session.options.operationBidListEnter);
}

bool ListingTab::ListViewBidKeyPress(const QKeyEvent* key)
{
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    ListViewBidKeyDown();
    return true;
}
