#pragma once

#include <QString>

// The exchanges with the auction site that concern the seller's account: log in, log out, the
// logged-in account, the password re-confirmation notice, and a listing's end time from the
// item web service. Each operation makes its own requests (through html) and blocks its caller
// until they are answered; the login state is the site's cookie in the process's cookie store.
// Endpoints come from SiteEndpoints::load().
class htmlYahoo
{
public:
    htmlYahoo();
    virtual ~htmlYahoo();

    // Logs out first, then sends the login form over HTTPS. True when the site accepted it;
    // false when it asked to log in again or gave no answer.
    bool login(const QString& id, const QString& password);
    // Sends the logout form over plain HTTP; always true.
    bool logout();
    // The account the site's status page greets; empty when none is logged in (or no answer).
    QString getLoginId();
    // True when the status page asks for the password again; sets accountId.
    bool isPasswordReconfirmation();
    // The listing's end time between the web service's <endtime> tags, in the fixed-width form of
    // the common date routine; empty when it cannot be had. The request gives up after 5 s.
    QString getEndTime(const QString& auctionId);

    // The account named by the last re-confirmation notice; empty after construction.
    QString accountId;
};
