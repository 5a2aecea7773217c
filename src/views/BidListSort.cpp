#include "views/BidListSort.h"

#include "common/CommonRoutines.h"

#include "views/BidListColumns.h"

#include <algorithm>

namespace BidListSort {

State afterHeaderClick(const State& current, int clickedColumn)
{
    State next = current;
    if (clickedColumn == current.column)
        next.type = current.type == 1 ? 0 : 1;
    next.column = clickedColumn;
    return next;
}

int compareText(const QString& a, const QString& b)
{
    const auto upper = [](char16_t c) -> char16_t {
        return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
    };
    const qsizetype n = qMin(a.size(), b.size());
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = upper(pa[i].unicode());
        const char16_t cb = upper(pb[i].unicode());
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return ::compareInt(a.size(), b.size());
}

QString textKey(const QString& text)
{
    const auto isLower = [](QChar c) { return c.unicode() >= u'a' && c.unicode() <= u'z'; };
    const QChar* begin = text.constData();
    const QChar* end = begin + text.size();
    const QChar* first = std::find_if(begin, end, isLower);
    if (first == end)
        return text;
    QString key = text;
    QChar* c = key.data() + (first - begin);
    for (QChar* last = key.data() + key.size(); c != last; ++c) {
        if (isLower(*c))
            *c = QChar(char16_t(c->unicode() - (u'a' - u'A')));
    }
    return key;
}

qint64 numericValue(int headerIndex, QStringView text)
{
    if (headerIndex == BidListColumns::column(BidListColumns::NaviCount)) {
        if (text.isEmpty())
            return 0;
        const qsizetype open = text.indexOf(u'(');
        bool ok = false;
        const qint64 total = (open < 0 ? text : text.left(open)).toLongLong(&ok);
        return ok ? total : 0;
    }
    if (text.isEmpty())
        return -1;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? value : -1;
}

int compareCells(int headerIndex, const QString& a, const QString& b)
{
    if (BidListColumns::isNumericColumn(headerIndex))
        return compareInt(numericValue(headerIndex, a), numericValue(headerIndex, b));
    return compareText(a, b);
}

} // namespace BidListSort
