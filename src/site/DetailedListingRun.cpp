#include "site/DetailedListingRun.h"

#include "site/ItemPageScanner.h"
#include "site/ListingTexts.h"

DetailedListingRun::DetailedListingRun(ListingEndpoints endpoints, PageFetcher fetch,
                                       StopCheck stopRequested, ListingDownloadCallbacks callbacks)
    : m_endpoints(std::move(endpoints)), m_fetch(std::move(fetch)),
      m_stopRequested(std::move(stopRequested)), m_callbacks(std::move(callbacks))
{
}

DetailedListingResult DetailedListingRun::run(int mode, const QStringList& targetAids)
{
    DetailedListingResult result;
    result.mode = mode;
    const bool reports = mode != DetailedListingResult::Nested;
    auto stopRequested = [this] { return m_stopRequested && m_stopRequested(); };

    if (reports && m_callbacks.initProgress)
        m_callbacks.initProgress(int(targetAids.size()));
    for (const QString& aid : targetAids) {
        if (stopRequested()) {
            result.stopped = true;
            return result;
        }
        const QString url = m_endpoints.itemUrl(aid);
        const QString text = m_fetch ? m_fetch(url) : QString();
        const bool instantBuy = mode == DetailedListingResult::InstantBuy;
        const ItemPage page = scanItemPage(text, instantBuy);
        if (stopRequested()) {
            result.stopped = true;
            return result;
        }
        if (page.result != ItemPage::Read) {
            // The auction being read is dropped whole; the ones before it stand.
            result.result = page.result;
            return result;
        }
        if (page.noWinnersTable && m_callbacks.logMessage)
            m_callbacks.logMessage(aid + QString::fromUtf16(ListingTexts::noWinnersSuffix));
        for (const ItemWinner& winner : page.winners)
            result.rows.append({aid, winner.quantity, winner.price, winner.bidId,
                                instantBuy ? page.title : QString(), url});
        result.finishedAids.append(aid);
        if (reports && m_callbacks.stepProgress)
            m_callbacks.stepProgress();
    }
    return result;
}
