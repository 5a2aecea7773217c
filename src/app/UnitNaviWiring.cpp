// The main window makes the controllers of the downloads, the login, the end-time lookup, the
// message tab and the bidder panel over its own side of each, and wires its commands and
// fields to their handlers.
#include "app/UnitNavi.h"

#include "app/NaviControllers.h"
#include "app/NaviWiring.h"
#include "site/EndTimeLookup.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

LoginControl& TFormNavi::loginControl() { return *m_controllers->login; }
DownloadControl& TFormNavi::downloadControl() { return *m_controllers->download; }
EndTimeControl& TFormNavi::endTimeControl() { return *m_controllers->endTime; }
ListingTab& TFormNavi::listingTab() { return *m_controllers->listingTab; }
BidderPanel& TFormNavi::bidderPanel() { return *m_controllers->bidderPanel; }
MessageTab& TFormNavi::messageTab() { return *m_controllers->messageTab; }

void TFormNavi::makeControllers()
{
    m_controllers = std::make_unique<NaviControllers>();
    m_controllers->loginWindow = std::make_unique<NaviLoginWindow>(*this);
    m_controllers->downloadWindow = std::make_unique<NaviDownloadWindow>(*this);
    m_controllers->endTimeWindow = std::make_unique<NaviEndTimeWindow>(*this);
    m_controllers->login = std::make_unique<LoginControl>(session, *m_controllers->loginWindow);
    m_controllers->download =
        std::make_unique<DownloadControl>(session, *m_controllers->login, *m_controllers->downloadWindow);
    TimerEndDateTime = new QTimer(this);
    TimerEndDateTime->setObjectName("TimerEndDateTime");
    TimerEndDateTime->setInterval(EndTimeLookup::TickInterval);
    m_controllers->endTime =
        std::make_unique<EndTimeControl>(session, *m_controllers->endTimeWindow, TimerEndDateTime);
    makeListingTab();
    m_controllers->messageTabWindow = std::make_unique<NaviMessageTabWindow>(*this);
    m_controllers->messageTab = std::make_unique<MessageTab>(
        session, *m_controllers->messageTabWindow,
        MessageTab::Widgets{this, PageControlMain, TreeViewNavi, ListViewNavi, ListViewBidNavi,
                            ListViewBid, LabelNaviWriter, EditNaviID, EditNaviTitle,
                            EditNaviWriter, EditNaviSubject, EditNaviDate, MemoNavi,
                            EditBidNaviWriter, EditBidNaviSubject, EditBidNaviDate, MemoBidNavi});
    m_controllers->bidderWindow = std::make_unique<NaviBidderWindow>(*this);
    m_controllers->bidderPanel = std::make_unique<BidderPanel>(
        session, *m_controllers->bidderWindow,
        BidderPanel::Widgets{PanelBid, EditBidId, EditBidName, EditBidMail, EditBidPost,
                             EditBidAddress, EditBidTel, BitBtnBidSave, PageControlMain,
                             ListViewBid, ListViewNavi, TreeViewNavi, MemoNavi, MemoBidNavi});
}

void NaviWiring::connectLoginSignals(TFormNavi& navi)
{
    LoginControl* login = &navi.loginControl();
    QObject::connect(navi.ToolButtonLogin, &QToolButton::clicked, login,
                     &LoginControl::ToolButtonLoginClick);
    QObject::connect(navi.EditLoginPassword, &QLineEdit::returnPressed, login,
                     &LoginControl::ToolButtonLoginClick);
    QObject::connect(navi.ComboBoxLoginId->lineEdit(), &QLineEdit::returnPressed, login,
                     &LoginControl::ToolButtonLoginClick);
    QObject::connect(navi.ComboBoxLoginId, &QComboBox::editTextChanged, login,
                     &LoginControl::ComboBoxLoginIdChange);
    // The menu items carry their account id.
    QObject::connect(navi.PopupMenuLogin, &QMenu::triggered, login, [login](QAction* item) {
        login->executePopupMenuLogin(item->data().toString());
    });
    QObject::connect(navi.PopupMenuTray, &QMenu::triggered, login, [login](QAction* item) {
        // The account items carry their id; the fixed items have their own handlers.
        if (item->data().isValid())
            login->executePopupMenuTrayLogin(item->data().toString());
    });
}

void NaviWiring::connectBidDownloadCommands(TFormNavi& navi)
{
    DownloadControl* downloads = &navi.downloadControl();
    const std::pair<QAction*, void (DownloadControl::*)()> commands[] = {
        {navi.ActionBidDownload, &DownloadControl::ActionBidDownloadExecute},
        {navi.ActionBidDownloadNow, &DownloadControl::ActionBidDownloadNowExecute},
        {navi.ActionBidDetailedDownload, &DownloadControl::ActionBidDetailedDownloadExecute},
        {navi.ActionBidPromptDecisionDownload,
         &DownloadControl::ActionBidPromptDecisionDownloadExecute},
    };
    for (const auto& [command, execute] : commands) {
        QObject::connect(command, &QAction::triggered, downloads, execute);
        navi.markWired(command);
        navi.enableCommand(command, navi.isDatabaseOpen() && navi.downloadKind == 0);
    }
}

void NaviWiring::connectNaviDownloadCommands(TFormNavi& navi)
{
    DownloadControl* downloads = &navi.downloadControl();
    QObject::connect(navi.ActionNaviDownloadSelect, &QAction::triggered, downloads,
                     &DownloadControl::ActionNaviDownloadSelectExecute);
    QObject::connect(navi.ActionNaviDownloadShow, &QAction::triggered, downloads,
                     &DownloadControl::ActionNaviDownloadShowExecute);
    navi.markWired(navi.ActionNaviDownloadSelect);
    navi.markWired(navi.ActionNaviDownloadShow);
    QObject::connect(navi.MainMenuDataDownloadQuit, &QAction::triggered, downloads,
                     &DownloadControl::MainMenuDataDownloadQuitClick);
    navi.markWired(navi.MainMenuDataDownloadQuit);
}
