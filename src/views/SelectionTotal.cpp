#include "views/SelectionTotal.h"

#include "views/BidListColumns.h"

#include <QItemSelectionModel>
#include <QTreeWidget>

namespace SelectionTotal {

qint64 of(const QTreeWidget* list)
{
    constexpr int price = BidListColumns::column(BidListColumns::Price);
    qint64 total = 0;
    const QModelIndexList rows = list->selectionModel()->selectedRows(price);
    for (const QModelIndex& row : rows) {
        bool ok = false;
        const qint64 value = row.data().toString().toLongLong(&ok);
        if (ok)
            total += value;
    }
    return total;
}

QString text(qint64 total)
{
    return total >= 0 ? QStringLiteral("合計価格：") + QString::number(total) : QString();
}

} // namespace SelectionTotal
