#pragma once

#include "site/ClosedListingRun.h"
#include "site/ListingDownloadThread.h"
#include "site/ListingEndpoints.h"

class NaviSession;

// The closed-listing download on a worker thread: reads the closed-listings pages (and the item
// pages of the listings read in detail, as plain calls on this thread), hands progress over to
// the main window and, unless stopped, hands the end of the download to its end handler.
// Everything it reads is given at construction.
class ThreadBidDownload : public ListingDownloadThread
{
    Q_OBJECT
public:
    ThreadBidDownload(NaviSession& session, const QString& loginIdAtStart,
                      const ClosedListingRequest& request, const ListingEndpoints& endpoints);

    const ClosedListingRequest& request() const { return m_request; }
    // What the run collected; read by the store while the thread waits in its hand-over.
    const ClosedListingResult& outcome() const { return m_outcome; }

protected:
    void run() override;

private:
    ClosedListingRequest m_request;
    ListingEndpoints m_endpoints;
    ClosedListingResult m_outcome;
};
