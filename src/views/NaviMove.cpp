#include "views/NaviMove.h"

#include "platform/Sql.h"
#include "views/NaviListItem.h"

#include <QTreeWidget>

namespace NaviMove {

QList<NaviKey> selectedKeys(const QTreeWidget* list)
{
    QList<NaviKey> keys;
    const int count = list->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        if (!item->isSelected())
            continue;
        if (const NaviListItem* row = NaviListItem::of(item))
            keys.append({row->row().aid, row->row().bidId, row->row().number});
    }
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

Removal removeSelectedRows(QTreeWidget* list)
{
    Removal removal;
    const int count = list->topLevelItemCount();
    QList<QTreeWidgetItem*> kept;
    QList<QTreeWidgetItem*> removed;
    kept.reserve(count);
    int lastRemoved = -1;
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        if (item->isSelected()) {
            removed.append(item);
            lastRemoved = i;
            if (item->data(0, NaviListItem::PictureRole).toInt() == NaviPicture::unread)
                ++removal.removedUnread;
        } else {
            kept.append(item);
        }
    }
    removal.removed = int(removed.size());
    if (removed.isEmpty())
        return removal;
    // Many rows leave at once: the list is rebuilt from the rows that stay, which costs one
    // reset instead of one removal (and selection update) per row.
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
    const int left = list->topLevelItemCount();
    if (left > 0) {
        const int after = lastRemoved - removal.removed + 1;
        removal.next = list->topLevelItem(after < left ? after : left - 1);
    }
    return removal;
}

} // namespace NaviMove
