#pragma once

#include "common/TextColumn.h"
#include "views/BidListColumns.h"

#include <QStringList>

#include <array>

// Rows of the listing list as columns: the caption and the 19 sub-items of each row, by header
// index (BidListColumns).
struct BidListRecords
{
    std::array<TextColumn, BidListColumns::ColumnCount> cells;

    int size() const { return cells[0].size(); }
    // Appends one row; missing cells are empty, cells past the last column are dropped.
    void append(const QStringList& row)
    {
        const int n = qMin(int(row.size()), BidListColumns::ColumnCount);
        for (int c = 0; c < BidListColumns::ColumnCount; ++c)
            cells[size_t(c)].append(c < n ? QStringView(row.at(c)) : QStringView());
    }
    QStringList row(int record) const
    {
        QStringList texts;
        texts.reserve(BidListColumns::ColumnCount);
        for (const TextColumn& column : cells)
            texts.append(column.string(record));
        return texts;
    }
};
