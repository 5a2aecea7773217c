#include "site/LoginControl.h"

#include "common/NaviSession.h"
#include "site/htmlYahoo.h"

#include <QCoreApplication>

namespace {
const QString notLoggedIn = QStringLiteral("ログインしていません");
}

LoginControl::LoginControl(NaviSession& session, Window& window, QObject* parent)
    : QObject(parent), m_session(session), m_window(window)
{
}

bool LoginControl::loginAllowed()
{
    if (m_session.downloadKind == 0 && !m_session.postingMessage)
        return true;
    m_session.addLogMessage(QStringLiteral("ダウンロード中はログインできません"));
    return false;
}

bool LoginControl::login(const QString& id, const QString& password)
{
    if (id.isEmpty() || password.isEmpty())
        return false;
    const bool buttonWasEnabled = m_window.loginButtonEnabled();
    m_window.setLoginButtonEnabled(false);
    // Repaint the button; a click queued meanwhile must not start anything during the login.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const bool accepted = htmlYahoo().login(id, password);
    m_window.showLoginResult(accepted ? id + QStringLiteral("でログインしました")
                                      : QStringLiteral("ログインに失敗しました"));
    // The button returns to the state it had before the login.
    m_window.setLoginButtonEnabled(buttonWasEnabled);
    return accepted;
}

void LoginControl::updateLoginId()
{
    const QString previous = m_session.loginId;
    m_session.setLoginId(htmlYahoo().getLoginId());
    const QString& loginId = m_session.loginId;
    if (loginId.isEmpty()) {
        m_window.showAccount(notLoggedIn);
        return;
    }
    m_window.showAccount(QStringLiteral("ログインID：") + loginId);
    if (loginId != previous)
        m_window.adoptAccount();
}

bool LoginControl::checkLoginStatus()
{
    updateLoginId();
    if (m_session.loginId.isEmpty()) {
        m_session.addLogMessage(QStringLiteral("ログインしていません。処理を中止します。"));
        return false;
    }
    htmlYahoo yahoo;
    if (!yahoo.isPasswordReconfirmation())
        return true;
    m_session.addLogMessage(yahoo.accountId +
                            QStringLiteral("：再パスワード要求がありました。処理を中止します。"));
    return false;
}

void LoginControl::ToolButtonLoginClick()
{
    if (!loginAllowed())
        return;
    // Enter in the login fields comes here too: it is refused while the button is (no database).
    if (!m_window.loginButtonEnabled() || !m_session.connection.isOpen())
        return;
    login(m_window.loginIdText(), m_window.passwordText());
    updateLoginId();
}

void LoginControl::ComboBoxLoginIdChange(const QString& text)
{
    const auto saved = savedLogins.constFind(text);
    if (saved != savedLogins.constEnd())
        m_window.setPasswordText(saved.value());
}

void LoginControl::executePopupMenuLogin(const QString& id)
{
    if (!loginAllowed())
        return;
    login(id, savedLogins.value(id));
    updateLoginId();
}

void LoginControl::executePopupMenuTrayLogin(const QString& id)
{
    if (!loginAllowed())
        return;
    m_window.stopTrayLoginBalloon();
    const bool accepted = login(id, savedLogins.value(id));
    const QString report =
        accepted ? QStringLiteral("ログインしました") : QStringLiteral("ログインに失敗しました");
    const NaviOptions& options = m_session.options;
    if (m_window.balloonAvailable() && options.loginTaskTrayShowBalloon)
        m_window.showTrayLoginBalloon(id, report, accepted, options.loginTaskTrayShowMessageTime);
    else
        m_window.showTrayLoginNotice(id, accepted, options.loginTaskTrayShowMessageTime);
    updateLoginId();
}
