#pragma once

#include <QTreeWidget>

// The message list ListViewNavi as a drag source: dragging its selected rows starts one move
// drag whose data holds the rows' keys (NaviDrag); the rows stay in the list until a drop has
// filed them. started and ended bracket the drag.
class NaviDragList : public QTreeWidget
{
    Q_OBJECT
public:
    explicit NaviDragList(QWidget* parent = nullptr);

    QStringList mimeTypes() const override;

signals:
    void dragStarted();
    void dragEnded();

protected:
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    void startDrag(Qt::DropActions supportedActions) override;
};
