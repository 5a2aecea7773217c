#include "common/TextSortKey.h"

namespace TextSortKey {

int compare(QStringView a, QStringView b, qsizetype from)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = from; i < n; ++i) {
        const char16_t ca = fold(a[i].unicode());
        const char16_t cb = fold(b[i].unicode());
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace TextSortKey
