#pragma once

#include <QString>
#include <QStringList>

struct SiteEndpoints;

// Which cookies are the auction site's: those its browser would send to one of the site's hosts
// (the fixed hosts of the "Site" settings, the update server not among them, and the numbered
// item-page and feedback hosts under the auction domain). A cookie of the parent domain the
// site logs in on (".yahoo.co.jp") is the site's; a cookie of any other host is not.
class SiteCookieDomains
{
public:
    explicit SiteCookieDomains(const SiteEndpoints& site);

    // domain as a cookie holds it: "host" for a host-only cookie, ".domain" for a domain cookie.
    bool isSite(const QString& domain) const;

private:
    bool isNumberedHost(const QString& name) const;

    QStringList m_hosts;     // the fixed hosts, lower case, without ports
    QString m_auctionDomain; // the numbered hosts' domain, lower case, without a port
    QStringList m_numberPrefixes;
};
