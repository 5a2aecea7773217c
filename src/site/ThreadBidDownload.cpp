#include "site/ThreadBidDownload.h"

#include "app/UnitNavi.h"


ThreadBidDownload::ThreadBidDownload(TFormNavi* navi, const QString& loginIdAtStart,
                                     const ClosedListingRequest& request,
                                     const ListingEndpoints& endpoints)
    : DownloadThread(navi, loginIdAtStart), m_navi(navi), m_request(request),
      m_endpoints(endpoints)
{
}

void ThreadBidDownload::run()
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
    ClosedListingRun download(
        m_endpoints,
        &DownloadThread::fetchPage,
        [this] { return !checkPoint(); }, callbacks);
    m_outcome = download.run(m_request);
    // A stopped download hands nothing over: the stop command has ended it already.
    if (m_outcome.stopped)
        return;
    handOver([this] { m_navi->endBidDownload(this); });
}
