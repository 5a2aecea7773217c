#include "site/ClosedListingRun.h"

#include "site/ListingTexts.h"

#include "site/ClosedListScanner.h"
#include "site/DetailedListingRun.h"

ClosedListingRun::ClosedListingRun(ListingEndpoints endpoints, PageFetcher fetch,
                                   StopCheck stopRequested, ListingDownloadCallbacks callbacks)
    : m_endpoints(std::move(endpoints)), m_fetch(std::move(fetch)),
      m_stopRequested(std::move(stopRequested)), m_callbacks(std::move(callbacks))
{
}

ClosedListingResult ClosedListingRun::run(const ClosedListingRequest& request)
{
    ClosedListingResult result;
    result.stopAid = request.stopAid;
    auto stopRequested = [this] { return m_stopRequested && m_stopRequested(); };
    auto fetch = [this](const QString& url) { return m_fetch ? m_fetch(url) : QString(); };
    const bool detailedEach =
        request.mode == ClosedListingRequest::NewOnly ? request.detailedNew : request.detailedAll;
    DetailedListingRun detailed(m_endpoints, m_fetch, m_stopRequested);

    ClosedListPage page = scanFirstClosedListPage(fetch(m_endpoints.closedListUrl(1)));
    // A failure before the listing loop leaves no page count; one inside it comes after the
    // listings read so far, which may still reach the stop listing.
    if (page.result != ClosedListPage::Read && page.pageCount == 0) {
        result.result = page.result;
        return result;
    }
    result.total = page.total;
    if (m_callbacks.initProgress)
        m_callbacks.initProgress(result.total);
    const int pageCount = page.pageCount;
    if (pageCount < 1) {
        result.result = ClosedListingResult::Finished;
        return result;
    }

    int index = 1;
    for (int pageNumber = 1;; ++pageNumber) {
        if (stopRequested()) {
            result.stopped = true;
            return result;
        }
        // A further page without a listing ends the run as the last page does: the total of
        // the first page is only what the site announced, and may be far off.
        if (pageNumber > 1 && page.result == ClosedListPage::Read && page.listings.isEmpty()) {
            result.result = ClosedListingResult::Finished;
            return result;
        }
        bool pageEndedEarly = false;
        for (const ClosedListing& listing : page.listings) {
            if (!request.stopAid.isEmpty() && listing.aid == request.stopAid) {
                result.result = ClosedListingResult::Finished;
                return result;
            }
            if (listing.allWinners || detailedEach) {
                const DetailedListingResult winners =
                    detailed.run(DetailedListingResult::Nested, {listing.aid});
                if (stopRequested()) {
                    result.stopped = true;
                    return result;
                }
                // A listing whose winners could not be read keeps what is stored of it; the
                // run goes on, so one broken item page does not stop every later download.
                if (winners.result != DetailedListingResult::Finished) {
                    result.unreadListings.append({listing.aid, index});
                    if (m_callbacks.logMessage)
                        m_callbacks.logMessage(listing.aid + ListingTexts::winnersUnreadable);
                }
                for (const DetailedListingRow& row : winners.rows)
                    result.rows.append({index, row.aid, listing.url, listing.title, row.price,
                                        row.bidId, row.quantity});
            } else {
                result.rows.append({index, listing.aid, listing.url, listing.title, listing.price,
                                    listing.bidId, QString()});
            }
            ++index;
            ++result.done;
            if (m_callbacks.stepProgress)
                m_callbacks.stepProgress();
            if (result.done == result.total) {
                pageEndedEarly = true;
                break;
            }
            if (stopRequested()) {
                result.stopped = true;
                return result;
            }
        }
        if (!pageEndedEarly && page.result != ClosedListPage::Read) {
            result.result = page.result;
            return result;
        }
        if (pageNumber >= pageCount) {
            result.result = ClosedListingResult::Finished;
            return result;
        }
        page = scanNextClosedListPage(fetch(m_endpoints.closedListUrl(pageNumber + 1)));
    }
}
