#include "views/CellLine.h"

QString cellLine(QStringView text)
{
    if (!text.contains(u'\r') && !text.contains(u'\n'))
        return text.toString();
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        line.append(c == u'\r' || c == u'\n' ? QChar(u' ') : c);
    }
    return line;
}
