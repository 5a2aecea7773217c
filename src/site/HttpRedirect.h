#pragma once

#include <QUrl>

class QNetworkReply;

// Reading a redirect answer, for the clients that follow redirects themselves (the network
// thread, the file download) so that each is checked before anything is sent on.
namespace HttpRedirect {

// The statuses that send a request on: 301, 302, 303, 305, 307 and 308.
bool isRedirect(int status);
// Whether a redirect with that status asks for the new address by GET without the body (301,
// 302, 303 and 305); 307 and 308 send the request on as it is, method and body.
bool turnsIntoGet(int status);

// Where the reply's redirect sends its request: the Location header resolved against from, the
// address the reply answered. Empty when the reply is no redirect, ended with an error, or names
// no address.
QUrl target(const QNetworkReply* reply, const QUrl& from);

} // namespace HttpRedirect
