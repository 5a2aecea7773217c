#pragma once

#include "site/ListingDownload.h"
#include "site/ListingEndpoints.h"

#include <QList>
#include <QString>
#include <QStringList>

// One winner row read from an item page.
struct DetailedListingRow
{
    QString aid;
    QString quantity; // as the page writes it
    QString price;    // as the page writes it
    QString bidId;
    QString title; // instant-buy reads only
    QString url;   // the item page
};

struct DetailedListingResult
{
    enum Result { Finished = 0, NotRecognised = 1, LimitReached = 2 };
    enum Mode { SelectedRows = 0, InstantBuy = 1, Nested = 2 };
    int mode = SelectedRows;
    int result = Finished;
    // The thread was asked to stop: nothing is handed over.
    bool stopped = false;
    // The rows of the auctions whose read finished, auction after auction.
    QList<DetailedListingRow> rows;
    // The auctions whose item page was read to its end, in order (with or without winners).
    QStringList finishedAids;
};

// The detailed listing download: reads the item page of each target auction and collects its
// winners. The thread that runs it passes the stop check; mode Nested reports no progress.
class DetailedListingRun
{
public:
    DetailedListingRun(ListingEndpoints endpoints, PageFetcher fetch, StopCheck stopRequested,
                       ListingDownloadCallbacks callbacks = {});

    DetailedListingResult run(int mode, const QStringList& targetAids);

private:
    ListingEndpoints m_endpoints;
    PageFetcher m_fetch;
    StopCheck m_stopRequested;
    ListingDownloadCallbacks m_callbacks;
};
