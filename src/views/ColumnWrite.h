#pragma once

#include "views/MarkerRows.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

class BidListView;

// Writing the carriage, the forwarding number or the memo into rows of the listing list: which
// rows a write reaches and the one transaction that writes them.
namespace ColumnWrite {

// One row of the listing list as a write sees it.
struct Row
{
    QString aid;
    QString bidId;
    bool selected = false;
};

// The columns a write may change (sub-items): carriage, forwarding number, memo.
bool isWritableColumn(int subItem);
// Whether the column's write also reaches the other shown rows of the selected rows' winners.
bool reachesSameWinners(int subItem);

// The rows of the list in list order.
QList<Row> rowsOf(const BidListView* list);
// The indices a write reaches: the selected rows in list order, then, for carriage and
// forwarding with plural on, every other row whose winner is among the selected rows' winners,
// in list order (an empty winner id is nobody's). Each row at most once; empty when nothing is
// selected.
QList<int> targetRows(const QList<Row>& rows, int subItem, bool plural);

// The UPDATE of one column keyed by auction id and winner id, and its value parameter.
QString statement(int subItem);
QString valueParameter(int subItem);
// Writes the text into every transaction in one transaction: all rows or none (the text is
// never NULL). Throws DatabaseError.
void write(const QSqlDatabase& db, int subItem, const QString& text,
           const QList<TransactionKey>& keys);

} // namespace ColumnWrite
