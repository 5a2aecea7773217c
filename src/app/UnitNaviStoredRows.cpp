// The listing and message lists following what a download stored, without reloading them.
#include "app/UnitNavi.h"

#include "site/ListingStore.h"
#include "site/NaviStore.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/NaviListItem.h"

#include <QAction>
#include <QLabel>
#include <QSet>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

// Removes the rows of the keys from the list, except rows whose index is -1. Many rows leave
// at once by taking every row out and putting the others back (removing rows one by one costs
// a search of the list each); the selection and the current row are kept. True when rows left.
bool removeListRows(BidListView* list, const QList<ListingKey>& keys)
{
    QSet<QTreeWidgetItem*> leaving;
    for (const ListingKey& key : keys) {
        BidListItem* item = list->findBidItem(key.aid, key.bidId);
        if (item && item->text(BidListColumns::CaptionColumn) != QStringLiteral("-1"))
            leaving.insert(item);
    }
    if (leaving.isEmpty())
        return false;
    if (leaving.size() < 64) {
        qDeleteAll(leaving);
        return true;
    }
    QTreeWidgetItem* current = list->currentItem();
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    QList<QTreeWidgetItem*> rows = list->invisibleRootItem()->takeChildren();
    QList<QTreeWidgetItem*> staying;
    staying.reserve(rows.size() - leaving.size());
    for (QTreeWidgetItem* item : rows)
        if (!leaving.contains(item))
            staying.append(item);
    qDeleteAll(leaving);
    list->addTopLevelItems(staying);
    for (QTreeWidgetItem* item : selected)
        if (!leaving.contains(item))
            item->setSelected(true);
    if (current && !leaving.contains(current))
        list->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
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

BidListItem* TFormNavi::addListViewBidItem(const QString& index, const QString& aid,
                                           const QString& title, const QString& bidId,
                                           const QString& quantity, const QString& price,
                                           const QString& url)
{
    StoredListingRow row{index.toInt(), aid, title, bidId, quantity, price, url};
    QStringList cells = ListingStore(connection).listViewBidCells(row);
    cells[0] = index;
    return ListViewBid->addBidItem(cells);
}

void TFormNavi::applyListingStoreSummary(const ListingStoreSummary& summary)
{
    if (!summary.written)
        return;
    const bool updates = ListViewBid->updatesEnabled();
    ListViewBid->setUpdatesEnabled(false);
    if (summary.indexShift != 0) {
        for (int row = 0; row < ListViewBid->topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = ListViewBid->topLevelItem(row);
            const QString caption = item->text(BidListColumns::CaptionColumn);
            if (caption != QStringLiteral("-1"))
                item->setText(BidListColumns::CaptionColumn,
                              QString::number(caption.toInt() + summary.indexShift));
        }
    }
    for (const ListingRowUpdate& update : summary.updated) {
        BidListItem* item = ListViewBid->findBidItem(update.key.aid, update.key.bidId);
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
        addListViewBidItem(QString::number(row.index), row.aid, row.title, row.bidId, row.quantity,
                           row.price, row.url);
    // The delayed detail fill never reaches a row that left.
    if (removeListRows(ListViewBid, summary.markedDeleted))
        forgetCurrentBidItem();
    ListViewBid->sortList();
    ListViewBid->setUpdatesEnabled(updates);
}

void TFormNavi::showStoredBoard(const NaviStoreSummary& summary, NaviStore& store)
{
    // Rows deleted again for a repeated number are not listed: the re-download lists them.
    if (!summary.deleted && !summary.rows.isEmpty()) {
        QTreeWidgetItem* folder =
            TreeViewNavi->topLevelItemCount() > 0 ? TreeViewNavi->currentItem() : nullptr;
        const QString shownFolder = folder ? FolderTree::folderId(folder) : QString();
        const bool bidNaviShown =
            ActionShowBidNaviPanel->isChecked() && currentBidItem &&
            currentBidItem->text(BidListColumns::column(BidListColumns::Aid)) == summary.aid &&
            BidListIndex::key(
                summary.aid, currentBidItem->text(BidListColumns::column(BidListColumns::BidId))) ==
                BidListIndex::key(summary.aid, summary.bidId);
        bool folderRows = false;
        ListViewNavi->setUpdatesEnabled(false);
        for (const NaviStoredRow& stored : summary.rows) {
            const NaviRow row = listRow(stored, summary);
            if ((shownFolder == receivedRoot && row.received) ||
                (shownFolder == sentRoot && !row.received)) {
                NaviListView::addRow(ListViewNavi, NaviList::Folder, row);
                folderRows = true;
            }
            if (bidNaviShown)
                NaviListView::addRow(ListViewBidNavi, NaviList::Transaction, row);
        }
        if (folderRows) {
            NaviListView::sort(ListViewNavi, naviSortColumn, naviSortType);
            shownUnreadCount = NaviListView::countUnread(ListViewNavi);
            if (PageControlMain->currentIndex() == 1)
                statusPanels[1]->setText(
                    NaviListView::statusText(ListViewNavi->topLevelItemCount(), shownUnreadCount));
        }
        ListViewNavi->setUpdatesEnabled(true);
        if (bidNaviShown)
            NaviListView::sort(ListViewBidNavi, bidNaviSortColumn, bidNaviSortType);
    }
    // The received root's count changes with every new received message, whichever folder
    // is shown.
    if (summary.receivedCount > 0 && TreeViewNavi->topLevelItemCount() > 0)
        loadUnreadCounts();

    if (!summary.rows.isEmpty()) {
        // The cell follows the database, so it is right even when the download is stopped
        // before its end, or the board was deleted again.
        if (BidListItem* row = ListViewBid->findBidItem(summary.aid, summary.bidId))
            row->setSubItem(BidListColumns::NaviCount,
                            store.messageCountCell(summary.aid, summary.bidId));
    }
}
