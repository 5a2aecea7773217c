#pragma once

#include "FakeSite.h"

#include <QString>

// Pages of the auction site's account operations, written for the tests from the site's
// marker texts, and served in the site's code (Shift_JIS).
namespace SitePages {

FakeSite::Response page(const QString& text);
QString statusPage(const QString& loginId); // "こんにちは、 id さん"; empty id: not logged in
QString reconfirmationPage(const QString& loginId);
QString loginAcceptedPage();
QString loginRefusedPage();
// Routes the status page (logged in as loginId, or not at all) and the login form's answer.
void serveAccount(FakeSite& site, const QString& loginId, bool loginAccepted = true);
// The login forms posted to the site over TLS, in order.
QList<FakeSite::Request> loginPosts(const FakeSite& site);

} // namespace SitePages
