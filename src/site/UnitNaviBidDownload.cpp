// The closed-listing and detailed listing downloads of the main window: their commands and
// the stores that write their results into the database and the listing list.
#include "app/UnitNavi.h"

#include "platform/Dialogs.h"
#include "platform/Sql.h"
#include "site/ListingStore.h"
#include "site/ListingTexts.h"
#include "site/SiteEndpoints.h"
#include "site/ThreadBidDetailedDownload.h"
#include "site/ThreadBidDownload.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>

namespace {

QString text(const char16_t* value)
{
    return QString::fromUtf16(value);
}

ListingEndpoints listingEndpoints()
{
    const SiteEndpoints site = SiteEndpoints::load();
    return ListingEndpoints::fromHosts(site.closedListHost, site.itemHost);
}

// The window's progress bar and the end-of-download store, handed to a listing thread.
void wireListingThread(TFormNavi* navi, ListingDownloadThread* thread, std::function<void()> end)
{
    thread->setProgressHandlers([navi](int maximum) { navi->progressStart(maximum); },
                                [navi] { navi->progressStep(); });
    thread->setEndHandler(std::move(end));
}

// Removes the rows of the keys from the list, except rows whose index is -1; the selection and
// the current row are kept. True when rows left.
bool removeListRows(BidListView* list, const QList<ListingKey>& keys)
{
    QList<BidRow> leaving;
    for (const ListingKey& key : keys) {
        const BidRow item = list->findBidItem(key.aid, key.bidId);
        if (item && item.textView(BidListColumns::CaptionColumn) != QStringLiteral("-1"))
            leaving.append(item);
    }
    if (leaving.isEmpty())
        return false;
    list->removeRows(leaving);
    return true;
}

} // namespace

void TFormNavi::connectBidDownloadCommands()
{
    const std::pair<QAction*, void (TFormNavi::*)()> commands[] = {
        {ActionBidDownload, &TFormNavi::ActionBidDownloadExecute},
        {ActionBidDownloadNow, &TFormNavi::ActionBidDownloadNowExecute},
        {ActionBidDetailedDownload, &TFormNavi::ActionBidDetailedDownloadExecute},
        {ActionBidPromptDecisionDownload, &TFormNavi::ActionBidPromptDecisionDownloadExecute},
    };
    for (const auto& [command, execute] : commands) {
        connect(command, &QAction::triggered, this, execute);
        markWired(command);
        enableCommand(command, isDatabaseOpen() && downloadKind == 0);
    }
}

void TFormNavi::ActionBidDownloadExecute()
{
    startClosedListingDownload(false);
}

void TFormNavi::ActionBidDownloadNowExecute()
{
    startClosedListingDownload(true);
}

void TFormNavi::startClosedListingDownload(bool newOnly)
{
    if (options.confirmationBidDownload &&
        !Dialogs::askOkCancel(this, text(ListingTexts::confirmCaption),
                              text(newOnly ? ListingTexts::bidDownloadNowQuestion
                                           : ListingTexts::bidDownloadQuestion)))
        return;
    ClosedListingRequest request;
    request.mode = newOnly ? ClosedListingRequest::NewOnly : ClosedListingRequest::All;
    request.detailedAll = options.bidDownloadDetailed;
    request.detailedNew = options.bidDownloadNowDetailed;
    startDownload(
        1,
        [&]() -> DownloadThread* {
            if (newOnly) {
                // The newest stored listing of the account (after the login check set it).
                Sql::exec(queryNewestAid, {{":DATA_LOGINID", loginId}});
                request.stopAid =
                    queryNewestAid.next() ? queryNewestAid.value(0).toString() : QString();
                queryNewestAid.finish();
            }
            auto* thread = new ThreadBidDownload(session, loginId, request, listingEndpoints());
            wireListingThread(this, thread, [this, thread] { endBidDownload(thread); });
            return thread;
        },
        text(newOnly ? ListingTexts::bidDownloadNowStarted : ListingTexts::bidDownloadStarted));
}

void TFormNavi::ActionBidDetailedDownloadExecute()
{
    QStringList aids;
    for (const BidRow& item : ListViewBid->selectedItems())
        aids << item.subItem(BidListColumns::Aid);
    if (aids.isEmpty()) {
        addLogMessage(text(ListingTexts::selectRows));
        return;
    }
    startDownload(
        4, [&]() -> DownloadThread* {
            auto* thread = new ThreadBidDetailedDownload(
                session, loginId, DetailedListingResult::SelectedRows, aids, listingEndpoints());
            wireListingThread(this, thread, [this, thread] { endBidDetailedDownload(thread); });
            return thread;
        },
        text(ListingTexts::bidDetailedDownloadStarted));
}

void TFormNavi::ActionBidPromptDecisionDownloadExecute()
{
    if (downloadKind != 0 || !isDatabaseOpen())
        return;
    QString aid;
    if (!Dialogs::inputText(this, text(ListingTexts::auctionIdInputCaption),
                            text(ListingTexts::auctionIdInputPrompt), &aid))
        return;
    ListingStore::InstantBuyCheck check;
    try {
        check = ListingStore(connection).checkInstantBuyTarget(aid);
    } catch (const DatabaseError& error) {
        addLogMessage(QString::fromUtf8(error.what()));
        return;
    }
    switch (check) {
    case ListingStore::InstantBuyCheck::Empty:
        addLogMessage(text(ListingTexts::auctionIdInvalid));
        return;
    case ListingStore::InstantBuyCheck::AlreadyClosed:
        Dialogs::showError(this, text(ListingTexts::alreadyClosedCaption),
                           text(ListingTexts::alreadyClosedMessage));
        return;
    case ListingStore::InstantBuyCheck::Accepted:
        break;
    }
    startDownload(
        4, [&]() -> DownloadThread* {
            auto* thread = new ThreadBidDetailedDownload(
                session, loginId, DetailedListingResult::InstantBuy, {aid}, listingEndpoints());
            wireListingThread(this, thread, [this, thread] { endBidDetailedDownload(thread); });
            return thread;
        },
        text(ListingTexts::bidPromptDecisionDownloadStarted));
}

BidRow TFormNavi::addListViewBidItem(const QString& index, const QString& aid, const QString& title,
                                     const QString& bidId, const QString& quantity,
                                     const QString& price, const QString& url)
{
    StoredListingRow row{index.toInt(), aid, title, bidId, quantity, price, url};
    QStringList cells = ListingStore(connection).listViewBidCells(row);
    cells[0] = index;
    return ListViewBid->addBidItem(cells);
}

void TFormNavi::applyListingStoreSummary(const ListingStoreSummary& summary)
{
    if (!summary.written)
        return;
    const bool updates = ListViewBid->updatesEnabled();
    ListViewBid->setUpdatesEnabled(false);
    if (summary.indexShift != 0) {
        for (int row = 0; row < ListViewBid->topLevelItemCount(); ++row) {
            const BidRow item = ListViewBid->bidItem(row);
            const QString caption = item->text(BidListColumns::CaptionColumn);
            if (caption != QStringLiteral("-1"))
                item->setText(BidListColumns::CaptionColumn,
                              QString::number(caption.toInt() + summary.indexShift));
        }
    }
    for (const ListingRowUpdate& update : summary.updated) {
        BidRow item = ListViewBid->findBidItem(update.key.aid, update.key.bidId);
        if (!item)
            continue;
        if (update.index)
            item->setText(BidListColumns::CaptionColumn, QString::number(*update.index));
        if (update.bidId)
            item->setSubItem(BidListColumns::BidId, *update.bidId);
        if (update.quantity)
            item->setSubItem(BidListColumns::Quantity, *update.quantity);
        if (update.price)
            item->setSubItem(BidListColumns::Price, *update.price);
    }
    for (const StoredListingRow& row : summary.inserted)
        addListViewBidItem(QString::number(row.index), row.aid, row.title, row.bidId, row.quantity,
                           row.price, row.url);
    // The delayed detail fill never reaches a row that left.
    if (removeListRows(ListViewBid, summary.markedDeleted))
        forgetCurrentBidItem();
    ListViewBid->sortList();
    ListViewBid->setUpdatesEnabled(updates);
}

void TFormNavi::endBidDownload(ThreadBidDownload* thread)
{
    // The store cannot be interrupted.
    MainMenuDataDownloadQuit->setEnabled(false);
    QString logLine;
    try {
        const ListingStoreSummary summary =
            ListingStore(connection)
                .storeClosedListings(thread->loginIdAtStart(), thread->outcome());
        logLine = summary.logLine;
        // A list that shows another account meanwhile is left as it is. The rows are stored
        // by now: an error while the list follows them is logged, not reported as a failure.
        if (thread->loginIdAtStart() == loginId) {
            try {
                applyListingStoreSummary(summary);
            } catch (const DatabaseError& error) {
                addLogMessage(QString::fromUtf8(error.what()));
            }
        }
    } catch (const DatabaseError& error) {
        addLogMessage(QString::fromUtf8(error.what()));
        logLine = ListingTexts::closedListingEndLine(ClosedListingResult::NotRecognised);
    }
    ProgressBar->setValue(ProgressBar->maximum());
    endDownload(thread);
    addLogMessage(logLine);
    statusPanels[1]->setText(ListViewBid->rowCountText());
}

void TFormNavi::endBidDetailedDownload(ThreadBidDetailedDownload* thread)
{
    // The store cannot be interrupted.
    MainMenuDataDownloadQuit->setEnabled(false);
    try {
        const ListingStoreSummary summary =
            ListingStore(connection)
                .storeDetailedListings(thread->loginIdAtStart(), thread->outcome());
        if (thread->loginIdAtStart() == loginId)
            applyListingStoreSummary(summary);
        addLogMessage(summary.logLine);
    } catch (const DatabaseError& error) {
        addLogMessage(QString::fromUtf8(error.what()));
    }
    endDownload(thread);
    statusPanels[1]->setText(ListViewBid->rowCountText());
}
