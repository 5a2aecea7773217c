#pragma once

#include "compose/SilentWebPage.h"

#include <QUrl>

// The posting browser's page: silent, and its top-level document comes only from the scheme,
// host and port of the site page it was set to (or its HTTPS form on the same host). A top-level
// navigation anywhere else (a link, a script, a form, a server's redirect) is refused before any
// request goes out, and reported.
class SitePostingPage : public SilentWebPage
{
    Q_OBJECT
public:
    using SilentWebPage::SilentWebPage;

    // The page whose origin every top-level document must have; none refuses every navigation.
    void setSite(const QUrl& site) { m_site = site; }
    QUrl site() const { return m_site; }
    // Whether the document shown now is on the site.
    bool onSite() const;

signals:
    void leftSite(const QUrl& address);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    QUrl m_site;
};
