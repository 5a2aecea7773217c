#include "site/ThreadBidDownload.h"

#include "app/UnitNavi.h"


ThreadBidDownload::ThreadBidDownload(TFormNavi* navi, const QString& loginIdAtStart,
                                     const ClosedListingRequest& request,
                                     const ListingEndpoints& endpoints)
    : ListingDownloadThread(navi, loginIdAtStart), m_request(request),
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
    // A stopped download hands nothing over: the stop command has ended it already.
    if (m_outcome.stopped)
        return;
    handOver([this] { navi()->endBidDownload(this); });
}
