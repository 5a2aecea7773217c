#include "app/NaviBidderWindow.h"

#include "app/UnitNavi.h"
#include "views/ListingTab.h"
#include "views/MessageTab.h"

QSqlQuery* NaviBidderWindow::bidderInfoQuery()
{
    return m_navi.session.queries.ready ? &m_navi.session.queries.queryBidderInfo : nullptr;
}

BidRow NaviBidderWindow::currentBidItem()
{
    return m_navi.listingTab().currentBidItem;
}

QPersistentModelIndex NaviBidderWindow::currentNaviItem()
{
    return m_navi.messageTab().currentNaviItem;
}

void NaviBidderWindow::clearBidNaviPanel()
{
    m_navi.listingTab().clearBidNaviPanel();
}
