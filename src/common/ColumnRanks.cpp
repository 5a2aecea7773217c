#include "common/ColumnRanks.h"

#include "common/TextColumn.h"
#include "common/TextSortKey.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace ColumnOrder {

namespace {

// Ranks a text column by sorting row numbers on one key word at a time: each group of rows with
// equal words is sorted again on the next word, until the rows differ or their texts end.
class TextRanker
{
public:
    explicit TextRanker(const TextColumn& column) : m_column(column)
    {
        const int n = column.size();
        m_ranks.rankOfRow.assign(size_t(n), 0);
        m_rows.resize(size_t(n));
        std::iota(m_rows.begin(), m_rows.end(), 0);
        m_keys.resize(size_t(n));
    }

    ColumnRanks run()
    {
        if (!m_rows.empty())
            refine(0, m_rows.size(), 0);
        m_ranks.count = m_nextRank;
        return std::move(m_ranks);
    }

private:
    static constexpr size_t SmallGroup = 12;

    void refine(size_t begin, size_t end, qsizetype word)
    {
        for (;;) {
            if (end - begin == 1) {
                m_ranks.rankOfRow[size_t(m_rows[begin])] = m_nextRank++;
                return;
            }
            const qsizetype from = word * TextSortKey::UnitsPerWord;
            if (end - begin <= SmallGroup) {
                sortSmall(begin, end, from);
                return;
            }
            qsizetype longest = 0;
            for (size_t i = begin; i < end; ++i)
                longest = qMax(longest, m_column.length(m_rows[i]));
            if (longest <= from) {
                // Every text ends before this word: only their lengths can still differ (a text
                // may end in U+0000 units, which the words cannot tell from the end).
                sortSmall(begin, end, from);
                return;
            }
            bool allEqual = true;
            for (size_t i = begin; i < end; ++i) {
                m_keys[i] = {TextSortKey::word(m_column.at(m_rows[i]), word), m_rows[i]};
                allEqual = allEqual && m_keys[i].first == m_keys[begin].first;
            }
            if (allEqual) {
                ++word;
                continue;
            }
            std::sort(m_keys.begin() + qsizetype(begin), m_keys.begin() + qsizetype(end));
            for (size_t i = begin; i < end; ++i)
                m_rows[i] = m_keys[i].second;
            // Each run of equal words is refined on; its keys are read before it is entered,
            // because the deeper level reuses their places.
            size_t runBegin = begin;
            while (runBegin < end) {
                const quint64 key = m_keys[runBegin].first;
                size_t runEnd = runBegin + 1;
                while (runEnd < end && m_keys[runEnd].first == key)
                    ++runEnd;
                refine(runBegin, runEnd, word + 1);
                runBegin = runEnd;
            }
            return;
        }
    }

    // Sorts a group whose texts agree before unit `from` by the full comparison from there.
    void sortSmall(size_t begin, size_t end, qsizetype from)
    {
        const auto first = m_rows.begin() + qsizetype(begin);
        const auto last = m_rows.begin() + qsizetype(end);
        std::sort(first, last, [this, from](int a, int b) {
            return TextSortKey::compare(m_column.at(a), m_column.at(b), from) < 0;
        });
        for (auto it = first; it != last; ++it) {
            if (it != first &&
                TextSortKey::compare(m_column.at(*(it - 1)), m_column.at(*it), from) == 0)
                m_ranks.rankOfRow[size_t(*it)] = m_nextRank - 1;
            else
                m_ranks.rankOfRow[size_t(*it)] = m_nextRank++;
        }
    }

    const TextColumn& m_column;
    ColumnRanks m_ranks;
    std::vector<int> m_rows;
    std::vector<std::pair<quint64, int>> m_keys;
    int m_nextRank = 0;
};

} // namespace

ColumnRanks ofTexts(const TextColumn& column)
{
    return TextRanker(column).run();
}

ColumnRanks ofNumbers(const std::vector<qint64>& values)
{
    std::vector<std::pair<qint64, int>> sorted(values.size());
    for (size_t i = 0; i < values.size(); ++i)
        sorted[i] = {values[i], int(i)};
    std::sort(sorted.begin(), sorted.end());
    ColumnRanks ranks;
    ranks.rankOfRow.resize(values.size());
    for (size_t i = 0; i < sorted.size(); ++i) {
        if (i == 0 || sorted[i].first != sorted[i - 1].first)
            ++ranks.count;
        ranks.rankOfRow[size_t(sorted[i].second)] = ranks.count - 1;
    }
    return ranks;
}

std::vector<int> stableByRanks(const std::vector<int>& order, const ColumnRanks& ranks,
                               bool descending)
{
    const int count = ranks.count;
    const auto bucket = [&](int row) {
        const int rank = ranks.rankOfRow[size_t(row)];
        return size_t(descending ? count - 1 - rank : rank);
    };
    std::vector<int> start(size_t(count) + 1, 0);
    for (int row : order)
        ++start[bucket(row) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<int> sorted(order.size());
    for (int row : order)
        sorted[size_t(start[bucket(row)]++)] = row;
    return sorted;
}

} // namespace ColumnOrder

const ColumnRanks& ColumnRankCache::ranks(int column, const Maker& make)
{
    if (size_t(column) >= m_columns.size())
        m_columns.resize(size_t(column) + 1);
    Entry& entry = m_columns[size_t(column)];
    if (!entry.valid) {
        entry.ranks = make(column);
        entry.valid = true;
    }
    return entry.ranks;
}

void ColumnRankCache::invalidate(int column)
{
    if (size_t(column) < m_columns.size()) {
        m_columns[size_t(column)].valid = false;
        m_columns[size_t(column)].ranks = {};
    }
}
