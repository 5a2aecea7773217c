#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

// Sort order of the listing list: the header-click rule and the cell comparison.
namespace BidListSort {

// Header index of the sort column (0 = the caption column) and direction (0 ascending,
// 1 descending), as kept in setting.ini.
struct State
{
    int column = 0;
    int type = 0;
    bool operator==(const State&) const = default;
};

// A click on the current sort column switches the direction (1 becomes 0, anything else 1);
// a click on another column keeps the direction.
State afterHeaderClick(const State& current, int clickedColumn);

// Text comparison without regard to the case of the ASCII letters (others compare by code).
int compareText(const QString& a, const QString& b);

// The key a text sorts by: the text with its ASCII letters in upper case, so that two keys
// compare by code (QString's operator<) as compareText compares the texts. A text without a
// lower-case ASCII letter is its own key (no copy is made).
QString textKey(const QString& text);

// The number a numeric column sorts by: the message-count cell by its total of messages (empty
// = 0); other numeric cells by their value, an empty (or non-numeric) text counting as -1.
qint64 numericValue(int headerIndex, QStringView text);

// Ascending comparison of two cells of the given header column.
int compareCells(int headerIndex, const QString& a, const QString& b);

} // namespace BidListSort
