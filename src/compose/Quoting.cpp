#include "compose/Quoting.h"

namespace Quoting {

QString quoteWithMarks(const QString& selected)
{
    const QString mark = QStringLiteral("＞ ");
    QString quoted = selected;
    quoted.replace(QLatin1Char('\n'), QLatin1Char('\n') + mark);
    return mark + quoted;
}

} // namespace Quoting
