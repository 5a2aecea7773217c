#pragma once

#include "app/NaviBidderWindow.h"
#include "app/NaviDownloadWindow.h"
#include "app/NaviEndTimeWindow.h"
#include "app/NaviListingWindow.h"
#include "app/NaviLoginWindow.h"
#include "app/NaviMessageTabWindow.h"
#include "site/DownloadControl.h"
#include "site/EndTimeControl.h"
#include "site/LoginControl.h"
#include "views/BidderPanel.h"
#include "views/ListingTab.h"
#include "views/MessageTab.h"

#include <memory>

// The main window's controllers, each over the window's side of it; made in the window's
// constructor, the sides first, and torn down in the reverse order.
struct NaviControllers
{
    std::unique_ptr<NaviLoginWindow> loginWindow;
    std::unique_ptr<NaviDownloadWindow> downloadWindow;
    std::unique_ptr<NaviEndTimeWindow> endTimeWindow;
    std::unique_ptr<LoginControl> login;
    std::unique_ptr<DownloadControl> download;
    std::unique_ptr<EndTimeControl> endTime;
    std::unique_ptr<NaviListingWindow> listingWindow;
    std::unique_ptr<ListingTab> listingTab;
    std::unique_ptr<NaviBidderWindow> bidderWindow;
    std::unique_ptr<BidderPanel> bidderPanel;
    std::unique_ptr<NaviMessageTabWindow> messageTabWindow;
    std::unique_ptr<MessageTab> messageTab;
};
