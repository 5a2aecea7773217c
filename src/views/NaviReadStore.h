#pragma once

#include "views/NaviDropRule.h"

#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The read marks' work on the database: one statement over every marked message and one query
// for each kind of count the marks change, whatever the number of messages.
namespace NaviReadStore {

// A transaction of the listing list: auction id and winner id.
struct Transaction
{
    QString aid;
    QString bidId;
};

// Writes the read state of every stored message with one of the keys (winner ids compare without
// case) in one transaction. With countFolders set, gives for each folder of the account the
// change of its unread count (received messages not yet opened); folders without a change are
// left out.
QMap<QString, int> write(const QSqlDatabase& db, const QString& loginId,
                         const QList<NaviKey>& keys, bool read, bool countFolders);

// The listing list's message-count cells of the account's transactions, in their order, as
// MessageCountCell::read gives each.
QStringList countCells(const QSqlDatabase& db, const QString& loginId,
                       const QList<Transaction>& transactions);

} // namespace NaviReadStore
