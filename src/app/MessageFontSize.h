#pragma once

// The message panes' five font sizes and the Ctrl+wheel step between them.
namespace MessageFontSize {

inline constexpr int sizes[] = {8, 10, 12, 14, 16};

bool isMenuSize(int points);
// The next size for one wheel notch from the checked size (0: none checked, nothing changes);
// towards the user makes the text larger. Returns the same size at the limits.
int step(int checkedSize, bool towardsUser);

} // namespace MessageFontSize
