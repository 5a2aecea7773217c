#include "views/NaviReadState.h"

#include "views/BidListView.h"

#include "platform/Dialogs.h"
#include "views/FolderTree.h"
#include "views/NaviReadStore.h"
#include "views/NaviRows.h"

#include <QItemSelectionModel>
#include <QSet>
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
QString messageKey(const NaviKey& key)
{
    return key.aid + QChar(0x1f) + key.bidId.toLower() + QChar(0x1f) + key.number;
}

// Gives every received row of the list that shows a changed message the new state (the other
// list, and rows of a message stored twice).
void follow(QAbstractItemView* list, const QSet<QString>& changed, bool read)
{
    if (!list)
        return;
    const NaviRows rows(list);
    const int count = rows.count();
    for (int i = 0; i < count; ++i) {
        if (rows.isReceived(i) && rows.isRead(i) != read && changed.contains(messageKey(rows.key(i))))
            rows.setRead(i, read);
    }
}

// The message-count cells of the listing rows of the changed transactions, read in one query.
void updateCountCells(BidListView* listViewBid, const QSqlDatabase& db, const QString& loginId,
                      const QList<TransactionKey>& transactions)
{
    if (!listViewBid || transactions.isEmpty())
        return;
    QList<NaviReadStore::Transaction> keys;
    keys.reserve(transactions.size());
    for (const TransactionKey& transaction : transactions)
        keys.append({transaction.aid, transaction.bidId});
    const QStringList texts = NaviReadStore::countCells(db, loginId, keys);
    QHash<TransactionKey, QString> cells;
    cells.reserve(transactions.size());
    for (qsizetype i = 0; i < transactions.size(); ++i)
        cells.insert(transactions.at(i), texts.at(i));
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

bool wouldChange(QAbstractItemView* list, bool read)
{
    if (!list)
        return false;
    const NaviRows rows(list);
    const QList<int> selected = rows.selected();
    return std::any_of(selected.cbegin(), selected.cend(), [&rows, read](int row) {
        return rows.isReceived(row) && rows.isRead(row) != read;
    });
}

Result setMessagesOpened(const QSqlDatabase& db, const QString& loginId, const Views& views,
                         bool read)
{
    Result result;
    if (!views.activeList)
        return result;
    const NaviRows rows(views.activeList);
    QList<int> toChange;
    QList<NaviKey> keys;
    for (int row : rows.selected()) {
        if (rows.isReceived(row) && rows.isRead(row) != read) {
            toChange.append(row);
            keys.append(rows.key(row));
        }
    }

    if (toChange.isEmpty()) {
        result.shownUnreadCount = views.listViewNavi ? NaviRows(views.listViewNavi).countUnread() : 0;
        return result;
    }
    const QMap<QString, int> folderChanges =
        NaviReadStore::write(db, loginId, keys, read, views.treeViewNavi != nullptr);

    QSet<QString> changed;
    QSet<TransactionKey> seen;
    QList<TransactionKey> transactions;
    changed.reserve(keys.size());
    for (int i = 0; i < toChange.size(); ++i) {
        rows.setRead(toChange.at(i), read);
        const NaviKey& key = keys.at(i);
        changed.insert(messageKey(key));
        const TransactionKey transaction{key.aid, key.bidId};
        if (!seen.contains(transaction)) {
            seen.insert(transaction);
            transactions.append(transaction);
        }
    }
    result.changedRows = int(toChange.size());
    for (QAbstractItemView* list : {views.listViewNavi, views.listViewBidNavi})
        follow(list, changed, read);
    updateCountCells(views.listViewBid, db, loginId, transactions);
    if (views.treeViewNavi)
        FolderTree::changeUnreadCounts(views.treeViewNavi, folderChanges, views.dragging);
    result.shownUnreadCount = views.listViewNavi ? NaviRows(views.listViewNavi).countUnread() : 0;
    return result;
}

Result runCommand(QWidget* dialogParent, bool confirm, const QSqlDatabase& db,
                  const QString& loginId, const Views& views, bool read)
{
    if (!wouldChange(views.activeList, read)) {
        Result result;
        if (views.listViewNavi)
            result.shownUnreadCount = NaviRows(views.listViewNavi).countUnread();
        return result;
    }
    if (confirm && !Dialogs::askOkCancel(dialogParent, QStringLiteral("確認"),
                                         read ? QStringLiteral("開封しますか？")
                                              : QStringLiteral("未開封にしますか？"))) {
        Result result;
        if (views.listViewNavi)
            result.shownUnreadCount = NaviRows(views.listViewNavi).countUnread();
        return result;
    }
    return setMessagesOpened(db, loginId, views, read);
}

} // namespace NaviReadState
