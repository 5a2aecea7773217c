#pragma once

#include <QList>
#include <QMultiMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>

class DownloadThread;
class ListingDownloadThread;
class LoginControl;
class NaviSession;
class NaviStore;
class QWidget;
class ThreadBidDetailedDownload;
class ThreadBidDownload;
class ThreadNaviDownload;
struct ListingStoreSummary;
struct NaviBoard;
struct NaviStoreSummary;
struct NaviWorkItem;

// One download at a time: the busy state, the download commands enabled and disabled as one,
// the starters of the closed-listing, detailed listing and message-board downloads, the stop
// command, the end-of-download stores, the queues of boards to download again or after a post,
// and shutting every thread down. The threads hand their work over to this object on the GUI
// thread.
class DownloadControl : public QObject
{
    Q_OBJECT
public:
    // The cells of one listing row that a board download reads.
    struct ListingRow
    {
        QString aid, title, bidId, url;
    };

    // What the downloads ask of the main window.
    class Window
    {
    public:
        virtual ~Window() = default;
        // The owner of the questions and boxes the downloads show.
        virtual QWidget* dialogOwner() = 0;
        // The six download commands as one.
        virtual void setDownloadCommandsEnabled(bool enabled) = 0;
        virtual void setLoginButtonEnabled(bool enabled) = 0;
        virtual void setBidSearchButtonEnabled(bool enabled) = 0;
        virtual void setStopCommandEnabled(bool enabled) = 0;
        // The main progress bar.
        virtual void progressStart(int maximum) = 0;
        virtual void progressStep() = 0;
        virtual void progressFinish() = 0;
        // The listing list's row count into the status bar.
        virtual void showListingRowCount() = 0;
        // The newest stored listing of the account; empty when there is none.
        virtual QString newestStoredAid(const QString& loginId) = 0;
        virtual bool hasSelectedListingRows() const = 0;
        // The auction ids of the selected listing rows, in list order.
        virtual QStringList selectedListingAids() const = 0;
        // Each listing row in list order (the selected ones only when selectedOnly); visit
        // returns true when the row's message-count cell is to be emptied.
        virtual void visitListingRows(bool selectedOnly,
                                      const std::function<bool(const ListingRow&)>& visit) = 0;
        // Brings the listing list in line with what a listing store changed.
        virtual void applyListingStoreSummary(const ListingStoreSummary& summary) = 0;
        // One stored board into the message lists, the folder counts and its listing row's
        // message-count cell. Throws DatabaseError.
        virtual void showStoredBoard(const NaviStoreSummary& summary, NaviStore& store) = 0;
    };

    DownloadControl(NaviSession& session, LoginControl& login, Window& window,
                    QObject* parent = nullptr);
    ~DownloadControl() override;

    // ---- The common frame ----
    void disableDownloadActions();
    void enableDownloadActions();
    void MainMenuDataDownloadQuitClick();
    DownloadThread* threadOfKind(int kind) const;
    // The common start of every download: login check, busy state, commands, the thread made
    // and filled by makeThread (an exception there is logged and undoes the start), its start
    // and the start line. False when the download did not start.
    bool startDownload(int kind, const std::function<DownloadThread*()>& makeThread,
                       const QString& startLine);
    // Called by the end-of-download store: the thread is forgotten and freed once it ends.
    void endDownload(DownloadThread* thread);
    // A hand-over of the thread threw: the download ends as a failed one, the error is shown.
    void downloadHandOverFailed(DownloadThread* thread, const QString& message);
    // Asks every download thread to stop, opens its gate and waits (processing events).
    void stopAllDownloads();

    // ---- Closed-listing and detailed listing downloads ----
    void ActionBidDownloadExecute();
    void ActionBidDownloadNowExecute();
    // The two closed-listing commands: all listings, or only those newer than the newest stored.
    void startClosedListingDownload(bool newOnly);
    void ActionBidDetailedDownloadExecute();
    void ActionBidPromptDecisionDownloadExecute();
    // The end-of-download stores, run on the GUI thread while the ending thread waits: they
    // write the thread's rows for the account it started under, bring the listing list up to
    // date, log the outcome and end the download (also after a database error, which is logged).
    void endBidDownload(ThreadBidDownload* thread);
    void endBidDetailedDownload(ThreadBidDetailedDownload* thread);

    // ---- Message-board download ----
    void ActionNaviDownloadSelectExecute();
    void ActionNaviDownloadShowExecute();
    // type 0 the selected rows, 1 the shown rows of the listing list, 2 the re-download queue
    // (busy state 5, no start line). False when the download did not start.
    bool startNaviDownload(int type);
    // One transaction's board, without a progress bar or start line (busy state 2); false when
    // the download did not start.
    bool startTransactionNaviDownload(const QString& aid, const QString& title,
                                      const QString& bidId);
    // One board on the GUI thread: rows into T_Navi, the lists, the folder counts, the listing
    // row's message-count cell, the log lines. False on a database error (logged).
    bool storeNaviDownload(const NaviBoard& board);
    // The end of a board download: end line, idle again, then the queued re-download.
    void endNaviDownload(ThreadNaviDownload* thread, int result);

    // ---- The board download after a post ----
    // After a successful post: the transaction's board download starts now when no download
    // runs, else when the running one ends.
    void requestTransactionNaviDownload(const QString& aid, const QString& title,
                                        const QString& bidId);
    void startPendingTransactionNaviDownload();

    QPointer<DownloadThread> threadBidDownload, threadNaviDownload, threadBidDetailedDownload;
    // Per download, from auction id to (winner, count): new messages and new received ones.
    QMultiMap<QString, std::pair<QString, int>> newNaviCounts, newReceivedNaviCounts;
    QList<QPointer<DownloadThread>> downloadThreads;
    // The store of the running board download, made on the main connection at its start.
    std::shared_ptr<NaviStore> naviStore;
    // Transactions to download again at the end: (auction id, winner id).
    QList<std::pair<QString, QString>> naviReDownloadQueue;
    // The Julian day the site's month-and-day texts are read against; 0: the current date.
    qint64 naviTodayJulianDay = 0;
    struct TransactionDownload
    {
        QString aid, title, bidId;
    };
    QList<TransactionDownload> pendingTransactionNaviDownloads;

private:
    // A message post keeps the download commands and the login button off while it runs.
    void messagePostChanged(bool posting);
    ThreadNaviDownload* makeNaviDownloadThread(const QList<NaviWorkItem>& work, bool reDownload,
                                               bool showProgress);
    // The window's progress bar and the end-of-download store, handed to a listing thread.
    void wireListingThread(ListingDownloadThread* thread, std::function<void()> end);

    NaviSession& m_session;
    LoginControl& m_login;
    Window& m_window;
};
