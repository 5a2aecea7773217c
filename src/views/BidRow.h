#pragma once

#include "views/BidListModel.h"

// One row of the listing list, by its record: it stays with its listing through sorts and
// other rows' removal, and is empty (false) once its row left the list or the list was
// refilled. Reads and writes go to the list's model.
class BidRow
{
public:
    BidRow() = default;
    BidRow(std::nullptr_t) {}
    BidRow(BidListModel* model, int record)
        : m_model(model), m_record(record), m_generation(model ? model->generation() : 0)
    {
    }

    explicit operator bool() const
    {
        return m_model && m_record >= 0 && m_model->generation() == m_generation &&
               m_model->isShown(m_record);
    }
    // Lets a row read like the list item it stands for: row->text(column).
    const BidRow* operator->() const { return this; }
    // Rows that are not shown are all alike, as null items are.
    bool operator==(const BidRow& other) const
    {
        if (!*this || !other)
            return !*this && !other;
        return m_model == other.m_model && m_record == other.m_record &&
               m_generation == other.m_generation;
    }

    int record() const { return m_record; }
    // The row's position in the list, -1 when it is not shown.
    int position() const { return *this ? m_model->rowOf(m_record) : -1; }

    // Cells by header index (0 = the caption) and by sub-item number.
    QString text(int column) const
    {
        return *this ? m_model->cell(m_record, column).toString() : QString();
    }
    QStringView textView(int column) const
    {
        return *this ? m_model->cell(m_record, column) : QStringView();
    }
    QString subItem(int subItem) const { return text(BidListColumns::column(subItem)); }
    void setText(int column, const QString& value) const
    {
        if (*this)
            m_model->setCell(m_record, column, value);
    }
    void setSubItem(int subItem, const QString& value) const
    {
        setText(BidListColumns::column(subItem), value);
    }
    // Selected in the list that shows the row.
    bool isSelected() const
    {
        const int row = position();
        return row >= 0 && m_model->selectionModel() &&
               m_model->selectionModel()->isRowSelected(row, {});
    }
    void setSelected(bool selected) const
    {
        const int row = position();
        if (row < 0 || !m_model->selectionModel())
            return;
        m_model->selectionModel()->select(
            m_model->index(row, 0),
            (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                QItemSelectionModel::Rows);
    }
    // The font the list draws the row in (bold while it has unread messages).
    QFont font(int column) const
    {
        const QModelIndex cell = *this ? m_model->index(position(), column) : QModelIndex();
        const QVariant font = cell.data(Qt::FontRole);
        return font.isValid() ? font.value<QFont>() : QFont();
    }
    int columnCount() const { return BidListColumns::ColumnCount; }
    // True when the message-count cell holds "(": the transaction has unread received messages.
    bool hasUnread() const { return *this && m_model->hasUnread(m_record); }
    qint64 priceForTotal() const { return *this ? m_model->priceForTotal(m_record) : 0; }

private:
    BidListModel* m_model = nullptr;
    int m_record = -1;
    quint64 m_generation = 0;
};
