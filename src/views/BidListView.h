#pragma once

#include "views/BidListModel.h"
#include "views/BidRow.h"
#include "views/BidListQuery.h"
#include "views/BidListSort.h"

#include <QColor>
#include <QList>
#include <QTreeView>

#include <functional>

class IniFile;

// The listing list ListViewBid: a report list of the listing rows (BidListColumns) over a model
// of column arrays, with the listing tab's drawing (even rows tinted, rows with unread messages
// bold) and sort rule. Rows are reached as BidRow values by position or by transaction.
class BidListView : public QTreeView
{
    Q_OBJECT

public:
    static constexpr const char* DefaultBackColor = "16772829";

    explicit BidListView(QWidget* parent = nullptr);
    ~BidListView() override;

    BidListModel* listModel() const { return m_model; }

    // The background of rows 0, 2, 4 …: the decimal text of a Windows colour value (an invalid
    // text gives the default).
    void setBackColorValue(const QString& decimal);
    QColor backColor() const { return m_backColor; }

    BidListSort::State sortState() const { return m_sortState; }
    void setSortState(const BidListSort::State& state) { m_sortState = state; }
    // Sorts every row by the current sort state.
    void sortList();
    // A click on a header: switches the sort state by the header-click rule, sorts, and scrolls
    // the first selected row into view. Connected to the header; emits sortStateChanged.
    void ListViewBidColumnClick(int column);

    // Replaces every row with the query's rows and sorts them. progress, when given, is called
    // with the zero-based number of records 0, 20, 40 … while the rows are taken over.
    void fillRecords(BidListRecords records, const std::function<void(int)>& progress = {});
    void fill(const QList<BidListQuery::Row>& rows, const std::function<void(int)>& progress = {});
    // Appends one row (caption + sub-items) without sorting; it is indexed like a filled row.
    BidRow addBidItem(const QStringList& cells);
    // Takes rows out of the list; the others keep their order, selection and current row.
    void removeRows(const QList<BidRow>& rows);
    // The row of the transaction, or none: exact auction id, winner id without ASCII case.
    BidRow findBidItem(const QString& aid, const QString& bidId) const;
    // The row at a position, or none.
    BidRow bidItem(int row) const;
    BidRow topLevelItem(int row) const { return bidItem(row); }
    int topLevelItemCount() const { return m_model->rowCount(); }
    int indexOfTopLevelItem(const BidRow& row) const { return row.position(); }
    // Removes every row.
    void clearRows();

    // Selection and current row in the terms of rows.
    bool isSelected(const BidRow& row) const;
    void setSelected(const BidRow& row, bool selected);
    // The selected rows in list order; the first of them or none.
    QList<BidRow> selectedItems() const;
    BidRow firstSelectedItem() const;
    // Positions of the selected rows in list order.
    QList<int> selectedPositions() const;
    BidRow currentItem() const;
    // Makes the row the current one and the only selected one (none: no current row).
    void setCurrentItem(const BidRow& row);
    void setCurrentItem(const BidRow& row, int column, QItemSelectionModel::SelectionFlags command);
    void scrollToItem(const BidRow& row, ScrollHint hint = EnsureVisible);
    QRect visualItemRect(const BidRow& row) const;

    // Status-bar text of the row count: "N件".
    QString rowCountText() const;
    static QString rowCountText(int count);

    // Column widths from and to the Main keys ListViewBidColWidth0 … (default 120).
    void readColumnWidths(const IniFile& ini);
    void writeColumnWidths(IniFile& ini) const;
    int columnCount() const { return BidListColumns::ColumnCount; }

    // Whether a row at this position gets the tint.
    static bool isTintedRow(int row) { return row % 2 == 0; }

signals:
    void sortStateChanged(int column, int type);
    // The selection changed (any row, either way).
    void itemSelectionChanged();
    // The current row changed.
    void currentItemChanged();

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void changeEvent(QEvent* event) override;

private:
    void updateUnreadFont();

    BidListModel* m_model;
    BidListSort::State m_sortState;
    QColor m_backColor;
};
