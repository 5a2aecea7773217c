#pragma once

#include <QStringList>

// Where a dragged template entry lands. dropIndex is the entry under the pointer, or -1 below
// the last entry (the dragged entry goes to the end). Returns the index to select afterwards,
// or -1 when nothing moved (no entry was being dragged).
int dropTemplateEntry(QStringList& names, int dragIndex, int dropIndex);
