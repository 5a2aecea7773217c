#pragma once

#include "site/DetailedListingRun.h"
#include "site/ListingDownloadThread.h"
#include "site/ListingEndpoints.h"

#include <QStringList>

class NaviSession;

// The detailed listing download on a worker thread: the selected listings (mode SelectedRows)
// or one instant-buy auction (mode InstantBuy). It hands progress and log lines over to the
// main window and, unless stopped, the end of the download to its end handler. The closed-listing download reads its detailed listings
// itself (DetailedListingRun in mode Nested) and needs no thread of this kind.
class ThreadBidDetailedDownload : public ListingDownloadThread
{
    Q_OBJECT
public:
    ThreadBidDetailedDownload(NaviSession& session, const QString& loginIdAtStart, int mode,
                              const QStringList& targetAids, const ListingEndpoints& endpoints);

    int mode() const { return m_mode; }
    const QStringList& targetAids() const { return m_targetAids; }
    // What the run collected; read by the store while the thread waits in its hand-over.
    const DetailedListingResult& outcome() const { return m_outcome; }

protected:
    void run() override;

private:
    int m_mode;
    QStringList m_targetAids;
    ListingEndpoints m_endpoints;
    DetailedListingResult m_outcome;
};
