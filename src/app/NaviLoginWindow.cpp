#include "app/NaviLoginWindow.h"

#include "app/UnitNavi.h"
#include "app/UnitTaskTrayLoginMessage.h"
#include "views/BidderPanel.h"
#include "views/ListingTab.h"
#include "views/MessageTab.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

bool NaviLoginWindow::loginButtonEnabled() const
{
    return m_navi.ToolButtonLogin->isEnabled();
}

void NaviLoginWindow::setLoginButtonEnabled(bool enabled)
{
    m_navi.ToolButtonLogin->setEnabled(enabled);
}

void NaviLoginWindow::showLoginResult(const QString& text)
{
    m_navi.statusPanels[0]->setText(text);
}

void NaviLoginWindow::showAccount(const QString& text)
{
    m_navi.statusPanels[5]->setText(text);
}

void NaviLoginWindow::adoptAccount()
{
    m_navi.messageTab().createDefaultFolders();
    if (m_navi.PageControlMain->currentIndex() == 1)
        m_navi.messageTab().loadFolderTree();
    else
        m_navi.TreeViewNavi->clear();
    m_navi.listingTab().ToolButtonBidSearchSearchClick();
    m_navi.bidderPanel().clearBidderInfo();
    m_navi.PageControlMainChange();
    m_navi.listingTab().clearBidNaviPanel();
}

QString NaviLoginWindow::loginIdText() const
{
    return m_navi.ComboBoxLoginId->currentText();
}

QString NaviLoginWindow::passwordText() const
{
    return m_navi.EditLoginPassword->text();
}

void NaviLoginWindow::setPasswordText(const QString& password)
{
    m_navi.EditLoginPassword->setText(password);
}

bool NaviLoginWindow::balloonAvailable() const
{
    return m_navi.trayIcon && m_navi.session.balloonCapable;
}

void NaviLoginWindow::stopTrayLoginBalloon()
{
    m_navi.TimerTaskTrayLoginShow->stop();
}

void NaviLoginWindow::showTrayLoginBalloon(const QString& id, const QString& report, bool accepted,
                                           int showTime)
{
    m_navi.trayIcon->showMessage(
        id, report, accepted ? QSystemTrayIcon::Information : QSystemTrayIcon::Critical, showTime);
    m_navi.TimerTaskTrayLoginShow->start(qMax(1, showTime));
}

void NaviLoginWindow::showTrayLoginNotice(const QString& id, bool accepted, int showTime)
{
    auto* notice = new TFormTaskTrayLoginMessage();
    notice->loginSucceeded = accepted;
    notice->loginId = id;
    notice->showTime = showTime;
    notice->show();
}
