#include "compose/SitePostingPage.h"

#include "site/SiteOrigin.h"

bool SitePostingPage::onSite() const
{
    return SiteOrigin::same(url(), m_site);
}

bool SitePostingPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame)
{
    // A frame's documents are not what the steps read or fill.
    if (!isMainFrame || SiteOrigin::same(url, m_site))
        return true;
    // From then on the site is its HTTPS origin, so the steps and their forms follow it and a
    // way back to plain HTTP is refused like any other host.
    if (SiteOrigin::isSecureUpgrade(url, m_site)) {
        m_site = url;
        return true;
    }
    emit leftSite(url);
    return false;
}
