#pragma once

#include <Qt>

#include <QStringList>

class QIcon;
class QObject;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// The composers' template panel: a title bar with its close button over a read-only tree of
// group nodes and their entries, activated by a single or a double click.
namespace ComposerTemplateTree {

// Kinds of the tree's nodes (nodeKindRole) and the group a node belongs to (nodeGroupRole).
enum NodeKind { GroupNode = 0, TemplateNode = 2, ItemNode = 3 };
inline constexpr int nodeKindRole = Qt::UserRole + 1;
inline constexpr int nodeGroupRole = Qt::UserRole + 2;

// The panel PanelBottomLeft on parent: " テンプレートツリー" with the close button over the tree.
QWidget* buildPanel(QWidget* parent, QToolButton** closeButton, QTreeWidget** tree);

// The pictures: the group's (closed, open when selected), a template's, another entry's.
QIcon groupIcon(const QWidget* styled);
QIcon templateIcon(const QWidget* styled);
QIcon itemIcon(const QWidget* styled);

// Appends a group node with one child per text, each of the given kind and picture.
QTreeWidgetItem* addGroup(QTreeWidget* tree, const QString& caption, int group,
                          const QStringList& children, int kind, const QIcon& icon);

// Activation by the template-tree operation setting: 0 a single click (the tree highlights the
// node under the pointer), any other value a double click.
template <typename Receiver, typename Slot>
void connectActivation(QTreeWidget* tree, int operation, Receiver* receiver, Slot slot);

void setHoverHighlight(QTreeWidget* tree, bool on);

} // namespace ComposerTemplateTree

#include <QTreeWidget>

template <typename Receiver, typename Slot>
void ComposerTemplateTree::connectActivation(QTreeWidget* tree, int operation, Receiver* receiver,
                                             Slot slot)
{
    if (operation == 0)
        QObject::connect(tree, &QTreeWidget::itemClicked, receiver, slot);
    else
        QObject::connect(tree, &QTreeWidget::itemDoubleClicked, receiver, slot);
    setHoverHighlight(tree, operation == 0);
}
