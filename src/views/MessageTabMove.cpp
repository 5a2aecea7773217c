// The message tab's filing of messages: the drag of ListViewNavi's selected rows, the drop rule
// and the drop on the folder tree, and the move itself.
#include "views/MessageTab.h"

#include "common/NaviSession.h"
#include "views/EventHook.h"
#include "views/FolderTree.h"
#include "views/NaviDropRule.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviMove.h"
#include "views/NaviSelectionDelay.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeWidget>

namespace {

DropFolder dropFolder(const QTreeWidgetItem* node)
{
    return {FolderTree::folderId(node), FolderTree::folderKind(node)};
}

} // namespace

void MessageTab::connectMoveSignals()
{
    connect(w.ListViewNavi, &NaviFolderList::dragStarted, this,
            &MessageTab::ListViewNaviStartDrag);
    connect(w.ListViewNavi, &NaviFolderList::dragEnded, this, &MessageTab::ListViewNaviEndDrag);
    w.TreeViewNavi->setAcceptDrops(true);
    w.TreeViewNavi->viewport()->setAcceptDrops(true);
    // The tree's own drop handling never runs: hovering neither selects nor expands a folder.
    auto* drop = new EventHook(
        [this](QObject*, QEvent* event) { return TreeViewNaviDragEvent(event); }, this);
    drop->watch(w.TreeViewNavi->viewport());
}

void MessageTab::ListViewNaviStartDrag()
{
    dragging = true;
}

void MessageTab::ListViewNaviEndDrag()
{
    dragging = false;
    FolderTree::setDropTarget(w.TreeViewNavi, nullptr, false);
    w.TreeViewNavi->viewport()->repaint();
}

bool MessageTab::TreeViewNaviDragOver(const QPoint& at)
{
    QTreeWidgetItem* node = w.TreeViewNavi->itemAt(at);
    const QTreeWidgetItem* listed = w.TreeViewNavi->currentItem();
    if (!node || !listed)
        return false;
    const DropFolder target = dropFolder(node);
    return naviDropAccepted(&target, dropFolder(listed));
}

void MessageTab::TreeViewNaviDragDrop(const QPoint& at, const QMimeData* data)
{
    if (!TreeViewNaviDragOver(at))
        return;
    // Only rows dragged out of the message list are filed.
    if (NaviDrag::isMessageRows(data))
        moveMessagesToFolder(w.TreeViewNavi->itemAt(at));
    loadUnreadCounts();
}

bool MessageTab::TreeViewNaviDragEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter: {
        // Entered, a drag of message rows gets the moves over the nodes.
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (NaviDrag::isMessageRows(drag->mimeData()))
            drag->accept();
        else
            drag->ignore();
        return true;
    }
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const QPoint at = drag->position().toPoint();
        const bool accepted =
            NaviDrag::isMessageRows(drag->mimeData()) && TreeViewNaviDragOver(at);
        FolderTree::setDropTarget(w.TreeViewNavi, w.TreeViewNavi->itemAt(at), accepted);
        if (accepted) {
            drag->setDropAction(Qt::MoveAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::DragLeave:
        FolderTree::setDropTarget(w.TreeViewNavi, nullptr, false);
        return true;
    case QEvent::Drop: {
        auto* dropped = static_cast<QDropEvent*>(event);
        FolderTree::setDropTarget(w.TreeViewNavi, nullptr, false);
        const QPoint at = dropped->position().toPoint();
        if (NaviDrag::isMessageRows(dropped->mimeData()) && TreeViewNaviDragOver(at)) {
            dropped->setDropAction(Qt::MoveAction);
            dropped->accept();
        } else {
            dropped->ignore();
        }
        TreeViewNaviDragDrop(at, dropped->mimeData());
        return true;
    }
    default:
        return false;
    }
}

void MessageTab::moveMessagesToFolder(QTreeWidgetItem* target)
{
    if (!target || !isDatabaseOpen())
        return;
    const QList<NaviKey> keys = NaviMove::selectedKeys(w.ListViewNavi);
    if (keys.isEmpty())
        return;
    // A failed write throws before any row leaves the list.
    NaviMove::write(m_session.connection, FolderTree::folderId(target), keys);
    currentNaviItem = QPersistentModelIndex();
    clearNaviDetail();
    const NaviMove::Removal removal = NaviMove::removeSelectedRows(w.ListViewNavi);
    shownUnreadCount = w.ListViewNavi->countUnread();
    m_window.showMessageCount(
        NaviListView::statusText(w.ListViewNavi->rowCount(), shownUnreadCount));
    w.ListViewNavi->setFocus();
    if (removal.next >= 0) {
        w.ListViewNavi->selectRow(removal.next);
        w.ListViewNavi->scrollToRow(removal.next);
    }
}
