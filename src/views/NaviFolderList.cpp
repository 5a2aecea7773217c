#include "views/NaviFolderList.h"

#include "views/NaviMove.h"

#include <QDrag>
#include <QEvent>
#include <QHeaderView>
#include <QMimeData>

#include <algorithm>

NaviFolderList::NaviFolderList(QWidget* parent)
    : QTreeView(parent), m_model(new NaviFolderModel(this))
{
    setModel(m_model);
    m_model->setFont(font());
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setColumnWidth(0, 25);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::MoveAction);
}

QList<int> NaviFolderList::selectedRowNumbers() const
{
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool NaviFolderList::isRowSelected(int row) const
{
    return selectionModel()->isRowSelected(row, {});
}

void NaviFolderList::setRowSelected(int row, bool selected)
{
    if (row < 0 || row >= rowCount())
        return;
    selectionModel()->select(m_model->index(row, 0), (selected ? QItemSelectionModel::Select
                                                               : QItemSelectionModel::Deselect) |
                                                         QItemSelectionModel::Rows);
}

int NaviFolderList::currentRowNumber() const
{
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void NaviFolderList::setCurrentRowNumber(int row)
{
    selectionModel()->setCurrentIndex(row < 0 ? QModelIndex() : m_model->index(row, 0),
                                      QItemSelectionModel::NoUpdate);
}

void NaviFolderList::selectRow(int row)
{
    selectionModel()->setCurrentIndex(row < 0 ? QModelIndex() : m_model->index(row, 0),
                                      QItemSelectionModel::ClearAndSelect |
                                          QItemSelectionModel::Rows);
}

void NaviFolderList::scrollToRow(int row)
{
    if (row >= 0 && row < rowCount())
        scrollTo(m_model->index(row, 0));
}

QList<NaviKey> NaviFolderList::selectedKeys() const
{
    QList<NaviKey> keys;
    for (int row : selectedRowNumbers())
        keys.append({text(row, 1), text(row, 3), text(row, NaviFolderModel::NumberColumn)});
    return keys;
}

NaviListView::LoadResult NaviFolderList::load(const QSqlDatabase& db, const QString& folderId,
                                              int kind, const QString& loginId, int sortColumn,
                                              int sortType)
{
    m_model->clear();
    NaviListView::LoadResult result;
    if (kind == 10)
        return result;
    m_model->setWriterCaption(kind);
    NaviFolderRows rows =
        NaviFolderQuery::read(db, folderId, loginId, NaviFolderQuery::sortsByMessage(sortColumn));
    const std::vector<int> order = NaviFolderQuery::order(rows, sortColumn, sortType, kind);
    m_model->fill(std::move(rows), order,
                  std::make_shared<const NaviListQuery::MessageHeads>(db.connectionName(), folderId,
                                                                      loginId));
    // The rows came sorted; the header remembers the column for the rows added later.
    header()->setSortIndicator(sortColumn,
                               sortType == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    result.listed = true;
    result.rows = rowCount();
    result.unread = countUnread();
    return result;
}

int NaviFolderList::countUnread() const
{
    int unread = 0;
    for (int row = 0, n = rowCount(); row < n; ++row)
        unread += m_model->picture(row) == 0 ? 1 : 0;
    return unread;
}

void NaviFolderList::sort(int column, int sortType)
{
    header()->setSortIndicator(column, sortType == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    m_model->sort(column, sortType);
    int row = currentRowNumber();
    if (row < 0 || !isRowSelected(row)) {
        const QList<int> selected = selectedRowNumbers();
        row = selected.isEmpty() ? -1 : selected.first();
    }
    scrollToRow(row);
}

void NaviFolderList::startDrag(Qt::DropActions supportedActions)
{
    Q_UNUSED(supportedActions);
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    // The drop files the rows and removes them itself; the list never removes them on a move.
    auto* drag = new QDrag(this);
    drag->setMimeData(m_model->mimeData(selected));
    emit dragStarted();
    drag->exec(Qt::MoveAction, Qt::MoveAction);
    emit dragEnded();
}

void NaviFolderList::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        m_model->setFont(font());
    QTreeView::changeEvent(event);
}
