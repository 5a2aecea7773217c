#include "views/BidDataEtcSort.h"

#include "common/CommonRoutines.h"
#include "views/BidDataEtcColumns.h"
#include "views/BidDataEtcQuery.h"
#include "views/BidListSort.h"

#include <algorithm>

namespace BidDataEtcSort {

bool isNumericColumn(int headerIndex)
{
    using namespace BidDataEtcColumns;
    return headerIndex == CaptionColumn || headerIndex == column(Price) ||
           headerIndex == column(NaviCount);
}

qint64 numericValue(int headerIndex, const QString& text)
{
    if (text.isEmpty())
        return -1;
    if (headerIndex == BidDataEtcColumns::column(BidDataEtcColumns::NaviCount)) {
        int unread = 0, total = 0;
        return parseNaviCount(text, &unread, &total) ? total : -1;
    }
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? value : -1;
}

int compareCells(int headerIndex, const QString& a, const QString& b)
{
    if (isNumericColumn(headerIndex))
        return compareInt(numericValue(headerIndex, a), numericValue(headerIndex, b));
    return BidListSort::compareText(a, b);
}

void sortRows(QList<QStringList>& rows, int headerIndex, int sortType)
{
    const int column = BidDataEtcQuery::validSortColumn(headerIndex);
    const auto cell = [column](const QStringList& row) {
        return column < row.size() ? row.at(column) : QString();
    };
    if (isNumericColumn(column)) {
        // Each row's number once, then a stable sort of the numbers.
        QList<std::pair<qint64, qsizetype>> keys;
        keys.reserve(rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i)
            keys.append({numericValue(column, cell(rows.at(i))), i});
        std::stable_sort(keys.begin(), keys.end(), [sortType](const auto& a, const auto& b) {
            return sortType == 0 ? a.first < b.first : b.first < a.first;
        });
        QList<QStringList> sorted;
        sorted.reserve(rows.size());
        for (const auto& key : keys)
            sorted.append(std::move(rows[key.second]));
        rows = std::move(sorted);
        return;
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const QStringList& a, const QStringList& b) {
        return sortType == 0 ? compareCells(column, cell(a), cell(b)) < 0
                             : compareCells(column, cell(b), cell(a)) < 0;
    });
}

} // namespace BidDataEtcSort
