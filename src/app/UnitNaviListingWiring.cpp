// The main window makes the listing tab's controller over its components and wires the
// listing list, the search and find commands, the marker commands, the memo inputs, the copies
// and the side panels to its handlers.
#include "app/UnitNavi.h"

#include "app/NaviControllers.h"
#include "app/NaviListingWindow.h"
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

void TFormNavi::connectListingPaneSignals()
{
    ListingTab* tab = m_controllers->listingTab.get();
    connect(PanelBidSearch, &BidSearchPanel::searchRequested, tab,
            &ListingTab::ToolButtonBidSearchSearchClick);
    PanelBidListFind->setFindActions(ActionNaviFindNext, ActionNaviFindPrevious);
    connect(PanelBidListFind, &BidListFindPanel::findNextRequested, ActionNaviFindNext,
            &QAction::trigger);
    connect(PanelBidListFind, &BidListFindPanel::findPreviousRequested, ActionNaviFindPrevious,
            &QAction::trigger);
    connect(ListViewBid, &BidListView::sortStateChanged, this, [this](int column, int type) {
        bidSortColumn = column;
        bidSortType = type;
    });
    tab->updateBidListFindLine();
    for (QAction* panel : {ActionShowBidNaviPanel, ActionShowMemoWrite})
        connect(panel, &QAction::toggled, tab, &ListingTab::updateBidListFindLine);
    connect(ActionNaviFind, &QAction::triggered, tab, &ListingTab::ActionNaviFindExecute);
    connect(ActionNaviFindNext, &QAction::triggered, tab, &ListingTab::ActionNaviFindNextExecute);
    connect(ActionNaviFindPrevious, &QAction::triggered, tab,
            &ListingTab::ActionNaviFindPreviousExecute);
    connect(ToolButtonBidSearch, &QToolButton::clicked, ActionNaviFind, &QAction::trigger);
    connect(ToolButtonNaviFind, &QToolButton::clicked, ActionNaviFind, &QAction::trigger);
    for (QAction* command : {ActionNaviFind, ActionNaviFindNext, ActionNaviFindPrevious}) {
        markWired(command);
        command->setEnabled(true);
    }

    ListViewBid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListViewBid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenuBidList->popup(ListViewBid->viewport()->mapToGlobal(at));
    });
}

void TFormNavi::connectSelectionSignals()
{
    ListingTab* tab = m_controllers->listingTab.get();
    connect(ListViewBid, &BidListView::itemSelectionChanged, tab, [tab] {
        tab->ListViewBidSelectItem();
        tab->ListViewBidChange();
    });
    connect(ListViewBid, &BidListView::currentItemChanged, tab, &ListingTab::ListViewBidChange);
    connect(tab->TimerListViewBid, &QTimer::timeout, tab, &ListingTab::TimerListViewBidTimer);
    auto* activation = new EventHook(
        [this, tab](QObject* watched, QEvent* event) {
            if (watched == ListViewBid->viewport() &&
                event->type() == QEvent::MouseButtonDblClick) {
                tab->ListViewBidDblClick();
                return true;
            }
            if (watched == ListViewBid && event->type() == QEvent::KeyPress)
                return tab->ListViewBidKeyPress(static_cast<QKeyEvent*>(event));
            return false;
        },
        tab);
    activation->watch(ListViewBid);
    activation->watch(ListViewBid->viewport());

    connect(ListViewBidNavi, &QTreeWidget::itemSelectionChanged, tab,
            &ListingTab::ListViewBidNaviSelectItem);
    // The popup's own reply and new-message items run the shared commands.
    for (const auto& pair : {std::pair{PopupMenuNaviListReply, action("ActionNaviReply")},
                             std::pair{PopupMenuNaviListMake, ActionNaviMake}}) {
        QAction* item = pair.first;
        QAction* command = pair.second;
        item->setEnabled(command->isEnabled());
        connect(command, &QAction::changed, item,
                [item, command] { item->setEnabled(command->isEnabled()); });
        connect(item, &QAction::triggered, command, &QAction::trigger);
    }
}

void TFormNavi::connectMarkerCommands()
{
    ListingTab* tab = m_controllers->listingTab.get();
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
        QAction* command = action(QString::fromLatin1(flag.name));
        connect(command, &QAction::triggered, tab, [tab, column = flag.column, set = flag.set] {
            tab->updateProgressFlags(column, set);
        });
        markWired(command);
        enableCommand(command, PageControlMain->currentIndex() == 0);
    }
    const char* const contactItems[] = {"MainMenuContactBlank", "MainMenuContactNavi",
                                        "MainMenuContactMail"};
    for (int tag = 0; tag < 3; ++tag) {
        QAction* item = action(QString::fromLatin1(contactItems[tag]));
        item->setData(tag);
        connect(item, &QAction::triggered, tab,
                [tab, item] { tab->updateContactMethod(item->data().toInt()); });
        markWired(item);
        item->setEnabled(true);
    }
    const char* const evaluationItems[] = {"ActionEvaluationFlgBlank",
                                           "ActionEvaluationFlgNecessary",
                                           "ActionEvaluationFlgUnnecessary"};
    for (int kind = 0; kind < 3; ++kind) {
        QAction* item = action(QString::fromLatin1(evaluationItems[kind]));
        connect(item, &QAction::triggered, tab,
                [tab, kind] { tab->updateEvaluationNecessity(kind); });
        markWired(item);
        item->setEnabled(true);
    }
}

void TFormNavi::connectMemoSignals()
{
    ListingTab* tab = m_controllers->listingTab.get();
    connect(ButtonCarriageWrite, &QPushButton::clicked, tab, &ListingTab::ButtonCarriageWriteClick);
    connect(ButtonForwardingWrite, &QPushButton::clicked, tab,
            &ListingTab::ButtonForwardingWriteClick);
    connect(ButtonMemoWrite, &QPushButton::clicked, tab, &ListingTab::ButtonMemoWriteClick);
    connect(EditInputForwarding, &QLineEdit::returnPressed, tab,
            &ListingTab::ButtonForwardingWriteClick);

    auto* cover = new EventHook(
        [tab](QObject*, QEvent* event) {
            if (event->type() == QEvent::Resize || event->type() == QEvent::StyleChange)
                tab->ComboBoxInputForwardingResize();
            return false;
        },
        tab);
    cover->watch(ComboBoxInputForwarding);

    auto* forwardingKeys = new EventHook(
        [tab](QObject*, QEvent* event) {
            return event->type() == QEvent::KeyPress &&
                   tab->EditInputForwardingKeyDown(static_cast<QKeyEvent*>(event));
        },
        tab);
    forwardingKeys->watch(EditInputForwarding);

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
    carriageKeys->watch(ComboBoxInputCarriage);
    carriageKeys->watch(ComboBoxInputCarriage->lineEdit());

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
    popup->watch(ComboBoxInputForwarding->view()->window());
    connect(ComboBoxInputForwarding, &QComboBox::activated, tab,
            &ListingTab::ComboBoxInputForwardingCloseUp);

    auto* labelClick = new EventHook(
        [tab](QObject*, QEvent* event) {
            if (event->type() == QEvent::MouseButtonRelease)
                tab->LabelMemoWriteClick();
            return false;
        },
        tab);
    labelClick->watch(LabelMemoWrite);

    const std::pair<const char*, int> copies[] = {
        {"ActionCopyAuctionId", BidListColumns::Aid},
        {"ActionCopyTitle", BidListColumns::Title},
        {"ActionCopyBidId", BidListColumns::BidId},
        {"ActionCopyBidName", BidListColumns::Name},
        {"ActionCopyPrice", BidListColumns::Price},
        {"ActionCopyForwarding", BidListColumns::Forwarding},
        {"ActionCopyMemo", BidListColumns::Remarks}};
    for (const auto& [name, subItem] : copies) {
        QAction* command = action(QString::fromLatin1(name));
        connect(command, &QAction::triggered, tab,
                [tab, subItem = subItem] { tab->copyBidItemCell(subItem); });
        markWired(command);
        command->setEnabled(true);
    }
    QAction* mailer = action("ActionMailerStart");
    connect(mailer, &QAction::triggered, this, &TFormNavi::ActionMailerStartExecute);
    markWired(mailer);
    mailer->setEnabled(true);

    const std::pair<QAction*, void (ListingTab::*)()> panels[] = {
        {ActionShowBidInfo, &ListingTab::ActionShowBidInfoExecute},
        {ActionShowMemoWrite, &ListingTab::ActionShowMemoWriteExecute},
        {ActionShowBidNaviPanel, &ListingTab::ActionShowBidNaviPanelExecute}};
    for (const auto& [command, apply] : panels) {
        connect(command, &QAction::triggered, tab, apply);
        markWired(command);
        command->setEnabled(true);
    }
    const std::pair<QToolButton*, QAction*> closers[] = {
        {ToolButtonPanelBidClose, ActionShowBidInfo},
        {ToolButtonPanelMemoWriteClose, ActionShowMemoWrite},
        {ToolButtonPanelBidNaviListClose, ActionShowBidNaviPanel}};
    for (int i = 0; i < 3; ++i) {
        QAction* command = closers[i].second;
        void (ListingTab::*apply)() = panels[i].second;
        connect(closers[i].first, &QToolButton::clicked, tab, [tab, command, apply] {
            command->setChecked(false);
            (tab->*apply)();
        });
    }

    // A click anywhere on the status bar, its panels and progress bars included.
    auto* statusClick = new EventHook(
        [tab](QObject* watched, QEvent* event) { return tab->StatusBarMouseEvent(watched, event); },
        tab);
    statusClick->watch(statusBar());
    statusClick->watch(statusPanels[0]->parentWidget());
    for (QLabel* panel : statusPanels)
        statusClick->watch(panel);
    statusClick->watch(ProgressBar);
    statusClick->watch(ProgressBar2);
}
