#pragma once

// The side panel of the listing tab that a click on the status bar shows or hides.
enum class SidePanel { BidInfo, MemoWrite, BidNavi, None };

// By the option OperationStatusBarClick: 0 the bidder panel, 1 the memo panel, 2 the message
// panel; any other value none.
constexpr SidePanel statusBarClickPanel(int operation)
{
    switch (operation) {
    case 0:
        return SidePanel::BidInfo;
    case 1:
        return SidePanel::MemoWrite;
    case 2:
        return SidePanel::BidNavi;
    default:
        return SidePanel::None;
    }
}
