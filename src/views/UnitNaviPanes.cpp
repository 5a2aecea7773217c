// The main window's share of the listing pane: the listing query and the list search.
#include "app/UnitNavi.h"

#include "common/CommonRoutines.h"
#include "site/EndTimeControl.h"
#include "views/BidListColumns.h"
#include "views/BidListFindPanel.h"
#include "views/BidListQuery.h"
#include "views/BidListView.h"
#include "views/BidSearchPanel.h"
#include "views/FolderTree.h"
#include "views/ListSearchView.h"
#include "views/NaviListActivation.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviReadState.h"
#include "views/NaviSelectionDelay.h"
#include "views/TableNaviFolderMaster.h"
#include "views/UnitNaviFind.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

// ---- Listing pane ----

void TFormNavi::ToolButtonBidSearchSearchClick()
{
    if (!isDatabaseOpen())
        return;
    BidListQuery::Criteria criteria = PanelBidSearch->criteria();
    criteria.loginId = loginId;
    // A failed query leaves the rows that were shown.
    EndTimeQueue queue;
    BidListRecords records = BidListQuery::read(connection, criteria, &queue);
    TimerEndDateTime->stop();
    endTimeControl().endTimeQueue = queue;
    forgetCurrentBidItem();
    clearBidderInfo();
    clearBidNaviPanel();
    ListViewBid->fillRecords(std::move(records));
    if (PageControlMain->currentIndex() == 0)
        statusPanels[1]->setText(ListViewBid->rowCountText());
    if (endTimeControl().endTimePendingCount() > 0)
        TimerEndDateTime->start();
}

void TFormNavi::updateBidListFindLine()
{
    PanelBidListFind->setBottomLineVisible(BidListFindPanel::bottomLineWanted(
        ActionShowBidNaviPanel->isChecked(), ActionShowMemoWrite->isChecked()));
}

void TFormNavi::setBidSearchButtonEnabled(bool enabled)
{
    PanelBidSearch->setSearchEnabled(enabled);
}

void TFormNavi::ActionNaviFindExecute()
{
    if (PageControlMain->currentIndex() == 0) {
        updateBidListFindLine();
        PanelBidListFind->ActionNaviFindExecute();
        return;
    }
    TFormNaviFind dialog(
        this, findText, findTarget, [this] { ActionNaviFindNextExecute(); },
        [this] { ActionNaviFindPreviousExecute(); });
    formNaviFind = &dialog;
    dialog.exec();
    formNaviFind = nullptr;
}

namespace {

// ListViewNavi's sub-item that holds the message text.
constexpr int naviMessageSubItem = 6;

// Shows the selected message in the pane at once, without waiting for the selection delay.
void showSelectedMessageNow(NaviSelectionDelay* delay)
{
    delay->timer()->stop();
    delay->showNow();
}

// The whole message of each row of the message list, for the body search.
std::function<QString(int)> wholeMessages(NaviFolderList* list,
                                          NaviListQuery::MessageReader& reader)
{
    return [list, &reader](int row) {
        return row >= 0 && row < list->rowCount() ? reader.wholeMessage(list->row(row))
                                                  : QString();
    };
}

} // namespace

void TFormNavi::ActionNaviFindNextExecute()
{
    if (PageControlMain->currentIndex() == 0) {
        ListSearchView::findNextInList(ListViewBid, PanelBidListFind->findSubItem(),
                                       PanelBidListFind->findText());
    } else if (findTarget == 4) {
        NaviListQuery::MessageReader reader(connection, loginId);
        ListSearchView::findInMessages(
            ListViewNavi, naviMessageSubItem, MemoNavi, findText, true,
            [this] { showSelectedMessageNow(naviSelectionDelay); },
            wholeMessages(ListViewNavi, reader));
    } else {
        ListSearchView::findNextInList(ListViewNavi, findTarget, findText);
    }
}

void TFormNavi::ActionNaviFindPreviousExecute()
{
    if (PageControlMain->currentIndex() == 0) {
        ListSearchView::findPreviousInList(ListViewBid, PanelBidListFind->findSubItem(),
                                           PanelBidListFind->findText());
    } else if (findTarget == 4) {
        NaviListQuery::MessageReader reader(connection, loginId);
        ListSearchView::findInMessages(
            ListViewNavi, naviMessageSubItem, MemoNavi, findText, false,
            [this] { showSelectedMessageNow(naviSelectionDelay); },
            wholeMessages(ListViewNavi, reader));
    } else {
        ListSearchView::findPreviousInList(ListViewNavi, findTarget, findText);
    }
}

void TFormNavi::connectPaneSignals()
{
    // Listing pane.
    connect(PanelBidSearch, &BidSearchPanel::searchRequested, this,
            &TFormNavi::ToolButtonBidSearchSearchClick);
    PanelBidListFind->setFindActions(ActionNaviFindNext, ActionNaviFindPrevious);
    connect(PanelBidListFind, &BidListFindPanel::findNextRequested, ActionNaviFindNext,
            &QAction::trigger);
    connect(PanelBidListFind, &BidListFindPanel::findPreviousRequested, ActionNaviFindPrevious,
            &QAction::trigger);
    connect(ListViewBid, &BidListView::sortStateChanged, this, [this](int column, int type) {
        bidSortColumn = column;
        bidSortType = type;
    });
    updateBidListFindLine();
    for (QAction* panel : {ActionShowBidNaviPanel, ActionShowMemoWrite})
        connect(panel, &QAction::toggled, this, &TFormNavi::updateBidListFindLine);
    connect(ActionNaviFind, &QAction::triggered, this, &TFormNavi::ActionNaviFindExecute);
    connect(ActionNaviFindNext, &QAction::triggered, this, &TFormNavi::ActionNaviFindNextExecute);
    connect(ActionNaviFindPrevious, &QAction::triggered, this,
            &TFormNavi::ActionNaviFindPreviousExecute);
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
