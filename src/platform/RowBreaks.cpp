#include "platform/RowBreaks.h"

QList<bool> rowBreaks(const QList<int>& widths, const QList<bool>& storedBreaks, int rowWidth)
{
    QList<bool> breaks;
    int used = 0;
    for (int i = 0; i < widths.size(); ++i) {
        const bool stored = i > 0 && storedBreaks.value(i);
        const bool full = used > 0 && used + widths[i] > rowWidth;
        const bool starts = stored || full;
        if (starts)
            used = 0;
        used += widths[i];
        breaks << starts;
    }
    return breaks;
}
