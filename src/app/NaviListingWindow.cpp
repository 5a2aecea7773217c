#include "app/NaviListingWindow.h"

#include "app/UnitNavi.h"
#include "site/DownloadControl.h"
#include "views/BidderPanel.h"
#include "views/MessageTab.h"
#include "views/NaviActionState.h"
#include "views/NaviSelectionDelay.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

void NaviListingWindow::showBidderInfo(const QString& id, const QString& name)
{
    m_navi.bidderPanel().showBidderInfo(id, name);
}

void NaviListingWindow::clearBidderInfo()
{
    m_navi.bidderPanel().clearBidderInfo();
}

void NaviListingWindow::clearBidNaviDetail()
{
    m_navi.messageTab().bidNaviSelectionDelay->clearDetail();
}

std::pair<int, int> NaviListingWindow::bidNaviSort() const
{
    return {m_navi.messageTab().bidNaviSortColumn, m_navi.messageTab().bidNaviSortType};
}

void NaviListingWindow::applyNaviActions(const NaviActionState& state)
{
    for (auto it = state.enabled.cbegin(); it != state.enabled.cend(); ++it) {
        const QString& name = it.key();
        if (name == QLatin1String("MainMenuNavi"))
            m_navi.MainMenuNavi->setEnabled(it.value());
        else if (name == QLatin1String("ToolButtonBidSearch"))
            m_navi.ToolButtonBidSearch->setEnabled(it.value());
        else if (name == QLatin1String("ToolButtonNaviFind"))
            m_navi.ToolButtonNaviFind->setEnabled(it.value());
        else if (QAction* command = m_navi.action(name))
            TFormNavi::enableCommand(command, it.value());
        else if (auto* item = m_navi.findChild<QAction*>(name))
            item->setEnabled(it.value());
    }
    if (state.visible.contains("PopupMenuNaviListReply"))
        m_navi.PopupMenuNaviListReply->setVisible(state.visible["PopupMenuNaviListReply"]);
    if (state.visible.contains("PopupMenuNaviListMake"))
        m_navi.PopupMenuNaviListMake->setVisible(state.visible["PopupMenuNaviListMake"]);
    if (state.treeEditable)
        m_navi.TreeViewNavi->setEditTriggers(*state.treeEditable
                                                 ? QAbstractItemView::EditKeyPressed |
                                                       QAbstractItemView::SelectedClicked
                                                 : QAbstractItemView::NoEditTriggers);
}

void NaviListingWindow::openBrowser()
{
    m_navi.ActionShowBrowserExecute();
}

void NaviListingWindow::downloadSelectedBoards()
{
    m_navi.downloadControl().ActionNaviDownloadSelectExecute();
}

void NaviListingWindow::showSelectedMessageNow()
{
    NaviSelectionDelay* delay = m_navi.messageTab().naviSelectionDelay;
    delay->timer()->stop();
    delay->showNow();
}
