#pragma once

#include "common/ColumnRanks.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

// A flat table model whose subclass keeps its records in column arrays. Records keep their
// numbers from one fill to the next; the rows the views show are a permutation of them. A sort
// publishes a new permutation as a layout change, so that the selection, the current row and
// the scroll position of every view follow their records.
class ColumnTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ColumnTableModel(const QStringList& captions, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The record shown in a row and the row that shows a record (-1 for none).
    int recordAt(int row) const
    {
        return row >= 0 && size_t(row) < m_order.size() ? m_order[size_t(row)] : -1;
    }
    int rowOf(int record) const
    {
        return record >= 0 && size_t(record) < m_rowOfRecord.size() ? m_rowOfRecord[size_t(record)]
                                                                    : -1;
    }
    int recordCount() const { return int(m_rowOfRecord.size()); }

    // Sorts the rows stably by a column: rows with equal cells keep their present order.
    void sortRows(int column, bool descending);
    // Shows the records in this order (order[row] = record, a permutation of the records).
    void setOrder(std::vector<int> order);
    const std::vector<int>& order() const { return m_order; }

protected:
    // The data of one cell of a record.
    virtual QVariant recordData(int record, int column, int role) const = 0;
    // The ranks of a column over every record (ColumnOrder::ofTexts, ofNumbers).
    virtual ColumnRanks makeRanks(int column) const = 0;

    // A refill: call beginRefill, replace every column, then endRefill with the record count.
    // The rows are shown in record order.
    void beginRefill();
    void endRefill(int recordCount);
    // Records appended at the end of the columns are shown after the last row.
    void beginAppend(int count);
    void endAppend();
    // Takes rows out of the views; their records stay in the columns but are no longer shown.
    void takeRows(std::vector<int> rows);
    // After a cell of a record was written: its column's ranks are made again at the next sort,
    // and the views redraw the record's row (its whole row, which a cell may style).
    void recordChanged(int record, int column);
    // The same for many records of one column, with one redraw over the rows they are shown in.
    void recordsChanged(const std::vector<int>& records, int column);
    // Takes the rows of these records out of the views (the records stay in the columns, shown
    // nowhere); the other rows keep their order, selection and current row.
    void removeRecordRows(const std::vector<int>& records);
    void invalidateRanks(int column) { m_ranks.invalidate(column); }

private:
    QStringList m_captions;
    std::vector<int> m_order;       // row -> record
    std::vector<int> m_rowOfRecord; // record -> row
    ColumnRankCache m_ranks;
    int m_appendCount = 0;
};
