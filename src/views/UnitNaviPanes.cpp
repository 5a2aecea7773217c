// The main window's share of the message pane: the folder tree and the message lists with
// their read state.
#include "app/UnitNavi.h"

#include "common/CommonRoutines.h"
#include "views/FolderTree.h"
#include "views/ListingTab.h"
#include "views/NaviListActivation.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviReadState.h"
#include "views/NaviSelectionDelay.h"
#include "views/TableNaviFolderMaster.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

// ---- Message folders and lists ----

void TFormNavi::createDefaultFolders()
{
    ::createDefaultFolders(connection, loginId, &knownFolderLogins, makeRandomDigits);
}

void TFormNavi::loadFolderTree()
{
    FolderTree::load(TreeViewNavi, connection, loginId);
}

void TFormNavi::loadUnreadCounts()
{
    FolderTree::loadUnreadCounts(TreeViewNavi, connection, loginId, dragging);
}

void TFormNavi::TreeViewNaviChange(QTreeWidgetItem* current)
{
    if (!current || !isDatabaseOpen())
        return;
    const int kind = FolderTree::folderKind(current);
    const NaviListView::LoadResult loaded =
        ListViewNavi->load(connection, FolderTree::folderId(current), kind, loginId, naviSortColumn,
                           naviSortType);
    if (loaded.listed) {
        shownUnreadCount = loaded.unread;
        if (PageControlMain->currentIndex() == 1)
            statusPanels[1]->setText(NaviListView::statusText(loaded.rows, loaded.unread));
    }
    if (loaded.listed)
        LabelNaviWriter->setText(NaviListView::writerLabel(kind));
    clearNaviDetail();
    currentNaviItem = QPersistentModelIndex();
    listingTab().updateNaviActions(FolderTree::folderId(current), kind);
    clearBidderInfo();
}

void TFormNavi::clearNaviDetail()
{
    naviSelectionDelay->clearDetail();
}

QAbstractItemView* TFormNavi::getActiveNaviList() const
{
    if (PageControlMain->currentIndex() == 1)
        return ListViewNavi;
    return ListViewBidNavi;
}

int TFormNavi::focusedNaviRow() const
{
    return naviSelectionDelay->currentNaviRow();
}

namespace {

NaviReadState::Views readStateViews(TFormNavi* navi)
{
    return {navi->getActiveNaviList(), navi->ListViewNavi, navi->ListViewBidNavi,
            navi->ListViewBid,         navi->TreeViewNavi, navi->dragging};
}

} // namespace

void TFormNavi::markSelectedMessages(bool read)
{
    const NaviReadState::Result result = NaviReadState::runCommand(
        this, options.confirmationNaviUnsealing, connection, loginId, readStateViews(this), read);
    shownUnreadCount = result.shownUnreadCount;
    if (PageControlMain->currentIndex() == 1)
        statusPanels[1]->setText(
            NaviListView::statusText(ListViewNavi->rowCount(), shownUnreadCount));
}

void TFormNavi::ActionNaviUnsealingExecute()
{
    markSelectedMessages(true);
}

void TFormNavi::ActionNaviUnunsealingExecute()
{
    markSelectedMessages(false);
}

void TFormNavi::connectPaneSignals()
{
    // Message lists' menus.
    for (QAbstractItemView* list : {static_cast<QAbstractItemView*>(ListViewNavi),
                                    static_cast<QAbstractItemView*>(ListViewBidNavi)}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
            PopupMenuNaviList->popup(list->viewport()->mapToGlobal(at));
        });
    }

    // Folder tree.
    connect(TreeViewNavi, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { TreeViewNaviChange(current); });
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
    connect(TreeViewNavi, &QWidget::customContextMenuRequested, this,
            [this, treeMenu](const QPoint& at) {
                FolderTree::selectFolderAt(TreeViewNavi, at);
                treeMenu->popup(TreeViewNavi->viewport()->mapToGlobal(at));
            });
    connect(newFolder, &QAction::triggered, this, [this] {
        if (isDatabaseOpen())
            FolderTree::newFolder(TreeViewNavi, connection, loginId, makeRandomDigits);
    });
    connect(renameFolder, &QAction::triggered, this,
            [this] { FolderTree::startRename(TreeViewNavi, loginId); });
    connect(deleteFolder, &QAction::triggered, this, [this] {
        if (isDatabaseOpen())
            FolderTree::deleteFolder(TreeViewNavi, connection, loginId,
                                     ListViewNavi->rowCount(), this);
    });
    // Del and F2 in the tree run the commands whatever their state; they check for themselves.
    auto* deleteKey =
        new QShortcut(QKeySequence::Delete, TreeViewNavi, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, deleteFolder, [this] {
        if (isDatabaseOpen())
            FolderTree::deleteFolder(TreeViewNavi, connection, loginId,
                                     ListViewNavi->rowCount(), this);
    });

    // Message lists.
    naviSelectionDelay = new NaviSelectionDelay(ListViewNavi, MemoNavi, 50, this);
    naviSelectionDelay->setDetailFields(
        {EditNaviID, EditNaviTitle, EditNaviWriter, EditNaviSubject, EditNaviDate, MemoNavi});
    naviSelectionDelay->setMessageText([this](const NaviRow& row) {
        return NaviListQuery::wholeMessage(connection, loginId, row);
    });
    bidNaviSelectionDelay = new NaviSelectionDelay(ListViewBidNavi, MemoBidNavi, 0, this);
    bidNaviSelectionDelay->setDetailFields(
        {nullptr, nullptr, EditBidNaviWriter, EditBidNaviSubject, EditBidNaviDate, MemoBidNavi});
    connect(naviSelectionDelay, &NaviSelectionDelay::detailShown, this,
            [this](const QPersistentModelIndex& row) { currentNaviItem = row; });
    for (QAbstractItemView* list : {static_cast<QAbstractItemView*>(ListViewNavi),
                                    static_cast<QAbstractItemView*>(ListViewBidNavi)}) {
        new NaviListActivation(
            list, [this] { return options.operationNaviListDblClick; },
            [this] { return options.operationNaviListEnter; },
            [this] { ActionNaviUnsealingExecute(); }, [this] { ActionNaviOpenMessageExecute(); },
            this);
    }
    connect(ListViewNavi->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        naviSortType = NaviListView::nextSortType(column, naviSortColumn, naviSortType);
        naviSortColumn = column;
        ListViewNavi->sort(naviSortColumn, naviSortType);
    });
    connect(ListViewBidNavi->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        bidNaviSortType = NaviListView::nextSortType(column, bidNaviSortColumn, bidNaviSortType);
        bidNaviSortColumn = column;
        NaviListView::sort(ListViewBidNavi, bidNaviSortColumn, bidNaviSortType);
    });
    connect(action("ActionNaviUnsealing"), &QAction::triggered, this,
            &TFormNavi::ActionNaviUnsealingExecute);
    connect(action("ActionNaviUnunsealing"), &QAction::triggered, this,
            &TFormNavi::ActionNaviUnunsealingExecute);
    markWired(action("ActionNaviUnsealing"));
    markWired(action("ActionNaviUnunsealing"));
}
