#include "views/BidDataEtcItem.h"

#include "views/BidDataEtcColumns.h"
#include "views/BidDataEtcSort.h"

#include <QTreeWidget>

BidDataEtcItem::BidDataEtcItem(const QStringList& cells) : QTreeWidgetItem(Type)
{
    const int n = qMin(int(cells.size()), BidDataEtcColumns::ColumnCount);
    for (int c = 0; c < n; ++c)
        setText(c, cells.at(c));
}

bool BidDataEtcItem::operator<(const QTreeWidgetItem& other) const
{
    const QTreeWidget* view = treeWidget();
    const int column = view ? view->sortColumn() : 0;
    return BidDataEtcSort::compareCells(column, text(column), other.text(column)) < 0;
}
