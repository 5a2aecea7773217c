#include "site/DownloadControl.h"

#include "common/NaviSession.h"
#include "platform/Dialogs.h"
#include "platform/Sql.h"
#include "site/ClosedListingRun.h"
#include "site/DownloadThread.h"
#include "site/ListingStore.h"
#include "site/ListingTexts.h"
#include "site/LoginControl.h"
#include "site/NaviDownloadRun.h"
#include "site/NaviDownloadTexts.h"
#include "site/NaviStore.h"
#include "site/NaviWorkList.h"
#include "site/SiteEndpoints.h"
#include "site/ThreadBidDetailedDownload.h"
#include "site/ThreadBidDownload.h"
#include "site/ThreadNaviDownload.h"

#include <QApplication>
#include <QDate>
#include <QTimer>

namespace {

struct KindTexts
{
    QString question;
    QString stopped;
};

KindTexts textsOfKind(int kind)
{
    switch (kind) {
    case 1:
        return {QStringLiteral("終了データダウンロードを中止しますか？"),
                QStringLiteral("出品終了データダウンロードを中止しました")};
    case 4:
        return {QStringLiteral("出品終了詳細データダウンロードを中止しますか？"),
                QStringLiteral("出品終了詳細データ取得を中止しました")};
    default:
        return {QStringLiteral("取引ナビダウンロードを中止しますか？"),
                QStringLiteral("取引ナビダウンロードを中止しました")};
    }
}

QString text(const char16_t* value)
{
    return QString::fromUtf16(value);
}

ListingEndpoints listingEndpoints()
{
    const SiteEndpoints site = SiteEndpoints::load();
    return ListingEndpoints::fromHosts(site.closedListHost, site.itemHost);
}

} // namespace

DownloadControl::DownloadControl(NaviSession& session, LoginControl& login, Window& window,
                                 QObject* parent)
    : QObject(parent), m_session(session), m_login(login), m_window(window)
{
    connect(&m_session, &NaviSession::postingChanged, this, &DownloadControl::messagePostChanged);
}

DownloadControl::~DownloadControl() = default;

// ---- The common frame ----

void DownloadControl::disableDownloadActions()
{
    m_window.setDownloadCommandsEnabled(false);
    m_window.setLoginButtonEnabled(false);
    m_window.setBidSearchButtonEnabled(false);
    m_window.setStopCommandEnabled(true);
}

void DownloadControl::enableDownloadActions()
{
    // A message post keeps the download commands and the login button off until it ends.
    const bool databaseOpen = m_session.connection.isOpen();
    m_window.setDownloadCommandsEnabled(databaseOpen && !m_session.postingMessage);
    m_window.setLoginButtonEnabled(!m_session.postingMessage);
    m_window.setBidSearchButtonEnabled(databaseOpen);
}

DownloadThread* DownloadControl::threadOfKind(int kind) const
{
    switch (kind) {
    case 1:
        return threadBidDownload;
    case 2:
    case 5:
        return threadNaviDownload;
    case 4:
        return threadBidDetailedDownload;
    default:
        return nullptr;
    }
}

bool DownloadControl::startDownload(int kind, const std::function<DownloadThread*()>& makeThread,
                                    const QString& startLine)
{
    if (m_session.downloadKind != 0 || m_session.postingMessage || !m_session.connection.isOpen())
        return false;
    if (!m_login.checkLoginStatus())
        return false;
    m_session.setDownloadKind(kind);
    disableDownloadActions();
    newNaviCounts.clear();
    newReceivedNaviCounts.clear();
    DownloadThread* thread = nullptr;
    try {
        thread = makeThread();
    } catch (const std::exception& error) {
        m_session.addLogMessage(QString::fromUtf8(error.what()));
        enableDownloadActions();
        m_window.setStopCommandEnabled(false);
        m_session.setDownloadKind(0);
        return false;
    }
    if (kind == 1)
        threadBidDownload = thread;
    else if (kind == 4)
        threadBidDetailedDownload = thread;
    else
        threadNaviDownload = thread;
    downloadThreads.removeAll(nullptr);
    downloadThreads << thread;
    // A finished thread is freed after its run has returned, never from inside it.
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &DownloadThread::handOverFailed, this,
            [this, thread](const QString& message) { downloadHandOverFailed(thread, message); });
    thread->start();
    if (!startLine.isEmpty())
        m_session.addLogMessage(startLine);
    return true;
}

void DownloadControl::endDownload(DownloadThread* thread)
{
    if (threadBidDownload == thread)
        threadBidDownload = nullptr;
    if (threadNaviDownload == thread)
        threadNaviDownload = nullptr;
    if (threadBidDetailedDownload == thread)
        threadBidDetailedDownload = nullptr;
    m_window.setStopCommandEnabled(false);
    enableDownloadActions();
    m_session.setDownloadKind(0);
    // A board download asked for by a post waits for the download that ran.
    if (!pendingTransactionNaviDownloads.isEmpty())
        QTimer::singleShot(0, this, &DownloadControl::startPendingTransactionNaviDownload);
}

void DownloadControl::downloadHandOverFailed(DownloadThread* thread, const QString& message)
{
    // The thread ends without its end-of-download store; unless that store had ended the
    // download already, end it here as a failed one.
    const int kind = m_session.downloadKind;
    if (kind != 0 && threadOfKind(kind) == thread) {
        endDownload(thread);
        if (kind == 2 || kind == 5) {
            naviStore.reset();
            m_session.addLogMessage(NaviTexts::endLine(NaviDownloadRun::Failed));
        } else if (kind == 1) {
            m_session.addLogMessage(
                ListingTexts::closedListingEndLine(ClosedListingResult::NotRecognised));
        }
    }
    // Shown once the thread has been let go: the thread must not wait on the box.
    QTimer::singleShot(0, this, [this, message] {
        Dialogs::showError(m_window.dialogOwner(), QApplication::applicationDisplayName(), message);
    });
}

void DownloadControl::MainMenuDataDownloadQuitClick()
{
    const int kind = m_session.downloadKind;
    DownloadThread* thread = threadOfKind(kind);
    if (!thread || !thread->isRunning())
        return;
    m_window.setStopCommandEnabled(false);
    thread->hold();
    const KindTexts texts = textsOfKind(kind);
    const bool stop =
        Dialogs::askOkCancel(m_window.dialogOwner(), QStringLiteral("確認"), texts.question);
    // The question runs its own event loop: act only on a thread that is still there.
    thread = threadOfKind(kind);
    if (!thread || !thread->isRunning()) {
        if (thread)
            thread->release();
        return;
    }
    if (!stop) {
        thread->release();
        m_window.setStopCommandEnabled(true);
        return;
    }
    thread->requestStop();
    endDownload(thread);
    naviStore.reset();
    m_session.addLogMessage(texts.stopped);
}

void DownloadControl::stopAllDownloads()
{
    for (const QPointer<DownloadThread>& thread : std::as_const(downloadThreads))
        if (thread)
            thread->requestStop();
    // A thread may be waiting in a hand-over to this thread: keep running events until it ends.
    for (const QPointer<DownloadThread>& thread : std::as_const(downloadThreads))
        while (thread && !thread->wait(10))
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    downloadThreads.clear();
    // The board store holds prepared statements on the main connection.
    naviStore.reset();
}

// ---- Closed-listing and detailed listing downloads ----

void DownloadControl::wireListingThread(ListingDownloadThread* thread, std::function<void()> end)
{
    thread->setProgressHandlers([this](int maximum) { m_window.progressStart(maximum); },
                                [this] { m_window.progressStep(); });
    thread->setEndHandler(std::move(end));
}

void DownloadControl::ActionBidDownloadExecute()
{
    startClosedListingDownload(false);
}

void DownloadControl::ActionBidDownloadNowExecute()
{
    startClosedListingDownload(true);
}

void DownloadControl::startClosedListingDownload(bool newOnly)
{
    const NaviOptions& options = m_session.options;
    if (options.confirmationBidDownload &&
        !Dialogs::askOkCancel(m_window.dialogOwner(), text(ListingTexts::confirmCaption),
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
            // The newest stored listing of the account (after the login check set it).
            if (newOnly)
                request.stopAid = m_window.newestStoredAid(m_session.loginId);
            auto* thread =
                new ThreadBidDownload(m_session, m_session.loginId, request, listingEndpoints());
            wireListingThread(thread, [this, thread] { endBidDownload(thread); });
            return thread;
        },
        text(newOnly ? ListingTexts::bidDownloadNowStarted : ListingTexts::bidDownloadStarted));
}

void DownloadControl::ActionBidDetailedDownloadExecute()
{
    const QStringList aids = m_window.selectedListingAids();
    if (aids.isEmpty()) {
        m_session.addLogMessage(text(ListingTexts::selectRows));
        return;
    }
    startDownload(
        4,
        [&]() -> DownloadThread* {
            auto* thread = new ThreadBidDetailedDownload(m_session, m_session.loginId,
                                                         DetailedListingResult::SelectedRows, aids,
                                                         listingEndpoints());
            wireListingThread(thread, [this, thread] { endBidDetailedDownload(thread); });
            return thread;
        },
        text(ListingTexts::bidDetailedDownloadStarted));
}

void DownloadControl::ActionBidPromptDecisionDownloadExecute()
{
    if (m_session.downloadKind != 0 || !m_session.connection.isOpen())
        return;
    QString aid;
    if (!Dialogs::inputText(m_window.dialogOwner(), text(ListingTexts::auctionIdInputCaption),
                            text(ListingTexts::auctionIdInputPrompt), &aid))
        return;
    ListingStore::InstantBuyCheck check;
    try {
        check = ListingStore(m_session.connection).checkInstantBuyTarget(aid);
    } catch (const DatabaseError& error) {
        m_session.addLogMessage(QString::fromUtf8(error.what()));
        return;
    }
    switch (check) {
    case ListingStore::InstantBuyCheck::Empty:
        m_session.addLogMessage(text(ListingTexts::auctionIdInvalid));
        return;
    case ListingStore::InstantBuyCheck::AlreadyClosed:
        Dialogs::showError(m_window.dialogOwner(), text(ListingTexts::alreadyClosedCaption),
                           text(ListingTexts::alreadyClosedMessage));
        return;
    case ListingStore::InstantBuyCheck::Accepted:
        break;
    }
    startDownload(
        4,
        [&]() -> DownloadThread* {
            auto* thread = new ThreadBidDetailedDownload(m_session, m_session.loginId,
                                                         DetailedListingResult::InstantBuy, {aid},
                                                         listingEndpoints());
            wireListingThread(thread, [this, thread] { endBidDetailedDownload(thread); });
            return thread;
        },
        text(ListingTexts::bidPromptDecisionDownloadStarted));
}

void DownloadControl::endBidDownload(ThreadBidDownload* thread)
{
    // The store cannot be interrupted.
    m_window.setStopCommandEnabled(false);
    QString logLine;
    try {
        const ListingStoreSummary summary =
            ListingStore(m_session.connection)
                .storeClosedListings(thread->loginIdAtStart(), thread->outcome());
        logLine = summary.logLine;
        // A list that shows another account meanwhile is left as it is. The rows are stored
        // by now: an error while the list follows them is logged, not reported as a failure.
        if (thread->loginIdAtStart() == m_session.loginId) {
            try {
                m_window.applyListingStoreSummary(summary);
            } catch (const DatabaseError& error) {
                m_session.addLogMessage(QString::fromUtf8(error.what()));
            }
        }
    } catch (const DatabaseError& error) {
        m_session.addLogMessage(QString::fromUtf8(error.what()));
        logLine = ListingTexts::closedListingEndLine(ClosedListingResult::NotRecognised);
    }
    m_window.progressFinish();
    endDownload(thread);
    m_session.addLogMessage(logLine);
    m_window.showListingRowCount();
}

void DownloadControl::endBidDetailedDownload(ThreadBidDetailedDownload* thread)
{
    // The store cannot be interrupted.
    m_window.setStopCommandEnabled(false);
    try {
        const ListingStoreSummary summary =
            ListingStore(m_session.connection)
                .storeDetailedListings(thread->loginIdAtStart(), thread->outcome());
        if (thread->loginIdAtStart() == m_session.loginId)
            m_window.applyListingStoreSummary(summary);
        m_session.addLogMessage(summary.logLine);
    } catch (const DatabaseError& error) {
        m_session.addLogMessage(QString::fromUtf8(error.what()));
    }
    endDownload(thread);
    m_window.showListingRowCount();
}

// ---- Message-board download ----

void DownloadControl::ActionNaviDownloadSelectExecute()
{
    if (!m_window.hasSelectedListingRows()) {
        m_session.addLogMessage(QStringLiteral("行を選択してください"));
        return;
    }
    if (m_session.options.confirmationNaviDownload &&
        !Dialogs::askOkCancel(m_window.dialogOwner(), QStringLiteral("確認"),
                              QStringLiteral("選択行ナビデータをダウンロードしますか？")))
        return;
    startNaviDownload(0);
}

void DownloadControl::ActionNaviDownloadShowExecute()
{
    if (m_session.options.confirmationNaviDownload &&
        !Dialogs::askOkCancel(m_window.dialogOwner(), QStringLiteral("確認"),
                              QStringLiteral("表示行ナビデータをダウンロードしますか？")))
        return;
    startNaviDownload(1);
}

ThreadNaviDownload* DownloadControl::makeNaviDownloadThread(const QList<NaviWorkItem>& work,
                                                            bool reDownload, bool showProgress)
{
    // The store is made on the main connection now.
    const QDate today =
        naviTodayJulianDay != 0 ? QDate::fromJulianDay(naviTodayJulianDay) : QDate();
    naviStore =
        std::make_shared<NaviStore>(m_session.connection, m_session.loginId, reDownload, today);

    const SiteEndpoints site = SiteEndpoints::load();
    const NaviSiteUrls urls{SiteEndpoints::httpUrl(site.itemHost, QString()),
                            SiteEndpoints::httpUrl(site.profileHost, QString())};
    ThreadNaviDownload::GuiSide gui;
    gui.store = [this](const NaviBoard& board) { return storeNaviDownload(board); };
    gui.log = [this](const QString& line) { m_session.addLogMessage(line); };
    if (showProgress) {
        gui.progressStart = [this](int count) { m_window.progressStart(count); };
        gui.progressStep = [this] { m_window.progressStep(); };
    }
    gui.finish = [this](ThreadNaviDownload* thread, int result) {
        endNaviDownload(thread, result);
    };
    return new ThreadNaviDownload(this, m_session.loginId, urls, work, gui);
}

bool DownloadControl::startNaviDownload(int type)
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
            m_window.visitListingRows(type == 0, [this, &work](const ListingRow& row) {
                const NaviWorkList::Prepared prepared =
                    NaviWorkList::prepareItem(m_session.connection, row.aid, row.title, row.bidId,
                                              row.url, m_session.loginId);
                work << prepared.item;
                if (!prepared.purge.purged)
                    return false;
                m_session.addLogMessage(prepared.purge.logLine);
                return true;
            });
        }
        ThreadNaviDownload* thread = makeNaviDownloadThread(work, reDownload, true);
        if (reDownload)
            naviReDownloadQueue.clear();
        // The listing list can be searched while the boards download.
        m_window.setBidSearchButtonEnabled(true);
        return thread;
    };
    return startDownload(reDownload ? 5 : 2, makeThread,
                         reDownload ? QString() : NaviTexts::downloadStart);
}

bool DownloadControl::startTransactionNaviDownload(const QString& aid, const QString& title,
                                                   const QString& bidId)
{
    const auto makeThread = [this, aid, title, bidId]() -> DownloadThread* {
        // The purge runs without a listing row: no cell is emptied.
        const NaviWorkList::Prepared prepared = NaviWorkList::prepareItem(
            m_session.connection, aid, title, bidId, QString(), m_session.loginId);
        if (prepared.purge.purged)
            m_session.addLogMessage(prepared.purge.logLine);
        ThreadNaviDownload* thread = makeNaviDownloadThread({prepared.item}, false, false);
        m_window.setBidSearchButtonEnabled(true);
        return thread;
    };
    return startDownload(2, makeThread, QString());
}

bool DownloadControl::storeNaviDownload(const NaviBoard& board)
{
    if (!naviStore)
        return false;
    const NaviStoreSummary summary = naviStore->storeBoard(board);
    for (const QString& line : summary.logLines)
        m_session.addLogMessage(line);
    if (!summary.ok)
        return false;

    try {
        if (!summary.rows.isEmpty()) {
            newNaviCounts.insert(summary.aid, {summary.bidId, int(summary.rows.size())});
            newReceivedNaviCounts.insert(summary.aid, {summary.bidId, summary.receivedCount});
        }
        m_window.showStoredBoard(summary, *naviStore);
    } catch (const DatabaseError& error) {
        m_session.addLogMessage(summary.aid + NaviTexts::separator + summary.title +
                                NaviTexts::storeFailed + error.driverMessage());
        return false;
    }
    return true;
}

void DownloadControl::endNaviDownload(ThreadNaviDownload* thread, int result)
{
    if (naviStore)
        for (const stNaviReDownload& entry : naviStore->reDownloadQueue())
            naviReDownloadQueue.append({entry.aid, entry.bidId});
    m_session.addLogMessage(NaviTexts::endLine(result));
    endDownload(thread);
    naviStore.reset();
    if (!naviReDownloadQueue.isEmpty())
        startNaviDownload(2);
}

// ---- The board download after a post ----

void DownloadControl::messagePostChanged(bool posting)
{
    if (posting) {
        m_window.setDownloadCommandsEnabled(false);
        m_window.setLoginButtonEnabled(false);
        return;
    }
    // A download running beside the post keeps its commands off; its end turns them on.
    if (m_session.downloadKind == 0)
        enableDownloadActions();
    startPendingTransactionNaviDownload();
}

void DownloadControl::requestTransactionNaviDownload(const QString& aid, const QString& title,
                                                     const QString& bidId)
{
    pendingTransactionNaviDownloads.append({aid, title, bidId});
    startPendingTransactionNaviDownload();
}

void DownloadControl::startPendingTransactionNaviDownload()
{
    if (m_session.downloadKind != 0 || m_session.postingMessage ||
        pendingTransactionNaviDownloads.isEmpty())
        return;
    const TransactionDownload next = pendingTransactionNaviDownloads.takeFirst();
    startTransactionNaviDownload(next.aid, next.title, next.bidId);
}
