#include "views/ColumnTableModel.h"

#include <algorithm>
#include <numeric>

ColumnTableModel::ColumnTableModel(const QStringList& captions, QObject* parent)
    : QAbstractTableModel(parent), m_captions(captions)
{
}

int ColumnTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_order.size());
}

int ColumnTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_captions.size());
}

QVariant ColumnTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_order.size())
        return {};
    return recordData(m_order[size_t(index.row())], index.column(), role);
}

QVariant ColumnTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_captions.size())
        return m_captions.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void ColumnTableModel::sortRows(int column, bool descending)
{
    if (column < 0 || column >= columnCount() || m_order.size() < 2)
        return;
    const ColumnRanks& ranks = m_ranks.ranks(column, [this](int c) { return makeRanks(c); });
    setOrder(ColumnOrder::stableByRanks(m_order, ranks, descending));
}

void ColumnTableModel::setOrder(std::vector<int> order)
{
    if (order == m_order)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Records taken out of the rows have no row.
    std::vector<int> rowOfRecord(m_rowOfRecord.size(), -1);
    for (size_t row = 0; row < order.size(); ++row)
        rowOfRecord[size_t(order[row])] = int(row);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from) {
        const int record = m_order[size_t(index.row())];
        to.append(createIndex(rowOfRecord[size_t(record)], index.column()));
    }
    changePersistentIndexList(from, to);
    m_order = std::move(order);
    m_rowOfRecord = std::move(rowOfRecord);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ColumnTableModel::beginRefill()
{
    beginResetModel();
}

void ColumnTableModel::endRefill(int recordCount)
{
    m_order.resize(size_t(recordCount));
    std::iota(m_order.begin(), m_order.end(), 0);
    m_rowOfRecord = m_order;
    m_ranks.clear();
    endResetModel();
}

void ColumnTableModel::beginAppend(int count)
{
    m_appendCount = count;
    const int first = int(m_order.size());
    beginInsertRows({}, first, first + count - 1);
}

void ColumnTableModel::endAppend()
{
    for (int i = 0; i < m_appendCount; ++i) {
        const int record = int(m_rowOfRecord.size());
        m_rowOfRecord.push_back(int(m_order.size()));
        m_order.push_back(record);
    }
    m_appendCount = 0;
    m_ranks.clear();
    endInsertRows();
}

void ColumnTableModel::takeRows(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // From the last run of consecutive rows up, so that the rows above keep their numbers.
    auto last = rows.end();
    while (last != rows.begin()) {
        auto first = last - 1;
        while (first != rows.begin() && *(first - 1) == *first - 1)
            --first;
        const int top = *first;
        const int bottom = *(last - 1);
        if (top >= 0 && size_t(bottom) < m_order.size()) {
            beginRemoveRows({}, top, bottom);
            for (int row = top; row <= bottom; ++row)
                m_rowOfRecord[size_t(m_order[size_t(row)])] = -1;
            m_order.erase(m_order.begin() + top, m_order.begin() + bottom + 1);
            for (size_t row = size_t(top); row < m_order.size(); ++row)
                m_rowOfRecord[size_t(m_order[row])] = int(row);
            endRemoveRows();
        }
        last = first;
    }
}

void ColumnTableModel::recordChanged(int record, int column)
{
    m_ranks.invalidate(column);
    const int row = rowOf(record);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void ColumnTableModel::recordsChanged(const std::vector<int>& records, int column)
{
    m_ranks.invalidate(column);
    int top = -1;
    int bottom = -1;
    for (int record : records) {
        const int row = rowOf(record);
        if (row < 0)
            continue;
        top = top < 0 ? row : qMin(top, row);
        bottom = qMax(bottom, row);
    }
    if (top >= 0)
        emit dataChanged(index(top, 0), index(bottom, columnCount() - 1));
}

void ColumnTableModel::removeRecordRows(const std::vector<int>& records)
{
    std::vector<char> leaving(m_rowOfRecord.size(), 0);
    bool any = false;
    for (int record : records) {
        if (rowOf(record) >= 0) {
            leaving[size_t(record)] = 1;
            any = true;
        }
    }
    if (!any)
        return;
    // One layout change for any number of rows: the persistent indexes of the rows that leave
    // become invalid, the others move up.
    emit layoutAboutToBeChanged();
    std::vector<int> order;
    order.reserve(m_order.size());
    for (int record : m_order)
        if (!leaving[size_t(record)])
            order.push_back(record);
    std::fill(m_rowOfRecord.begin(), m_rowOfRecord.end(), -1);
    for (size_t row = 0; row < order.size(); ++row)
        m_rowOfRecord[size_t(order[row])] = int(row);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from) {
        const int row = m_rowOfRecord[size_t(m_order[size_t(index.row())])];
        to.append(row < 0 ? QModelIndex() : createIndex(row, index.column()));
    }
    m_order = std::move(order);
    changePersistentIndexList(from, to);
    emit layoutChanged();
}
