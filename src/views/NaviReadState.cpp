#include "views/NaviReadState.h"

#include "views/BidListView.h"

#include "site/MessageCountCell.h"

#include "platform/Dialogs.h"
#include "platform/Sql.h"
#include "views/FolderTree.h"
#include "views/NaviListItem.h"
#include "views/NaviRows.h"

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

    if (!toChange.isEmpty()) {
        Sql::Transaction transaction(db);
        QSqlQuery update = Sql::prepare(
            db, QStringLiteral("UPDATE T_Navi SET UnsealingFlg=:UNSEALING_FLG "
                               "WHERE Aid=:AID AND BidId=:BID_ID AND [Number]=:NUMBER"));
        for (const NaviKey& key : keys)
            Sql::exec(update, {{":UNSEALING_FLG", read ? 1 : 0},
                               {":AID", key.aid},
                               {":BID_ID", key.bidId},
                               {":NUMBER", key.number.toInt()}});
        transaction.commit();
    }

    QSet<QString> changed;
    QSet<TransactionKey> transactions;
    for (int i = 0; i < toChange.size(); ++i) {
        rows.setRead(toChange.at(i), read);
        changed.insert(messageKey(keys.at(i)));
        transactions.insert({keys.at(i).aid, keys.at(i).bidId});
    }
    result.changedRows = int(toChange.size());
    if (!toChange.isEmpty()) {
        for (QAbstractItemView* list : {views.listViewNavi, views.listViewBidNavi})
            follow(list, changed, read);
        updateCountCells(views.listViewBid, db, loginId, transactions);
        if (views.treeViewNavi)
            FolderTree::loadUnreadCounts(views.treeViewNavi, db, loginId, views.dragging);
    }
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
