#include "views/NaviDragList.h"

#include "views/NaviDropRule.h"
#include "views/NaviMove.h"

#include <QDrag>
#include <QMimeData>

NaviDragList::NaviDragList(QWidget* parent) : QTreeWidget(parent)
{
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::MoveAction);
}

QStringList NaviDragList::mimeTypes() const
{
    return {QString::fromLatin1(NaviDrag::mimeType)};
}

QMimeData* NaviDragList::mimeData(const QList<QTreeWidgetItem*>& items) const
{
    Q_UNUSED(items);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(NaviDrag::mimeType),
                  NaviDrag::encode(NaviMove::selectedKeys(this)));
    return data;
}

void NaviDragList::startDrag(Qt::DropActions supportedActions)
{
    Q_UNUSED(supportedActions);
    const QList<QTreeWidgetItem*> items = selectedItems();
    if (items.isEmpty())
        return;
    // The drop files the rows and removes them itself; the list never removes them on a move.
    auto* drag = new QDrag(this);
    drag->setMimeData(mimeData(items));
    emit dragStarted();
    drag->exec(Qt::MoveAction, Qt::MoveAction);
    emit dragEnded();
}
