#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QSslConfiguration>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <utility>

class QThread;
class FakeSiteServer;

// A small web server on 127.0.0.1 that stands for the auction site in tests. One port serves
// both plain HTTP and HTTPS (the first byte of a connection tells which), so one "host:port"
// serves as every endpoint of the site. It runs on a thread of its own, because the client under
// test blocks the test's thread. Answers are set per method and path; every request is recorded.
class FakeSite
{
public:
    struct Request
    {
        QByteArray method;
        QByteArray target; // path and query as requested
        QList<std::pair<QByteArray, QByteArray>> headers;
        QByteArray body;
        bool secure = false;

        QByteArray path() const;                         // target without the query
        QByteArray query() const;                        // after the "?", empty when none
        QByteArray header(const QByteArray& name) const; // case-insensitive; empty when missing
        bool hasHeader(const QByteArray& name) const;
    };

    struct Response
    {
        int status = 200;
        QByteArray contentType = "text/html";             // empty: no Content-Type header
        QList<std::pair<QByteArray, QByteArray>> headers; // e.g. {"Set-Cookie", "..."}
        QByteArray body;
        int delayMs = 0;   // answer only after this long
        bool drop = false; // close the connection instead of answering
        int trickleMs = 0; // send the body one byte at a time, one every this many ms
        int cutAfter = -1; // send only this many bytes of the body, then close the connection
        bool untilClose = false; // no Content-Length: the body ends where the connection closes
    };

    using Handler = std::function<Response(const Request&)>;

    FakeSite();
    ~FakeSite();
    FakeSite(const FakeSite&) = delete;
    FakeSite& operator=(const FakeSite&) = delete;

    // Listens on 127.0.0.1 on a free port; false when that fails.
    bool start();
    quint16 port() const { return m_port; }
    QString host() const; // "127.0.0.1:port"
    QString httpUrl(const QString& pathAndQuery) const;
    QString httpsUrl(const QString& pathAndQuery) const;

    // The answer to method + path (the query is not part of the match). Paths without an answer
    // get 404 "Not Found".
    void setRoute(const QByteArray& method, const QByteArray& path, const Response& response);
    // An answer computed from the request (runs on the server's thread).
    void setHandler(const QByteArray& method, const QByteArray& path, const Handler& handler);

    QList<Request> requests() const;
    void clearRequests();
    // Connections accepted so far, whether or not a request came over them.
    int connectionCount() const;

    // Points every host of the site in the "Site" section of the data folder's setting.ini at
    // this server (the update server excepted) and trusts its test certificate.
    void useAsSite() const;

    static QString certificatePath();
    static QString keyPath();
    // The server side of TLS with the test certificate, as this server answers HTTPS.
    static QSslConfiguration serverTlsConfiguration();

private:
    friend class FakeSiteServer;
    Response answer(const Request& request);

    mutable QMutex m_mutex;
    std::map<std::pair<QByteArray, QByteArray>, Handler> m_handlers;
    QList<Request> m_requests;
    int m_connections = 0;
    QThread* m_thread = nullptr;
    FakeSiteServer* m_server = nullptr;
    quint16 m_port = 0;
};
