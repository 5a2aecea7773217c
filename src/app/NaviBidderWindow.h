#pragma once

#include "views/BidderPanel.h"

class TFormNavi;

// The main window's side of the bidder panel: the shared winner query and the chosen rows of
// the two tabs.
class NaviBidderWindow final : public BidderPanel::Window
{
public:
    explicit NaviBidderWindow(TFormNavi& navi) : m_navi(navi) {}

    QSqlQuery* bidderInfoQuery() override;
    BidRow currentBidItem() override;
    QPersistentModelIndex currentNaviItem() override;
    void clearBidNaviPanel() override;

private:
    TFormNavi& m_navi;
};
