// The main window's filing of messages: the drag of ListViewNavi's selected rows, the drop rule
// and the drop on the folder tree, and the move itself.
#include "app/UnitNavi.h"

#include "views/FolderTree.h"
#include "views/EventHook.h"
#include "views/NaviFolderList.h"
#include "views/NaviDropRule.h"
#include "views/NaviListItem.h"
#include "views/NaviMove.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTreeWidget>

namespace {

DropFolder dropFolder(const QTreeWidgetItem* node)
{
    return {FolderTree::folderId(node), FolderTree::folderKind(node)};
}

} // namespace

void TFormNavi::ListViewNaviStartDrag()
{
    dragging = true;
}

void TFormNavi::ListViewNaviEndDrag()
{
    dragging = false;
    FolderTree::setDropTarget(TreeViewNavi, nullptr, false);
    TreeViewNavi->viewport()->repaint();
}

bool TFormNavi::TreeViewNaviDragOver(const QPoint& at)
{
    QTreeWidgetItem* node = TreeViewNavi->itemAt(at);
    const QTreeWidgetItem* listed = TreeViewNavi->currentItem();
    if (!node || !listed)
        return false;
    const DropFolder target = dropFolder(node);
    return naviDropAccepted(&target, dropFolder(listed));
}

void TFormNavi::TreeViewNaviDragDrop(const QPoint& at, const QMimeData* data)
{
    if (!TreeViewNaviDragOver(at))
        return;
    // Only rows dragged out of the message list are filed.
    if (NaviDrag::isMessageRows(data))
        moveMessagesToFolder(TreeViewNavi->itemAt(at));
    loadUnreadCounts();
}

void TFormNavi::moveMessagesToFolder(QTreeWidgetItem* target)
{
    if (!target || !isDatabaseOpen())
        return;
    const QList<NaviKey> keys = NaviMove::selectedKeys(ListViewNavi);
    if (keys.isEmpty())
        return;
    // A failed write throws before any row leaves the list.
    NaviMove::write(connection, FolderTree::folderId(target), keys);
    currentNaviItem = QPersistentModelIndex();
    clearNaviDetail();
    const NaviMove::Removal removal = NaviMove::removeSelectedRows(ListViewNavi);
    shownUnreadCount = ListViewNavi->countUnread();
    statusPanels[1]->setText(NaviListView::statusText(ListViewNavi->rowCount(), shownUnreadCount));
    ListViewNavi->setFocus();
    if (removal.next >= 0) {
        ListViewNavi->selectRow(removal.next);
        ListViewNavi->scrollToRow(removal.next);
    }
}

void TFormNavi::connectMoveSignals()
{
    connect(ListViewNavi, &NaviFolderList::dragStarted, this, &TFormNavi::ListViewNaviStartDrag);
    connect(ListViewNavi, &NaviFolderList::dragEnded, this, &TFormNavi::ListViewNaviEndDrag);
    TreeViewNavi->setAcceptDrops(true);
    TreeViewNavi->viewport()->setAcceptDrops(true);
    // The tree's own drop handling never runs: hovering neither selects nor expands a folder.
    auto* drop = new EventHook(
        [this](QObject*, QEvent* event) {
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
                FolderTree::setDropTarget(TreeViewNavi, TreeViewNavi->itemAt(at), accepted);
                if (accepted) {
                    drag->setDropAction(Qt::MoveAction);
                    drag->accept();
                } else {
                    drag->ignore();
                }
                return true;
            }
            case QEvent::DragLeave:
                FolderTree::setDropTarget(TreeViewNavi, nullptr, false);
                return true;
            case QEvent::Drop: {
                auto* dropped = static_cast<QDropEvent*>(event);
                FolderTree::setDropTarget(TreeViewNavi, nullptr, false);
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
        },
        this);
    drop->watch(TreeViewNavi->viewport());
}
