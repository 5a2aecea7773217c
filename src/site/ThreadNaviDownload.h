#pragma once

#include "site/DownloadThread.h"
#include "site/NaviDownloadRun.h"

#include <QList>

#include <functional>

// The message-board download thread: fetches the boards of its work list and the pages of
// their new messages, and hands each board, the log lines, the progress and the end over to the
// main window. The work list, the addresses and the hand-over targets are given at
// construction on the GUI thread; the thread reads nothing else of the main window.
class ThreadNaviDownload : public DownloadThread
{
    Q_OBJECT
public:
    // Every function runs on the GUI thread, while the thread waits.
    struct GuiSide
    {
        // Stores one board; false on a database error (the download then ends with result 1).
        std::function<bool(const NaviBoard& board)> store;
        std::function<void(const QString& line)> log;
        std::function<void(int count)> progressStart; // empty: no progress bar
        std::function<void()> progressStep;
        // The end of the download with its result code; not run after a stop.
        std::function<void(ThreadNaviDownload* thread, int result)> finish;
    };

    ThreadNaviDownload(QObject* guiTarget, const QString& loginIdAtStart, NaviSiteUrls urls,
                       QList<NaviWorkItem> work, GuiSide gui);

    const QList<NaviWorkItem>& work() const { return m_work; }
    // The end result (NaviDownloadRun::Result); valid once the run has ended.
    int result() const { return m_result; }

protected:
    void run() override;

private:
    NaviSiteUrls m_urls;
    QList<NaviWorkItem> m_work;
    GuiSide m_gui;
    int m_result = NaviDownloadRun::Finished;
};
