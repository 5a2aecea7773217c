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
    emit leftSite(url);
    return false;
}
