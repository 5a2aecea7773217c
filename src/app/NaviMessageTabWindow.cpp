#include "app/NaviMessageTabWindow.h"

#include "app/UnitNavi.h"
#include "views/BidderPanel.h"
#include "views/ListingTab.h"

#include <QLabel>

void NaviMessageTabWindow::showMessageCount(const QString& text)
{
    m_navi.statusPanels[1]->setText(text);
}

void NaviMessageTabWindow::updateNaviActions(const QString& folderId, int kind)
{
    m_navi.listingTab().updateNaviActions(folderId, kind);
}

void NaviMessageTabWindow::clearBidderInfo()
{
    m_navi.bidderPanel().clearBidderInfo();
}

void NaviMessageTabWindow::ActionNaviOpenMessageExecute()
{
    m_navi.ActionNaviOpenMessageExecute();
}
