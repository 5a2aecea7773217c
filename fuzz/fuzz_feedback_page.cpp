// Feeds arbitrary bytes to the confirmation check and the feedback address: the first line of
// the input is the rating looked for (or the listing address), the rest the page. Neither may
// crash; a confirmed rating stands in the page, and an address is made only from a number of
// digits that the listing address holds after the item-page prefix.
#include "compose/FeedbackAddress.h"
#include "compose/FeedbackRating.h"
#include "site/SiteEndpoints.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = input.indexOf(u'\n');
    const QString first = split < 0 ? input : input.left(split);
    const QString page = split < 0 ? QString() : input.mid(split + 1);

    if (FeedbackRating::confirms(page, first) && !page.contains(first))
        std::abort();
    for (const QString& rating : FeedbackRating::texts())
        FeedbackRating::confirms(page, rating);

    static const SiteEndpoints site = SiteEndpoints::defaults();
    const QString number = FeedbackAddress::hostNumber(first, site.itemPagePrefix);
    for (const QChar c : number)
        if (c < u'0' || c > u'9')
            std::abort();
    if (!number.isEmpty() && !first.contains(site.itemPagePrefix + number + u'.'))
        std::abort();
    const QString address = FeedbackAddress::leaveFeedbackUrl(site, first, page.left(32), "x1");
    if (address.isEmpty() != number.isEmpty())
        std::abort();
    if (!address.isEmpty() &&
        !address.startsWith("http://" + site.feedbackHostPrefix + number + u'.' +
                            site.auctionDomain + "/jp/config/leavefeedback?t="))
        std::abort();
    return 0;
}
