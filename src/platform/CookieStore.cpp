#include "platform/CookieStore.h"

#include "platform/SafeFileWriter.h"

#include <QDateTime>
#include <QFile>
#include <QUrl>

#include <algorithm>

CookieStore::CookieStore(const QString& filePath, QObject* parent)
    : QNetworkCookieJar(parent), m_filePath(filePath)
{
    qRegisterMetaType<QNetworkCookie>();
    load();
}

CookieStore::~CookieStore() = default;

QList<QNetworkCookie> CookieStore::cookies() const
{
    QMutexLocker lock(&m_mutex);
    return allCookies();
}

void CookieStore::insertOrReplace(const QNetworkCookie& cookie)
{
    QMutexLocker lock(&m_mutex);
    ++m_depth;
    QNetworkCookieJar::insertCookie(cookie);
    m_dirty = true;
    saveIfOutermost();
}

void CookieStore::save()
{
    QMutexLocker lock(&m_mutex);
    saveLocked();
}

int CookieStore::saveCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_saveCount;
}

QList<QNetworkCookie> CookieStore::cookiesForUrl(const QUrl& url) const
{
    QMutexLocker lock(&m_mutex);
    return QNetworkCookieJar::cookiesForUrl(url);
}

bool CookieStore::setCookiesFromUrl(const QList<QNetworkCookie>& cookieList, const QUrl& url)
{
    QList<QNetworkCookie> accepted;
    {
        QMutexLocker lock(&m_mutex);
        ++m_depth;
        // One cookie at a time, so that each one that is kept can be reported, as it is held
        // (domain and path filled in from the address). An expired cookie that removed one is
        // reported too: it is the answer's deletion.
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (const QNetworkCookie& cookie : cookieList) {
            QNetworkCookie held = cookie;
            held.normalize(url);
            const bool deletion = !held.isSessionCookie() && held.expirationDate() < now;
            const qsizetype before = allCookies().size();
            if (QNetworkCookieJar::setCookiesFromUrl({cookie}, url) ||
                (deletion && allCookies().size() < before))
                accepted.append(held);
        }
        saveIfOutermost();
    }
    for (const QNetworkCookie& cookie : accepted)
        emit cookieAdded(cookie);
    return !accepted.isEmpty();
}

bool CookieStore::insertCookie(const QNetworkCookie& cookie)
{
    QMutexLocker lock(&m_mutex);
    ++m_depth;
    const bool inserted = QNetworkCookieJar::insertCookie(cookie);
    m_dirty = true;
    saveIfOutermost();
    return inserted;
}

bool CookieStore::updateCookie(const QNetworkCookie& cookie)
{
    QMutexLocker lock(&m_mutex);
    ++m_depth;
    const bool updated = QNetworkCookieJar::updateCookie(cookie);
    m_dirty = m_dirty || updated;
    saveIfOutermost();
    return updated;
}

bool CookieStore::deleteCookie(const QNetworkCookie& cookie)
{
    QMutexLocker lock(&m_mutex);
    ++m_depth;
    const bool deleted = QNetworkCookieJar::deleteCookie(cookie);
    m_dirty = m_dirty || deleted;
    saveIfOutermost();
    return deleted;
}

// Called with the mutex held, after a change; the file is written at most once per outer
// operation, and only when the persistent cookies differ from the file in more than expiry.
void CookieStore::saveIfOutermost()
{
    if (--m_depth > 0 || !m_dirty)
        return;
    if (persistentKeysLocked() != m_savedKeys)
        saveLocked();
}

// Each persistent cookie still valid, as its full raw form without the expiry.
QList<QByteArray> CookieStore::persistentKeysLocked() const
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<QByteArray> keys;
    for (QNetworkCookie cookie : allCookies()) {
        if (cookie.isSessionCookie() || cookie.expirationDate() <= now)
            continue;
        cookie.setExpirationDate(QDateTime());
        keys.append(cookie.toRawForm(QNetworkCookie::Full));
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

void CookieStore::load()
{
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<QNetworkCookie> kept;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty())
            continue;
        for (const QNetworkCookie& cookie : QNetworkCookie::parseCookies(line)) {
            if (!cookie.isSessionCookie() && cookie.expirationDate() > now)
                kept.append(cookie);
        }
    }
    QMutexLocker lock(&m_mutex);
    setAllCookies(kept);
    m_savedKeys = persistentKeysLocked();
}

void CookieStore::saveLocked()
{
    if (m_filePath.isEmpty())
        return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QByteArray bytes;
    for (const QNetworkCookie& cookie : allCookies()) {
        if (cookie.isSessionCookie() || cookie.expirationDate() <= now)
            continue;
        bytes += cookie.toRawForm(QNetworkCookie::Full);
        bytes += '\n';
    }
    QString error;
    if (!SafeFileWriter::writeWholeFile(m_filePath, bytes, &error,
                                        SafeFileWriter::Access::OwnerOnly)) {
        // The old file stays; the store stays unsaved, so the next change or save() tries again.
        qWarning("cookies not saved to %s: %s", qPrintable(m_filePath), qPrintable(error));
        return;
    }
    ++m_saveCount;
    m_dirty = false;
    m_savedKeys = persistentKeysLocked();
}
