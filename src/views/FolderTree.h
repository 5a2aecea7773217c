#pragma once

#include "views/TableNaviFolderMaster.h"

#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStyledItemDelegate>
#include <QTreeWidgetItem>

#include <functional>

class QTreeWidget;
class QWidget;

// The folder tree TreeViewNavi: one node per folder of the account, nested by id, sorted by
// name, every node expanded, the unread count "(N)" drawn after the name.
namespace FolderTree {

enum Role {
    FolderIdRole = Qt::UserRole + 1,
    KindRole,
    ImageIndexRole,
    SelectImageIndexRole,
    UnreadCountRole,
    DropTargetRole, // DropTarget while message rows are dragged over the node
};

// How a node under a drag of message rows is drawn.
enum class DropTarget { None = 0, Allowed = 1, Refused = 2 };

// Decides an in-place rename: true when the new name was written.
using RenameHandler =
    std::function<bool(const QString& folderId, const QString& oldName, const QString& newName)>;

// Font, indent, sorting, in-place editing and the drawing of the counts. The handler decides
// every in-place rename (renameFolderEdited with the main connection and the account).
void setup(QTreeWidget* tree, RenameHandler renameHandler);

QString folderId(const QTreeWidgetItem* item);
int folderKind(const QTreeWidgetItem* item);
// The node of a folder id, or nullptr.
QTreeWidgetItem* findFolder(QTreeWidget* tree, const QString& folderId);

// Adds the rows (ordered by id) as nested nodes, sorted by name and expanded.
void build(QTreeWidget* tree, const QList<FolderRow>& rows);
// Rebuilds the tree of the account; no account leaves it empty. Selects the first node, so the
// tree's currentItemChanged loads that folder's message list.
void load(QTreeWidget* tree, const QSqlDatabase& db, const QString& loginId);

// Unread received messages per folder id (a folder's own messages only).
QMap<QString, int> readUnreadCounts(const QSqlDatabase& db, const QString& loginId);
void applyUnreadCounts(QTreeWidget* tree, const QMap<QString, int>& counts);
// Reloads the counts from the database; the tree is repainted unless messages are dragged.
void loadUnreadCounts(QTreeWidget* tree, const QSqlDatabase& db, const QString& loginId,
                      bool dragging = false);
// Moves the counts of the named folders by the given changes (never below 0); the tree is
// repainted unless messages are dragged.
void changeUnreadCounts(QTreeWidget* tree, const QMap<QString, int>& changes,
                        bool dragging = false);
// Marks the node under a drag (nullptr: none) as an allowed or a refused drop target; every other
// node loses its mark.
void setDropTarget(QTreeWidget* tree, QTreeWidgetItem* item, bool allowed);
// "(N)" for N > 0, empty otherwise.
QString unreadCountText(int count);

// New folder under the selected folder: stores it, adds and selects the node and starts
// editing its name. nullptr when there is no account, no selected folder or no free id.
QTreeWidgetItem* newFolder(QTreeWidget* tree, const QSqlDatabase& db, const QString& loginId,
                           DigitSource digits = localRandomDigits);
// Starts editing the selected folder's name; roots are not renamed.
void startRename(QTreeWidget* tree, const QString& loginId);
// The end of an in-place rename: an empty name, the old name or a sibling's name changes
// nothing; otherwise the name is written. True when written.
bool renameFolderEdited(const QSqlDatabase& db, const QString& loginId, const QString& folderId,
                        const QString& oldName, const QString& newName);
// Deletes the selected folder after the checks and the question; true when deleted.
// listedMessages is the row count of the folder's message list.
bool deleteFolder(QTreeWidget* tree, const QSqlDatabase& db, const QString& loginId,
                  int listedMessages, QWidget* dialogParent = nullptr);
// Selects the node under a point of the viewport (the context menu), if there is one.
QTreeWidgetItem* selectFolderAt(QTreeWidget* tree, const QPoint& viewportPos);

// One folder node; siblings sort by name in the locale's order.
class FolderTreeItem : public QTreeWidgetItem
{
public:
    explicit FolderTreeItem(const FolderRow& row);
    bool operator<(const QTreeWidgetItem& other) const override;
};

// Draws a node bold when its folder has unread messages, with "(N)" in navy after the name; a
// node without unread messages under a drag shows whether it takes the drop. It hands the end
// of an in-place rename to the handler.
class FolderTreeDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    FolderTreeDelegate(RenameHandler renameHandler, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    RenameHandler m_renameHandler;
};

} // namespace FolderTree
