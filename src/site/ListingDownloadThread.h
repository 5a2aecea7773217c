#pragma once

#include "site/DownloadThread.h"
#include "site/ListingDownload.h"

#include <functional>

class NaviSession;

// The base of the two listing download threads: their log lines reach the session's log, their
// progress and their end of download the handlers the starter sets, all through hand-overs.
class ListingDownloadThread : public DownloadThread
{
    Q_OBJECT
public:
    ListingDownloadThread(NaviSession& session, const QString& loginIdAtStart);

    // Set before the start; a handler left unset is skipped.
    void setProgressHandlers(std::function<void(int maximum)> start, std::function<void()> step);
    // The end-of-download store, run on the GUI thread while the thread waits; not run for a
    // stopped download.
    void setEndHandler(std::function<void()> end);

protected:
    ListingDownloadCallbacks callbacksToWindow();
    // Hands the end of the download over, unless the run was stopped.
    void handOverEnd(bool stopped);

private:
    NaviSession& m_session;
    std::function<void(int)> m_progressStart;
    std::function<void()> m_progressStep;
    std::function<void()> m_end;
};
