#pragma once

#include "views/MessageTab.h"

class TFormNavi;

// The main window's side of the message tab: the status bar's count, the message commands,
// the bidder panel and the viewer.
class NaviMessageTabWindow final : public MessageTab::Window
{
public:
    explicit NaviMessageTabWindow(TFormNavi& navi) : m_navi(navi) {}

    void showMessageCount(const QString& text) override;
    void updateNaviActions(const QString& folderId, int kind) override;
    void clearBidderInfo() override;
    void ActionNaviOpenMessageExecute() override;

private:
    TFormNavi& m_navi;
};
