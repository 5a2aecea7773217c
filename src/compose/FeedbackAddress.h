#pragma once

#include <QString>

struct SiteEndpoints;

// Where feedback for a listing is left: the feedback-editing host with the number of the
// listing's item-page host, and the leave-feedback page of the winner and the auction.
namespace FeedbackAddress {

// The digits that follow the first occurrence of prefix in url and end at the next "." after
// it; empty when the prefix is missing or that text is not one or more ASCII digits.
QString hostNumber(const QString& url, const QString& prefix);

// "http://" + feedbackHostPrefix + N + "." + auctionDomain + "/jp/config/leavefeedback?t=" +
// winner + "&&aID=" + aid + "&&nr=1" (two ampersands as the site takes them; the two values
// percent-encoded, which leaves the site's plain ids unchanged). Empty when the listing's
// address gives no usable number.
QString leaveFeedbackUrl(const SiteEndpoints& site, const QString& listingUrl, const QString& bidId,
                         const QString& aid);

} // namespace FeedbackAddress
