#include "views/NaviMove.h"

#include "platform/Sql.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviRows.h"

#include <QTreeWidget>

namespace NaviMove {

QList<NaviKey> selectedKeys(QAbstractItemView* list)
{
    const NaviRows rows(list);
    QList<NaviKey> keys;
    for (int row : rows.selected())
        keys.append(rows.key(row));
    return keys;
}

void write(const QSqlDatabase& db, const QString& folderId, const QList<NaviKey>& keys)
{
    if (keys.isEmpty())
        return;
    Sql::Transaction transaction(db);
    QSqlQuery query = Sql::prepare(db, QStringLiteral("UPDATE T_Navi SET FolderID=:FOLDER_ID "
                                                      "WHERE Aid=:DATA_AID AND BidId=:DATA_BIDID "
                                                      "AND [Number]=:DATA_NUMBER"));
    SqlParams params{{QStringLiteral(":FOLDER_ID"), folderId},
                     {QStringLiteral(":DATA_AID"), QString()},
                     {QStringLiteral(":DATA_BIDID"), QString()},
                     {QStringLiteral(":DATA_NUMBER"), QVariant()}};
    for (const NaviKey& key : keys) {
        params[1].second = key.aid;
        params[2].second = key.bidId;
        bool numeric = false;
        const qlonglong number = key.number.toLongLong(&numeric);
        params[3].second = numeric ? QVariant(number) : QVariant(key.number);
        Sql::exec(query, params);
    }
    transaction.commit();
}

namespace {

// A list of NaviListItems: many rows leave at once by rebuilding the list from the rows that
// stay, which costs one reset instead of one removal (and selection update) per row.
void removeItems(QTreeWidget* list, const QList<int>& selected)
{
    QList<QTreeWidgetItem*> kept;
    QList<QTreeWidgetItem*> removed;
    const int count = list->topLevelItemCount();
    kept.reserve(count);
    for (int i = 0, next = 0; i < count; ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        if (next < selected.size() && selected.at(next) == i) {
            removed.append(item);
            ++next;
        } else {
            kept.append(item);
        }
    }
    const bool updates = list->updatesEnabled();
    list->setUpdatesEnabled(false);
    list->clearSelection();
    list->setCurrentItem(nullptr);
    if (removed.size() > 16) {
        const QList<QTreeWidgetItem*> all = list->invisibleRootItem()->takeChildren();
        Q_UNUSED(all);
        list->addTopLevelItems(kept);
        qDeleteAll(removed);
    } else {
        for (QTreeWidgetItem* item : removed)
            delete item;
    }
    list->setUpdatesEnabled(updates);
}

} // namespace

Removal removeSelectedRows(QAbstractItemView* list)
{
    Removal removal;
    const NaviRows rows(list);
    const QList<int> selected = rows.selected();
    if (selected.isEmpty())
        return removal;
    for (int row : selected)
        if (rows.picture(row) == NaviPicture::unread)
            ++removal.removedUnread;
    removal.removed = int(selected.size());
    const int lastRemoved = selected.last();
    if (auto* folder = qobject_cast<NaviFolderList*>(list)) {
        folder->clearSelection();
        folder->setCurrentRowNumber(-1);
        folder->rows()->removeRowsAt(std::vector<int>(selected.cbegin(), selected.cend()));
    } else if (auto* items = qobject_cast<QTreeWidget*>(list)) {
        removeItems(items, selected);
    }
    const int left = rows.count();
    if (left > 0) {
        const int after = lastRemoved - removal.removed + 1;
        removal.next = after < left ? after : left - 1;
    }
    return removal;
}

} // namespace NaviMove
