#pragma once

#include <QString>

#include <functional>
#include <iterator>

class QMenu;

// The sixteen font sizes of the side windows' font-size menus.
namespace FontSizeMenu {

inline constexpr int sizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
inline constexpr int count = int(std::size(sizes));

// Item i: the size, a tab and "(&" + the i-th of 0-9 and a-f + ")": "8\t(&0)" … "72\t(&f)".
QString caption(int index);
// Appends the sixteen items (each with its size as hint); choosing one calls chosen(size).
void append(QMenu* menu, const std::function<void(int)>& chosen);

} // namespace FontSizeMenu
