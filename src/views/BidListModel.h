#pragma once

#include "views/BidListRecords.h"
#include "views/ColumnTableModel.h"

#include <QFont>
#include <QItemSelectionModel>
#include <QMultiHash>

#include <vector>

// The rows of the listing list ListViewBid as column arrays (BidListColumns), with the number
// keys of the numeric columns and the selection total's price kept beside the texts, and an
// index of the records by transaction (auction id, winner id without regard to ASCII case).
// Records are numbered in the order they were added; a refill starts again from 0.
class BidListModel : public ColumnTableModel
{
    Q_OBJECT

public:
    explicit BidListModel(QObject* parent = nullptr);

    // Replaces every record; the rows are shown in record order until sorted.
    void refill(BidListRecords records);
    // Appends one record (caption + sub-items) as the last row; returns its record number.
    int appendRecord(const QStringList& cells);
    // Takes the records' rows out of the list. Their record numbers are not given again.
    void removeRecords(const std::vector<int>& records);

    // The first record added of the transaction that is still shown, or -1.
    int findRecord(QStringView aid, QStringView bidId) const;
    // Every shown record of the transaction.
    std::vector<int> findRecords(QStringView aid, QStringView bidId) const;
    bool isShown(int record) const { return rowOf(record) >= 0; }
    // Counts every refill: a record number is only meaningful with its generation.
    quint64 generation() const { return m_generation; }

    QStringView cell(int record, int column) const
    {
        return m_records.cells[size_t(column)].at(record);
    }
    // Writes one cell: the keys of the record follow and the views redraw its row.
    void setCell(int record, int column, const QString& text);
    // Writes one text into the cells of many records at once: one redraw of the span of their
    // rows and one drop of each column's sort ranks, however many records.
    void setCells(const std::vector<int>& records, const QList<int>& columns, const QString& text);
    // The same for one column whose cells each get their own text (record, text).
    void setColumnCells(int column, const std::vector<std::pair<int, QString>>& cells);
    // A write of a cell's text through the model goes through setCell.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    bool hasUnread(int record) const { return m_unread.at(record); }
    // The price cell as the selection total counts it: its number, 0 for a non-number.
    qint64 priceForTotal(int record) const { return m_priceTotal[size_t(record)]; }
    // The sort number of a numeric column (BidListColumns::isNumericColumn).
    qint64 numberKey(int record, int column) const;

    // Winner ids compare without regard to ASCII case, as the database's winner-id columns do.
    static bool sameWinner(QStringView a, QStringView b);

    // The selection of the view that shows the rows, for the rows' own selected state.
    void setSelectionModel(QItemSelectionModel* selection) { m_selection = selection; }
    QItemSelectionModel* selectionModel() const { return m_selection; }

    // The font of rows with unread received messages.
    void setUnreadFont(const QFont& font) { m_unreadFont = font; }

protected:
    QVariant recordData(int record, int column, int role) const override;
    ColumnRanks makeRanks(int column) const override;

private:
    static size_t transactionHash(QStringView aid, QStringView bidId);
    void addKeys(int record);
    void writeCell(int record, int column, const QString& text);
    void updateKeys(int record, int column);

    BidListRecords m_records;
    std::vector<qint64> m_index;
    std::vector<qint64> m_price;
    std::vector<qint64> m_naviTotal;
    std::vector<qint64> m_priceTotal;
    BitColumn m_unread;
    QMultiHash<size_t, int> m_transactions; // transactionHash -> record
    QFont m_unreadFont;
    QItemSelectionModel* m_selection = nullptr;
    quint64 m_generation = 0;
};
