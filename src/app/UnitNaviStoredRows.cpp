// The listing and message lists following what a download stored, without reloading them.
#include "app/UnitNavi.h"

#include "app/NaviDownloadWindow.h"
#include "site/ListingStore.h"
#include "site/NaviStore.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/BidListModel.h"
#include "views/ListingTab.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/MessageTab.h"

#include <QAction>
#include <QLabel>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

// Removes the rows of the keys from the list, except rows whose index is -1; the selection and
// the current row are kept. True when rows left.
bool removeListRows(BidListView* list, const QList<ListingKey>& keys)
{
    QList<BidRow> leaving;
    for (const ListingKey& key : keys) {
        const BidRow item = list->findBidItem(key.aid, key.bidId);
        if (item && item.textView(BidListColumns::CaptionColumn) != QStringLiteral("-1"))
            leaving.append(item);
    }
    if (leaving.isEmpty())
        return false;
    list->removeRows(leaving);
    return true;
}

const QString receivedRoot = QStringLiteral("000");
const QString sentRoot = QStringLiteral("001");

NaviRow listRow(const NaviStoredRow& stored, const NaviStoreSummary& summary)
{
    NaviRow row;
    row.aid = stored.aid;
    row.bidId = stored.bidId;
    row.writeId = stored.writeId;
    row.title = summary.title;
    row.name = summary.bidderName;
    row.number = QString::number(stored.number);
    row.subject = stored.subject;
    row.message = stored.message;
    row.writeDate = stored.writeDate;
    row.received = stored.recFlg;
    row.read = false;
    return row;
}

} // namespace

BidRow TFormNavi::addListViewBidItem(const QString& index, const QString& aid, const QString& title,
                                     const QString& bidId, const QString& quantity,
                                     const QString& price, const QString& url)
{
    StoredListingRow row{index.toInt(), aid, title, bidId, quantity, price, url};
    QStringList cells = ListingStore(connection).listViewBidCells(row);
    cells[0] = index;
    return ListViewBid->addBidItem(cells);
}

void NaviDownloadWindow::applyListingStoreSummary(const ListingStoreSummary& summary)
{
    if (!summary.written)
        return;
    const bool updates = m_navi.ListViewBid->updatesEnabled();
    m_navi.ListViewBid->setUpdatesEnabled(false);
    if (summary.indexShift != 0) {
        for (int row = 0; row < m_navi.ListViewBid->topLevelItemCount(); ++row) {
            const BidRow item = m_navi.ListViewBid->bidItem(row);
            const QString caption = item->text(BidListColumns::CaptionColumn);
            if (caption != QStringLiteral("-1"))
                item->setText(BidListColumns::CaptionColumn,
                              QString::number(caption.toInt() + summary.indexShift));
        }
    }
    for (const ListingRowUpdate& update : summary.updated) {
        BidRow item = m_navi.ListViewBid->findBidItem(update.key.aid, update.key.bidId);
        if (!item)
            continue;
        if (update.index)
            item->setText(BidListColumns::CaptionColumn, QString::number(*update.index));
        if (update.bidId)
            item->setSubItem(BidListColumns::BidId, *update.bidId);
        if (update.quantity)
            item->setSubItem(BidListColumns::Quantity, *update.quantity);
        if (update.price)
            item->setSubItem(BidListColumns::Price, *update.price);
    }
    for (const StoredListingRow& row : summary.inserted)
        m_navi.addListViewBidItem(QString::number(row.index), row.aid, row.title, row.bidId,
                                  row.quantity, row.price, row.url);
    // The delayed detail fill never reaches a row that left.
    if (removeListRows(m_navi.ListViewBid, summary.markedDeleted))
        m_navi.listingTab().forgetCurrentBidItem();
    m_navi.ListViewBid->sortList();
    m_navi.ListViewBid->setUpdatesEnabled(updates);
}

void NaviDownloadWindow::showStoredBoard(const NaviStoreSummary& summary, NaviStore& store)
{
    // Rows deleted again for a repeated number are not listed: the re-download lists them.
    if (!summary.deleted && !summary.rows.isEmpty()) {
        QTreeWidgetItem* folder = m_navi.TreeViewNavi->topLevelItemCount() > 0
                                      ? m_navi.TreeViewNavi->currentItem()
                                      : nullptr;
        const QString shownFolder = folder ? FolderTree::folderId(folder) : QString();
        const BidRow& currentBidItem = m_navi.listingTab().currentBidItem;
        const bool bidNaviShown =
            m_navi.ActionShowBidNaviPanel->isChecked() && currentBidItem &&
            currentBidItem->text(BidListColumns::column(BidListColumns::Aid)) == summary.aid &&
            BidListModel::sameWinner(
                currentBidItem->text(BidListColumns::column(BidListColumns::BidId)), summary.bidId);
        bool folderRows = false;
        m_navi.ListViewNavi->setUpdatesEnabled(false);
        for (const NaviStoredRow& stored : summary.rows) {
            const NaviRow row = listRow(stored, summary);
            if ((shownFolder == receivedRoot && row.received) ||
                (shownFolder == sentRoot && !row.received)) {
                m_navi.ListViewNavi->rows()->appendRow(row);
                folderRows = true;
            }
            if (bidNaviShown)
                NaviListView::addRow(m_navi.ListViewBidNavi, NaviList::Transaction, row);
        }
        if (folderRows) {
            m_navi.ListViewNavi->sort(m_navi.messageTab().naviSortColumn,
                                      m_navi.messageTab().naviSortType);
            m_navi.messageTab().shownUnreadCount = m_navi.ListViewNavi->countUnread();
            if (m_navi.PageControlMain->currentIndex() == 1)
                m_navi.statusPanels[1]->setText(NaviListView::statusText(
                    m_navi.ListViewNavi->rowCount(), m_navi.messageTab().shownUnreadCount));
        }
        m_navi.ListViewNavi->setUpdatesEnabled(true);
        if (bidNaviShown)
            NaviListView::sort(m_navi.ListViewBidNavi, m_navi.messageTab().bidNaviSortColumn,
                               m_navi.messageTab().bidNaviSortType);
    }
    // The received root's count changes with every new received message, whichever folder
    // is shown.
    if (summary.receivedCount > 0 && m_navi.TreeViewNavi->topLevelItemCount() > 0)
        m_navi.messageTab().loadUnreadCounts();

    if (!summary.rows.isEmpty()) {
        // The cell follows the database, so it is right even when the download is stopped
        // before its end, or the board was deleted again.
        if (BidRow row = m_navi.ListViewBid->findBidItem(summary.aid, summary.bidId))
            row->setSubItem(BidListColumns::NaviCount,
                            store.messageCountCell(summary.aid, summary.bidId));
    }
}
