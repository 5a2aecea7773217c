#include "site/ThreadBidDetailedDownload.h"

#include "app/UnitNavi.h"


ThreadBidDetailedDownload::ThreadBidDetailedDownload(TFormNavi* navi,
                                                     const QString& loginIdAtStart, int mode,
                                                     const QStringList& targetAids,
                                                     const ListingEndpoints& endpoints)
    : DownloadThread(navi, loginIdAtStart), m_navi(navi), m_mode(mode), m_targetAids(targetAids),
      m_endpoints(endpoints)
{
}

void ThreadBidDetailedDownload::run()
{
    ListingDownloadCallbacks callbacks;
    callbacks.initProgress = [this](int maximum) {
        handOver([this, maximum] { m_navi->progressStart(maximum); });
    };
    callbacks.stepProgress = [this] {
        handOver([this] { m_navi->progressStep(); });
    };
    callbacks.logMessage = [this](const QString& line) {
        handOver([this, line] { m_navi->addLogMessage(line); });
    };
    DetailedListingRun download(
        m_endpoints,
        &DownloadThread::fetchPage,
        [this] { return !checkPoint(); }, callbacks);
    m_outcome = download.run(m_mode, m_targetAids);
    // A stopped download hands nothing over: the stop command has ended it already.
    if (m_outcome.stopped)
        return;
    handOver([this] { m_navi->endBidDetailedDownload(this); });
}
