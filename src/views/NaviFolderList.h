#pragma once

#include "views/NaviDropRule.h"
#include "views/NaviFolderModel.h"
#include "views/NaviListItem.h"

#include <QTreeView>

// The folder message list ListViewNavi: a flat view over NaviFolderModel, several rows
// selectable, whole rows, read-only. Dragging the selected rows starts one move drag whose data
// holds the rows' keys; the rows stay until a drop has filed them. Rows are reached by their
// number in the present order.
class NaviFolderList : public QTreeView
{
    Q_OBJECT

public:
    explicit NaviFolderList(QWidget* parent = nullptr);

    NaviFolderModel* rows() const { return m_model; }
    int rowCount() const { return m_model->rowCount(); }
    // The row as a value (its message head read); an empty row out of range.
    NaviRow row(int row) const { return m_model->naviRow(row); }
    int picture(int row) const { return m_model->picture(row); }
    QString text(int row, int column) const { return m_model->cellText(row, column); }

    // Selected rows in list order.
    QList<int> selectedRowNumbers() const;
    bool isRowSelected(int row) const;
    void setRowSelected(int row, bool selected);
    // The current row, or -1.
    int currentRowNumber() const;
    // Makes the row current without changing the selection.
    void setCurrentRowNumber(int row);
    // Makes the row current and the only selected row, as a click on it does.
    void selectRow(int row);
    void scrollToRow(int row);
    // The keys of the selected rows, in list order.
    QList<NaviKey> selectedKeys() const;

    // Loads a folder's messages of the account (the writer caption included) in the order of
    // the sort column and direction; a folder of kind 10 lists nothing.
    NaviListView::LoadResult load(const QSqlDatabase& db, const QString& folderId, int kind,
                                  const QString& loginId, int sortColumn, int sortType);
    // Rows with picture 0.
    int countUnread() const;

    // Sorts by the column (0 ascending, 1 descending) and scrolls the selected row into view.
    void sort(int column, int sortType);

signals:
    void dragStarted();
    void dragEnded();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void changeEvent(QEvent* event) override;

private:
    NaviFolderModel* m_model;
};
