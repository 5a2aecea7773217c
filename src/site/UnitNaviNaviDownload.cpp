// The message-board download of the main window: its commands and the stores that write each
// board into the database and the message lists.
#include "app/UnitNavi.h"

#include "platform/Dialogs.h"
#include "platform/Sql.h"
#include "site/NaviDownloadTexts.h"
#include "site/NaviStore.h"
#include "site/NaviWorkList.h"
#include "site/SiteEndpoints.h"
#include "site/ThreadNaviDownload.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

const QString receivedRoot = QStringLiteral("000");
const QString sentRoot = QStringLiteral("001");

NaviRow listRow(const NaviStoredRow& stored, const NaviStoreSummary& summary)
{
    NaviRow row;
    row.aid = stored.aid;
    row.bidId = stored.bidId;
    row.writeId = stored.writeId;
    row.title = summary.title;
    row.name = summary.bidderName;
    row.number = QString::number(stored.number);
    row.subject = stored.subject;
    row.message = stored.message;
    row.writeDate = stored.writeDate;
    row.received = stored.recFlg;
    row.read = false;
    return row;
}

} // namespace

void TFormNavi::connectNaviDownloadCommands()
{
    connect(ActionNaviDownloadSelect, &QAction::triggered, this,
            &TFormNavi::ActionNaviDownloadSelectExecute);
    connect(ActionNaviDownloadShow, &QAction::triggered, this,
            &TFormNavi::ActionNaviDownloadShowExecute);
    markWired(ActionNaviDownloadSelect);
    markWired(ActionNaviDownloadShow);
}

void TFormNavi::ActionNaviDownloadSelectExecute()
{
    if (ListViewBid->selectedItems().isEmpty()) {
        addLogMessage(QStringLiteral("行を選択してください"));
        return;
    }
    if (options.confirmationNaviDownload &&
        !Dialogs::askOkCancel(this, QStringLiteral("確認"),
                              QStringLiteral("選択行ナビデータをダウンロードしますか？")))
        return;
    startNaviDownload(0);
}

void TFormNavi::ActionNaviDownloadShowExecute()
{
    if (options.confirmationNaviDownload &&
        !Dialogs::askOkCancel(this, QStringLiteral("確認"),
                              QStringLiteral("表示行ナビデータをダウンロードしますか？")))
        return;
    startNaviDownload(1);
}

namespace {

// A board download thread over the work list, its hand-overs on the main window; the store is
// made on the main connection now.
ThreadNaviDownload* makeNaviDownloadThread(TFormNavi& navi, const QList<NaviWorkItem>& work,
                                           bool reDownload, bool showProgress)
{
    const QDate today =
        navi.naviTodayJulianDay != 0 ? QDate::fromJulianDay(navi.naviTodayJulianDay) : QDate();
    navi.naviStore = std::make_shared<NaviStore>(navi.connection, navi.loginId, reDownload, today);

    const SiteEndpoints site = SiteEndpoints::load();
    const NaviSiteUrls urls{SiteEndpoints::httpUrl(site.itemHost, QString()),
                            SiteEndpoints::httpUrl(site.profileHost, QString())};
    TFormNavi* target = &navi;
    ThreadNaviDownload::GuiSide gui;
    gui.store = [target](const NaviBoard& board) { return target->storeNaviDownload(board); };
    gui.log = [target](const QString& line) { target->addLogMessage(line); };
    if (showProgress) {
        gui.progressStart = [target](int count) { target->progressStart(count); };
        gui.progressStep = [target] { target->progressStep(); };
    }
    gui.finish = [target](ThreadNaviDownload* thread, int result) {
        target->endNaviDownload(thread, result);
    };
    return new ThreadNaviDownload(target, navi.loginId, urls, work, gui);
}

} // namespace

bool TFormNavi::startNaviDownload(int type)
{
    const bool reDownload = type == 2;
    const auto makeThread = [this, type, reDownload]() -> DownloadThread* {
        QList<NaviWorkItem> work;
        if (reDownload) {
            // Read again from the first message: no purge, no highest number.
            for (const auto& [aid, bidId] : std::as_const(naviReDownloadQueue))
                work << NaviWorkItem{aid, QString(), 0, bidId};
        } else {
            naviReDownloadQueue.clear();
            QList<int> positions;
            if (type == 0) {
                positions = ListViewBid->selectedPositions();
            } else {
                for (int i = 0; i < ListViewBid->topLevelItemCount(); ++i)
                    positions << i;
            }
            for (int i : positions) {
                const BidRow row = ListViewBid->bidItem(i);
                if (!row)
                    continue;
                const NaviWorkList::Prepared prepared = NaviWorkList::prepareItem(
                    connection, row->subItem(BidListColumns::Aid),
                    row->subItem(BidListColumns::Title), row->subItem(BidListColumns::BidId),
                    row->subItem(BidListColumns::Url), loginId);
                if (prepared.purge.purged) {
                    addLogMessage(prepared.purge.logLine);
                    row->setSubItem(BidListColumns::NaviCount, QString());
                }
                work << prepared.item;
            }
        }
        ThreadNaviDownload* thread = makeNaviDownloadThread(*this, work, reDownload, true);
        if (reDownload)
            naviReDownloadQueue.clear();
        // The listing list can be searched while the boards download.
        setBidSearchButtonEnabled(true);
        return thread;
    };
    return startDownload(reDownload ? 5 : 2, makeThread,
                         reDownload ? QString() : NaviTexts::downloadStart);
}

bool TFormNavi::startTransactionNaviDownload(const QString& aid, const QString& title,
                                             const QString& bidId)
{
    const auto makeThread = [this, aid, title, bidId]() -> DownloadThread* {
        // The purge runs without a listing row: no cell is emptied.
        const NaviWorkList::Prepared prepared =
            NaviWorkList::prepareItem(connection, aid, title, bidId, QString(), loginId);
        if (prepared.purge.purged)
            addLogMessage(prepared.purge.logLine);
        ThreadNaviDownload* thread = makeNaviDownloadThread(*this, {prepared.item}, false, false);
        setBidSearchButtonEnabled(true);
        return thread;
    };
    return startDownload(2, makeThread, QString());
}

bool TFormNavi::storeNaviDownload(const NaviBoard& board)
{
    if (!naviStore)
        return false;
    const NaviStoreSummary summary = naviStore->storeBoard(board);
    for (const QString& line : summary.logLines)
        addLogMessage(line);
    if (!summary.ok)
        return false;

    try {
        // Rows deleted again for a repeated number are not listed: the re-download lists them.
        if (!summary.deleted && !summary.rows.isEmpty()) {
            QTreeWidgetItem* folder =
                TreeViewNavi->topLevelItemCount() > 0 ? TreeViewNavi->currentItem() : nullptr;
            const QString shownFolder = folder ? FolderTree::folderId(folder) : QString();
            const bool bidNaviShown =
                ActionShowBidNaviPanel->isChecked() && currentBidItem &&
                currentBidItem->text(BidListColumns::column(BidListColumns::Aid)) == summary.aid &&
                BidListModel::sameWinner(
                    currentBidItem->text(BidListColumns::column(BidListColumns::BidId)),
                    summary.bidId);
            bool folderRows = false;
            ListViewNavi->setUpdatesEnabled(false);
            for (const NaviStoredRow& stored : summary.rows) {
                const NaviRow row = listRow(stored, summary);
                if ((shownFolder == receivedRoot && row.received) ||
                    (shownFolder == sentRoot && !row.received)) {
                    ListViewNavi->rows()->appendRow(row);
                    folderRows = true;
                }
                if (bidNaviShown)
                    NaviListView::addRow(ListViewBidNavi, NaviList::Transaction, row);
            }
            if (folderRows) {
                ListViewNavi->sort(naviSortColumn, naviSortType);
                shownUnreadCount = ListViewNavi->countUnread();
                if (PageControlMain->currentIndex() == 1)
                    statusPanels[1]->setText(
                        NaviListView::statusText(ListViewNavi->rowCount(), shownUnreadCount));
            }
            ListViewNavi->setUpdatesEnabled(true);
            if (bidNaviShown)
                NaviListView::sort(ListViewBidNavi, bidNaviSortColumn, bidNaviSortType);
        }
        // The received root's count changes with every new received message, whichever folder
        // is shown.
        if (summary.receivedCount > 0 && TreeViewNavi->topLevelItemCount() > 0)
            loadUnreadCounts();

        if (!summary.rows.isEmpty()) {
            newNaviCounts.insert(summary.aid, {summary.bidId, int(summary.rows.size())});
            newReceivedNaviCounts.insert(summary.aid, {summary.bidId, summary.receivedCount});
            // The cell follows the database, so it is right even when the download is stopped
            // before its end, or the board was deleted again.
            if (BidRow row = ListViewBid->findBidItem(summary.aid, summary.bidId))
                row->setSubItem(BidListColumns::NaviCount,
                                naviStore->messageCountCell(summary.aid, summary.bidId));
        }
    } catch (const DatabaseError& error) {
        addLogMessage(summary.aid + NaviTexts::separator + summary.title + NaviTexts::storeFailed +
                      error.driverMessage());
        return false;
    }
    return true;
}

void TFormNavi::endNaviDownload(ThreadNaviDownload* thread, int result)
{
    if (naviStore)
        for (const stNaviReDownload& entry : naviStore->reDownloadQueue())
            naviReDownloadQueue.append({entry.aid, entry.bidId});
    addLogMessage(NaviTexts::endLine(result));
    endDownload(thread);
    naviStore.reset();
    if (!naviReDownloadQueue.isEmpty())
        startNaviDownload(2);
}
