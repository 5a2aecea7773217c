#pragma once

#include <QString>
#include <QStringView>

// The text a list cell draws: the lists keep one line per row, so each line break (CR LF, CR or
// LF) is drawn as a blank. The cell's raw text stays in the row for copies, exports, finds and
// the detail panes.
QString cellLine(QStringView text);
