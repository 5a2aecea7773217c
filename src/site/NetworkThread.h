#pragma once

#include "site/SiteEndpoints.h"

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QUrl>

#include <functional>
#include <memory>
#include <utility>

class CookieStore;
class QNetworkAccessManager;
class QNetworkReply;
class QObject;
class QThread;

// One request as the network thread sends it.
struct NetworkRequest
{
    QByteArray verb = "GET"; // "GET" or "POST"
    QUrl url;
    QList<std::pair<QByteArray, QByteArray>> headers; // sent as they stand
    QByteArray body;
    QByteArray userAgent;       // empty: no agent of our own
    bool reload = false;        // ask every cache on the way for a fresh copy
    bool keepAlive = false;     // false: the connection is closed after the answer
    int timeoutMs = 30000;      // the request ends when nothing moves for this long
    int totalTimeoutMs = 60000; // ... or when it has run this long in all
    qint64 maxBodyBytes = qint64(8) * 1024 * 1024; // ... or when the body grows past this size
};

// What came back. A request that got no whole HTTP answer (unreachable host, time-out, dropped
// connection, TLS failure, stop request, a body past its bound or one that cannot be decoded, a
// redirect that is not followed, see NetworkThread::redirectAllowed) has answered == false and an
// empty body; an HTTP error status is an answer like any other and keeps its body.
struct NetworkAnswer
{
    bool answered = false;
    int status = 0;
    QByteArray body;
    QByteArray contentType;
};

// The one thread that owns the process's QNetworkAccessManager and its cookie store. Callers on
// any thread hand it a request and wait for the answer. A worker thread waits without running an
// event loop; a caller whose thread is asked to stop (QThread::requestInterruption) gets an empty
// answer within about 100 ms. The GUI thread waits in GuiThreadWait: its windows keep painting,
// user input waits, a request made inside that wait blocks without events, and the program's
// stop request (SIGTERM) ends the wait at once with an empty answer and cancels the request.
class NetworkThread
{
public:
    // The process-wide instance, started on first use. The cookie file (DataFolder's
    // "cookies.txt") and the "Site" settings (the site's hosts, CaCertificates) are read when it
    // starts.
    static NetworkThread& instance();
    // Ends the instance (saving the cookies); the next instance() starts a fresh one. Call it
    // only when no thread is inside execute() (at program end; it also runs as a post routine
    // of QCoreApplication).
    static void shutdown();

    ~NetworkThread();
    NetworkThread(const NetworkThread&) = delete;
    NetworkThread& operator=(const NetworkThread&) = delete;

    // Sends the request and waits until the answer, the time-out or a stop request of the
    // calling thread (on the GUI thread: of the program).
    NetworkAnswer execute(const NetworkRequest& request);
    // Sends the request and returns at once; answered runs later on receiver's thread, by a
    // queued call, with what came back. Nothing runs when receiver is destroyed first; the
    // request is then cancelled.
    void submit(const NetworkRequest& request, QObject* receiver,
                std::function<void(const NetworkAnswer&)> answered);

    // The cookie store behind every request (thread-safe).
    CookieStore* cookieStore() const { return m_cookies; }

    // Whether a request for `from`, answered by a redirect with `status` to `to`, follows it;
    // sendsBody tells whether the request still carries a body (a POST that no redirect has turned
    // into a GET). Never to a scheme other than HTTP and HTTPS, nor from HTTPS to plain HTTP: a
    // form posted over TLS must not be sent again in clear. A redirect that sends the body again
    // (307 and 308 keep the method and the body) goes only to the same scheme, host and port, or
    // over HTTPS to one of the site's own hosts, so a login's password reaches no other server;
    // 301, 302, 303 and 305 turn a POST into a GET without its body and go to any host.
    static bool redirectAllowed(int status, bool sendsBody, const QUrl& from, const QUrl& to,
                                const SiteEndpoints& site);

private:
    struct Pending;
    NetworkThread();
    void start(const std::shared_ptr<Pending>& pending, const NetworkRequest& request);
    void sendHop(const std::shared_ptr<Pending>& pending, const NetworkRequest& request,
                 int redirectsLeft);
    // Nobody waits for the request any more: it is dropped, or aborted when under way.
    void cancel(const std::shared_ptr<Pending>& pending);

    QThread* m_thread = nullptr;
    QObject* m_context = nullptr; // lives on m_thread; owns the manager
    QNetworkAccessManager* m_manager = nullptr;
    CookieStore* m_cookies = nullptr;
    SiteEndpoints m_site;                         // the "Site" settings
    QList<QSslCertificate> m_extraCaCertificates; // CaCertificates of the settings
};
