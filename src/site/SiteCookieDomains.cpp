#include "site/SiteCookieDomains.h"

#include "site/SiteEndpoints.h"

#include <QUrl>

namespace {

// A host of the settings ("name" or "name:port") as a cookie names it: lower case, no port.
QString hostName(const QString& host)
{
    if (host.isEmpty())
        return QString();
    return QUrl(QStringLiteral("http://") + host).host().toLower();
}

// Whether a cookie for domain is sent to host: the host itself or a name under it.
bool covers(const QString& domain, const QString& host)
{
    return !host.isEmpty() &&
           (host == domain || (host.endsWith(domain) && host.size() > domain.size() &&
                               host.at(host.size() - domain.size() - 1) == u'.'));
}

} // namespace

SiteCookieDomains::SiteCookieDomains(const SiteEndpoints& site)
{
    for (const QString* host :
         {&site.loginHost, &site.portalHost, &site.accountHost, &site.closedListHost,
          &site.itemHost, &site.profileHost, &site.webServiceHost}) {
        const QString name = hostName(*host);
        if (!name.isEmpty())
            m_hosts << name;
    }
    m_auctionDomain = hostName(site.auctionDomain);
    for (const QString& prefix : {site.itemPagePrefix, site.feedbackHostPrefix})
        if (!prefix.isEmpty())
            m_numberPrefixes << prefix.toLower();
}

bool SiteCookieDomains::isSite(const QString& domain) const
{
    QString name = domain.toLower();
    if (name.startsWith(u'.'))
        name.remove(0, 1);
    if (name.isEmpty())
        return false;
    for (const QString& host : m_hosts)
        if (covers(name, host))
            return true;
    // Some numbered host lies under the cookie's domain, or the cookie is one host's own.
    return covers(name, m_auctionDomain) || isNumberedHost(name);
}

bool SiteCookieDomains::isNumberedHost(const QString& name) const
{
    if (m_auctionDomain.isEmpty() || !name.endsWith(u'.' + m_auctionDomain))
        return false;
    const QString label = name.left(name.size() - m_auctionDomain.size() - 1);
    for (const QString& prefix : m_numberPrefixes) {
        if (!label.startsWith(prefix) || label.size() == prefix.size())
            continue;
        bool digits = true;
        for (qsizetype i = prefix.size(); i < label.size(); ++i)
            digits = digits && label.at(i) >= u'0' && label.at(i) <= u'9';
        if (digits)
            return true;
    }
    return false;
}
