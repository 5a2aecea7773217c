// The main window's wiring of the message tab: the folder tree's menu and keys, the read
// commands and the message lists' popup menu.
#include "app/UnitNavi.h"

#include "app/NaviWiring.h"
#include "views/MessageTab.h"
#include "views/NaviFolderList.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>
#include <QTreeWidget>

void NaviWiring::connectMessageTabSignals(TFormNavi& navi)
{
    MessageTab* tab = &navi.messageTab();
    for (QAbstractItemView* list : {static_cast<QAbstractItemView*>(navi.ListViewNavi),
                                    static_cast<QAbstractItemView*>(navi.ListViewBidNavi)}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(list, &QWidget::customContextMenuRequested, &navi,
                         [&navi, list](const QPoint& at) {
                             navi.PopupMenuNaviList->popup(list->viewport()->mapToGlobal(at));
                         });
    }

    // Folder tree.
    auto* treeMenu = new QMenu(&navi);
    treeMenu->setObjectName("PopupMenuTreeNavi");
    QAction* newFolder = treeMenu->addAction(QStringLiteral("フォルダ新規作成(&N)"));
    newFolder->setObjectName("PopupMenuTreeNaviNewFolder");
    QAction* deleteFolder = navi.action("ActionTreeNaviDeleteFolder");
    QAction* renameFolder = navi.action("ActionTreeNaviReNameFolder");
    navi.markWired(deleteFolder);
    navi.markWired(renameFolder);
    treeMenu->addAction(deleteFolder);
    treeMenu->addAction(renameFolder);
    navi.TreeViewNavi->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        navi.TreeViewNavi, &QWidget::customContextMenuRequested, tab,
        [tab, treeMenu](const QPoint& at) { tab->TreeViewNaviContextPopup(at, treeMenu); });
    QObject::connect(newFolder, &QAction::triggered, tab,
                     &MessageTab::PopupMenuTreeNaviNewFolderClick);
    QObject::connect(renameFolder, &QAction::triggered, tab,
                     &MessageTab::ActionTreeNaviReNameFolderExecute);
    QObject::connect(deleteFolder, &QAction::triggered, tab,
                     &MessageTab::ActionTreeNaviDeleteFolderExecute);
    // Del in the tree runs the delete command whatever its state; it checks for itself. F2 is
    // the tree's own edit key, which renames a folder in place.
    auto* deleteKey = new QShortcut(QKeySequence::Delete, navi.TreeViewNavi, nullptr, nullptr,
                                    Qt::WidgetShortcut);
    QObject::connect(deleteKey, &QShortcut::activated, tab,
                     &MessageTab::ActionTreeNaviDeleteFolderExecute);

    // Read state.
    QObject::connect(navi.action("ActionNaviUnsealing"), &QAction::triggered, tab,
                     &MessageTab::ActionNaviUnsealingExecute);
    QObject::connect(navi.action("ActionNaviUnunsealing"), &QAction::triggered, tab,
                     &MessageTab::ActionNaviUnunsealingExecute);
    navi.markWired(navi.action("ActionNaviUnsealing"));
    navi.markWired(navi.action("ActionNaviUnunsealing"));
}
