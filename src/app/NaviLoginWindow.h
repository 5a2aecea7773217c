#pragma once

#include "site/LoginControl.h"

class TFormNavi;

// The main window's side of the login: the login bar, the status bar panels, the account
// switch of every view and the tray login's report.
class NaviLoginWindow final : public LoginControl::Window
{
public:
    explicit NaviLoginWindow(TFormNavi& navi) : m_navi(navi) {}

    bool loginButtonEnabled() const override;
    void setLoginButtonEnabled(bool enabled) override;
    void showLoginResult(const QString& text) override;
    void showAccount(const QString& text) override;
    void adoptAccount() override;
    QString loginIdText() const override;
    QString passwordText() const override;
    void setPasswordText(const QString& password) override;
    bool balloonAvailable() const override;
    void stopTrayLoginBalloon() override;
    void showTrayLoginBalloon(const QString& id, const QString& report, bool accepted,
                              int showTime) override;
    void showTrayLoginNotice(const QString& id, bool accepted, int showTime) override;

private:
    TFormNavi& m_navi;
};
