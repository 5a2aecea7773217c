#pragma once

class QProgressBar;

// Qt draws a bar whose minimum and maximum are both 0 as an animated busy bar. These keep a
// bar still whenever nothing runs, so a window never looks busy while it is idle.
namespace ProgressBarRange {

// Empty and still.
void setIdle(QProgressBar* bar);
// From 0 to the maximum (at least 1, so an empty run stays still too), at position 0.
void start(QProgressBar* bar, int maximum);

} // namespace ProgressBarRange
