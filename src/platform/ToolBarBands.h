#pragma once

#include <QList>

// The order of the main window's tool-bar bands as kept in setting.ini: each band (identified
// 0 to 3) stores its position under its identifier. Sorting the identifiers by their stored
// position gives the order back whatever it was; ties keep the identifier order.
QList<int> bandOrderFromStoredPositions(const QList<int>& storedPositionById);
