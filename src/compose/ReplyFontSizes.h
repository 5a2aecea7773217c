#pragma once

#include <QString>

// The font sizes of the composer's two texts: the sixteen menu sizes and the Ctrl+wheel step.
namespace ReplyFontSizes {

inline constexpr int sizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
inline constexpr int count = int(sizeof(sizes) / sizeof(sizes[0]));
inline constexpr int wheelMinimum = 4;
inline constexpr int wheelMaximum = 72;

// The i-th item's caption: the size, a tab, "(&" + the i-th of "0123456789abcdef" + ")".
QString caption(int index);
// The size after one wheel notch: towards the user 2 points larger unless already at 72 or
// more, away 2 points smaller unless already at 4 or less.
int wheelStep(int points, bool towardsUser);

} // namespace ReplyFontSizes
