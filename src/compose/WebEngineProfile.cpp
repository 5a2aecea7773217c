#include "compose/WebEngineProfile.h"

#include "platform/CookieStore.h"
#include "site/NetworkThread.h"
#include "site/SiteCookieDomains.h"
#include "site/SiteEndpoints.h"

#include <QCoreApplication>
#include <QNetworkCookie>
#include <QPointer>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

namespace {

// Keeps the engine's cookie store and the CookieStore equal for the auction site's cookies. The
// CookieStore reports the cookies that answers set (on the network thread, so the report arrives
// queued), and each is copied into the engine; the engine reports its own additions and removals,
// the echoes of our copies included, and only those of the site's domains reach the CookieStore
// (and so cookies.txt): a page's cookies of other hosts stay in the engine.
class CookieMirror : public QObject
{
public:
    CookieMirror(QWebEngineProfile* profile, CookieStore* store)
        : QObject(profile), m_engine(profile->cookieStore()), m_store(store)
    {
        connect(store, &CookieStore::cookieAdded, this, &CookieMirror::copyToEngine,
                Qt::QueuedConnection);
        connect(m_engine, &QWebEngineCookieStore::cookieAdded, this, &CookieMirror::engineAdded);
        connect(m_engine, &QWebEngineCookieStore::cookieRemoved, this,
                &CookieMirror::engineRemoved);
        for (const QNetworkCookie& cookie : store->cookies())
            copyToEngine(cookie);
    }

private:
    void copyToEngine(const QNetworkCookie& cookie)
    {
        const QString domain = cookie.domain();
        if (domain.isEmpty() || cookie.name().isEmpty())
            return;
        // A domain without the leading dot is a host-only cookie: the engine keeps it so when
        // it gets no domain attribute and the host as its origin.
        const bool hostOnly = !domain.startsWith(u'.');
        const QString host = hostOnly ? domain : domain.mid(1);
        QNetworkCookie copy = cookie;
        if (hostOnly)
            copy.setDomain(QString());
        const QUrl origin(
            QStringLiteral("%1://%2/")
                .arg(cookie.isSecure() ? QStringLiteral("https") : QStringLiteral("http"), host));
        m_engine->setCookie(copy, origin);
    }

    void engineAdded(const QNetworkCookie& cookie)
    {
        if (!m_store)
            return;
        for (const QNetworkCookie& held : m_store->cookies())
            if (held.hasSameIdentifier(cookie) && held.value() == cookie.value() &&
                held.expirationDate() == cookie.expirationDate())
                return; // our own copy coming back
        if (isSiteCookie(cookie))
            m_store->insertOrReplace(cookie);
    }

    void engineRemoved(const QNetworkCookie& cookie)
    {
        if (!m_store || !isSiteCookie(cookie))
            return;
        // An overwrite in the engine reports the old cookie removed: when the store already
        // holds another value (the one we copied in), the store's cookie stays.
        for (const QNetworkCookie& held : m_store->cookies())
            if (held.hasSameIdentifier(cookie) && held.value() == cookie.value()) {
                m_store->deleteCookie(held);
                return;
            }
    }

    // Read from the settings each time, so the hosts are those in force when the page set it.
    static bool isSiteCookie(const QNetworkCookie& cookie)
    {
        return SiteCookieDomains(SiteEndpoints::load()).isSite(cookie.domain());
    }

    QWebEngineCookieStore* m_engine;
    QPointer<CookieStore> m_store;
};

struct Shared
{
    QPointer<QWebEngineProfile> profile;
    QPointer<CookieStore> store;
};

Shared& shared()
{
    static Shared instance;
    return instance;
}

} // namespace

namespace WebEngineProfile {

QWebEngineProfile* shared()
{
    Shared& current = ::shared();
    CookieStore* store = NetworkThread::instance().cookieStore();
    if (current.profile && current.store == store)
        return current.profile;
    delete current.profile.data();
    // No storage name: off the record.
    auto* profile = new QWebEngineProfile(QCoreApplication::instance());
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    new CookieMirror(profile, store);
    current.profile = profile;
    current.store = store;
    return profile;
}

} // namespace WebEngineProfile
