#include "views/MessageTab.h"

#include "common/CommonRoutines.h"
#include "common/NaviSession.h"
#include "views/FolderTree.h"
#include "views/NaviFolderList.h"
#include "views/NaviListActivation.h"
#include "views/NaviListItem.h"
#include "views/NaviReadState.h"
#include "views/NaviSelectionDelay.h"
#include "views/TableNaviFolderMaster.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTreeWidget>

MessageTab::MessageTab(NaviSession& session, Window& window, const Widgets& widgets,
                       QObject* parent)
    : QObject(parent), m_session(session), m_window(window), w(widgets)
{
    connect(w.TreeViewNavi, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { TreeViewNaviChange(current); });
    naviSelectionDelay = new NaviSelectionDelay(w.ListViewNavi, w.MemoNavi, 50, this);
    naviSelectionDelay->setDetailFields({w.EditNaviID, w.EditNaviTitle, w.EditNaviWriter,
                                         w.EditNaviSubject, w.EditNaviDate, w.MemoNavi});
    naviSelectionDelay->setMessageText([this](const NaviRow& row) {
        return NaviListQuery::wholeMessage(m_session.connection, m_session.loginId, row);
    });
    bidNaviSelectionDelay = new NaviSelectionDelay(w.ListViewBidNavi, w.MemoBidNavi, 0, this);
    bidNaviSelectionDelay->setDetailFields({nullptr, nullptr, w.EditBidNaviWriter,
                                            w.EditBidNaviSubject, w.EditBidNaviDate,
                                            w.MemoBidNavi});
    connect(naviSelectionDelay, &NaviSelectionDelay::detailShown, this,
            [this](const QPersistentModelIndex& row) { currentNaviItem = row; });
    for (QAbstractItemView* list : {static_cast<QAbstractItemView*>(w.ListViewNavi),
                                    static_cast<QAbstractItemView*>(w.ListViewBidNavi)}) {
        new NaviListActivation(
            list, [this] { return m_session.options.operationNaviListDblClick; },
            [this] { return m_session.options.operationNaviListEnter; },
            [this] { ActionNaviUnsealingExecute(); },
            [this] { m_window.ActionNaviOpenMessageExecute(); }, this);
    }
    connect(w.ListViewNavi->header(), &QHeaderView::sectionClicked, this,
            &MessageTab::ListViewNaviColumnClick);
    connect(w.ListViewBidNavi->header(), &QHeaderView::sectionClicked, this,
            &MessageTab::ListViewBidNaviColumnClick);
    connectMoveSignals();
}

bool MessageTab::isDatabaseOpen() const
{
    return m_session.connection.isOpen();
}

// ---- Folders ----

void MessageTab::createDefaultFolders()
{
    ::createDefaultFolders(m_session.connection, m_session.loginId, &knownFolderLogins,
                           makeRandomDigits);
}

void MessageTab::loadFolderTree()
{
    FolderTree::load(w.TreeViewNavi, m_session.connection, m_session.loginId);
}

void MessageTab::loadUnreadCounts()
{
    FolderTree::loadUnreadCounts(w.TreeViewNavi, m_session.connection, m_session.loginId,
                                 dragging);
}

void MessageTab::TreeViewNaviChange(QTreeWidgetItem* current)
{
    if (!current || !isDatabaseOpen())
        return;
    const int kind = FolderTree::folderKind(current);
    const NaviListView::LoadResult loaded =
        w.ListViewNavi->load(m_session.connection, FolderTree::folderId(current), kind,
                             m_session.loginId, naviSortColumn, naviSortType);
    if (loaded.listed) {
        shownUnreadCount = loaded.unread;
        if (w.PageControlMain->currentIndex() == 1)
            m_window.showMessageCount(NaviListView::statusText(loaded.rows, loaded.unread));
        w.LabelNaviWriter->setText(NaviListView::writerLabel(kind));
    }
    clearNaviDetail();
    currentNaviItem = QPersistentModelIndex();
    m_window.updateNaviActions(FolderTree::folderId(current), kind);
    m_window.clearBidderInfo();
}

void MessageTab::TreeViewNaviContextPopup(const QPoint& at, QMenu* menu)
{
    FolderTree::selectFolderAt(w.TreeViewNavi, at);
    menu->popup(w.TreeViewNavi->viewport()->mapToGlobal(at));
}

void MessageTab::PopupMenuTreeNaviNewFolderClick()
{
    if (isDatabaseOpen())
        FolderTree::newFolder(w.TreeViewNavi, m_session.connection, m_session.loginId,
                              makeRandomDigits);
}

void MessageTab::ActionTreeNaviDeleteFolderExecute()
{
    if (isDatabaseOpen())
        FolderTree::deleteFolder(w.TreeViewNavi, m_session.connection, m_session.loginId,
                                 w.ListViewNavi->rowCount(), w.dialogParent);
}

void MessageTab::ActionTreeNaviReNameFolderExecute()
{
    FolderTree::startRename(w.TreeViewNavi, m_session.loginId);
}

// ---- Message lists and read state ----

QAbstractItemView* MessageTab::getActiveNaviList() const
{
    if (w.PageControlMain->currentIndex() == 1)
        return w.ListViewNavi;
    return w.ListViewBidNavi;
}

void MessageTab::clearNaviDetail()
{
    naviSelectionDelay->clearDetail();
}

int MessageTab::focusedNaviRow() const
{
    return naviSelectionDelay->currentNaviRow();
}

void MessageTab::markSelectedMessages(bool read)
{
    const NaviReadState::Views views{getActiveNaviList(), w.ListViewNavi, w.ListViewBidNavi,
                                     w.ListViewBid,       w.TreeViewNavi, dragging};
    const NaviReadState::Result result = NaviReadState::runCommand(
        w.dialogParent, m_session.options.confirmationNaviUnsealing, m_session.connection,
        m_session.loginId, views, read);
    shownUnreadCount = result.shownUnreadCount;
    if (w.PageControlMain->currentIndex() == 1)
        m_window.showMessageCount(
            NaviListView::statusText(w.ListViewNavi->rowCount(), shownUnreadCount));
}

void MessageTab::ActionNaviUnsealingExecute()
{
    markSelectedMessages(true);
}

void MessageTab::ActionNaviUnunsealingExecute()
{
    markSelectedMessages(false);
}

void MessageTab::ListViewNaviColumnClick(int column)
{
    naviSortType = NaviListView::nextSortType(column, naviSortColumn, naviSortType);
    naviSortColumn = column;
    w.ListViewNavi->sort(naviSortColumn, naviSortType);
}

void MessageTab::ListViewBidNaviColumnClick(int column)
{
    bidNaviSortType = NaviListView::nextSortType(column, bidNaviSortColumn, bidNaviSortType);
    bidNaviSortColumn = column;
    NaviListView::sort(w.ListViewBidNavi, bidNaviSortColumn, bidNaviSortType);
}
