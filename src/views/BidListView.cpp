#include "views/BidListView.h"

#include "platform/IniFile.h"
#include "views/BidListColumns.h"
#include "views/RowOrder.h"
#include "views/WindowsColor.h"

#include <QHeaderView>
#include <QPainter>

BidListView::BidListView(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("ListViewBid"));
    setColumnCount(BidListColumns::ColumnCount);
    QStringList captions;
    for (const char* caption : BidListColumns::HeaderCaptions)
        captions << QString::fromUtf8(caption);
    setHeaderLabels(captions);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);

    // The selection stays visible when the list loses the focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);

    setBackColorValue(QString::fromLatin1(DefaultBackColor));
    connect(header(), &QHeaderView::sectionClicked, this, &BidListView::ListViewBidColumnClick);
}

BidListView::~BidListView()
{
    // The rows leave the index while it still exists.
    clearRows();
}

void BidListView::setBackColorValue(const QString& decimal)
{
    m_backColor = colorFromWindowsText(decimal);
    if (!m_backColor.isValid())
        m_backColor = colorFromWindowsText(QString::fromLatin1(DefaultBackColor));
    viewport()->update();
}

void BidListView::sortList()
{
    const int column = m_sortState.column;
    const bool descending = m_sortState.type == 1;
    const Qt::SortOrder order = descending ? Qt::DescendingOrder : Qt::AscendingOrder;
    const int rows = topLevelItemCount();
    if (column >= 0 && column < BidListColumns::ColumnCount) {
        // The keys of the column in one array: the sort reads no row object.
        std::vector<qint64> numbers;
        std::vector<QStringView> texts;
        const bool numeric = BidListColumns::isNumericColumn(column);
        if (numeric)
            numbers.reserve(size_t(rows));
        else
            texts.reserve(size_t(rows));
        bool allRows = true;
        for (int row = 0; row < rows && allRows; ++row) {
            const BidListItem* item = bidItem(row);
            if (!item)
                allRows = false;
            else if (numeric)
                numbers.push_back(item->numberKey(column));
            else
                texts.push_back(item->textKey(column));
        }
        if (allRows) {
            header()->setSortIndicator(column, order);
            if (RowOrder::apply(this, numeric ? RowOrder::byNumbers(numbers, descending)
                                              : RowOrder::byTexts(texts, descending)))
                return;
        }
    }
    sortItems(column, order);
}

void BidListView::ListViewBidColumnClick(int column)
{
    m_sortState = BidListSort::afterHeaderClick(m_sortState, column);
    sortList();
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (!selected.isEmpty()) {
        // selectedItems() is not in list order: take the topmost.
        QTreeWidgetItem* first = selected.first();
        int firstRow = indexOfTopLevelItem(first);
        for (QTreeWidgetItem* item : selected) {
            const int row = indexOfTopLevelItem(item);
            if (row >= 0 && row < firstRow) {
                first = item;
                firstRow = row;
            }
        }
        scrollToItem(first, QAbstractItemView::EnsureVisible);
    }
    emit sortStateChanged(m_sortState.column, m_sortState.type);
}

void BidListView::fill(const QList<BidListQuery::Row>& rows,
                       const std::function<void(int)>& progress)
{
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    clearRows();
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (progress && i % 20 == 0)
            progress(int(i));
        items.append(new BidListItem(rows.at(i).cells, &m_index));
    }
    addTopLevelItems(items);
    sortList();
    setUpdatesEnabled(updates);
}

BidListItem* BidListView::addBidItem(const QStringList& cells)
{
    auto* item = new BidListItem(cells, &m_index);
    addTopLevelItem(item);
    return item;
}

BidListItem* BidListView::findBidItem(const QString& aid, const QString& bidId) const
{
    BidListItem* item = m_index.find(aid, bidId);
    // A row taken out of the list but not deleted is not a row of the list.
    return item && item->treeWidget() == this ? item : nullptr;
}

BidListItem* BidListView::bidItem(int row) const
{
    QTreeWidgetItem* item = topLevelItem(row);
    return item && item->type() == BidListItem::Type ? static_cast<BidListItem*>(item) : nullptr;
}

void BidListView::clearRows()
{
    m_index.clear();
    clear();
}

QString BidListView::rowCountText() const
{
    return rowCountText(topLevelItemCount());
}

QString BidListView::rowCountText(int count)
{
    return QString::number(count) + QStringLiteral("件");
}

void BidListView::readColumnWidths(const IniFile& ini)
{
    for (int c = 0; c < columnCount(); ++c)
        setColumnWidth(c, ini.readInteger(QStringLiteral("Main"),
                                          QStringLiteral("ListViewBidColWidth%1").arg(c), 120));
}

void BidListView::writeColumnWidths(IniFile& ini) const
{
    for (int c = 0; c < columnCount(); ++c)
        ini.writeInteger(QStringLiteral("Main"), QStringLiteral("ListViewBidColWidth%1").arg(c),
                         columnWidth(c));
}

void BidListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    if (isTintedRow(index.row()) && m_backColor.isValid())
        painter->fillRect(option.rect, m_backColor);
    QTreeWidget::drawRow(painter, option, index);

    // Grid lines: under the row and at the right edge of every column.
    painter->save();
    painter->setPen(palette().color(QPalette::Midlight));
    const QRect rect = option.rect;
    painter->drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    const QHeaderView* head = header();
    for (int c = 0; c < head->count(); ++c) {
        const int x = head->sectionViewportPosition(c) + head->sectionSize(c) - 1;
        if (x >= rect.left() && x <= rect.right())
            painter->drawLine(x, rect.top(), x, rect.bottom());
    }
    painter->restore();
}
