#include "views/NaviRows.h"

#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"

#include <QItemSelectionModel>
#include <QTreeWidget>

#include <algorithm>

NaviRows::NaviRows(QAbstractItemView* list)
    : m_list(list), m_folder(qobject_cast<NaviFolderList*>(list)),
      m_items(qobject_cast<QTreeWidget*>(list))
{
}

namespace {

NaviListItem* itemAt(QTreeWidget* list, int row)
{
    return list ? NaviListItem::of(list->topLevelItem(row)) : nullptr;
}

} // namespace

int NaviRows::count() const
{
    if (m_folder)
        return m_folder->rowCount();
    return m_items ? m_items->topLevelItemCount() : 0;
}

NaviRow NaviRows::row(int row) const
{
    if (m_folder)
        return m_folder->row(row);
    const NaviListItem* item = itemAt(m_items, row);
    return item ? item->row() : NaviRow();
}

NaviKey NaviRows::key(int row) const
{
    if (m_folder)
        return {m_folder->text(row, 1), m_folder->text(row, 3),
                m_folder->text(row, NaviFolderModel::NumberColumn)};
    const NaviListItem* item = itemAt(m_items, row);
    if (!item)
        return {};
    return {item->row().aid, item->row().bidId, item->row().number};
}

QString NaviRows::aid(int row) const
{
    if (m_folder)
        return m_folder->text(row, 1);
    const NaviListItem* item = itemAt(m_items, row);
    return item ? item->row().aid : QString();
}

int NaviRows::picture(int row) const
{
    if (m_folder)
        return m_folder->picture(row);
    const NaviListItem* item = itemAt(m_items, row);
    return item ? item->picture() : -1;
}

bool NaviRows::isReceived(int row) const
{
    const int shown = picture(row);
    return shown == NaviPicture::unread || shown == NaviPicture::read;
}

bool NaviRows::isRead(int row) const
{
    return picture(row) == NaviPicture::read;
}

QString NaviRows::text(int row, int column) const
{
    if (m_folder)
        return m_folder->text(row, column);
    const QTreeWidgetItem* item = m_items ? m_items->topLevelItem(row) : nullptr;
    return item ? item->data(column, Qt::EditRole).toString() : QString();
}

QModelIndex NaviRows::index(int row) const
{
    return m_list && m_list->model() ? m_list->model()->index(row, 0) : QModelIndex();
}

QList<int> NaviRows::selected() const
{
    QList<int> rows;
    if (!m_list || !m_list->selectionModel())
        return rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool NaviRows::isSelected(int row) const
{
    return m_list && m_list->selectionModel() &&
           m_list->selectionModel()->isRowSelected(row, {});
}

int NaviRows::current() const
{
    if (!m_list || !m_list->selectionModel())
        return -1;
    const QModelIndex current = m_list->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

int NaviRows::detailRow() const
{
    const int now = current();
    if (now >= 0 && isSelected(now))
        return now;
    const QList<int> rows = selected();
    return rows.isEmpty() ? -1 : rows.first();
}

int NaviRows::countUnread() const
{
    if (m_folder)
        return m_folder->countUnread();
    return m_items ? NaviListView::countUnread(m_items) : 0;
}

void NaviRows::setRead(int row, bool read) const
{
    if (m_folder)
        m_folder->rows()->setRead(row, read);
    else if (NaviListItem* item = itemAt(m_items, row))
        item->setRead(read);
}

void NaviRows::setRead(const QList<int>& rows, bool read) const
{
    if (m_folder) {
        m_folder->rows()->setRead(rows, read);
        return;
    }
    for (int row : rows)
        setRead(row, read);
}

void NaviRows::setWholeMessage(int row, const QString& text) const
{
    if (m_folder)
        m_folder->rows()->setWholeMessage(row, text);
    else if (NaviListItem* item = itemAt(m_items, row))
        item->setWholeMessage(text);
}
