#include "views/SelectionTotal.h"

#include "views/BidListColumns.h"
#include "views/BidListItem.h"

#include <QItemSelectionModel>
#include <QTreeWidget>

namespace SelectionTotal {

qint64 of(const QTreeWidget* list)
{
    constexpr int price = BidListColumns::column(BidListColumns::Price);
    qint64 total = 0;
    if (!list->selectionModel()->hasSelection())
        return total;
    const int count = list->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        const QTreeWidgetItem* row = list->topLevelItem(i);
        if (!row->isSelected())
            continue;
        // A listing row keeps its price parsed; other rows are read from the cell.
        if (row->type() == BidListItem::Type) {
            total += static_cast<const BidListItem*>(row)->priceForTotal();
            continue;
        }
        bool ok = false;
        const qint64 value = row->text(price).toLongLong(&ok);
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
