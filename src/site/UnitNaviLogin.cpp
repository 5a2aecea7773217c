// Logging in from the login bar, the saved-logins menu and the tray, and following the account
// that the site reports as logged in.
#include "app/UnitNavi.h"

#include "app/UnitTaskTrayLoginMessage.h"
#include "site/htmlYahoo.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {
const QString notLoggedIn = QStringLiteral("ログインしていません");
}

bool TFormNavi::loginAllowed()
{
    if (downloadKind == 0 && !postingMessage)
        return true;
    addLogMessage(QStringLiteral("ダウンロード中はログインできません"));
    return false;
}

bool TFormNavi::login(const QString& id, const QString& password)
{
    if (id.isEmpty() || password.isEmpty())
        return false;
    const bool buttonWasEnabled = ToolButtonLogin->isEnabled();
    ToolButtonLogin->setEnabled(false);
    // Repaint the button; a click queued meanwhile must not start anything during the login.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const bool accepted = htmlYahoo().login(id, password);
    statusPanels[0]->setText(accepted ? id + QStringLiteral("でログインしました")
                                      : QStringLiteral("ログインに失敗しました"));
    // The button returns to the state it had before the login.
    ToolButtonLogin->setEnabled(buttonWasEnabled);
    return accepted;
}

void TFormNavi::updateLoginId()
{
    const QString previous = loginId;
    session.setLoginId(htmlYahoo().getLoginId());
    if (loginId.isEmpty()) {
        statusPanels[5]->setText(notLoggedIn);
        return;
    }
    statusPanels[5]->setText(QStringLiteral("ログインID：") + loginId);
    if (loginId == previous)
        return;
    createDefaultFolders();
    if (PageControlMain->currentIndex() == 1)
        loadFolderTree();
    else
        TreeViewNavi->clear();
    ToolButtonBidSearchSearchClick();
    clearBidderInfo();
    PageControlMainChange();
    clearBidNaviPanel();
}

bool TFormNavi::checkLoginStatus()
{
    updateLoginId();
    if (loginId.isEmpty()) {
        addLogMessage(QStringLiteral("ログインしていません。処理を中止します。"));
        return false;
    }
    htmlYahoo yahoo;
    if (!yahoo.isPasswordReconfirmation())
        return true;
    addLogMessage(yahoo.accountId +
                  QStringLiteral("：再パスワード要求がありました。処理を中止します。"));
    return false;
}

void TFormNavi::ToolButtonLoginClick()
{
    if (!loginAllowed())
        return;
    // Enter in the login fields comes here too: it is refused while the button is (no database).
    if (!ToolButtonLogin->isEnabled() || !isDatabaseOpen())
        return;
    login(ComboBoxLoginId->currentText(), EditLoginPassword->text());
    updateLoginId();
}

void TFormNavi::ComboBoxLoginIdChange(const QString& text)
{
    const auto saved = savedLogins.constFind(text);
    if (saved != savedLogins.constEnd())
        EditLoginPassword->setText(saved.value());
}

void TFormNavi::executePopupMenuLogin(QAction* item)
{
    if (!loginAllowed())
        return;
    const QString id = item->data().toString();
    login(id, savedLogins.value(id));
    updateLoginId();
}

void TFormNavi::executePopupMenuTrayLogin(QAction* item)
{
    if (!loginAllowed())
        return;
    TimerTaskTrayLoginShow->stop();
    const QString id = item->data().toString();
    const bool accepted = login(id, savedLogins.value(id));
    const QString report =
        accepted ? QStringLiteral("ログインしました") : QStringLiteral("ログインに失敗しました");
    if (trayIcon && balloonCapable && options.loginTaskTrayShowBalloon) {
        trayIcon->showMessage(id, report,
                              accepted ? QSystemTrayIcon::Information : QSystemTrayIcon::Critical,
                              options.loginTaskTrayShowMessageTime);
        TimerTaskTrayLoginShow->start(qMax(1, options.loginTaskTrayShowMessageTime));
    } else {
        auto* notice = new TFormTaskTrayLoginMessage();
        notice->loginSucceeded = accepted;
        notice->loginId = id;
        notice->showTime = options.loginTaskTrayShowMessageTime;
        notice->show();
    }
    updateLoginId();
}
