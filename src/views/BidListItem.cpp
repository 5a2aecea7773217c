#include "views/BidListItem.h"

#include "views/BidListColumns.h"
#include "views/BidListSort.h"

#include <QFont>
#include <QTreeWidget>

namespace {

QString asciiLower(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return result;
}

} // namespace

QString BidListIndex::key(const QString& aid, const QString& bidId)
{
    return aid + QChar(u'\0') + asciiLower(bidId);
}

BidListItem* BidListIndex::find(const QString& aid, const QString& bidId) const
{
    const QString k = key(aid, bidId);
    BidListItem* found = nullptr;
    // Several rows of one transaction: the first one added.
    for (auto it = m_items.constFind(k); it != m_items.cend() && it.key() == k; ++it)
        found = it.value();
    return found;
}

void BidListIndex::add(BidListItem* item)
{
    m_items.insert(item->m_key, item);
}

void BidListIndex::remove(BidListItem* item)
{
    m_items.remove(item->m_key, item);
}

BidListItem::BidListItem(const QStringList& cells, BidListIndex* index)
    : QTreeWidgetItem(Type), m_index(index)
{
    // The last column first: the item's cell storage grows once. The row is in no list yet, so
    // the base class's write signals nothing and the keys are made from the cells directly.
    const int n = qMin(int(cells.size()), BidListColumns::ColumnCount);
    for (int c = BidListColumns::ColumnCount - 1; c >= 0; --c) {
        const QString cell = c < n ? cells.at(c) : QString();
        QTreeWidgetItem::setData(c, Qt::DisplayRole, cell);
        updateSortKey(c, cell);
    }
    if (m_index) {
        m_key = BidListIndex::key(subItem(BidListColumns::Aid), subItem(BidListColumns::BidId));
        m_index->add(this);
    }
}

BidListItem::~BidListItem()
{
    if (m_index)
        m_index->remove(this);
}

bool BidListItem::hasUnread() const
{
    return subItem(BidListColumns::NaviCount).contains(u'(');
}

bool BidListItem::operator<(const QTreeWidgetItem& other) const
{
    const QTreeWidget* view = treeWidget();
    const int column = view ? view->sortColumn() : 0;
    if (other.type() == Type && column >= 0 && column < BidListColumns::ColumnCount) {
        const auto& o = static_cast<const BidListItem&>(other);
        if (BidListColumns::isNumericColumn(column))
            return numberKey(column) < o.numberKey(column);
        return m_textKeys[column] < o.m_textKeys[column];
    }
    return BidListSort::compareCells(column, text(column), other.text(column)) < 0;
}

qint64 BidListItem::numberKey(int column) const
{
    if (column == BidListColumns::CaptionColumn)
        return m_indexValue;
    if (column == BidListColumns::column(BidListColumns::Price))
        return m_priceValue;
    return m_naviTotal;
}

QVariant BidListItem::data(int column, int role) const
{
    if (role == Qt::FontRole && hasUnread()) {
        const QTreeWidget* view = treeWidget();
        // Only a row of the list's full width is examined, as the list draws it.
        if (view && columnCount() == view->columnCount()) {
            QFont font = view->font();
            font.setBold(true);
            return font;
        }
    }
    return QTreeWidgetItem::data(column, role);
}

void BidListItem::setData(int column, int role, const QVariant& value)
{
    QTreeWidgetItem::setData(column, role, value);
    // Every write of a cell's text comes here (setText, the model's setData), so the keys follow.
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && column >= 0 &&
        column < BidListColumns::ColumnCount)
        updateSortKey(column, text(column));
}

void BidListItem::updateSortKey(int column, const QString& cell)
{
    if (!BidListColumns::isNumericColumn(column)) {
        m_textKeys[column] = BidListSort::textKey(cell);
        return;
    }
    const qint64 value = BidListSort::numericValue(column, cell);
    if (column == BidListColumns::CaptionColumn)
        m_indexValue = value;
    else if (column == BidListColumns::column(BidListColumns::Price)) {
        m_priceValue = value;
        bool ok = false;
        const qint64 total = cell.toLongLong(&ok);
        m_priceTotal = ok ? total : 0;
    } else
        m_naviTotal = value;
}
