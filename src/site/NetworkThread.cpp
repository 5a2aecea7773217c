#include "site/NetworkThread.h"

#include "platform/CookieStore.h"
#include "platform/DataFolder.h"
#include "platform/GuiThreadWait.h"
#include "site/HttpRedirect.h"
#include "site/SiteOrigin.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSslConfiguration>
#include <QThread>
#include <QTimer>
#include <QWaitCondition>

namespace {

QMutex instanceMutex;
NetworkThread* currentInstance = nullptr;

// Extra time the caller grants the network thread beyond the request's own time-out before it
// gives up waiting by itself.
constexpr int callerGraceMs = 5000;
constexpr int pollMs = 100;
constexpr int maxRedirects = 20;
// What a reply may hold before the network thread takes it into the answer: without a bound, a
// sender faster than the thread reads fills memory with the whole body before the size bound of
// the answer is ever looked at.
constexpr qint64 readBufferBytes = 1024 * 1024;

// Qt reports a compressed body it cannot decode as UnknownContentError, the error it also gives
// a 4xx status that it has no closer error for (a 429 page is an answer like any other). Below 400
// the error can only be the body's; from 400 on Qt's message tells the two apart.
bool isUndecodableBody(QNetworkReply* reply)
{
    if (reply->error() != QNetworkReply::UnknownContentError ||
        !reply->hasRawHeader("Content-Encoding"))
        return false;
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() < 400 ||
           reply->errorString().startsWith(QLatin1String("Decompression failed"));
}

// An HTTP status arrived and the transfer ended normally or with an HTTP error status; any other
// error (connection refused or closed, time-out, cancel, TLS, protocol, a body that cannot be
// decoded) means no usable answer.
bool isWholeAnswer(QNetworkReply* reply)
{
    if (!reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        return false;
    const int error = reply->error();
    if (isUndecodableBody(reply))
        return false;
    return error == QNetworkReply::NoError ||
           (error >= QNetworkReply::ContentAccessDenied &&
            error <= QNetworkReply::UnknownContentError) ||
           (error >= QNetworkReply::InternalServerError &&
            error <= QNetworkReply::UnknownServerError);
}

// Starts the reply's transfer at once and bounds what the reply holds. Qt hands the bound on only
// to a transfer under way, and starts a request with a body (a POST) from a queued call: that
// call is run here, so that the bound follows the start directly and no byte of the answer can
// come in unbounded.
void startBounded(QNetworkReply* reply)
{
    QCoreApplication::sendPostedEvents(reply, QEvent::MetaCall);
    reply->setReadBufferSize(readBufferBytes);
}

// The request that follows a redirect with status to next: 307 and 308 keep the method and the
// body; the others (301, 302, 303, 305) ask for next by GET, without the body and its type.
NetworkRequest redirected(NetworkRequest request, int status, const QUrl& next)
{
    request.url = next;
    if (HttpRedirect::turnsIntoGet(status)) {
        request.verb = "GET";
        request.body.clear();
        request.headers.removeIf([](const std::pair<QByteArray, QByteArray>& header) {
            return header.first.compare("Content-Type", Qt::CaseInsensitive) == 0;
        });
    }
    return request;
}

} // namespace

struct NetworkThread::Pending
{
    QMutex mutex;
    QWaitCondition condition;
    bool done = false;
    bool abandoned = false;
    bool overBound = false; // ended for running too long or a body too large
    QElapsedTimer sinceStart;
    QElapsedTimer sinceProgress;
    NetworkAnswer answer;
    QPointer<QNetworkReply> reply; // touched on the network thread only
    bool wakeGuiThread = false;    // a GUI-thread wait is to be woken when done
    // An answer handed back through a queued call (submit()); receiver is cleared when it goes.
    QObject* receiver = nullptr;
    std::function<void(const NetworkAnswer&)> answered;
};

NetworkThread& NetworkThread::instance()
{
    QMutexLocker lock(&instanceMutex);
    if (!currentInstance) {
        currentInstance = new NetworkThread;
        static bool cleanupAdded = false;
        if (!cleanupAdded) {
            cleanupAdded = true;
            qAddPostRoutine(&NetworkThread::shutdown);
        }
    }
    return *currentInstance;
}

void NetworkThread::shutdown()
{
    QMutexLocker lock(&instanceMutex);
    delete currentInstance;
    currentInstance = nullptr;
}

NetworkThread::NetworkThread()
{
    const QString cookieFile = DataFolder::filePath(QStringLiteral("cookies.txt"));
    m_site = SiteEndpoints::load();
    m_extraCaCertificates = m_site.extraCaCertificates();

    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("Network"));
    m_context = new QObject;
    m_context->moveToThread(m_thread);
    m_thread->start();
    QMetaObject::invokeMethod(
        m_context,
        [this, cookieFile] {
            m_manager = new QNetworkAccessManager(m_context);
            m_manager->setProxy(QNetworkProxy::NoProxy);
            m_cookies = new CookieStore(cookieFile);
            m_manager->setCookieJar(m_cookies); // same thread: the manager owns it
        },
        Qt::BlockingQueuedConnection);
}

NetworkThread::~NetworkThread()
{
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            // Aborting finishes every request still under way, which wakes its caller.
            const auto replies = m_manager->findChildren<QNetworkReply*>();
            for (QNetworkReply* reply : replies)
                reply->abort();
            m_cookies->save();
            delete m_context;
            m_context = nullptr;
        },
        Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

NetworkAnswer NetworkThread::execute(const NetworkRequest& request)
{
    if (!request.url.isValid() || request.url.host().isEmpty())
        return {};
    const bool guiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    // The program is ending: the GUI thread asks nothing more of the network.
    if (guiThread && GuiThreadWait::isStopRequested())
        return {};
    auto pending = std::make_shared<Pending>();
    pending->sinceStart.start();
    pending->sinceProgress.start();
    const bool processEvents = guiThread && GuiThreadWait::canProcessEvents();
    pending->wakeGuiThread = processEvents;
    QMetaObject::invokeMethod(
        m_context, [this, pending, request] { start(pending, request); }, Qt::QueuedConnection);

    const auto stalled = [&pending, &request] {
        return pending->sinceProgress.elapsed() > request.timeoutMs + callerGraceMs ||
               pending->sinceStart.elapsed() > request.totalTimeoutMs + callerGraceMs;
    };
    const auto abandon = [this, &pending] {
        cancel(pending);
        return NetworkAnswer();
    };

    if (processEvents) {
        // The window keeps painting while the site is asked; user input waits.
        const bool finished = GuiThreadWait::wait(
            [&pending] {
                QMutexLocker lock(&pending->mutex);
                return pending->done;
            },
            [&pending, &stalled] {
                QMutexLocker lock(&pending->mutex);
                return stalled();
            });
        if (!finished)
            return abandon();
        QMutexLocker lock(&pending->mutex);
        return pending->answer;
    }

    // A worker thread, or a request made from inside a GUI-thread wait: block without events.
    QThread* caller = QThread::currentThread();
    QMutexLocker lock(&pending->mutex);
    while (!pending->done) {
        pending->condition.wait(&pending->mutex, QDeadlineTimer(pollMs));
        if (pending->done)
            break;
        const bool stopped =
            caller->isInterruptionRequested() || (guiThread && GuiThreadWait::isStopRequested());
        if (stopped || stalled()) {
            lock.unlock();
            return abandon();
        }
    }
    return pending->answer;
}

void NetworkThread::submit(const NetworkRequest& request, QObject* receiver,
                           std::function<void(const NetworkAnswer&)> answered)
{
    auto pending = std::make_shared<Pending>();
    pending->sinceStart.start();
    pending->sinceProgress.start();
    pending->receiver = receiver;
    pending->answered = std::move(answered);
    if (!request.url.isValid() || request.url.host().isEmpty()) {
        QTimer::singleShot(0, receiver, [pending] { pending->answered(NetworkAnswer()); });
        return;
    }
    // A receiver that goes first cancels the request; its answer is never delivered.
    auto forget = std::make_shared<QMetaObject::Connection>();
    // The instance may have been shut down by then; a new one finds nothing of it to abort.
    *forget = QObject::connect(receiver, &QObject::destroyed, [pending] {
        {
            QMutexLocker lock(&pending->mutex);
            pending->receiver = nullptr;
        }
        QMutexLocker lock(&instanceMutex);
        if (currentInstance)
            currentInstance->cancel(pending);
    });
    pending->answered = [forget, answered = std::move(pending->answered)](
                            const NetworkAnswer& answer) {
        QObject::disconnect(*forget);
        answered(answer);
    };
    QMetaObject::invokeMethod(
        m_context, [this, pending, request] { start(pending, request); }, Qt::QueuedConnection);
}

bool NetworkThread::redirectAllowed(int status, bool sendsBody, const QUrl& from, const QUrl& to,
                                    const SiteEndpoints& site)
{
    const QString scheme = to.scheme().toLower();
    if (!to.isValid() || to.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    if (from.scheme().toLower() == QLatin1String("https") && scheme == QLatin1String("http"))
        return false;
    // Any other status is taken to send the body again.
    if (!sendsBody || HttpRedirect::turnsIntoGet(status))
        return true;
    return SiteOrigin::same(to, from) || (scheme == QLatin1String("https") && site.isSiteHost(to));
}

void NetworkThread::cancel(const std::shared_ptr<Pending>& pending)
{
    {
        QMutexLocker lock(&pending->mutex);
        pending->abandoned = true;
    }
    QMetaObject::invokeMethod(
        m_context,
        [pending] {
            if (pending->reply)
                pending->reply->abort();
        },
        Qt::QueuedConnection);
}

// Runs on the network thread.
void NetworkThread::start(const std::shared_ptr<Pending>& pending, const NetworkRequest& request)
{
    sendHop(pending, request, maxRedirects);
}

// Runs on the network thread. Sends one request of the way to the answer: the first, or the one
// a redirect asks for. Redirects are followed here rather than by Qt, so that each is judged
// (redirectAllowed) before anything is sent on, and so that every hop is a transfer started
// with the read buffer's bound. The cookies that redirects set go into the store on the way.
void NetworkThread::sendHop(const std::shared_ptr<Pending>& pending, const NetworkRequest& request,
                            int redirectsLeft)
{
    {
        QMutexLocker lock(&pending->mutex);
        if (pending->abandoned)
            return;
    }
    QNetworkRequest networkRequest(request.url);
    networkRequest.setTransferTimeout(request.timeoutMs);
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                QNetworkRequest::ManualRedirectPolicy);
    networkRequest.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    networkRequest.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    networkRequest.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                                request.reload ? QNetworkRequest::AlwaysNetwork
                                               : QNetworkRequest::PreferNetwork);
    if (request.reload) {
        networkRequest.setRawHeader("Cache-Control", "no-cache");
        networkRequest.setRawHeader("Pragma", "no-cache");
    }
    if (!request.userAgent.isEmpty())
        networkRequest.setRawHeader("User-Agent", request.userAgent);
    if (!request.keepAlive)
        networkRequest.setRawHeader("Connection", "close");
    for (const auto& [name, value] : request.headers)
        networkRequest.setRawHeader(name, value);
    if (!m_extraCaCertificates.isEmpty() && request.url.scheme() == QLatin1String("https")) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.addCaCertificates(m_extraCaCertificates);
        networkRequest.setSslConfiguration(tls);
    }

    QNetworkReply* reply =
        request.verb == "GET"
            ? m_manager->get(networkRequest)
            : m_manager->sendCustomRequest(networkRequest, request.verb, request.body);
    pending->reply = reply;

    const auto progressed = [pending] {
        QMutexLocker lock(&pending->mutex);
        pending->sinceProgress.restart();
    };
    // A server that trickles bytes or sends an endless body must not hold the caller forever.
    const auto endOverBound = [pending, reply] {
        {
            QMutexLocker lock(&pending->mutex);
            pending->overBound = true;
        }
        reply->abort();
    };
    QTimer::singleShot(qMax(qint64(0), request.totalTimeoutMs - pending->sinceStart.elapsed()),
                       reply, endOverBound);
    // Qt reports a body it cannot decode as soon as it meets the fault, but finishes the reply
    // only when the transfer ends, which a sender with more to send puts off until the time-out.
    // Queued: the abort does not run inside Qt's own report of the error.
    QObject::connect(reply, &QNetworkReply::errorOccurred, reply, [reply] {
        if (isUndecodableBody(reply))
            QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
    });
    QObject::connect(reply, &QNetworkReply::uploadProgress, reply, progressed);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, progressed);
    const qint64 maxBodyBytes = request.maxBodyBytes;
    QObject::connect(reply, &QNetworkReply::readyRead, reply,
                     [pending, reply, maxBodyBytes, endOverBound] {
                         const QByteArray chunk = reply->readAll();
                         bool tooLarge = false;
                         {
                             QMutexLocker lock(&pending->mutex);
                             pending->answer.body += chunk;
                             pending->sinceProgress.restart();
                             tooLarge = pending->answer.body.size() > maxBodyBytes;
                         }
                         if (tooLarge)
                             endOverBound();
                     });
    QObject::connect(reply, &QNetworkReply::finished, reply, [this, pending, reply, request,
                                                             maxBodyBytes, redirectsLeft] {
        const QByteArray rest = reply->isOpen() ? reply->readAll() : QByteArray();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool redirect =
            reply->error() == QNetworkReply::NoError && HttpRedirect::isRedirect(status);
        const QUrl next = HttpRedirect::target(reply, request.url);
        bool refused = false;
        {
            QMutexLocker lock(&pending->mutex);
            NetworkAnswer& answer = pending->answer;
            answer.body += rest;
            const bool whole = !pending->overBound && answer.body.size() <= maxBodyBytes;
            if (whole && redirect) {
                // A redirect's own body is no part of the answer; one that names no address, one
                // too many or one refused gives no answer.
                answer.body.clear();
                refused = !next.isValid() || redirectsLeft == 0 ||
                          !redirectAllowed(status, request.verb != "GET", request.url, next, m_site);
                if (!refused) {
                    lock.unlock();
                    reply->deleteLater();
                    sendHop(pending, redirected(request, status, next), redirectsLeft - 1);
                    return;
                }
            }
            answer.answered = whole && !refused && isWholeAnswer(reply);
            if (answer.answered) {
                answer.status = status;
                answer.contentType = reply->rawHeader("Content-Type");
            } else {
                answer = NetworkAnswer();
            }
            pending->done = true;
            pending->condition.wakeAll();
            if (pending->wakeGuiThread)
                GuiThreadWait::wakeUp();
            // Posted while the lock keeps the receiver from going.
            if (pending->receiver)
                QMetaObject::invokeMethod(
                    pending->receiver,
                    [pending, answer = answer] { pending->answered(answer); },
                    Qt::QueuedConnection);
        }
        reply->deleteLater();
    });
    // Only now, with every handler in place: a request started here may end at once.
    startBounded(reply);
}
