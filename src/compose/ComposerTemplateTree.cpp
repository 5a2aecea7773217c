#include "compose/ComposerTemplateTree.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ComposerTemplateTree {

QWidget* buildPanel(QWidget* parent, QToolButton** closeButton, QTreeWidget** tree)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName("PanelBottomLeft");
    auto* left = new QVBoxLayout(panel);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    auto* titleBar = new QWidget(panel);
    auto* titleRow = new QHBoxLayout(titleBar);
    titleRow->setContentsMargins(0, 2, 2, 2);
    titleRow->addWidget(new QLabel(QStringLiteral(" テンプレートツリー"), titleBar), 1);
    auto* close = new QToolButton(titleBar);
    close->setObjectName("ButtonTemplateTreeClose");
    close->setText(QStringLiteral("×"));
    close->setToolTip(QStringLiteral("テンプレートツリーを閉じる"));
    close->setAutoRaise(true);
    titleRow->addWidget(close);
    left->addWidget(titleBar);
    auto* view = new QTreeWidget(panel);
    view->setObjectName("TreeViewTemplate");
    view->setHeaderHidden(true);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setExpandsOnDoubleClick(false);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setAllColumnsShowFocus(true);
    view->setMinimumHeight(20);
    left->addWidget(view, 1);
    *closeButton = close;
    *tree = view;
    return panel;
}

QIcon groupIcon(const QWidget* styled)
{
    QIcon icon;
    icon.addPixmap(styled->style()->standardPixmap(QStyle::SP_DirClosedIcon), QIcon::Normal);
    icon.addPixmap(styled->style()->standardPixmap(QStyle::SP_DirOpenIcon), QIcon::Selected);
    return icon;
}

QIcon templateIcon(const QWidget* styled)
{
    return styled->style()->standardIcon(QStyle::SP_FileIcon);
}

QIcon itemIcon(const QWidget* styled)
{
    return styled->style()->standardIcon(QStyle::SP_FileDialogInfoView);
}

QTreeWidgetItem* addGroup(QTreeWidget* tree, const QString& caption, int group,
                          const QStringList& children, int kind, const QIcon& icon)
{
    auto* node = new QTreeWidgetItem(tree, {caption});
    node->setData(0, nodeKindRole, GroupNode);
    node->setData(0, nodeGroupRole, group);
    node->setIcon(0, groupIcon(tree));
    for (const QString& text : children) {
        auto* child = new QTreeWidgetItem(node, {text});
        child->setData(0, nodeKindRole, kind);
        child->setData(0, nodeGroupRole, group);
        child->setIcon(0, icon);
    }
    return node;
}

void setHoverHighlight(QTreeWidget* tree, bool on)
{
    tree->setMouseTracking(on);
}

} // namespace ComposerTemplateTree
