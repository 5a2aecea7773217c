// The main window's wiring of the message tab: the folder tree's menu and keys, the read
// commands and the message lists' popup menu.
#include "app/UnitNavi.h"

#include "app/NaviControllers.h"
#include "views/MessageTab.h"
#include "views/NaviFolderList.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>
#include <QTreeWidget>

void TFormNavi::connectMessageTabSignals()
{
    MessageTab* tab = m_controllers->messageTab.get();
    for (QAbstractItemView* list : {static_cast<QAbstractItemView*>(ListViewNavi),
                                    static_cast<QAbstractItemView*>(ListViewBidNavi)}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
            PopupMenuNaviList->popup(list->viewport()->mapToGlobal(at));
        });
    }

    // Folder tree.
    auto* treeMenu = new QMenu(this);
    treeMenu->setObjectName("PopupMenuTreeNavi");
    QAction* newFolder = treeMenu->addAction(QStringLiteral("フォルダ新規作成(&N)"));
    newFolder->setObjectName("PopupMenuTreeNaviNewFolder");
    QAction* deleteFolder = makeAction("ActionTreeNaviDeleteFolder", "フォルダ削除(&D)");
    QAction* renameFolder = makeAction("ActionTreeNaviReNameFolder", "フォルダ名変更(&R)");
    markWired(deleteFolder);
    markWired(renameFolder);
    treeMenu->addAction(deleteFolder);
    treeMenu->addAction(renameFolder);
    TreeViewNavi->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeViewNavi, &QWidget::customContextMenuRequested, tab,
            [tab, treeMenu](const QPoint& at) { tab->TreeViewNaviContextPopup(at, treeMenu); });
    connect(newFolder, &QAction::triggered, tab, &MessageTab::PopupMenuTreeNaviNewFolderClick);
    connect(renameFolder, &QAction::triggered, tab,
            &MessageTab::ActionTreeNaviReNameFolderExecute);
    connect(deleteFolder, &QAction::triggered, tab,
            &MessageTab::ActionTreeNaviDeleteFolderExecute);
    // Del and F2 in the tree run the commands whatever their state; they check for themselves.
    auto* deleteKey =
        new QShortcut(QKeySequence::Delete, TreeViewNavi, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, tab, &MessageTab::ActionTreeNaviDeleteFolderExecute);

    // Read state.
    connect(action("ActionNaviUnsealing"), &QAction::triggered, tab,
            &MessageTab::ActionNaviUnsealingExecute);
    connect(action("ActionNaviUnunsealing"), &QAction::triggered, tab,
            &MessageTab::ActionNaviUnunsealingExecute);
    markWired(action("ActionNaviUnsealing"));
    markWired(action("ActionNaviUnunsealing"));
}
