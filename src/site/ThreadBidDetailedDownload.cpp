#include "site/ThreadBidDetailedDownload.h"


ThreadBidDetailedDownload::ThreadBidDetailedDownload(NaviSession& session,
                                                     const QString& loginIdAtStart, int mode,
                                                     const QStringList& targetAids,
                                                     const ListingEndpoints& endpoints)
    : ListingDownloadThread(session, loginIdAtStart), m_mode(mode), m_targetAids(targetAids),
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
    handOverEnd(m_outcome.stopped);
}
