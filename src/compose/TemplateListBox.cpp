#include "compose/TemplateListBox.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>

TemplateListBox::TemplateListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

void TemplateListBox::startDrag(Qt::DropActions supportedActions)
{
    emit dragStarting();
    QListWidget::startDrag(supportedActions);
    emit dragFinished();
}

void TemplateListBox::dragEnterEvent(QDragEnterEvent* event)
{
    event->acceptProposedAction();
}

void TemplateListBox::dragMoveEvent(QDragMoveEvent* event)
{
    emit dragMovedOver(event->position().toPoint());
    event->acceptProposedAction();
}

void TemplateListBox::dropEvent(QDropEvent* event)
{
    emit droppedAt(event->position().toPoint());
    // The editor moved the entry itself; the list must not remove or copy anything.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
}
