#pragma once

#include "common/ColumnRanks.h"

#include <QStringView>

#include <functional>
#include <vector>

// A column ranked on shortened texts (the message heads) is ranked again where that is not
// enough: only the records of equal rank are compared by their whole texts.
namespace TiedRanks {

// The records of every rank shared by two or more records of which one at least is shortened
// (shortened(record)), in record order: only their whole texts can tell them apart.
std::vector<int> tiedRecords(const ColumnRanks& ranks, const std::function<bool(int)>& shortened);

// The ranks with the tied records of each rank ordered by their whole texts (wholeText(record))
// as TextSortKey orders texts; records of equal whole text share a rank, and every other rank
// keeps its place.
ColumnRanks refine(const ColumnRanks& ranks, const std::vector<int>& tied,
                   const std::function<QStringView(int)>& wholeText);

} // namespace TiedRanks
