#pragma once

#include <QList>

// Where a row of bands (tool bars side by side) breaks into further rows: a band with a stored
// break always starts a row; any other band starts one when it does not fit beside the bands
// before it in its row. The first band never breaks; a band wider than the row stands alone.
// Returns one flag per band: whether a row starts at it.
QList<bool> rowBreaks(const QList<int>& widths, const QList<bool>& storedBreaks, int rowWidth);
