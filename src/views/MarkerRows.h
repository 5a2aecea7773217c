#pragma once

#include "views/ProgressFlags.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

class BidListView;

// A transaction of the listing list: auction id and winner id.
struct TransactionKey
{
    QString aid;
    QString bidId;
};

// The marker commands' work on the database and the listing list, apart from the window.
namespace MarkerRows {

// The selected rows' transactions, in list order.
QList<TransactionKey> selectedTransactions(const BidListView* list);
// Writes the update for every transaction in one transaction: all rows or none. The value is
// bound whole (a flag text of any length). Throws DatabaseError.
void write(const QSqlDatabase& db, const MarkerUpdate& update, const QList<TransactionKey>& keys);
// Shows the written value in the cells of the transactions' rows.
void showInCells(BidListView* list, const MarkerUpdate& update, const QList<TransactionKey>& keys);

} // namespace MarkerRows
