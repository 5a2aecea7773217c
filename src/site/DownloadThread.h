#pragma once

#include <QMutex>
#include <QObject>
#include <QString>
#include <QThread>
#include <QWaitCondition>

#include <functional>

// The base of the download threads. A thread reads only its own work lists; everything it
// gives the main window (progress, log lines, stores) runs on the GUI thread through a
// blocking hand-over. The GUI thread can hold the thread at a gate (while it asks whether to
// stop): no hand-over runs while the gate is closed or a modal dialog is open, and none runs
// after a stop request. A hand-over that reached the GUI thread runs once, also when it throws.
class DownloadThread : public QThread
{
    Q_OBJECT
public:
    // guiTarget: an object living on the GUI thread, in whose thread the hand-overs run.
    DownloadThread(QObject* guiTarget, const QString& loginIdAtStart);
    ~DownloadThread() override;

    // GUI thread only.
    void hold();
    void release();
    bool isHeld() const;
    // Asks the thread to end at its next check; opens the gate so it can get there. A request
    // under way ends early (the HTTP client watches the thread's interruption flag).
    void requestStop();

    // The account the download started under: every row it stores is stamped with it.
    QString loginIdAtStart() const { return m_loginIdAtStart; }

    // One page of the site as text, empty when the request failed; the page fetcher of every
    // download (it ends early when the calling thread is asked to stop).
    static QString fetchPage(const QString& url);

protected:
    // Waits while the gate is closed; false once a stop was requested.
    bool checkPoint();
    // Runs fn on the GUI thread and waits for it; false once a stop was requested (fn not run)
    // or when fn threw (the run is then asked to stop, see handOverFailed).
    bool handOver(const std::function<void()>& fn);

signals:
    // Emitted on the GUI thread when a hand-over threw: it is not run again, the thread is
    // asked to stop and hands nothing more over. The receiver restores the window and reports
    // the error.
    void handOverFailed(const QString& message);

private:
    void runOnGuiThread(const std::function<void()>& fn);

    QObject* m_guiTarget;
    QString m_loginIdAtStart;
    static constexpr unsigned long modalRetryMs = 50;
    mutable QMutex m_mutex;
    QWaitCondition m_gateOpened;
    bool m_held = false;
};
