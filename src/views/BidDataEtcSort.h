#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The sort order of the deleted-listings and bidder-transactions window's listing rows.
namespace BidDataEtcSort {

// Header indexes that compare as integers: the index, the price and the message count.
bool isNumericColumn(int headerIndex);
// An empty text counts as -1 and so does a text that is no number; the message-count cell
// counts by its total of messages.
qint64 numericValue(int headerIndex, const QString& text);
// Ascending comparison of two cells of the header column (<0, 0, >0): integers for the
// numeric columns, otherwise text without regard to the case of ASCII letters.
int compareCells(int headerIndex, const QString& a, const QString& b);
// Sorts rows (cells by header index) stably by the column; a descending direction (sortType
// not 0) swaps the operands. An out-of-range column sorts by the index.
void sortRows(QList<QStringList>& rows, int headerIndex, int sortType);

} // namespace BidDataEtcSort
