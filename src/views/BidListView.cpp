#include "views/BidListView.h"

#include "platform/IniFile.h"
#include "views/BidListColumns.h"
#include "views/WindowsColor.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>

BidListView::BidListView(QWidget* parent) : QTreeView(parent), m_model(new BidListModel(this))
{
    setObjectName(QStringLiteral("ListViewBid"));
    setModel(m_model);
    m_model->setSelectionModel(selectionModel());
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
    updateUnreadFont();
    connect(header(), &QHeaderView::sectionClicked, this, &BidListView::ListViewBidColumnClick);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BidListView::itemSelectionChanged);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (current.row() != previous.row() || current.isValid() != previous.isValid())
                    emit currentItemChanged();
            });
}

BidListView::~BidListView() = default;

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
    if (column < 0 || column >= BidListColumns::ColumnCount)
        return;
    const Qt::SortOrder order = m_sortState.type == 1 ? Qt::DescendingOrder : Qt::AscendingOrder;
    header()->setSortIndicator(column, order);
    m_model->sortRows(column, order == Qt::DescendingOrder);
}

void BidListView::ListViewBidColumnClick(int column)
{
    m_sortState = BidListSort::afterHeaderClick(m_sortState, column);
    sortList();
    if (const BidRow first = firstSelectedItem())
        scrollToItem(first, QAbstractItemView::EnsureVisible);
    emit sortStateChanged(m_sortState.column, m_sortState.type);
}

void BidListView::fillRecords(BidListRecords records, const std::function<void(int)>& progress)
{
    if (progress) {
        for (int i = 0; i < records.size(); i += 20)
            progress(i);
    }
    m_model->refill(std::move(records));
    sortList();
}

void BidListView::fill(const QList<BidListQuery::Row>& rows,
                       const std::function<void(int)>& progress)
{
    BidListRecords records;
    for (const BidListQuery::Row& row : rows)
        records.append(row.cells);
    fillRecords(std::move(records), progress);
}

BidRow BidListView::addBidItem(const QStringList& cells)
{
    return BidRow(m_model, m_model->appendRecord(cells));
}

void BidListView::removeRows(const QList<BidRow>& rows)
{
    std::vector<int> records;
    records.reserve(size_t(rows.size()));
    for (const BidRow& row : rows)
        if (row)
            records.push_back(row.record());
    m_model->removeRecords(records);
}

BidRow BidListView::findBidItem(const QString& aid, const QString& bidId) const
{
    const int record = m_model->findRecord(aid, bidId);
    return record < 0 ? BidRow() : BidRow(m_model, record);
}

BidRow BidListView::bidItem(int row) const
{
    const int record = m_model->recordAt(row);
    return record < 0 ? BidRow() : BidRow(m_model, record);
}

void BidListView::clearRows()
{
    m_model->refill({});
}

bool BidListView::isSelected(const BidRow& row) const
{
    return row.isSelected();
}

void BidListView::setSelected(const BidRow& row, bool selected)
{
    row.setSelected(selected);
}

QList<int> BidListView::selectedPositions() const
{
    // The ranges of the selection, not one index per cell: select all is one range.
    std::vector<char> selected(size_t(m_model->rowCount()), 0);
    bool any = false;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            selected[size_t(row)] = 1;
        any = true;
    }
    QList<int> positions;
    if (!any)
        return positions;
    for (size_t row = 0; row < selected.size(); ++row)
        if (selected[row])
            positions.append(int(row));
    return positions;
}

QList<BidRow> BidListView::selectedItems() const
{
    QList<BidRow> rows;
    const QList<int> positions = selectedPositions();
    rows.reserve(positions.size());
    for (int position : positions)
        rows.append(bidItem(position));
    return rows;
}

BidRow BidListView::firstSelectedItem() const
{
    int first = -1;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        if (first < 0 || range.top() < first)
            first = range.top();
    return bidItem(first);
}

BidRow BidListView::currentItem() const
{
    return bidItem(currentIndex().row());
}

void BidListView::setCurrentItem(const BidRow& row)
{
    const int position = row.position();
    if (position < 0) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    selectionModel()->setCurrentIndex(m_model->index(position, 0),
                                      QItemSelectionModel::ClearAndSelect |
                                          QItemSelectionModel::Rows);
}

void BidListView::setCurrentItem(const BidRow& row, int column,
                                 QItemSelectionModel::SelectionFlags command)
{
    const int position = row.position();
    selectionModel()->setCurrentIndex(
        position < 0 ? QModelIndex() : m_model->index(position, column), command);
}

void BidListView::scrollToItem(const BidRow& row, ScrollHint hint)
{
    const int position = row.position();
    if (position >= 0)
        scrollTo(m_model->index(position, 0), hint);
}

QRect BidListView::visualItemRect(const BidRow& row) const
{
    const int position = row.position();
    if (position < 0)
        return {};
    const QRect first = visualRect(m_model->index(position, 0));
    const QRect last = visualRect(m_model->index(position, m_model->columnCount() - 1));
    return first.united(last);
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

void BidListView::changeEvent(QEvent* event)
{
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateUnreadFont();
}

void BidListView::updateUnreadFont()
{
    QFont bold = font();
    bold.setBold(true);
    m_model->setUnreadFont(bold);
}

void BidListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    if (isTintedRow(index.row()) && m_backColor.isValid())
        painter->fillRect(option.rect, m_backColor);
    QTreeView::drawRow(painter, option, index);

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
