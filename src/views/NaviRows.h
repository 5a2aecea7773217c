#pragma once

#include "views/NaviDropRule.h"
#include "views/NaviListQuery.h"

#include <QList>
#include <QModelIndex>
#include <QString>

class NaviFolderList;
class QAbstractItemView;
class QTreeWidget;

// The rows of a message list, whichever view shows them: the folder list (rows held as columns)
// or a list of NaviListItems (the listing tab's message list, the side windows). Rows are
// numbered in the list's present order. A value over the view; it holds nothing of its own.
class NaviRows
{
public:
    explicit NaviRows(QAbstractItemView* list);

    QAbstractItemView* list() const { return m_list; }
    int count() const;
    // The row as a value, its message head read; an empty row out of range.
    NaviRow row(int row) const;
    // The message's key, without reading its head.
    NaviKey key(int row) const;
    // The auction id of the row's key alone.
    QString aid(int row) const;
    int picture(int row) const;
    bool isReceived(int row) const;
    bool isRead(int row) const;
    // A cell's text with its line breaks (column = sub-item + 1).
    QString text(int row, int column) const;
    QModelIndex index(int row) const;

    // Selected rows in list order.
    QList<int> selected() const;
    bool isSelected(int row) const;
    // The current row, or -1.
    int current() const;
    // The row whose details are shown: the current row when it is selected, otherwise the first
    // selected row, otherwise -1.
    int detailRow() const;
    // Rows with picture 0.
    int countUnread() const;

    // The read state of a received row (sent rows stay as they are).
    void setRead(int row, bool read) const;
    void setRead(const QList<int>& rows, bool read) const;
    // Keeps the whole text of a row's message once read.
    void setWholeMessage(int row, const QString& text) const;

private:
    QAbstractItemView* m_list;
    NaviFolderList* m_folder;
    QTreeWidget* m_items;
};
