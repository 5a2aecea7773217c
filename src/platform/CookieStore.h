#pragma once

#include <QList>
#include <QRecursiveMutex>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QString>

// The process-wide cookie jar behind every request of the network thread. Every access is
// guarded, so other threads may read or insert cookies while requests run. Persistent cookies
// are kept in a file (written 0600 after every change), so a persistent login outlives the
// program; session cookies live only in memory.
class CookieStore : public QNetworkCookieJar
{
    Q_OBJECT

public:
    // Reads the persistent cookies of filePath (if it exists); expired ones are dropped.
    explicit CookieStore(const QString& filePath, QObject* parent = nullptr);
    ~CookieStore() override;

    QString filePath() const { return m_filePath; }

    // Every cookie held, session cookies included.
    QList<QNetworkCookie> cookies() const;
    // Adds or replaces a cookie without emitting cookieAdded (for mirroring in from elsewhere).
    void insertOrReplace(const QNetworkCookie& cookie);
    // Writes the persistent cookies to the file now.
    void save() const;

    QList<QNetworkCookie> cookiesForUrl(const QUrl& url) const override;
    bool setCookiesFromUrl(const QList<QNetworkCookie>& cookieList, const QUrl& url) override;
    bool insertCookie(const QNetworkCookie& cookie) override;
    bool updateCookie(const QNetworkCookie& cookie) override;
    bool deleteCookie(const QNetworkCookie& cookie) override;

signals:
    // A cookie that an answer set (emitted on the network thread; connect queued).
    void cookieAdded(const QNetworkCookie& cookie);

private:
    void load();
    void saveLocked() const;
    void saveIfOutermost();

    QString m_filePath;
    // Recursive: the jar's own operations call the overridden ones.
    mutable QRecursiveMutex m_mutex;
    int m_depth = 0;
    bool m_dirty = false;
};
