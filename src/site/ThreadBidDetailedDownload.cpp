#include "site/ThreadBidDetailedDownload.h"

#include "app/UnitNavi.h"


ThreadBidDetailedDownload::ThreadBidDetailedDownload(TFormNavi* navi,
                                                     const QString& loginIdAtStart, int mode,
                                                     const QStringList& targetAids,
                                                     const ListingEndpoints& endpoints)
    : ListingDownloadThread(navi, loginIdAtStart), m_mode(mode), m_targetAids(targetAids),
      m_endpoints(endpoints)
{
}

void ThreadBidDetailedDownload::run()
{
    const ListingDownloadCallbacks callbacks = callbacksToWindow();
    DetailedListingRun download(
        m_endpoints,
        &DownloadThread::fetchPage,
        [this] { return !checkPoint(); }, callbacks);
    m_outcome = download.run(m_mode, m_targetAids);
    // A stopped download hands nothing over: the stop command has ended it already.
    if (m_outcome.stopped)
        return;
    handOver([this] { navi()->endBidDetailedDownload(this); });
}
