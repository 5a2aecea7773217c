#include "views/NaviReadState.h"

#include "views/BidListView.h"

#include "site/MessageCountCell.h"

#include "platform/Dialogs.h"
#include "platform/Sql.h"
#include "views/FolderTree.h"
#include "views/NaviListItem.h"

#include <QItemSelectionModel>
#include <QSet>
#include <QSqlQuery>
#include <QTreeWidget>

#include <algorithm>

namespace NaviReadState {
namespace {

struct TransactionKey
{
    QString aid;
    QString bidId;
    bool operator==(const TransactionKey& other) const
    {
        return aid == other.aid && bidId.compare(other.bidId, Qt::CaseInsensitive) == 0;
    }
};

size_t qHash(const TransactionKey& key, size_t seed = 0)
{
    return ::qHash(key.aid, seed) ^ ::qHash(key.bidId.toLower(), seed);
}

// One message of a transaction; winner ids compare without case, as the database does.
QString messageKey(const NaviRow& row)
{
    return row.aid + QChar(0x1f) + row.bidId.toLower() + QChar(0x1f) + row.number;
}

// The selected rows in list order.
QList<NaviListItem*> selectedRows(const QTreeWidget* list)
{
    QModelIndexList indexes = list->selectionModel()->selectedRows();
    std::sort(indexes.begin(), indexes.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QList<NaviListItem*> rows;
    for (const QModelIndex& index : indexes)
        if (NaviListItem* item = NaviListItem::of(list->topLevelItem(index.row())))
            rows.append(item);
    return rows;
}

// Gives every received row of the list that shows a changed message the new state (the other
// list, and rows of a message stored twice).
void follow(QTreeWidget* list, const QSet<QString>& changed, bool read)
{
    if (!list)
        return;
    const int count = list->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        NaviListItem* item = NaviListItem::of(list->topLevelItem(i));
        if (item && item->isReceived() && item->row().read != read &&
            changed.contains(messageKey(item->row())))
            item->setRead(read);
    }
}

void updateCountCells(BidListView* listViewBid, const QSqlDatabase& db, const QString& loginId,
                      const QSet<TransactionKey>& transactions)
{
    if (!listViewBid || transactions.isEmpty())
        return;
    QHash<TransactionKey, QString> cells;
    for (const TransactionKey& transaction : transactions)
        cells.insert(transaction,
                     MessageCountCell::read(db, loginId, transaction.aid, transaction.bidId));
    const int count = listViewBid->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        const BidRow item = listViewBid->bidItem(i);
        const auto it =
            cells.constFind({item.text(listingAidColumn), item.text(listingBidIdColumn)});
        if (it != cells.constEnd() && item.textView(listingCountColumn) != *it)
            item.setText(listingCountColumn, *it);
    }
}

} // namespace

bool wouldChange(const QTreeWidget* list, bool read)
{
    if (!list)
        return false;
    const QList<NaviListItem*> rows = selectedRows(list);
    return std::any_of(rows.cbegin(), rows.cend(), [read](const NaviListItem* item) {
        return item->isReceived() && item->row().read != read;
    });
}

Result setMessagesOpened(const QSqlDatabase& db, const QString& loginId, const Views& views,
                         bool read)
{
    Result result;
    if (!views.activeList)
        return result;
    QList<NaviListItem*> toChange;
    for (NaviListItem* item : selectedRows(views.activeList))
        if (item->isReceived() && item->row().read != read)
            toChange.append(item);

    if (!toChange.isEmpty()) {
        Sql::Transaction transaction(db);
        QSqlQuery update = Sql::prepare(
            db, QStringLiteral("UPDATE T_Navi SET UnsealingFlg=:UNSEALING_FLG "
                               "WHERE Aid=:AID AND BidId=:BID_ID AND [Number]=:NUMBER"));
        for (const NaviListItem* item : toChange)
            Sql::exec(update, {{":UNSEALING_FLG", read ? 1 : 0},
                               {":AID", item->row().aid},
                               {":BID_ID", item->row().bidId},
                               {":NUMBER", item->row().number.toInt()}});
        transaction.commit();
    }

    QSet<QString> changed;
    QSet<TransactionKey> transactions;
    for (NaviListItem* item : toChange) {
        item->setRead(read);
        changed.insert(messageKey(item->row()));
        transactions.insert({item->row().aid, item->row().bidId});
    }
    result.changedRows = int(toChange.size());
    if (!toChange.isEmpty()) {
        for (QTreeWidget* list : {views.listViewNavi, views.listViewBidNavi})
            follow(list, changed, read);
        updateCountCells(views.listViewBid, db, loginId, transactions);
        if (views.treeViewNavi)
            FolderTree::loadUnreadCounts(views.treeViewNavi, db, loginId, views.dragging);
    }
    result.shownUnreadCount =
        views.listViewNavi ? NaviListView::countUnread(views.listViewNavi) : 0;
    return result;
}

Result runCommand(QWidget* dialogParent, bool confirm, const QSqlDatabase& db,
                  const QString& loginId, const Views& views, bool read)
{
    if (!wouldChange(views.activeList, read)) {
        Result result;
        if (views.listViewNavi)
            result.shownUnreadCount = NaviListView::countUnread(views.listViewNavi);
        return result;
    }
    if (confirm && !Dialogs::askOkCancel(dialogParent, QStringLiteral("確認"),
                                         read ? QStringLiteral("開封しますか？")
                                              : QStringLiteral("未開封にしますか？"))) {
        Result result;
        if (views.listViewNavi)
            result.shownUnreadCount = NaviListView::countUnread(views.listViewNavi);
        return result;
    }
    return setMessagesOpened(db, loginId, views, read);
}

} // namespace NaviReadState
