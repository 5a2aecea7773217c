#include "site/ListingDownloadThread.h"

#include "common/NaviSession.h"

ListingDownloadThread::ListingDownloadThread(NaviSession& session, const QString& loginIdAtStart)
    : DownloadThread(&session, loginIdAtStart), m_session(session)
{
}

void ListingDownloadThread::setProgressHandlers(std::function<void(int)> start,
                                                std::function<void()> step)
{
    m_progressStart = std::move(start);
    m_progressStep = std::move(step);
}

void ListingDownloadThread::setEndHandler(std::function<void()> end)
{
    m_end = std::move(end);
}

ListingDownloadCallbacks ListingDownloadThread::callbacksToWindow()
{
    ListingDownloadCallbacks callbacks;
    callbacks.initProgress = [this](int maximum) {
        handOver([this, maximum] {
            if (m_progressStart)
                m_progressStart(maximum);
        });
    };
    callbacks.stepProgress = [this] {
        handOver([this] {
            if (m_progressStep)
                m_progressStep();
        });
    };
    callbacks.logMessage = [this](const QString& line) {
        handOver([this, line] { m_session.addLogMessage(line); });
    };
    return callbacks;
}

void ListingDownloadThread::handOverEnd(bool stopped)
{
    // A stopped download hands nothing over: the stop command has ended it already.
    if (stopped || !m_end)
        return;
    handOver(m_end);
}
