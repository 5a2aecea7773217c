#pragma once

#include "views/NaviDropRule.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

class QAbstractItemView;

// Filing messages of the message list into another folder.
namespace NaviMove {

// The keys of the selected rows of ListViewNavi, in list order (the list: see NaviRows).
QList<NaviKey> selectedKeys(QAbstractItemView* list);

// Sets the folder of every keyed message in one transaction: all or none. Throws DatabaseError.
void write(const QSqlDatabase& db, const QString& folderId, const QList<NaviKey>& keys);

struct Removal
{
    int removed = 0;
    int removedUnread = 0;
    // The row to select next: the one after the last removed row, else the new last row;
    // -1 when the list is empty.
    int next = -1;
};
// Removes the selected rows of the list (after the write has landed).
Removal removeSelectedRows(QAbstractItemView* list);

} // namespace NaviMove
