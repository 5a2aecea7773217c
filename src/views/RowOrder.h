#pragma once

#include <QStringView>
#include <QtGlobal>

#include <vector>

class QTreeWidget;

// Sorting the rows of a flat list (QTreeWidget top-level items) outside the items: the keys of
// the sort column are gathered once into one array, sorted there, and the items are then moved
// into the new order in one go.
namespace RowOrder {

// The stable order of rows by their keys: result[newRow] = oldRow. Ascending compares a < b,
// descending b < a; rows with equal keys keep their present order in both directions (as
// QTreeWidget::sortItems leaves them).
std::vector<int> byNumbers(const std::vector<qint64>& keys, bool descending);
// Texts compare by their UTF-16 code units (QString's operator<). The views must stay valid
// until the call returns.
std::vector<int> byTexts(const std::vector<QStringView>& keys, bool descending);

// Moves the top-level items of list into the order (order[newRow] = oldRow, a permutation of
// the rows), keeping the selected rows, the current item and the scroll position, without a
// signal of a selection or current-item change (a sort changes neither). Returns false, leaving
// the list as it is, when it cannot: items with children, or a selection of parts of rows.
bool apply(QTreeWidget* list, const std::vector<int>& order);

} // namespace RowOrder
