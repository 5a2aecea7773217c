#pragma once

#include "views/BidListItem.h"
#include "views/BidListQuery.h"
#include "views/BidListSort.h"

#include <QColor>
#include <QList>
#include <QTreeWidget>

#include <functional>

class IniFile;

// The listing list ListViewBid: a report list of the listing rows (BidListColumns) with the
// listing tab's drawing (even rows tinted, rows with unread messages bold) and sort rule. It keeps
// an index of its rows by auction id and winner id for the store operations.
class BidListView : public QTreeWidget
{
    Q_OBJECT

public:
    static constexpr const char* DefaultBackColor = "16772829";

    explicit BidListView(QWidget* parent = nullptr);
    ~BidListView() override;

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
    // with the zero-based number of records 0, 20, 40 … while the rows are built.
    void fill(const QList<BidListQuery::Row>& rows, const std::function<void(int)>& progress = {});
    // Appends one row (caption + sub-items) without sorting; it is indexed like a filled row.
    BidListItem* addBidItem(const QStringList& cells);
    // The row of the transaction, or nullptr: exact auction id, winner id without ASCII case.
    BidListItem* findBidItem(const QString& aid, const QString& bidId) const;
    BidListItem* bidItem(int row) const;
    // Removes every row.
    void clearRows();

    // Status-bar text of the row count: "N件".
    QString rowCountText() const;
    static QString rowCountText(int count);

    // Column widths from and to the Main keys ListViewBidColWidth0 … (default 120).
    void readColumnWidths(const IniFile& ini);
    void writeColumnWidths(IniFile& ini) const;

    // Whether a row at this position gets the tint.
    static bool isTintedRow(int row) { return row % 2 == 0; }

signals:
    void sortStateChanged(int column, int type);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    BidListIndex m_index;
    BidListSort::State m_sortState;
    QColor m_backColor;
};
