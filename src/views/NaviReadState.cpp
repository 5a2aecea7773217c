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
};

// A transaction, and one message of it, as one text; winner ids compare without case, as the
// database does.
QString transactionKey(const NaviKey& key)
{
    return key.aid + QChar(0x1f) + key.bidId.toLower();
}

QString messageKey(const NaviKey& key)
{
    return transactionKey(key) + QChar(0x1f) + key.number;
}

// Gives every received row of the list that shows a changed message the new state (the other
// list, and rows of a message stored twice). The auction ids pass over most other rows cheaply.
void follow(QAbstractItemView* list, const QSet<QString>& changedAids,
            const QSet<QString>& changed, bool read)
{
    if (!list)
        return;
    const NaviRows rows(list);
    const int count = rows.count();
    QList<int> following;
    for (int i = 0; i < count; ++i) {
        if (rows.isReceived(i) && rows.isRead(i) != read && changedAids.contains(rows.aid(i)) &&
            changed.contains(messageKey(rows.key(i))))
            following.append(i);
    }
    rows.setRead(following, read);
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
    // Every row of each transaction, through the list's own index of its transactions.
    BidListModel* model = listViewBid->listModel();
    std::vector<std::pair<int, QString>> cells;
    for (qsizetype i = 0; i < transactions.size(); ++i) {
        const TransactionKey& transaction = transactions.at(i);
        for (int record : model->findRecords(transaction.aid, transaction.bidId)) {
            if (model->cell(record, listingCountColumn) != texts.at(i))
                cells.emplace_back(record, texts.at(i));
        }
    }
    model->setColumnCells(listingCountColumn, cells);
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
    QSet<QString> seen;
    QSet<QString> changedAids;
    QList<TransactionKey> transactions;
    changed.reserve(keys.size());
    rows.setRead(toChange, read);
    for (int i = 0; i < toChange.size(); ++i) {
        const NaviKey& key = keys.at(i);
        changed.insert(messageKey(key));
        changedAids.insert(key.aid);
        const qsizetype before = seen.size();
        seen.insert(transactionKey(key));
        if (seen.size() != before)
            transactions.append({key.aid, key.bidId});
    }
    result.changedRows = int(toChange.size());
    for (QAbstractItemView* list : {views.listViewNavi, views.listViewBidNavi})
        follow(list, changedAids, changed, read);
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
