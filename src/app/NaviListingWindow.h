#pragma once

#include "views/ListingTab.h"

class TFormNavi;

// The main window's side of the listing tab: the bidder panel, the message panel's detail and
// sort, the message commands by name, the browser and the board download, and the message
// tab's selection delay.
class NaviListingWindow final : public ListingTab::Window
{
public:
    explicit NaviListingWindow(TFormNavi& navi) : m_navi(navi) {}

    void showBidderInfo(const QString& id, const QString& name) override;
    void clearBidderInfo() override;
    void clearBidNaviDetail() override;
    std::pair<int, int> bidNaviSort() const override;
    void applyNaviActions(const NaviActionState& state) override;
    void openBrowser() override;
    void downloadSelectedBoards() override;
    void showSelectedMessageNow() override;

private:
    TFormNavi& m_navi;
};
