#pragma once

#include "site/ListingDownload.h"
#include "site/ListingEndpoints.h"

#include <QList>
#include <QString>

// One row of a closed-listing download: a listing with one of its winners.
struct ClosedListingRow
{
    int index = 0; // 1 for the newest listing; every winner of a listing shares it
    QString aid;
    QString url;
    QString title;
    QString price; // as the page writes it
    QString bidId;
    QString quantity; // empty unless the listing was read through its item page
};

struct ClosedListingRequest
{
    enum Mode { NewOnly = 0, All = 1 };
    int mode = All;
    // Reading stops at this auction (the newest one stored); empty: read every page.
    QString stopAid;
    // The settings that read every listing through its item page, per mode.
    bool detailedAll = false; // bidDownloadDetailed, all-listings runs
    bool detailedNew = false; // bidDownloadNowDetailed, new-only runs
};

struct ClosedListingResult
{
    enum Result { Finished = 0, NotRecognised = 1, LimitReached = 2, NothingToDownload = 3 };
    int result = Finished;
    // The thread was asked to stop: nothing is handed over.
    bool stopped = false;
    int total = 0; // listings the first page announces
    int done = 0;  // listings read; the index shift of a new-only store
    QString stopAid;
    QList<ClosedListingRow> rows;
    // Listings whose winners page could not be read, with the index they had in this run: their
    // stored rows stay as they are (they are neither rewritten nor marked deleted).
    QList<std::pair<QString, int>> unreadListings;
};

// The closed-listing download: reads the closed-listings pages one after another and, for a
// listing with several winners (or every listing when the settings ask), its item page through
// a nested detailed read on the same thread.
class ClosedListingRun
{
public:
    ClosedListingRun(ListingEndpoints endpoints, PageFetcher fetch, StopCheck stopRequested,
                     ListingDownloadCallbacks callbacks = {});

    ClosedListingResult run(const ClosedListingRequest& request);

private:
    ListingEndpoints m_endpoints;
    PageFetcher m_fetch;
    StopCheck m_stopRequested;
    ListingDownloadCallbacks m_callbacks;
};
