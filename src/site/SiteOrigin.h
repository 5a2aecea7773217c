#pragma once

#include <QUrl>

// Whether an address is on the same scheme, host and port as a page of the site: a page the
// program fills in or submits on, or the target of a form it submits, must be.
namespace SiteOrigin {

// The scheme and the host compared without regard to case, the port with the scheme's default
// (80, 443) where none is written. False when either address has no host.
bool same(const QUrl& address, const QUrl& site);

// Whether the address is the site's own page moved from plain HTTP to HTTPS on the same host,
// both on their default ports: the site's pages are reached that way and are no less safe.
bool isSecureUpgrade(const QUrl& address, const QUrl& site);

} // namespace SiteOrigin
