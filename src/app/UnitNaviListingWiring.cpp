// The main window makes the listing tab's controller over its components and wires the
// listing list, the search and find commands, the marker commands, the memo inputs, the copies
// and the side panels to its handlers.
#include "app/UnitNavi.h"

#include "app/NaviControllers.h"
#include "app/NaviListingWindow.h"
#include "app/NaviWiring.h"
#include "views/BidListColumns.h"
#include "views/BidListFindPanel.h"
#include "views/BidListView.h"
#include "views/BidSearchPanel.h"
#include "views/EventHook.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

void TFormNavi::makeListingTab()
{
    ListingTab::Widgets widgets;
    widgets.PageControlMain = PageControlMain;
    widgets.ListViewBid = ListViewBid;
    widgets.PanelBidSearch = PanelBidSearch;
    widgets.PanelBidListFind = PanelBidListFind;
    widgets.statusPanelRows = statusPanels[1];
    widgets.statusPanelTotal = statusPanels[2];
    widgets.TimerEndDateTime = TimerEndDateTime;
    widgets.PanelBid = PanelBid;
    widgets.EditBidId = EditBidId;
    widgets.PanelMemoWrite = PanelMemoWrite;
    widgets.EditMemoWrite = EditMemoWrite;
    widgets.PanelBidNavi = PanelBidNavi;
    widgets.EditBidAid = EditBidAid;
    widgets.EditBidTitle = EditBidTitle;
    widgets.EditBidNaviBidId = EditBidNaviBidId;
    widgets.ListViewBidNavi = ListViewBidNavi;
    widgets.TreeViewNavi = TreeViewNavi;
    widgets.ListViewNavi = ListViewNavi;
    widgets.MemoNavi = MemoNavi;
    widgets.MainMenuNavi = MainMenuNavi;
    widgets.ComboBoxInputCarriage = ComboBoxInputCarriage;
    widgets.ComboBoxInputForwarding = ComboBoxInputForwarding;
    widgets.EditInputForwarding = EditInputForwarding;
    widgets.CheckBoxMemo2PluralWrite = CheckBoxMemo2PluralWrite;
    widgets.ProgressBar = ProgressBar;
    widgets.ProgressBar2 = ProgressBar2;
    widgets.ActionNaviDownloadSelect = ActionNaviDownloadSelect;
    widgets.ActionFlgConfirm = ActionFlgConfirm;
    widgets.MainMenuContactConfirm = MainMenuContactConfirm;
    widgets.MainMenuEvaluationFlgConfirm = MainMenuEvaluationFlgConfirm;
    widgets.ActionShowBidInfo = ActionShowBidInfo;
    widgets.ActionShowMemoWrite = ActionShowMemoWrite;
    widgets.ActionShowBidNaviPanel = ActionShowBidNaviPanel;
    m_controllers->listingWindow = std::make_unique<NaviListingWindow>(*this);
    m_controllers->listingTab =
        std::make_unique<ListingTab>(session, *m_controllers->listingWindow, *m_controllers->endTime, widgets);
    m_controllers->listingTab->setUpInputs();
}

void NaviWiring::connectListingPaneSignals(TFormNavi& navi)
{
    ListingTab* tab = &navi.listingTab();
    QObject::connect(navi.PanelBidSearch, &BidSearchPanel::searchRequested, tab,
                     &ListingTab::ToolButtonBidSearchSearchClick);
    navi.PanelBidListFind->setFindActions(navi.ActionNaviFindNext, navi.ActionNaviFindPrevious);
    QObject::connect(navi.PanelBidListFind, &BidListFindPanel::findNextRequested,
                     navi.ActionNaviFindNext, &QAction::trigger);
    QObject::connect(navi.PanelBidListFind, &BidListFindPanel::findPreviousRequested,
                     navi.ActionNaviFindPrevious, &QAction::trigger);
    QObject::connect(navi.ListViewBid, &BidListView::sortStateChanged, &navi,
                     [&navi](int column, int type) {
                         navi.bidSortColumn = column;
                         navi.bidSortType = type;
                     });
    tab->updateBidListFindLine();
    for (QAction* panel : {navi.ActionShowBidNaviPanel, navi.ActionShowMemoWrite})
        QObject::connect(panel, &QAction::toggled, tab, &ListingTab::updateBidListFindLine);
    QObject::connect(navi.ActionNaviFind, &QAction::triggered, tab,
                     &ListingTab::ActionNaviFindExecute);
    QObject::connect(navi.ActionNaviFindNext, &QAction::triggered, tab,
                     &ListingTab::ActionNaviFindNextExecute);
    QObject::connect(navi.ActionNaviFindPrevious, &QAction::triggered, tab,
                     &ListingTab::ActionNaviFindPreviousExecute);
    QObject::connect(navi.ToolButtonBidSearch, &QToolButton::clicked, navi.ActionNaviFind,
                     &QAction::trigger);
    QObject::connect(navi.ToolButtonNaviFind, &QToolButton::clicked, navi.ActionNaviFind,
                     &QAction::trigger);
    for (QAction* command :
         {navi.ActionNaviFind, navi.ActionNaviFindNext, navi.ActionNaviFindPrevious}) {
        navi.markWired(command);
        command->setEnabled(true);
    }

    navi.ListViewBid->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        navi.ListViewBid, &QWidget::customContextMenuRequested, &navi, [&navi](const QPoint& at) {
            navi.PopupMenuBidList->popup(navi.ListViewBid->viewport()->mapToGlobal(at));
        });
}

void NaviWiring::connectSelectionSignals(TFormNavi& navi)
{
    ListingTab* tab = &navi.listingTab();
    QObject::connect(navi.ListViewBid, &BidListView::itemSelectionChanged, tab, [tab] {
        tab->ListViewBidSelectItem();
        tab->ListViewBidChange();
    });
    QObject::connect(navi.ListViewBid, &BidListView::currentItemChanged, tab,
                     &ListingTab::ListViewBidChange);
    QObject::connect(tab->TimerListViewBid, &QTimer::timeout, tab,
                     &ListingTab::TimerListViewBidTimer);
    auto* activation = new EventHook(
        [&navi, tab](QObject* watched, QEvent* event) {
            if (watched == navi.ListViewBid->viewport() &&
                event->type() == QEvent::MouseButtonDblClick) {
                tab->ListViewBidDblClick();
                return true;
            }
            if (watched == navi.ListViewBid && event->type() == QEvent::KeyPress)
                return tab->ListViewBidKeyPress(static_cast<QKeyEvent*>(event));
            return false;
        },
        tab);
    activation->watch(navi.ListViewBid);
    activation->watch(navi.ListViewBid->viewport());

    QObject::connect(navi.ListViewBidNavi, &QTreeWidget::itemSelectionChanged, tab,
                     &ListingTab::ListViewBidNaviSelectItem);
    // The popup's own reply and new-message items run the shared commands.
    for (const auto& pair : {std::pair{navi.PopupMenuNaviListReply, navi.action("ActionNaviReply")},
                             std::pair{navi.PopupMenuNaviListMake, navi.ActionNaviMake}}) {
        QAction* item = pair.first;
        QAction* command = pair.second;
        item->setEnabled(command->isEnabled());
        QObject::connect(command, &QAction::changed, item,
                         [item, command] { item->setEnabled(command->isEnabled()); });
        QObject::connect(item, &QAction::triggered, command, &QAction::trigger);
    }
}

void NaviWiring::connectMarkerCommands(TFormNavi& navi)
{
    ListingTab* tab = &navi.listingTab();
    const struct
    {
        const char* name;
        int column;
        bool set;
    } flags[] = {
        {"ActionFlgFirstCheck", 8, true},       {"ActionFlgFirstCheckRemove", 8, false},
        {"ActionFlgPaymentCheck", 9, true},     {"ActionFlgPaymentCheckRemove", 9, false},
        {"ActionFlgReceiptCheck", 10, true},    {"ActionFlgReceiptCheckRemove", 10, false},
        {"ActionFlgEvaluationCheck", 11, true}, {"ActionFlgEvaluationCheckRemove", 11, false},
        {"ActionFlgEndCheck", 12, true},        {"ActionFlgEndCheckRemove", 12, false},
        {"ActionFlgAllCheck", -1, true},        {"ActionFlgAllCheckRemove", -1, false},
    };
    for (const auto& flag : flags) {
        QAction* command = navi.action(QString::fromLatin1(flag.name));
        QObject::connect(
            command, &QAction::triggered, tab,
            [tab, column = flag.column, set = flag.set] { tab->updateProgressFlags(column, set); });
        navi.markWired(command);
        navi.enableCommand(command, navi.PageControlMain->currentIndex() == 0);
    }
    const char* const contactItems[] = {"MainMenuContactBlank", "MainMenuContactNavi",
                                        "MainMenuContactMail"};
    for (int tag = 0; tag < 3; ++tag) {
        QAction* item = navi.action(QString::fromLatin1(contactItems[tag]));
        item->setData(tag);
        QObject::connect(item, &QAction::triggered, tab,
                         [tab, item] { tab->updateContactMethod(item->data().toInt()); });
        navi.markWired(item);
        item->setEnabled(true);
    }
    const char* const evaluationItems[] = {"ActionEvaluationFlgBlank",
                                           "ActionEvaluationFlgNecessary",
                                           "ActionEvaluationFlgUnnecessary"};
    for (int kind = 0; kind < 3; ++kind) {
        QAction* item = navi.action(QString::fromLatin1(evaluationItems[kind]));
        QObject::connect(item, &QAction::triggered, tab,
                         [tab, kind] { tab->updateEvaluationNecessity(kind); });
        navi.markWired(item);
        item->setEnabled(true);
    }
}

void NaviWiring::connectMemoSignals(TFormNavi& navi)
{
    ListingTab* tab = &navi.listingTab();
    QObject::connect(navi.ButtonCarriageWrite, &QPushButton::clicked, tab,
                     &ListingTab::ButtonCarriageWriteClick);
    QObject::connect(navi.ButtonForwardingWrite, &QPushButton::clicked, tab,
                     &ListingTab::ButtonForwardingWriteClick);
    QObject::connect(navi.ButtonMemoWrite, &QPushButton::clicked, tab,
                     &ListingTab::ButtonMemoWriteClick);
    QObject::connect(navi.EditInputForwarding, &QLineEdit::returnPressed, tab,
                     &ListingTab::ButtonForwardingWriteClick);

    auto* cover = new EventHook(
        [tab](QObject*, QEvent* event) {
            if (event->type() == QEvent::Resize || event->type() == QEvent::StyleChange)
                tab->ComboBoxInputForwardingResize();
            return false;
        },
        tab);
    cover->watch(navi.ComboBoxInputForwarding);

    auto* forwardingKeys = new EventHook(
        [tab](QObject*, QEvent* event) {
            return event->type() == QEvent::KeyPress &&
                   tab->EditInputForwardingKeyDown(static_cast<QKeyEvent*>(event));
        },
        tab);
    forwardingKeys->watch(navi.EditInputForwarding);

    // The combo box hands its keys to the line edit past any filter of the line edit's, so the
    // rule watches the combo box; the line edit too, for events sent to it directly.
    auto* carriageKeys = new EventHook(
        [tab](QObject*, QEvent* event) {
            if (event->type() == QEvent::InputMethod)
                return tab->ComboBoxInputCarriageInputMethod(
                    static_cast<QInputMethodEvent*>(event));
            return event->type() == QEvent::KeyPress &&
                   tab->ComboBoxInputCarriageKeyPress(static_cast<QKeyEvent*>(event));
        },
        tab);
    carriageKeys->watch(navi.ComboBoxInputCarriage);
    carriageKeys->watch(navi.ComboBoxInputCarriage->lineEdit());

    // The suggestions' list opening and closing; activated comes for the same item too.
    auto* popup = new EventHook(
        [tab](QObject*, QEvent* event) {
            if (event->type() == QEvent::Show)
                tab->ComboBoxInputForwardingDropDown();
            else if (event->type() == QEvent::Hide)
                tab->ComboBoxInputForwardingPopupHide();
            return false;
        },
        tab);
    popup->watch(navi.ComboBoxInputForwarding->view()->window());
    QObject::connect(navi.ComboBoxInputForwarding, &QComboBox::activated, tab,
                     &ListingTab::ComboBoxInputForwardingCloseUp);

    auto* labelClick = new EventHook(
        [tab](QObject*, QEvent* event) {
            if (event->type() == QEvent::MouseButtonRelease)
                tab->LabelMemoWriteClick();
            return false;
        },
        tab);
    labelClick->watch(navi.LabelMemoWrite);

    const std::pair<const char*, int> copies[] = {
        {"ActionCopyAuctionId", BidListColumns::Aid},
        {"ActionCopyTitle", BidListColumns::Title},
        {"ActionCopyBidId", BidListColumns::BidId},
        {"ActionCopyBidName", BidListColumns::Name},
        {"ActionCopyPrice", BidListColumns::Price},
        {"ActionCopyForwarding", BidListColumns::Forwarding},
        {"ActionCopyMemo", BidListColumns::Remarks}};
    for (const auto& [name, subItem] : copies) {
        QAction* command = navi.action(QString::fromLatin1(name));
        QObject::connect(command, &QAction::triggered, tab,
                         [tab, subItem = subItem] { tab->copyBidItemCell(subItem); });
        navi.markWired(command);
        command->setEnabled(true);
    }
    QAction* mailer = navi.action("ActionMailerStart");
    QObject::connect(mailer, &QAction::triggered, &navi, &TFormNavi::ActionMailerStartExecute);
    navi.markWired(mailer);
    mailer->setEnabled(true);

    const std::pair<QAction*, void (ListingTab::*)()> panels[] = {
        {navi.ActionShowBidInfo, &ListingTab::ActionShowBidInfoExecute},
        {navi.ActionShowMemoWrite, &ListingTab::ActionShowMemoWriteExecute},
        {navi.ActionShowBidNaviPanel, &ListingTab::ActionShowBidNaviPanelExecute}};
    for (const auto& [command, apply] : panels) {
        QObject::connect(command, &QAction::triggered, tab, apply);
        navi.markWired(command);
        command->setEnabled(true);
    }
    const std::pair<QToolButton*, QAction*> closers[] = {
        {navi.ToolButtonPanelBidClose, navi.ActionShowBidInfo},
        {navi.ToolButtonPanelMemoWriteClose, navi.ActionShowMemoWrite},
        {navi.ToolButtonPanelBidNaviListClose, navi.ActionShowBidNaviPanel}};
    for (int i = 0; i < 3; ++i) {
        QAction* command = closers[i].second;
        void (ListingTab::*apply)() = panels[i].second;
        QObject::connect(closers[i].first, &QToolButton::clicked, tab, [tab, command, apply] {
            command->setChecked(false);
            (tab->*apply)();
        });
    }

    // A click anywhere on the status bar, its panels and progress bars included.
    auto* statusClick = new EventHook(
        [tab](QObject* watched, QEvent* event) { return tab->StatusBarMouseEvent(watched, event); },
        tab);
    statusClick->watch(navi.statusBar());
    statusClick->watch(navi.statusPanels[0]->parentWidget());
    for (QLabel* panel : navi.statusPanels)
        statusClick->watch(panel);
    statusClick->watch(navi.ProgressBar);
    statusClick->watch(navi.ProgressBar2);
}
