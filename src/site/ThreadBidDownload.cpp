#include "site/ThreadBidDownload.h"

#include "app/UnitNavi.h"
#include "site/html.h"

#include <QProgressBar>

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
        handOver([this, maximum] {
            m_navi->ProgressBar->setRange(0, maximum);
            m_navi->ProgressBar->setValue(0);
        });
    };
    callbacks.stepProgress = [this] {
        handOver([this] { m_navi->ProgressBar->setValue(m_navi->ProgressBar->value() + 1); });
    };
    ClosedListingRun download(
        m_endpoints,
        [](const QString& url) {
            html client;
            client.get(url);
            return client.responseText();
        },
        [this] { return !checkPoint(); }, callbacks);
    m_outcome = download.run(m_request);
    // A stopped download hands nothing over: the stop command has ended it already.
    if (m_outcome.stopped)
        return;
    handOver([this] { m_navi->endBidDownload(this); });
}
