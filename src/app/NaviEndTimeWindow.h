#pragma once

#include "site/EndTimeControl.h"

class TFormNavi;

// The main window's side of the end-time lookup: the commands a tick holds and the listing
// list's end-time cells.
class NaviEndTimeWindow final : public EndTimeControl::Window
{
public:
    explicit NaviEndTimeWindow(TFormNavi& navi) : m_navi(navi) {}

    void setHeldCommandsEnabled(bool enabled) override;
    void showEndTime(const QString& aid, const QString& endTime) override;

private:
    TFormNavi& m_navi;
};
