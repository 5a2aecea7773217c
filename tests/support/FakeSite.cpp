#include "FakeSite.h"

#include "platform/DataFolder.h"
#include "platform/IniFile.h"

#include <QFile>
#include <QHash>
#include <QMetaObject>
#include <QPointer>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QThread>
#include <QTimer>

// Lives on the fake site's thread: accepts connections, reads requests, writes answers.
class FakeSiteServer : public QTcpServer
{
public:
    explicit FakeSiteServer(FakeSite* site)
        : m_site(site), m_tls(FakeSite::serverTlsConfiguration())
    {
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        {
            QMutexLocker lock(&m_site->m_mutex);
            ++m_site->m_connections;
        }
        auto* socket = new QSslSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        socket->setSslConfiguration(m_tls);
        connect(socket, &QSslSocket::readyRead, socket, [this, socket] { readFrom(socket); });
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this,
                [this, socket] { m_connections.remove(socket); });
        connect(socket, &QSslSocket::sslErrors, socket,
                [socket](const QList<QSslError>&) { socket->ignoreSslErrors(); });
    }

private:
    struct Connection
    {
        bool decided = false;
        QByteArray buffer;
    };

    void readFrom(QSslSocket* socket)
    {
        Connection& connection = m_connections[socket];
        if (!connection.decided) {
            char first = 0;
            if (socket->peek(&first, 1) != 1)
                return;
            connection.decided = true;
            if (first == 0x16) { // a TLS handshake record
                socket->startServerEncryption();
                return;
            }
        }
        connection.buffer += socket->readAll();
        for (;;) {
            const qsizetype headerEnd = connection.buffer.indexOf("\r\n\r\n");
            if (headerEnd < 0)
                return;
            FakeSite::Request request;
            const QList<QByteArray> lines = connection.buffer.left(headerEnd).split('\n');
            const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
            request.method = requestLine.value(0);
            request.target = requestLine.value(1);
            qsizetype length = 0;
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const QByteArray line = lines.at(i).trimmed();
                const qsizetype colon = line.indexOf(':');
                if (colon <= 0)
                    continue;
                request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
            }
            length = request.header("Content-Length").toLongLong();
            if (connection.buffer.size() < headerEnd + 4 + length)
                return;
            request.body = connection.buffer.mid(headerEnd + 4, length);
            connection.buffer.remove(0, headerEnd + 4 + length);
            request.secure = socket->isEncrypted();
            respond(socket, request);
            // An answer that closes the connection has dropped its entry, and with it connection.
            if (!m_connections.contains(socket))
                return;
        }
    }

    void respond(QSslSocket* socket, const FakeSite::Request& request)
    {
        const FakeSite::Response response = m_site->answer(request);
        if (response.drop) {
            m_connections.remove(socket);
            socket->abort();
            socket->deleteLater();
            return;
        }
        const bool close = request.header("Connection").toLower() == "close";
        QByteArray bytes = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' +
                           (response.status < 400 ? "OK" : "Error") + "\r\n";
        if (!response.contentType.isEmpty())
            bytes += "Content-Type: " + response.contentType + "\r\n";
        for (const auto& [name, value] : response.headers)
            bytes += name + ": " + value + "\r\n";
        if (!response.untilClose)
            bytes += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        const bool closing = close || response.untilClose;
        bytes += closing ? "Connection: close\r\n" : "Connection: keep-alive\r\n";
        bytes += "\r\n";
        const QPointer<QSslSocket> target(socket);
        const auto finish = [this, target, closing] {
            if (closing && target) {
                m_connections.remove(target.data());
                target->disconnectFromHost();
            }
        };
        const auto send = [this, target, bytes, response, finish] {
            if (!target)
                return;
            if (response.cutAfter >= 0) {
                target->write(bytes + response.body.left(response.cutAfter));
                target->flush();
                m_connections.remove(target.data());
                target->disconnectFromHost();
                return;
            }
            if (response.trickleMs <= 0) {
                target->write(bytes + response.body);
                finish();
                return;
            }
            target->write(bytes);
            trickle(target, response.body, response.trickleMs, finish);
        };
        if (response.delayMs > 0)
            QTimer::singleShot(response.delayMs, socket, send);
        else
            send();
    }

    // Writes the first byte of rest after a pause, then the others the same way.
    template <typename Finish>
    void trickle(const QPointer<QSslSocket>& target, const QByteArray& rest, int pauseMs,
                 const Finish& finish)
    {
        if (rest.isEmpty()) {
            finish();
            return;
        }
        QTimer::singleShot(pauseMs, target.data(), [this, target, rest, pauseMs, finish] {
            if (!target)
                return;
            target->write(rest.left(1));
            trickle(target, rest.mid(1), pauseMs, finish);
        });
    }

    FakeSite* m_site;
    QSslConfiguration m_tls;
    QHash<QSslSocket*, Connection> m_connections;
};

QByteArray FakeSite::Request::path() const
{
    const qsizetype mark = target.indexOf('?');
    return mark < 0 ? target : target.left(mark);
}

QByteArray FakeSite::Request::query() const
{
    const qsizetype mark = target.indexOf('?');
    return mark < 0 ? QByteArray() : target.mid(mark + 1);
}

QByteArray FakeSite::Request::header(const QByteArray& name) const
{
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return QByteArray();
}

bool FakeSite::Request::hasHeader(const QByteArray& name) const
{
    for (const auto& header : headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

FakeSite::FakeSite() = default;

FakeSite::~FakeSite()
{
    if (!m_thread)
        return;
    QMetaObject::invokeMethod(
        m_server, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

bool FakeSite::start()
{
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("FakeSite"));
    m_thread->start();
    m_server = new FakeSiteServer(this);
    m_server->moveToThread(m_thread);
    bool listening = false;
    QMetaObject::invokeMethod(
        m_server,
        [this, &listening] {
            listening = m_server->listen(QHostAddress::LocalHost, 0);
            m_port = m_server->serverPort();
        },
        Qt::BlockingQueuedConnection);
    return listening;
}

QString FakeSite::host() const
{
    return QStringLiteral("127.0.0.1:") + QString::number(m_port);
}

QString FakeSite::httpUrl(const QString& pathAndQuery) const
{
    return QStringLiteral("http://") + host() + pathAndQuery;
}

QString FakeSite::httpsUrl(const QString& pathAndQuery) const
{
    return QStringLiteral("https://") + host() + pathAndQuery;
}

void FakeSite::setRoute(const QByteArray& method, const QByteArray& path, const Response& response)
{
    setHandler(method, path, [response](const Request&) { return response; });
}

void FakeSite::setHandler(const QByteArray& method, const QByteArray& path, const Handler& handler)
{
    QMutexLocker lock(&m_mutex);
    m_handlers[{method, path}] = handler;
}

QList<FakeSite::Request> FakeSite::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

void FakeSite::clearRequests()
{
    QMutexLocker lock(&m_mutex);
    m_requests.clear();
}

int FakeSite::connectionCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_connections;
}

FakeSite::Response FakeSite::answer(const Request& request)
{
    Handler handler;
    {
        QMutexLocker lock(&m_mutex);
        m_requests.append(request);
        const auto found = m_handlers.find({request.method, request.path()});
        if (found != m_handlers.end())
            handler = found->second;
    }
    if (handler)
        return handler(request);
    Response notFound;
    notFound.status = 404;
    notFound.body = "Not Found";
    return notFound;
}

void FakeSite::useAsSite() const
{
    IniFile ini(DataFolder::filePath(QStringLiteral("setting.ini")));
    // The update server stays apart: tests of the site do not see the start-up's version check.
    for (const char* key : {"LoginHost", "PortalHost", "AccountHost", "ClosedListHost", "ItemHost",
                            "ProfileHost", "WebServiceHost"})
        ini.writeString(QStringLiteral("Site"), QString::fromLatin1(key), host());
    ini.writeString(QStringLiteral("Site"), QStringLiteral("CaCertificates"), certificatePath());
}

QString FakeSite::certificatePath()
{
    return QStringLiteral(TESSALY_TEST_DATA_DIR "/fakesite-cert.pem");
}

QString FakeSite::keyPath()
{
    return QStringLiteral(TESSALY_TEST_DATA_DIR "/fakesite-key.pem");
}

QSslConfiguration FakeSite::serverTlsConfiguration()
{
    QSslConfiguration tls;
    QFile certificate(certificatePath());
    QFile key(keyPath());
    if (certificate.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly)) {
        tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(QSslCertificate(&certificate, QSsl::Pem));
        tls.setPrivateKey(QSslKey(&key, QSsl::Rsa, QSsl::Pem));
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    }
    return tls;
}
