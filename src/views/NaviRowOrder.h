#pragma once

#include <QList>

class NaviListItem;

// The message lists' order as a plain comparison, for sorting rows before they enter a list.
namespace NaviRowOrder {

// The picture column and the "No" column compare numbers (an empty number as -1), every other
// column its text without regard to case; descending (sortType 1) compares b with a.
bool less(const NaviListItem& a, const NaviListItem& b, int column, int sortType);
void sort(QList<NaviListItem*>& items, int column, int sortType);

} // namespace NaviRowOrder
