// The listing query of the search panel, and the find commands: the find panel of the listing
// tab, the find dialog and the message search of the message tab.
#include "views/ListingTab.h"

#include "common/NaviSession.h"
#include "site/EndTimeControl.h"
#include "views/BidListFindPanel.h"
#include "views/BidListQuery.h"
#include "views/BidListView.h"
#include "views/BidSearchPanel.h"
#include "views/ListSearchView.h"
#include "views/NaviFolderList.h"
#include "views/UnitNaviFind.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>

namespace {

// ListViewNavi's sub-item that holds the message text.
constexpr int naviMessageSubItem = 6;

// The whole message of each row of the message list, for the body search.
std::function<QString(int)> wholeMessages(NaviFolderList* list,
                                          NaviListQuery::MessageReader& reader)
{
    return [list, &reader](int row) {
        return row >= 0 && row < list->rowCount() ? reader.wholeMessage(list->row(row)) : QString();
    };
}

} // namespace

void ListingTab::ToolButtonBidSearchSearchClick()
{
    if (!m_session.connection.isOpen())
        return;
    BidListQuery::Criteria criteria = w.PanelBidSearch->criteria();
    criteria.loginId = m_session.loginId;
    // A failed query leaves the rows that were shown.
    EndTimeQueue queue;
    BidListRecords records = BidListQuery::read(m_session.connection, criteria, &queue);
    w.TimerEndDateTime->stop();
    m_endTime.endTimeQueue = queue;
    forgetCurrentBidItem();
    m_window.clearBidderInfo();
    clearBidNaviPanel();
    w.ListViewBid->fillRecords(std::move(records));
    if (w.PageControlMain->currentIndex() == 0)
        w.statusPanelRows->setText(w.ListViewBid->rowCountText());
    if (m_endTime.endTimePendingCount() > 0)
        w.TimerEndDateTime->start();
}

void ListingTab::updateBidListFindLine()
{
    w.PanelBidListFind->setBottomLineVisible(BidListFindPanel::bottomLineWanted(
        w.ActionShowBidNaviPanel->isChecked(), w.ActionShowMemoWrite->isChecked()));
}

void ListingTab::setBidSearchButtonEnabled(bool enabled)
{
    w.PanelBidSearch->setSearchEnabled(enabled);
}

void ListingTab::ActionNaviFindExecute()
{
    if (w.PageControlMain->currentIndex() == 0) {
        updateBidListFindLine();
        w.PanelBidListFind->ActionNaviFindExecute();
        return;
    }
    TFormNaviFind dialog(
        w.PageControlMain->window(), findText, findTarget, [this] { ActionNaviFindNextExecute(); },
        [this] { ActionNaviFindPreviousExecute(); });
    formNaviFind = &dialog;
    dialog.exec();
    formNaviFind = nullptr;
}

void ListingTab::ActionNaviFindNextExecute()
{
    findInTab(true);
}

void ListingTab::ActionNaviFindPreviousExecute()
{
    findInTab(false);
}

void ListingTab::findInTab(bool next)
{
    if (w.PageControlMain->currentIndex() == 0) {
        (next ? ListSearchView::findNextInList : ListSearchView::findPreviousInList)(
            w.ListViewBid, w.PanelBidListFind->findSubItem(), w.PanelBidListFind->findText());
    } else if (findTarget == 4) {
        NaviListQuery::MessageReader reader(m_session.connection, m_session.loginId);
        ListSearchView::findInMessages(
            w.ListViewNavi, naviMessageSubItem, w.MemoNavi, findText, next,
            [this] { m_window.showSelectedMessageNow(); }, wholeMessages(w.ListViewNavi, reader));
    } else {
        (next ? ListSearchView::findNextInList
              : ListSearchView::findPreviousInList)(w.ListViewNavi, findTarget, findText);
    }
}
