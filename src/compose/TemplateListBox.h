#pragma once

#include <QListWidget>

// The template editors' name list: it reports the start of a drag of its own entries and the
// pointer's moves and drop over it, so the editor applies its own drop rule.
class TemplateListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit TemplateListBox(QWidget* parent = nullptr);

signals:
    void dragStarting();
    void dragFinished();
    void dragMovedOver(const QPoint& position);
    void droppedAt(const QPoint& position);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
