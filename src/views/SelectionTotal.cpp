#include "views/SelectionTotal.h"

#include "views/BidListColumns.h"
#include "views/BidListView.h"

#include <QItemSelectionModel>

namespace SelectionTotal {

qint64 of(const BidListView* list)
{
    // The ranges of the selection: select all is one range, not one index per cell.
    const BidListModel* model = list->listModel();
    std::vector<char> counted(size_t(model->rowCount()), 0);
    qint64 total = 0;
    for (const QItemSelectionRange& range : list->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (counted[size_t(row)])
                continue;
            counted[size_t(row)] = 1;
            total += model->priceForTotal(model->recordAt(row));
        }
    }
    return total;
}

QString text(qint64 total)
{
    return total >= 0 ? QStringLiteral("合計価格：") + QString::number(total) : QString();
}

} // namespace SelectionTotal
