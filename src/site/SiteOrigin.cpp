#include "site/SiteOrigin.h"

namespace {

int defaultPort(const QString& scheme)
{
    if (scheme == QLatin1String("http"))
        return 80;
    if (scheme == QLatin1String("https"))
        return 443;
    return -1;
}

} // namespace

namespace SiteOrigin {

bool same(const QUrl& address, const QUrl& site)
{
    if (!address.isValid() || !site.isValid() || address.host().isEmpty())
        return false;
    const QString scheme = address.scheme().toLower();
    return scheme == site.scheme().toLower() &&
           address.host().compare(site.host(), Qt::CaseInsensitive) == 0 &&
           address.port(defaultPort(scheme)) == site.port(defaultPort(scheme));
}

bool isSecureUpgrade(const QUrl& address, const QUrl& site)
{
    if (!address.isValid() || !site.isValid() || address.host().isEmpty())
        return false;
    return address.scheme().toLower() == QLatin1String("https") &&
           site.scheme().toLower() == QLatin1String("http") &&
           address.host().compare(site.host(), Qt::CaseInsensitive) == 0 &&
           address.port(443) == 443 && site.port(80) == 80;
}

} // namespace SiteOrigin
