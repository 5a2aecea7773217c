#pragma once

#include <QtGlobal>

#include <functional>
#include <vector>

class TextColumn;

// The order of one column as dense ranks: rows with equal cells share a rank, a smaller rank
// sorts first. Sorting rows by a column is then a stable counting sort of the ranks.
struct ColumnRanks
{
    std::vector<int> rankOfRow;
    int count = 0; // distinct ranks
};

namespace ColumnOrder {

// Ranks of a text column by the order of TextSortKey.
ColumnRanks ofTexts(const TextColumn& column);
// Ranks of a number column.
ColumnRanks ofNumbers(const std::vector<qint64>& values);

// The rows of `order` (a sequence of row numbers, the present order) sorted stably by their
// ranks: rows of equal rank keep their present order, ascending and descending alike.
std::vector<int> stableByRanks(const std::vector<int>& order, const ColumnRanks& ranks,
                               bool descending);

} // namespace ColumnOrder

// The ranks of each column of a table, made when a column is first sorted and kept until a cell
// of that column changes.
class ColumnRankCache
{
public:
    using Maker = std::function<ColumnRanks(int column)>;

    const ColumnRanks& ranks(int column, const Maker& make);
    void invalidate(int column);
    void clear() { m_columns.clear(); }

private:
    struct Entry
    {
        ColumnRanks ranks;
        bool valid = false;
    };
    std::vector<Entry> m_columns;
};
