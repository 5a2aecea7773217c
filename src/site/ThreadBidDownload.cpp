#include "site/ThreadBidDownload.h"


ThreadBidDownload::ThreadBidDownload(NaviSession& session, const QString& loginIdAtStart,
                                     const ClosedListingRequest& request,
                                     const ListingEndpoints& endpoints)
    : ListingDownloadThread(session, loginIdAtStart), m_request(request),
      m_endpoints(endpoints)
{
}

void ThreadBidDownload::run()
{
    const ListingDownloadCallbacks callbacks = callbacksToWindow();
    ClosedListingRun download(
        m_endpoints,
        &DownloadThread::fetchPage,
        [this] { return !checkPoint(); }, callbacks);
    m_outcome = download.run(m_request);
    handOverEnd(m_outcome.stopped);
}
