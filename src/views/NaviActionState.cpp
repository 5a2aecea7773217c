#include "views/NaviActionState.h"

#include "views/NaviListItem.h"

NaviActionState decideNaviActions(const NaviActionInput& input)
{
    NaviActionState state;
    auto& enabled = state.enabled;
    if (input.naviTab) {
        enabled["ActionNaviMake"] = false;
        for (const char* name :
             {"MainMenuNavi", "ActionShowSelectAuctionIdNaviList", "ActionNaviOpenMessage",
              "ActionPrintNaviMessage", "ActionPrintPreviewNaviMessage"})
            enabled[name] = true;
        if (input.kind == 0 || input.kind == 1) {
            const bool received = input.kind == 0;
            for (const char* name :
                 {"ActionNaviReply", "ActionNaviUnsealing", "ActionNaviUnunsealing",
                  "ActionGetBidInfo", "ActionShowSelectBidIdList"})
                enabled[name] = received;
            state.visible["PopupMenuNaviListReply"] = received;
            state.visible["PopupMenuNaviListMake"] = false;
        }
        const bool root = input.folderId.size() == 3;
        if (root && input.kind != 10)
            enabled["PopupMenuTreeNaviNewFolder"] = true;
        state.treeEditable = !root;
        enabled["ActionTreeNaviDeleteFolder"] = !root;
        enabled["ActionTreeNaviReNameFolder"] = !root;
        return state;
    }

    bool reply = false, open = false, menu = false;
    if (input.bidNaviPanelVisible) {
        menu = true;
        if (input.bidNaviSelectedRows == 1) {
            reply = open = true;
            if (input.selectedPicture != NaviPicture::unread)
                reply = input.selectedPicture == NaviPicture::read;
        }
    }
    for (const char* name : {"ActionShowSelectAuctionIdNaviList", "ActionShowSelectBidIdList",
                             "ActionNaviMake", "ToolButtonBidSearch"})
        enabled[name] = true;
    enabled["ToolButtonNaviFind"] = false;
    enabled["MainMenuNavi"] = menu;
    for (const char* name :
         {"ActionNaviOpenMessage", "ActionPrintPreviewNaviMessage", "ActionPrintNaviMessage"})
        enabled[name] = open;
    for (const char* name :
         {"ActionNaviReply", "ActionNaviUnsealing", "ActionNaviUnunsealing", "ActionGetBidInfo"})
        enabled[name] = reply;
    state.visible["PopupMenuNaviListReply"] = reply;
    state.visible["PopupMenuNaviListMake"] = !reply;
    return state;
}
