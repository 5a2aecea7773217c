#include "views/TiedRanks.h"

#include "common/TextSortKey.h"

#include <algorithm>

namespace TiedRanks {

std::vector<int> tiedRecords(const ColumnRanks& ranks, const std::function<bool(int)>& shortened)
{
    std::vector<int> members(size_t(ranks.count), 0);
    std::vector<char> anyShortened(size_t(ranks.count), 0);
    const int n = int(ranks.rankOfRow.size());
    for (int record = 0; record < n; ++record) {
        const size_t rank = size_t(ranks.rankOfRow[size_t(record)]);
        ++members[rank];
        if (!anyShortened[rank] && shortened(record))
            anyShortened[rank] = 1;
    }
    std::vector<int> tied;
    for (int record = 0; record < n; ++record) {
        const size_t rank = size_t(ranks.rankOfRow[size_t(record)]);
        if (members[rank] > 1 && anyShortened[rank])
            tied.push_back(record);
    }
    return tied;
}

ColumnRanks refine(const ColumnRanks& ranks, const std::vector<int>& tied,
                   const std::function<QStringView(int)>& wholeText)
{
    if (tied.empty())
        return ranks;
    // The tied records by their rank, then by their whole text.
    std::vector<int> sorted = tied;
    std::sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        const int ra = ranks.rankOfRow[size_t(a)];
        const int rb = ranks.rankOfRow[size_t(b)];
        if (ra != rb)
            return ra < rb;
        return TextSortKey::compare(wholeText(a), wholeText(b)) < 0;
    });
    // extra[rank]: the ranks that the tied records of that rank add beyond the one they had.
    std::vector<int> extra(size_t(ranks.count), 0);
    std::vector<int> step(sorted.size(), 0); // the record's place among its rank's distinct texts
    for (size_t i = 1; i < sorted.size(); ++i) {
        const int rank = ranks.rankOfRow[size_t(sorted[i])];
        if (rank != ranks.rankOfRow[size_t(sorted[i - 1])])
            continue;
        const bool differs =
            TextSortKey::compare(wholeText(sorted[i - 1]), wholeText(sorted[i])) != 0;
        step[i] = step[i - 1] + (differs ? 1 : 0);
        extra[size_t(rank)] = step[i];
    }
    // The first new rank of each old rank.
    std::vector<int> base(size_t(ranks.count), 0);
    int next = 0;
    for (int rank = 0; rank < ranks.count; ++rank) {
        base[size_t(rank)] = next;
        next += 1 + extra[size_t(rank)];
    }
    ColumnRanks refined;
    refined.count = next;
    refined.rankOfRow.resize(ranks.rankOfRow.size());
    for (size_t record = 0; record < ranks.rankOfRow.size(); ++record)
        refined.rankOfRow[record] = base[size_t(ranks.rankOfRow[record])];
    for (size_t i = 0; i < sorted.size(); ++i)
        refined.rankOfRow[size_t(sorted[i])] += step[i];
    return refined;
}

} // namespace TiedRanks
