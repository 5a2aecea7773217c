#include "views/NaviRowOrder.h"

#include "common/CommonRoutines.h"
#include "views/BidListSort.h"
#include "views/NaviListItem.h"

#include <algorithm>

namespace NaviRowOrder {
namespace {

int numberOf(const NaviListItem& item)
{
    const QString& number = item.row().number;
    return number.isEmpty() ? -1 : number.toInt();
}

int compare(const NaviListItem& a, const NaviListItem& b, int column)
{
    if (column == 0)
        return compareInt(a.picture(), b.picture());
    if (column == a.numberColumn())
        return compareInt(numberOf(a), numberOf(b));
    return BidListSort::compareText(a.columnText(column), b.columnText(column));
}

} // namespace

bool less(const NaviListItem& a, const NaviListItem& b, int column, int sortType)
{
    return sortType == 1 ? compare(b, a, column) < 0 : compare(a, b, column) < 0;
}

void sort(QList<NaviListItem*>& items, int column, int sortType)
{
    std::stable_sort(items.begin(), items.end(),
                     [column, sortType](const NaviListItem* a, const NaviListItem* b) {
                         return less(*a, *b, column, sortType);
                     });
}

} // namespace NaviRowOrder
