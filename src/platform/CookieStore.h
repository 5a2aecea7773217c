#pragma once

#include <QList>
#include <QRecursiveMutex>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QString>

// The process-wide cookie jar behind every request of the network thread. Every access is
// guarded, so other threads may read or insert cookies while requests run. Persistent cookies
// are kept in a file (0600), so a persistent login outlives the program; session cookies live
// only in memory. The file is written when a persistent cookie is added, removed or changes its
// value or attributes, not when an answer sets a session cookie or repeats a persistent one; a
// persistent cookie whose expiry alone moved is written by the next save() (at program end).
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
    void save();
    // How many times the file has been written since the store was made.
    int saveCount() const;

    QList<QNetworkCookie> cookiesForUrl(const QUrl& url) const override;
    bool setCookiesFromUrl(const QList<QNetworkCookie>& cookieList, const QUrl& url) override;
    bool insertCookie(const QNetworkCookie& cookie) override;
    bool updateCookie(const QNetworkCookie& cookie) override;
    bool deleteCookie(const QNetworkCookie& cookie) override;

signals:
    // A cookie that an answer set, with its domain and path as held, or an expired one that an
    // answer used to delete a held cookie (emitted on the network thread; connect queued).
    void cookieAdded(const QNetworkCookie& cookie);

private:
    void load();
    void saveLocked();
    void saveIfOutermost();
    QList<QByteArray> persistentKeysLocked() const;

    QString m_filePath;
    // Recursive: the jar's own operations call the overridden ones.
    mutable QRecursiveMutex m_mutex;
    int m_depth = 0;
    bool m_dirty = false; // the cookies may differ from the file
    // The persistent cookies as last read or written, each without its expiry, sorted.
    QList<QByteArray> m_savedKeys;
    int m_saveCount = 0;
};
