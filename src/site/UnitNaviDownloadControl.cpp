// One download at a time: the busy state, the download commands enabled and disabled as one,
// starting a download thread, stopping it, and shutting it down with the window.
#include "app/UnitNavi.h"

#include "platform/Dialogs.h"
#include "site/ClosedListingRun.h"
#include "site/DownloadThread.h"
#include "site/ListingTexts.h"
#include "site/NaviDownloadRun.h"
#include "site/NaviDownloadTexts.h"
#include "site/NaviStore.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QToolButton>

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

} // namespace

void TFormNavi::disableDownloadActions()
{
    for (QAction* command : {ActionBidDownloadNow, ActionBidDownload, ActionNaviDownloadSelect,
                             ActionNaviDownloadShow, ActionBidDetailedDownload,
                             ActionBidPromptDecisionDownload})
        command->setEnabled(false);
    ToolButtonLogin->setEnabled(false);
    setBidSearchButtonEnabled(false);
    enableCommand(MainMenuDataDownloadQuit, true);
}

void TFormNavi::enableDownloadActions()
{
    // A message post keeps the download commands and the login button off until it ends.
    for (QAction* command : {ActionBidDownloadNow, ActionBidDownload, ActionNaviDownloadSelect,
                             ActionNaviDownloadShow, ActionBidDetailedDownload,
                             ActionBidPromptDecisionDownload})
        enableCommand(command, isDatabaseOpen() && !postingMessage);
    ToolButtonLogin->setEnabled(!postingMessage);
    setBidSearchButtonEnabled(isDatabaseOpen());
}

DownloadThread* TFormNavi::threadOfKind(int kind) const
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

bool TFormNavi::startDownload(int kind, const std::function<DownloadThread*()>& makeThread,
                              const QString& startLine)
{
    if (downloadKind != 0 || postingMessage || !isDatabaseOpen())
        return false;
    if (!checkLoginStatus())
        return false;
    session.setDownloadKind(kind);
    disableDownloadActions();
    newNaviCounts.clear();
    newReceivedNaviCounts.clear();
    DownloadThread* thread = nullptr;
    try {
        thread = makeThread();
    } catch (const std::exception& error) {
        addLogMessage(QString::fromUtf8(error.what()));
        enableDownloadActions();
        MainMenuDataDownloadQuit->setEnabled(false);
        session.setDownloadKind(0);
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
        addLogMessage(startLine);
    return true;
}

void TFormNavi::endDownload(DownloadThread* thread)
{
    if (threadBidDownload == thread)
        threadBidDownload = nullptr;
    if (threadNaviDownload == thread)
        threadNaviDownload = nullptr;
    if (threadBidDetailedDownload == thread)
        threadBidDetailedDownload = nullptr;
    MainMenuDataDownloadQuit->setEnabled(false);
    enableDownloadActions();
    session.setDownloadKind(0);
    // A board download asked for by a post waits for the download that ran.
    if (!pendingTransactionNaviDownloads.isEmpty())
        QTimer::singleShot(0, this, &TFormNavi::startPendingTransactionNaviDownload);
}

void TFormNavi::downloadHandOverFailed(DownloadThread* thread, const QString& message)
{
    // The thread ends without its end-of-download store; unless that store had ended the
    // download already, end it here as a failed one.
    const int kind = downloadKind;
    if (kind != 0 && threadOfKind(kind) == thread) {
        endDownload(thread);
        if (kind == 2 || kind == 5) {
            naviStore.reset();
            addLogMessage(NaviTexts::endLine(NaviDownloadRun::Failed));
        } else if (kind == 1) {
            addLogMessage(ListingTexts::closedListingEndLine(ClosedListingResult::NotRecognised));
        }
    }
    // Shown once the thread has been let go: the thread must not wait on the box.
    QTimer::singleShot(0, this, [this, message] {
        Dialogs::showError(this, QApplication::applicationDisplayName(), message);
    });
}

void TFormNavi::MainMenuDataDownloadQuitClick()
{
    const int kind = downloadKind;
    DownloadThread* thread = threadOfKind(kind);
    if (!thread || !thread->isRunning())
        return;
    MainMenuDataDownloadQuit->setEnabled(false);
    thread->hold();
    const KindTexts texts = textsOfKind(kind);
    const bool stop = Dialogs::askOkCancel(this, QStringLiteral("確認"), texts.question);
    // The question runs its own event loop: act only on a thread that is still there.
    thread = threadOfKind(kind);
    if (!thread || !thread->isRunning()) {
        if (thread)
            thread->release();
        return;
    }
    if (!stop) {
        thread->release();
        MainMenuDataDownloadQuit->setEnabled(true);
        return;
    }
    thread->requestStop();
    endDownload(thread);
    naviStore.reset();
    addLogMessage(texts.stopped);
}

void TFormNavi::stopAllDownloads()
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
