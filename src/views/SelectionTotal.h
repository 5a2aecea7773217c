#pragma once

#include <QString>

class BidListView;

// The price total of the listing rows selected, for the status bar.
namespace SelectionTotal {

// The 64-bit sum of the selected rows' price cells; a cell that is not a decimal number
// counts 0.
qint64 of(const BidListView* list);
// "合計価格：" with the total, or the empty text for a negative total.
QString text(qint64 total);

} // namespace SelectionTotal
