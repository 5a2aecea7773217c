#include "support/FakeSite.h"
#include "support/PeakMemoryGrowth.h"
#include "support/SmallFileSystem.h"
#include "support/TestDataFolder.h"

#include "platform/CookieStore.h"
#include "platform/GuiThreadWait.h"
#include "platform/IniFile.h"
#include "platform/UnixSignals.h"
#include "platform/SafeFileWriter.h"
#include "platform/TextDecoding.h"
#include "site/FileDownload.h"
#include "site/NetworkThread.h"
#include "site/SiteEndpoints.h"
#include "site/html.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkCookie>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSslSocket>
#include <QStringEncoder>
#include <QTcpServer>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWaitCondition>

#include <atomic>
#include <csignal>
#include <functional>
#include <memory>

namespace {

const QString samplePage = QStringLiteral(
    "<p>こんにちは、 seller さん</p>\n"
    "<p>ログインしてください。ヤフオク！では出品者と落札者の取引連絡を掲示板で行います。"
    "自動的にページが切り替わらない場合は、こちらをクリックしてください。</p>\n"
    "<p>パスワードの再確認をお願いします。複数のアカウントをお持ちの方は、"
    "ご注意ください。表示されているのが自分のＩＤでない場合は、ログアウトしてください。</p>\n");

QByteArray encoded(const QString& text, const char* code)
{
    QStringEncoder encoder(code);
    return encoder.encode(text);
}

FakeSite::Response okPage(const QByteArray& body)
{
    FakeSite::Response response;
    response.body = body;
    return response;
}

// One request of the client by the name of its operation: "get", "post" or "postSecure", to a
// server that answers both plain HTTP and HTTPS on hostAndPort.
void sendTo(html& client, const QByteArray& operation, const QString& hostAndPort,
            const QString& path)
{
    if (operation == "get")
        client.get("http://" + hostAndPort + path);
    else if (operation == "post")
        client.post("http://" + hostAndPort + path);
    else
        client.postSecure("https://" + hostAndPort + path);
}

void sendBy(html& client, const QByteArray& operation, const FakeSite& site, const QString& path)
{
    sendTo(client, operation, site.host(), path);
}

// Answers every request, over plain HTTP or HTTPS, with a chunked body that never ends, written
// as fast as the connection takes it, and stops by itself after byteLimit bytes in all; a GET of
// "/moved" is redirected to that answer on the same server. Runs on a thread of its own, as the
// client under test blocks the test's thread.
//
// When the answer starts, the thread that reads the answer (readerObject's: the network thread,
// or the thread of a download) is held up, as a cookie save on a slow disk would hold it, until
// the sender has got floodBytes out or has been stuck for a moment: a client that bounds what it
// buffers stops the sender within its read buffer, one that does not takes in the whole flood
// while it cannot look at what it holds.
class EndlessChunkedServer : public QTcpServer
{
public:
    EndlessChunkedServer(qint64 byteLimit, qint64 floodBytes, QObject* readerObject)
        : m_limit(byteLimit), m_flood(floodBytes), m_readerObject(readerObject),
          m_chunk(QByteArray::number(chunkBytes, 16) + "\r\n" + QByteArray(chunkBytes, 'x') +
                  "\r\n"),
          m_tls(FakeSite::serverTlsConfiguration())
    {
    }

    qint64 sent() const
    {
        QMutexLocker lock(&m_mutex);
        return m_sent;
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto* socket = new QSslSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        socket->setSslConfiguration(m_tls);
        auto request = std::make_shared<QByteArray>();
        auto decided = std::make_shared<bool>(false);
        connect(socket, &QSslSocket::readyRead, socket, [this, socket, request, decided] {
            if (!*decided) {
                char first = 0;
                if (socket->peek(&first, 1) != 1)
                    return;
                *decided = true;
                if (first == 0x16) { // a TLS handshake record
                    socket->startServerEncryption();
                    return;
                }
            }
            if (request->contains("\r\n\r\n"))
                return; // answering already
            *request += socket->readAll();
            if (!request->contains("\r\n\r\n"))
                return;
            if (request->startsWith("GET /moved ")) { // on to the endless body on this server
                socket->write("HTTP/1.1 302 Found\r\nLocation: /endless\r\n"
                              "Content-Length: 0\r\nConnection: close\r\n\r\n");
                socket->disconnectFromHost();
                return;
            }
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n"
                          "Transfer-Encoding: chunked\r\n\r\n");
            holdUpReader();
            fill(socket);
        });
        const auto more = [this, socket] {
            if (socket->property("answering").toBool())
                fill(socket);
        };
        connect(socket, &QSslSocket::bytesWritten, socket, more);
        connect(socket, &QSslSocket::encryptedBytesWritten, socket, more);
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QSslSocket::sslErrors, socket,
                [socket](const QList<QSslError>&) { socket->ignoreSslErrors(); });
    }

private:
    static constexpr int chunkBytes = 64 * 1024;
    static constexpr int stuckMs = 100;

    // Keeps the socket's own buffer short, so the memory that grows is the client's.
    void fill(QSslSocket* socket)
    {
        socket->setProperty("answering", true);
        while (socket->bytesToWrite() + socket->encryptedBytesToWrite() < 4 * chunkBytes) {
            QMutexLocker lock(&m_mutex);
            if (m_sent >= m_limit) {
                lock.unlock();
                socket->setProperty("answering", false);
                socket->disconnectFromHost();
                return;
            }
            socket->write(m_chunk);
            m_sent += m_chunk.size();
            m_progressed.wakeAll();
        }
    }

    void holdUpReader()
    {
        QMetaObject::invokeMethod(
            m_readerObject,
            [this] {
                QMutexLocker lock(&m_mutex);
                const qint64 until = m_sent + m_flood;
                while (m_sent < until) {
                    const qint64 before = m_sent;
                    if (!m_progressed.wait(&m_mutex, QDeadlineTimer(stuckMs)) && m_sent == before)
                        return; // the sender is stuck: the client stopped taking the body
                }
            },
            Qt::QueuedConnection);
    }

    const qint64 m_limit;
    const qint64 m_flood;
    QObject* const m_readerObject;
    const QByteArray m_chunk;
    const QSslConfiguration m_tls;
    mutable QMutex m_mutex;
    QWaitCondition m_progressed;
    qint64 m_sent = 0;
};

// The endless sender on 127.0.0.1 with its thread, for the time of one test.
class EndlessChunkedSite
{
public:
    // readerObject: an object on the thread that reads the answer; the network thread's when
    // none is given.
    EndlessChunkedSite(qint64 byteLimit, qint64 floodBytes, QObject* readerObject = nullptr)
        : m_server(new EndlessChunkedServer(byteLimit, floodBytes,
                                            readerObject ? readerObject
                                                         : NetworkThread::instance().cookieStore()))
    {
        m_thread.start();
        m_server->moveToThread(&m_thread);
        QMetaObject::invokeMethod(
            m_server, [this] { m_listening = m_server->listen(QHostAddress::LocalHost, 0); },
            Qt::BlockingQueuedConnection);
    }
    ~EndlessChunkedSite()
    {
        QMetaObject::invokeMethod(
            m_server, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    EndlessChunkedSite(const EndlessChunkedSite&) = delete;
    EndlessChunkedSite& operator=(const EndlessChunkedSite&) = delete;

    bool isListening() const { return m_listening; }
    QString host() const { return "127.0.0.1:" + QString::number(m_server->serverPort()); }
    qint64 sent() const { return m_server->sent(); }

private:
    QThread m_thread;
    EndlessChunkedServer* m_server;
    bool m_listening = false;
};

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray littleEndian32(quint32 value)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes += char((value >> (8 * i)) & 0xFF);
    return bytes;
}

QByteArray compressedPage()
{
    return "<html><body>" + QByteArray(20000, 'p') + "</body></html>";
}

// text in the gzip format that a "Content-Encoding: gzip" answer carries.
QByteArray gzipped(const QByteArray& text)
{
    // qCompress gives a 4-byte length, then a zlib stream: a 2-byte header, the deflate data and
    // a 4-byte check.
    const QByteArray zlib = qCompress(text, 9);
    const QByteArray deflate = zlib.mid(4 + 2, zlib.size() - 4 - 2 - 4);
    return QByteArray("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\xff", 10) + deflate +
           littleEndian32(crc32(text)) + littleEndian32(quint32(text.size()));
}

// Posts a login form over TLS to site's "/config/login", answered by a redirect with status to
// location; what the client kept of the answer.
QByteArray postLoginRedirected(FakeSite& site, int status, const QString& location)
{
    FakeSite::Response redirect;
    redirect.status = status;
    redirect.headers = {{"Location", location.toLatin1()}};
    site.setRoute("POST", "/config/login", redirect);
    html client;
    client.addParam("login", "seller");
    client.addParam("passwd", "secret");
    client.postSecure(site.httpsUrl("/config/login?"));
    return client.response();
}

void addOperationRows(const char* name, const std::function<void(QTestData&)>& columns)
{
    for (const char* operation : {"get", "post", "postSecure"})
        columns(QTest::addRow("%s %s", operation, name) << QByteArray(operation));
}

} // namespace

class TestHttp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void getSendsWholeUrlWithItsAgent();
    void postSecureSendsFormToPathOverTls();
    void postSendsFormToPathOverPlainHttp();
    void addParamJoinsFieldsWithDoubleAmpersand();
    void addParamEncodesBytesThatChangeTheForm_data();
    void addParamEncodesBytesThatChangeTheForm();
    void postSecureAppendsAndPostReplaces();
    void errorStatusKeepsBody_data();
    void errorStatusKeepsBody();
    void nulByteKeepsRestOfBody();
    void decodesEveryCodeToSameText_data();
    void decodesEveryCodeToSameText();
    void shiftJisIsReadAsWindows31J();
    void loginCookieReachesOtherThreadsAndOutlivesRestart();
    void redirectIsFollowedWithItsCookie_data();
    void redirectIsFollowedWithItsCookie();
    void redirectWithoutAnAddressGivesNoAnswer_data();
    void redirectWithoutAnAddressGivesNoAnswer();
    void secureFormIsNeverRedirectedToPlainHttp_data();
    void secureFormIsNeverRedirectedToPlainHttp();
    void redirectRuleKeepsARepeatedBodyOnTheSite_data();
    void redirectRuleKeepsARepeatedBodyOnTheSite();
    void repeatedFormReachesOnlyTheSitesOwnHosts_data();
    void repeatedFormReachesOnlyTheSitesOwnHosts();
    void cookieFileIsWrittenOnlyWhenPersistentCookiesChange();
    void fullDiskKeepsTheCookieFileAndALaterSaveWritesIt_data();
    void fullDiskKeepsTheCookieFileAndALaterSaveWritesIt();
    void tricklingAnswerEndsAtTotalBound_data();
    void tricklingAnswerEndsAtTotalBound();
    void bodyPastSizeBoundGivesEmptyAnswer_data();
    void bodyPastSizeBoundGivesEmptyAnswer();
    void endlessFastBodyKeepsMemoryNearThePageBound_data();
    void endlessFastBodyKeepsMemoryNearThePageBound();
    void endlessDownloadKeepsMemoryNearItsBound_data();
    void endlessDownloadKeepsMemoryNearItsBound();
    void undecodableBodyGivesNoAnswer_data();
    void undecodableBodyGivesNoAnswer();
    void timeoutGivesEmptyAnswerQuickly();
    void droppedConnectionGivesEmptyAnswer();
    void unreachableHostGivesEmptyAnswer();
    void stopRequestEndsWorkerRequest();
    void guiThreadWaitRunsTimersAndQueuedCalls();
    void requestInsideAGuiWaitRunsNoEventLoop();
    void stopSignalEndsTheGuiWaitAtOnce();
    void laterAnswerArrivesByAQueuedCall();

private:
    FakeSite::Request lastRequest() const
    {
        return m_site.requests().value(m_site.requests().size() - 1);
    }

    TestDataFolder m_folder;
    FakeSite m_site;
};

void TestHttp::initTestCase()
{
    QVERIFY(m_site.start());
    m_site.useAsSite();
}

void TestHttp::cleanup()
{
    m_site.clearRequests();
    html::setDefaultTimeout(30000);
    html::setDefaultTotalTimeout(60000);
    html::setDefaultMaxResponseSize(qint64(8) * 1024 * 1024);
    GuiThreadWait::clearStop();
}

void TestHttp::cleanupTestCase()
{
    NetworkThread::shutdown();
}

void TestHttp::getSendsWholeUrlWithItsAgent()
{
    m_site.setRoute("GET", "/page", okPage("hello"));
    html client;
    client.get(m_site.httpUrl("/page?a=1&&b=2"));
    QCOMPARE(client.response(), QByteArray("hello"));
    const FakeSite::Request request = lastRequest();
    QCOMPARE(request.method, QByteArray("GET"));
    QCOMPARE(request.target, QByteArray("/page?a=1&&b=2"));
    QCOMPARE(request.header("User-Agent"), QByteArray("MyApp"));
    QVERIFY(!request.secure);
    QVERIFY(request.body.isEmpty());
}

void TestHttp::postSecureSendsFormToPathOverTls()
{
    m_site.setRoute("POST", "/config/login", okPage("done"));
    html client;
    client.addParam("login", "seller");
    client.addParam("passwd", "secret");
    client.postSecure(m_site.httpsUrl("/config/login?"));
    QCOMPARE(client.response(), QByteArray("done"));
    const FakeSite::Request request = lastRequest();
    QVERIFY(request.secure);
    QCOMPARE(request.method, QByteArray("POST"));
    QCOMPARE(request.target, QByteArray("/config/login"));
    QCOMPARE(request.body, QByteArray("login=seller&&passwd=secret"));
    QCOMPARE(request.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(request.header("Cache-Control"), QByteArray("no-cache"));
    QCOMPARE(request.header("Pragma"), QByteArray("no-cache"));
    QCOMPARE(request.header("Connection").toLower(), QByteArray("keep-alive"));
    QVERIFY(request.header("User-Agent") != "MyApp");
    QVERIFY(request.header("User-Agent") != "Microsoft Internet Explorer");
}

void TestHttp::postSendsFormToPathOverPlainHttp()
{
    m_site.setRoute("POST", "/config/login", okPage("done"));
    html client;
    client.addParam("logout", "1");
    client.post(m_site.httpUrl("/config/login?"));
    QCOMPARE(client.response(), QByteArray("done"));
    const FakeSite::Request request = lastRequest();
    QVERIFY(!request.secure);
    QCOMPARE(request.target, QByteArray("/config/login"));
    QCOMPARE(request.body, QByteArray("logout=1"));
    QCOMPARE(request.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(request.header("User-Agent"), QByteArray("Microsoft Internet Explorer"));
    QVERIFY(!request.hasHeader("Cache-Control"));
    QCOMPARE(request.header("Connection").toLower(), QByteArray("close"));
}

void TestHttp::addParamJoinsFieldsWithDoubleAmpersand()
{
    html client;
    QVERIFY(client.postData().isEmpty());
    client.addParam(".lg", "jp");
    QCOMPARE(client.postData(), QByteArray(".lg=jp"));
    client.addParam(".intl", "jp");
    client.addParam("logout", "1");
    client.addParam(".src", "www");
    QCOMPARE(client.postData(), QByteArray(".lg=jp&&.intl=jp&&logout=1&&.src=www"));
    client.addParam(".done", "http://www.yahoo.co.jp");
    QCOMPARE(client.postData(),
             QByteArray(".lg=jp&&.intl=jp&&logout=1&&.src=www&&.done=http://www.yahoo.co.jp"));
}

void TestHttp::addParamEncodesBytesThatChangeTheForm_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("ampersand") << "pa&ss" << QByteArray("pa%26ss");
    QTest::newRow("equals") << "a=b" << QByteArray("a%3Db");
    QTest::newRow("percent") << "100%" << QByteArray("100%25");
    QTest::newRow("plus") << "a+b" << QByteArray("a%2Bb");
    QTest::newRow("blank") << "a b" << QByteArray("a+b");
    QTest::newRow("control") << "a\tb\r\n" << QByteArray("a%09b%0D%0A");
    QTest::newRow("japanese in site code") << "日本" << QByteArray("%93%FA%96%7B");
    QTest::newRow("mixed") << "ID:日本 1" << QByteArray("ID:%93%FA%96%7B+1");
    QTest::newRow("plain stays") << "Ab9_-.*~/:?@!" << QByteArray("Ab9_-.*~/:?@!");
}

void TestHttp::addParamEncodesBytesThatChangeTheForm()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, sent);
    html client;
    client.addParam("k", value);
    QCOMPARE(client.postData(), "k=" + sent);
}

void TestHttp::postSecureAppendsAndPostReplaces()
{
    int calls = 0;
    QMutex mutex;
    m_site.setHandler("POST", "/count", [&](const FakeSite::Request&) {
        QMutexLocker lock(&mutex);
        return okPage("answer" + QByteArray::number(++calls) + ";");
    });
    html secure;
    secure.postSecure(m_site.httpsUrl("/count"));
    secure.postSecure(m_site.httpsUrl("/count"));
    QCOMPARE(secure.response(), QByteArray("answer1;answer2;"));
    html plain;
    plain.post(m_site.httpUrl("/count"));
    plain.post(m_site.httpUrl("/count"));
    QCOMPARE(plain.response(), QByteArray("answer4;"));
    plain.get(m_site.httpUrl("/missing"));
    QCOMPARE(plain.response(), QByteArray("Not Found"));
}

void TestHttp::errorStatusKeepsBody_data()
{
    QTest::addColumn<int>("status");
    QTest::newRow("404") << 404;
    QTest::newRow("500") << 500;
}

void TestHttp::errorStatusKeepsBody()
{
    QFETCH(int, status);
    FakeSite::Response response = okPage("<html>error page</html>");
    response.status = status;
    m_site.setRoute("GET", "/error", response);
    m_site.setRoute("POST", "/error", response);
    html client;
    client.get(m_site.httpUrl("/error"));
    QCOMPARE(client.response(), response.body);
    client.post(m_site.httpUrl("/error"));
    QCOMPARE(client.response(), response.body);
}

void TestHttp::nulByteKeepsRestOfBody()
{
    const QByteArray body("before\0after", 12);
    m_site.setRoute("GET", "/nul", okPage(body));
    m_site.setRoute("POST", "/nul", okPage(body));
    html client;
    client.get(m_site.httpUrl("/nul"));
    QCOMPARE(client.response(), body);
    client.postSecure(m_site.httpsUrl("/nul"));
    QCOMPARE(client.response(), body + body);
}

void TestHttp::decodesEveryCodeToSameText_data()
{
    QTest::addColumn<QByteArray>("encoder");
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QString>("declaration");
    const QList<std::pair<QByteArray, QByteArray>> codes = {{"CP932", "Shift_JIS"},
                                                            {"EUC-JP", "EUC-JP"},
                                                            {"ISO-2022-JP", "ISO-2022-JP"},
                                                            {"UTF-8", "UTF-8"}};
    for (const auto& [encoder, charset] : codes) {
        for (const char* declaration : {"none", "header", "meta", "meta charset"}) {
            QTest::addRow("%s %s", charset.constData(), declaration)
                << encoder << charset << QString::fromLatin1(declaration);
        }
    }
}

void TestHttp::decodesEveryCodeToSameText()
{
    QFETCH(QByteArray, encoder);
    QFETCH(QByteArray, charset);
    QFETCH(QString, declaration);
    QString head = QStringLiteral("<html><head><title>マイ・オークション</title>");
    FakeSite::Response response;
    if (declaration == "header")
        response.contentType = "text/html; charset=" + charset;
    else if (declaration == "meta")
        head += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset + "\">";
    else if (declaration == "meta charset")
        head += "<meta charset=\"" + charset + "\">";
    const QString page = head + "</head><body>\n" + samplePage + "</body></html>\n";
    response.body = encoded(page, encoder.constData());
    m_site.setRoute("GET", "/coded", response);

    html client;
    client.get(m_site.httpUrl("/coded"));
    QCOMPARE(client.response(), response.body);
    QCOMPARE(client.responseText(), page);
}

void TestHttp::shiftJisIsReadAsWindows31J()
{
    // 0x8160 is the wave dash of Windows-31J (U+FF5E); 0x8740 is a circled one.
    const QByteArray bytes("\x81\x60\x87\x40", 4);
    QCOMPARE(TextDecoding::decode(bytes, "text/html; charset=Shift_JIS"), QStringLiteral("～①"));
    QCOMPARE(TextDecoding::decode(QByteArray()), QString());
}

void TestHttp::loginCookieReachesOtherThreadsAndOutlivesRestart()
{
    FakeSite::Response login = okPage("welcome");
    login.headers = {{"Set-Cookie", "Y=v%3Dlogin; expires=Fri, 01 Jan 2044 00:00:00 GMT; path=/"},
                     {"Set-Cookie", "S=session; path=/"}};
    m_site.setRoute("POST", "/config/login", login);
    m_site.setRoute("GET", "/jp/show/mystatus", okPage("status"));

    html client;
    client.postSecure(m_site.httpsUrl("/config/login?"));
    QCOMPARE(client.response(), QByteArray("welcome"));

    QByteArray cookieSeen;
    QThread* worker = QThread::create([&] {
        html other;
        other.get(m_site.httpUrl("/jp/show/mystatus"));
        cookieSeen = lastRequest().header("Cookie");
    });
    worker->start();
    QVERIFY(worker->wait(10000));
    delete worker;
    QVERIFY(cookieSeen.contains("Y=v%3Dlogin"));
    QVERIFY(cookieSeen.contains("S=session"));

    NetworkThread::shutdown();
    QFile file(m_folder.filePath("cookies.txt"));
    QVERIFY(file.exists());
    QCOMPARE(file.permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner);

    html afterRestart;
    afterRestart.get(m_site.httpUrl("/jp/show/mystatus"));
    const QByteArray cookie = lastRequest().header("Cookie");
    QVERIFY(cookie.contains("Y=v%3Dlogin"));
    QVERIFY(!cookie.contains("S=session"));

    // Expiring the cookie (as a logout does) takes it out of the file too.
    FakeSite::Response logout = okPage("bye");
    logout.headers = {{"Set-Cookie", "Y=; expires=Thu, 01 Jan 2004 00:00:00 GMT; path=/"}};
    m_site.setRoute("POST", "/config/logout", logout);
    html client2;
    client2.post(m_site.httpUrl("/config/logout"));
    QCOMPARE(client2.response(), QByteArray("bye"));
    NetworkThread::shutdown();
    html afterLogout;
    afterLogout.get(m_site.httpUrl("/jp/show/mystatus"));
    QVERIFY(!lastRequest().header("Cookie").contains("Y="));
}

void TestHttp::redirectIsFollowedWithItsCookie_data()
{
    QTest::addColumn<bool>("fromSecure");
    QTest::newRow("https to https") << true;
    QTest::newRow("http to https") << false;
}

void TestHttp::redirectIsFollowedWithItsCookie()
{
    QFETCH(bool, fromSecure);
    FakeSite::Response redirect;
    redirect.status = 302;
    redirect.headers = {{"Location", m_site.httpsUrl("/target").toLatin1()},
                        {"Set-Cookie", "R=moved; path=/"}};
    m_site.setRoute("POST", "/config/login", redirect);
    m_site.setRoute("GET", "/target", okPage("arrived"));
    html client;
    if (fromSecure)
        client.postSecure(m_site.httpsUrl("/config/login?"));
    else
        client.post(m_site.httpUrl("/config/login?"));
    QCOMPARE(client.response(), QByteArray("arrived"));
    QCOMPARE(lastRequest().path(), QByteArray("/target"));
    QVERIFY(lastRequest().secure);
    QVERIFY(lastRequest().header("Cookie").contains("R=moved"));
}

void TestHttp::redirectWithoutAnAddressGivesNoAnswer_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("redirects"); // in a row, each to the next; the last one to location
    QTest::addColumn<QByteArray>("location"); // empty: no Location header
    QTest::addColumn<QByteArray>("response");
    for (const int status : {301, 302, 303, 305, 307, 308}) {
        QTest::addRow("%d without an address", status)
            << status << 1 << QByteArray() << QByteArray();
        QTest::addRow("%d to a path", status)
            << status << 1 << QByteArray("/target") << QByteArray("arrived");
        QTest::addRow("%d twenty in a row", status)
            << status << 20 << QByteArray("/target") << QByteArray("arrived");
        QTest::addRow("%d twenty-one in a row", status)
            << status << 21 << QByteArray("/target") << QByteArray();
    }
}

// A redirect is never taken for the page itself: it is followed, or gives no answer when it
// names no address or comes after twenty others.
void TestHttp::redirectWithoutAnAddressGivesNoAnswer()
{
    QFETCH(int, status);
    QFETCH(int, redirects);
    QFETCH(QByteArray, location);
    QFETCH(QByteArray, response);
    // "/moved?n" is the n-th redirect.
    m_site.setHandler("GET", "/moved", [=](const FakeSite::Request& request) {
        const int n = request.query().toInt();
        FakeSite::Response redirect = okPage("the redirect's own page");
        redirect.status = status;
        const QByteArray next = n < redirects ? "/moved?" + QByteArray::number(n + 1) : location;
        if (!next.isEmpty())
            redirect.headers = {{"Location", next}};
        return redirect;
    });
    m_site.setRoute("GET", "/target", okPage("arrived"));
    html client;
    client.get(m_site.httpUrl("/moved?1"));
    QCOMPARE(client.response(), response);
}

void TestHttp::secureFormIsNeverRedirectedToPlainHttp_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("samePort");
    for (const int status : {301, 302, 303, 307, 308}) {
        QTest::addRow("%d to another server", status) << status << false;
        QTest::addRow("%d to the same server", status) << status << true;
    }
}

// A login posted over TLS and answered by a redirect to plain HTTP must not be sent again in
// clear: the request ends without an answer and no plain-HTTP connection is even opened.
void TestHttp::secureFormIsNeverRedirectedToPlainHttp()
{
    QFETCH(int, status);
    QFETCH(bool, samePort);
    FakeSite plain;
    QVERIFY(plain.start());
    const FakeSite& target = samePort ? m_site : plain;
    for (const QByteArray method : {"GET", "POST"}) {
        plain.setRoute(method, "/leak", okPage("leaked"));
        m_site.setRoute(method, "/leak", okPage("leaked"));
    }
    QCOMPARE(postLoginRedirected(m_site, status, target.httpUrl("/leak")), QByteArray());

    const QList<FakeSite::Request> seen = m_site.requests();
    QCOMPARE(seen.size(), 1);
    QVERIFY(seen.at(0).secure);
    QCOMPARE(seen.at(0).path(), QByteArray("/config/login"));
    QVERIFY(plain.requests().isEmpty());
    QCOMPARE(plain.connectionCount(), 0);
}

void TestHttp::redirectRuleKeepsARepeatedBodyOnTheSite_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("sendsBody");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("allowed");
    const QString login = QStringLiteral("https://login.yahoo.co.jp/config/login");
    const QString plainLogin = QStringLiteral("http://login.yahoo.co.jp/config/login");
    const QString elsewhere = QStringLiteral("https://collector.example.test/config/login");
    for (const int status : {307, 308}) {
        const auto row = [status](const char* name) -> QTestData& {
            return QTest::addRow("%d %s", status, name) << status;
        };
        row("form on the same origin") << true << login << "https://login.yahoo.co.jp/next" << true;
        row("host in other case") << true << login << "https://LOGIN.Yahoo.co.jp/next" << true;
        row("form to another host") << true << login << elsewhere << false;
        row("form to another port")
            << true << login << "https://login.yahoo.co.jp:8443/next" << false;
        row("form to a site host") << true << login << "https://auctions.yahoo.co.jp/next" << true;
        row("form to a site host on its port")
            << true << login << "https://auctions.yahoo.co.jp:443/next" << true;
        row("form to a site host on another port")
            << true << login << "https://auctions.yahoo.co.jp:444/next" << false;
        row("form to the update server")
            << true << login << "https://update.example.test/next" << false;
        row("plain form to a site host in clear")
            << true << plainLogin << "http://auctions.yahoo.co.jp/next" << false;
        row("plain form to its own host over TLS")
            << true << plainLogin << "https://login.yahoo.co.jp/config/login" << true;
        row("plain form to another host over TLS") << true << plainLogin << elsewhere << false;
        row("plain form on the same origin")
            << true << plainLogin << "http://login.yahoo.co.jp/next" << true;
        row("form from TLS to clear") << true << login << "http://login.yahoo.co.jp/next" << false;
        row("page without body to another host") << false << login << elsewhere << true;
        row("page without body from TLS to clear")
            << false << login << "http://collector.example.test/" << false;
    }
    for (const int status : {301, 302, 303, 305}) {
        const auto row = [status](const char* name) -> QTestData& {
            return QTest::addRow("%d %s", status, name) << status;
        };
        row("form as a page to another host") << true << login << elsewhere << true;
        row("form as a page to a plain site host")
            << true << plainLogin << "http://auctions.yahoo.co.jp/next" << true;
        row("form from TLS to clear") << true << login << "http://collector.example.test/" << false;
    }
    QTest::newRow("status unknown: the body is taken as repeated")
        << 0 << true << login << elsewhere << false;
    QTest::newRow("another scheme") << 302 << false << login << "ftp://login.yahoo.co.jp/" << false;
    QTest::newRow("a local file") << 302 << false << plainLogin << "file:///etc/passwd" << false;
    QTest::newRow("no host") << 307 << true << login << "https:///next" << false;
}

void TestHttp::redirectRuleKeepsARepeatedBodyOnTheSite()
{
    QFETCH(int, status);
    QFETCH(bool, sendsBody);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, allowed);
    SiteEndpoints site = SiteEndpoints::defaults();
    site.updateHost = QStringLiteral("update.example.test");
    QCOMPARE(NetworkThread::redirectAllowed(status, sendsBody, QUrl(from), QUrl(to), site),
             allowed);
}

void TestHttp::repeatedFormReachesOnlyTheSitesOwnHosts_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("target"); // "same origin", "site host" or "other host"
    QTest::addColumn<bool>("followed");
    QTest::addColumn<bool>("bodyRepeated");
    for (const int status : {307, 308}) {
        QTest::addRow("%d same origin", status) << status << "same origin" << true << true;
        QTest::addRow("%d another of the site's hosts", status)
            << status << "site host" << true << true;
        QTest::addRow("%d a host not of the site", status)
            << status << "other host" << false << false;
    }
    for (const int status : {301, 302, 303}) {
        QTest::addRow("%d a host not of the site", status)
            << status << "other host" << true << false;
        QTest::addRow("%d same origin", status) << status << "same origin" << true << false;
    }
}

// A login posted over TLS and redirected by 307 or 308 would be posted again, password and all,
// wherever the redirect points: it goes on only to the site's own hosts, and nothing at all
// reaches another server. A 301, 302 or 303 asks for a page by GET without the form, as before.
void TestHttp::repeatedFormReachesOnlyTheSitesOwnHosts()
{
    QFETCH(int, status);
    QFETCH(QString, target);
    QFETCH(bool, followed);
    QFETCH(bool, bodyRepeated);
    FakeSite siteHost;
    FakeSite other;
    QVERIFY(siteHost.start());
    QVERIFY(other.start());
    // The second fake server is one of the site's hosts, read when the network thread starts.
    IniFile(m_folder.filePath("setting.ini"))
        .writeString(QStringLiteral("Site"), QStringLiteral("AccountHost"), siteHost.host());
    NetworkThread::shutdown();
    const auto restore = qScopeGuard([this] {
        m_site.useAsSite();
        NetworkThread::shutdown();
    });

    const FakeSite& reached = target == "same origin" ? m_site
                              : target == "site host" ? siteHost
                                                      : other;
    for (const QByteArray method : {"GET", "POST"}) {
        for (FakeSite* server : {&m_site, &siteHost, &other})
            server->setRoute(method, "/next", okPage("moved on"));
    }
    QCOMPARE(postLoginRedirected(m_site, status, reached.httpsUrl("/next")),
             followed ? QByteArray("moved on") : QByteArray());

    QList<FakeSite::Request> seen = reached.requests();
    if (&reached == &m_site)
        seen.removeFirst(); // the login form itself
    if (!followed) {
        QVERIFY(seen.isEmpty());
        QCOMPARE(reached.connectionCount(), 0);
        return;
    }
    QCOMPARE(seen.size(), 1);
    QVERIFY(seen.at(0).secure);
    QCOMPARE(seen.at(0).path(), QByteArray("/next"));
    QCOMPARE(seen.at(0).method, bodyRepeated ? QByteArray("POST") : QByteArray("GET"));
    QCOMPARE(seen.at(0).body.contains("passwd=secret"), bodyRepeated);
}

void TestHttp::cookieFileIsWrittenOnlyWhenPersistentCookiesChange()
{
    const auto setting = [](const QByteArray& cookie) {
        FakeSite::Response response = okPage("page");
        response.headers = {{"Set-Cookie", cookie}};
        return response;
    };
    QAtomicInt sessionNumber = 0;
    m_site.setHandler("GET", "/session", [&](const FakeSite::Request&) {
        return setting("S=" + QByteArray::number(sessionNumber.fetchAndAddOrdered(1)) + "; path=/");
    });
    m_site.setRoute("GET", "/keep", setting("P=1; expires=Fri, 01 Jan 2044 00:00:00 GMT; path=/"));
    m_site.setRoute("GET", "/change",
                    setting("P=2; expires=Fri, 01 Jan 2044 00:00:00 GMT; path=/"));
    m_site.setRoute("GET", "/prolong",
                    setting("P=2; expires=Sun, 01 Jan 2045 00:00:00 GMT; path=/"));
    m_site.setRoute("GET", "/secure",
                    setting("P=2; expires=Sun, 01 Jan 2045 00:00:00 GMT; path=/; HttpOnly"));
    m_site.setRoute("GET", "/other", setting("Q=1; expires=Fri, 01 Jan 2044 00:00:00 GMT; path=/"));
    m_site.setRoute("GET", "/expire", setting("Q=; expires=Thu, 01 Jan 2004 00:00:00 GMT; path=/"));
    m_site.setRoute("GET", "/none", okPage("page"));

    struct Step
    {
        const char* path;
        int writes;
        const char* why;
    };
    const Step steps[] = {
        {"/keep", 1, "a new persistent cookie"},
        {"/session", 0, "a session cookie"},
        {"/session", 0, "another session cookie value"},
        {"/keep", 0, "the same persistent cookie again"},
        {"/none", 0, "no cookie"},
        {"/change", 1, "a new value"},
        {"/prolong", 0, "only the expiry moved: kept for the save at exit"},
        {"/secure", 1, "an attribute changed"},
        {"/other", 1, "a second persistent cookie"},
        {"/other", 0, "the second one again"},
        {"/expire", 1, "expired by the server: taken out of the file"},
        {"/expire", 0, "expired again"},
    };
    CookieStore* store = NetworkThread::instance().cookieStore();
    html client;
    for (const Step& step : steps) {
        const int before = store->saveCount();
        client.get(m_site.httpUrl(QString::fromLatin1(step.path)));
        QCOMPARE(client.response(), QByteArray("page"));
        QVERIFY2(store->saveCount() - before == step.writes, step.why);
    }

    NetworkThread::shutdown();
    QFile file(m_folder.filePath("cookies.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
    QList<QNetworkCookie> saved;
    while (!file.atEnd())
        saved += QNetworkCookie::parseCookies(file.readLine().trimmed());
    QList<QByteArray> names;
    for (const QNetworkCookie& cookie : saved)
        names.append(cookie.name());
    QVERIFY(!names.contains("S"));
    QVERIFY(!names.contains("Q"));
    QCOMPARE(names.count("P"), 1);
    const QNetworkCookie p = saved.at(names.indexOf("P"));
    QCOMPARE(p.value(), QByteArray("2"));
    QVERIFY(p.isHttpOnly());
    QCOMPARE(p.expirationDate().toUTC().date(), QDate(2045, 1, 1));
}

void TestHttp::fullDiskKeepsTheCookieFileAndALaterSaveWritesIt_data()
{
    QTest::addColumn<bool>("real");
    QTest::newRow("write seam") << false;
    QTest::newRow("a real full file system") << true;
}

void TestHttp::fullDiskKeepsTheCookieFileAndALaterSaveWritesIt()
{
    QFETCH(bool, real);
    SmallFileSystem disk(64);
    if (real && !disk.isMounted())
        QSKIP("no small file system can be mounted here");
    const QString folder = real ? disk.path() : m_folder.filePath("full");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + "/cookies.txt";
    const auto persistent = [](const QByteArray& name, const QByteArray& value) {
        QNetworkCookie cookie(name, value);
        cookie.setDomain(".example.test");
        cookie.setPath("/");
        cookie.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(30));
        return cookie;
    };
    CookieStore store(path);
    store.insertOrReplace(persistent("A", "1"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::ReadOnly));
    const QByteArray oldBytes = old.readAll();
    QVERIFY(oldBytes.startsWith("A=1;"));
    const int saves = store.saveCount();

    const QString filler = folder + "/filler";
    if (real) {
        QFile fill(filler);
        QVERIFY(fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (fill.write(QByteArray(4096, 'f')) == 4096) {
        }
    } else {
        SafeFileWriter::simulateDiskFullAfter(10);
    }
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cookies not saved to .*cookies\\.txt"));
    store.insertOrReplace(persistent("B", "2"));
    SafeFileWriter::simulateDiskFullAfter(-1);
    QVERIFY(old.seek(0));
    QCOMPARE(old.readAll(), oldBytes);
    QCOMPARE(store.saveCount(), saves);
    QCOMPARE(QDir(folder).entryList({"cookies*"}, QDir::Files), QStringList{"cookies.txt"});

    // Space again: the next operation writes what the failed save could not, unasked.
    QFile::remove(filler);
    QVERIFY(!store.deleteCookie(persistent("Missing", "")));
    QCOMPARE(store.saveCount(), saves + 1);
    CookieStore reread(path);
    QCOMPARE(reread.cookies().size(), 2);
}

void TestHttp::tricklingAnswerEndsAtTotalBound_data()
{
    QTest::addColumn<QByteArray>("operation");
    QTest::addColumn<int>("bodySize");
    QTest::addColumn<int>("totalMs");
    QTest::addColumn<bool>("answered");
    // 2,000 bytes at one every 10 ms would take 20 s; the bound ends the request long before.
    addOperationRows("cut at the bound", [](QTestData& row) { row << 2000 << 400 << false; });
    addOperationRows("ends within the bound", [](QTestData& row) { row << 10 << 10000 << true; });
}

void TestHttp::tricklingAnswerEndsAtTotalBound()
{
    QFETCH(QByteArray, operation);
    QFETCH(int, bodySize);
    QFETCH(int, totalMs);
    QFETCH(bool, answered);
    FakeSite::Response trickling = okPage(QByteArray(bodySize, 'x'));
    trickling.trickleMs = 10;
    m_site.setRoute("GET", "/trickle", trickling);
    m_site.setRoute("POST", "/trickle", trickling);
    html::setDefaultTotalTimeout(totalMs);
    html client; // the no-progress time-out stays at 30 s
    QElapsedTimer elapsed;
    elapsed.start();
    sendBy(client, operation, m_site, QStringLiteral("/trickle"));
    QCOMPARE(client.response(), answered ? trickling.body : QByteArray());
    // Well before the caller's own fallback (the bound and a grace of seconds) would give up.
    QVERIFY2(elapsed.elapsed() < 4000, "the total bound must end a trickling answer");
}

void TestHttp::bodyPastSizeBoundGivesEmptyAnswer_data()
{
    QTest::addColumn<QByteArray>("operation");
    QTest::addColumn<int>("bodySize");
    QTest::addColumn<bool>("answered");
    const int bound = 64 * 1024;
    addOperationRows("at the bound", [bound](QTestData& row) { row << bound << true; });
    addOperationRows("one byte past", [bound](QTestData& row) { row << bound + 1 << false; });
    addOperationRows("far past", [](QTestData& row) { row << 64 * bound << false; });
}

void TestHttp::bodyPastSizeBoundGivesEmptyAnswer()
{
    QFETCH(QByteArray, operation);
    QFETCH(int, bodySize);
    QFETCH(bool, answered);
    const FakeSite::Response large = okPage(QByteArray(bodySize, 'x'));
    m_site.setRoute("GET", "/large", large);
    m_site.setRoute("POST", "/large", large);
    html::setDefaultMaxResponseSize(64 * 1024);
    html client;
    sendBy(client, operation, m_site, QStringLiteral("/large"));
    QCOMPARE(client.response(), answered ? large.body : QByteArray());
    // The connection stays usable for the next request.
    m_site.setRoute("GET", "/small", okPage("small"));
    client.get(m_site.httpUrl("/small"));
    QCOMPARE(client.response(), QByteArray("small"));
}

void TestHttp::endlessFastBodyKeepsMemoryNearThePageBound_data()
{
    QTest::addColumn<QByteArray>("operation");
    QTest::addColumn<bool>("redirected");
    addOperationRows("endless chunks", [](QTestData& row) { row << false; });
    // A followed redirect is a new transfer: the bound holds for it too.
    QTest::newRow("get redirected to endless chunks") << QByteArray("get") << true;
}

// A sender faster than the client reads must not fill memory past the page bound (8 MiB): the
// answer ends without a page once the bound is passed, and the peak memory of the whole process
// (of its live heap under AddressSanitizer) stays within a generous margin of it.
void TestHttp::endlessFastBodyKeepsMemoryNearThePageBound()
{
    QFETCH(QByteArray, operation);
    QFETCH(bool, redirected);
    const qint64 mebibyte = 1024 * 1024;
    const qint64 byteLimit = 1024 * mebibyte;
    const qint64 floodBytes = 256 * mebibyte;
    EndlessChunkedSite endless(byteLimit, floodBytes);
    QVERIFY(endless.isListening());
    FakeSite::Response redirect;
    redirect.status = 302;
    redirect.headers = {{"Location", ("http://" + endless.host() + "/endless").toLatin1()}};
    m_site.setRoute("GET", "/to-endless", redirect);

    const PeakMemoryGrowth growth;
    QVERIFY(growth.isValid());
    html client; // the default page bound of 8 MiB
    client.setTotalTimeout(120000);
    if (redirected)
        client.get(m_site.httpUrl("/to-endless"));
    else
        sendTo(client, operation, endless.host(), QStringLiteral("/endless"));
    const qint64 grownKiB = growth.kibibytes();
    const qint64 sent = endless.sent();

    QVERIFY(client.response().isEmpty());
    QVERIFY2(grownKiB < 64 * 1024, qPrintable(growth.describe(grownKiB, sent)));
    QVERIFY2(sent < byteLimit, "the client took the endless body to the sender's own limit");
}

void TestHttp::endlessDownloadKeepsMemoryNearItsBound_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("asked at once") << "/endless";
    // A followed redirect is a new transfer: the bound holds for it too.
    QTest::newRow("redirected on its host") << "/moved";
}

// The download of a file (the updater's) holds no more than its read buffer of a sender faster
// than it writes: it fails at its size bound with the memory near that bound.
void TestHttp::endlessDownloadKeepsMemoryNearItsBound()
{
    QFETCH(QString, path);
    const qint64 mebibyte = 1024 * 1024;
    const qint64 byteLimit = 1024 * mebibyte;
    FileDownload download;
    EndlessChunkedSite endless(byteLimit, 256 * mebibyte, &download);
    QVERIFY(endless.isListening());
    QSignalSpy finished(&download, &FileDownload::finished);
    const QString file = m_folder.filePath("download.bin");

    const PeakMemoryGrowth growth;
    QVERIFY(growth.isValid());
    QVERIFY(download.start(QNetworkRequest(QUrl("http://" + endless.host() + path)), file,
                           8 * mebibyte));
    QVERIFY(finished.wait(60000));
    const qint64 grownKiB = growth.kibibytes();
    const qint64 sent = endless.sent();

    QCOMPARE(finished.at(0).at(0).toBool(), false);
    QVERIFY(!QFile::exists(file));
    QVERIFY2(grownKiB < 64 * 1024, qPrintable(growth.describe(grownKiB, sent)));
    QVERIFY2(sent < byteLimit, "the download took the endless body to the sender's own limit");
}

void TestHttp::undecodableBodyGivesNoAnswer_data()
{
    QTest::addColumn<QByteArray>("operation");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("trickleMs"); // 0: the body is sent at once
    QTest::addColumn<bool>("answered");
    const QByteArray whole = gzipped(compressedPage());
    QByteArray badCheck = whole;
    badCheck[badCheck.size() - 8] = char(badCheck.at(badCheck.size() - 8) ^ 0x55);
    const QByteArray cutThenGarbage = whole.left(whole.size() / 2) + QByteArray(64, '\xAB');
    const QByteArray garbage = "\x1f\x8b\x08\x00" + QByteArray(4000, '\x7e');
    // More than the connection's buffers hold at once: the sender is still sending at the fault.
    const QByteArray longGarbage = "\x1f\x8b\x08\x00" + QByteArray(4 * 1024 * 1024, '\x7e');
    for (const int status : {200, 404, 429, 500}) {
        const auto rows = [status](const char* name, const QByteArray& body, int trickleMs,
                                   bool answered) {
            addOperationRows(qPrintable(QStringLiteral("%1 %2").arg(status).arg(name)),
                             [status, body, trickleMs, answered](QTestData& row) {
                                 row << status << body << trickleMs << answered;
                             });
        };
        rows("garbage from the start", garbage, 0, false);
        rows("a page, then garbage", cutThenGarbage, 0, false);
        rows("a page with a wrong check", badCheck, 0, false);
        rows("a whole gzip page", whole, 0, true);
        rows("garbage, then megabytes more", longGarbage, 0, false);
        // 4,000 bytes at one every 10 ms would take 40 s.
        rows("garbage, sent slowly", garbage, 10, false);
    }
}

// An answer whose body Qt cannot decode is no page: it gives no answer, as a network error does,
// whatever part of it was decoded before the fault, and it gives it as soon as the fault is met,
// not when the sender is done or the time-out (30 s) has passed.
void TestHttp::undecodableBodyGivesNoAnswer()
{
    QFETCH(QByteArray, operation);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(int, trickleMs);
    QFETCH(bool, answered);
    FakeSite::Response response = okPage(body);
    response.status = status;
    response.headers = {{"Content-Encoding", "gzip"}};
    response.trickleMs = trickleMs;
    m_site.setRoute("GET", "/coded", response);
    m_site.setRoute("POST", "/coded", response);
    const qint64 farWithinTheTimeoutMs = 10000;

    html client; // the default time-out of 30 s
    QElapsedTimer elapsed;
    elapsed.start();
    sendBy(client, operation, m_site, QStringLiteral("/coded"));
    QCOMPARE(client.response(), answered ? compressedPage() : QByteArray());
    QVERIFY2(elapsed.elapsed() < farWithinTheTimeoutMs, "the fault must end the request");

    NetworkRequest request;
    request.url = QUrl(m_site.httpUrl("/coded"));
    elapsed.restart();
    const NetworkAnswer answer = NetworkThread::instance().execute(request);
    QCOMPARE(answer.answered, answered);
    QCOMPARE(answer.status, answered ? status : 0);
    QVERIFY2(elapsed.elapsed() < farWithinTheTimeoutMs, "the fault must end the request");
}

void TestHttp::timeoutGivesEmptyAnswerQuickly()
{
    FakeSite::Response slow = okPage("too late");
    slow.delayMs = 60000;
    m_site.setRoute("GET", "/slow", slow);
    m_site.setRoute("POST", "/slow", slow);
    html::setDefaultTimeout(300);
    html client;
    QElapsedTimer elapsed;
    elapsed.start();
    client.get(m_site.httpUrl("/slow"));
    QVERIFY(client.response().isEmpty());
    client.postSecure(m_site.httpsUrl("/slow"));
    QVERIFY(client.response().isEmpty());
    client.post(m_site.httpUrl("/slow"));
    QVERIFY(client.response().isEmpty());
    QVERIFY2(elapsed.elapsed() < 15000, "a time-out of 300 ms must not hang");
}

void TestHttp::droppedConnectionGivesEmptyAnswer()
{
    FakeSite::Response drop;
    drop.drop = true;
    m_site.setRoute("GET", "/drop", drop);
    m_site.setRoute("POST", "/drop", drop);
    m_site.setRoute("POST", "/ok", okPage("kept"));
    html client;
    client.get(m_site.httpUrl("/drop"));
    QVERIFY(client.response().isEmpty());
    client.post(m_site.httpUrl("/drop"));
    QVERIFY(client.response().isEmpty());
    client.postSecure(m_site.httpsUrl("/ok"));
    client.postSecure(m_site.httpsUrl("/drop"));
    QCOMPARE(client.response(), QByteArray("kept"));
}

void TestHttp::unreachableHostGivesEmptyAnswer()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const QString url = "http://127.0.0.1:" + QString::number(closed.serverPort()) + "/page";
    closed.close();
    html client;
    client.get(url);
    QVERIFY(client.response().isEmpty());
    client.get("not a url");
    QVERIFY(client.response().isEmpty());
    QCOMPARE(client.responseText(), QString());
}

void TestHttp::stopRequestEndsWorkerRequest()
{
    FakeSite::Response slow = okPage("too late");
    slow.delayMs = 60000;
    m_site.setRoute("GET", "/slow", slow);
    QAtomicInt started = 0;
    QByteArray response = "unset";
    QThread* worker = QThread::create([&] {
        html client; // the default time-out of 30 s
        started = 1;
        client.get(m_site.httpUrl("/slow"));
        response = client.response();
    });
    worker->start();
    QTRY_VERIFY(started.loadAcquire() == 1 && !m_site.requests().isEmpty());
    worker->requestInterruption();
    QVERIFY(worker->wait(5000));
    delete worker;
    QVERIFY(response.isEmpty());
}

// The GUI thread's wait for an answer serves its timers and queued calls, and no user input.
void TestHttp::guiThreadWaitRunsTimersAndQueuedCalls()
{
    FakeSite::Response slowish = okPage("answer");
    slowish.delayMs = 300;
    m_site.setRoute("GET", "/slowish", slowish);
    bool waiting = false;
    bool timerRanInTheWait = false;
    bool queuedCallRanInTheWait = false;
    QTimer::singleShot(0, this, [&] { timerRanInTheWait = waiting; });
    QMetaObject::invokeMethod(
        this, [&] { queuedCallRanInTheWait = waiting; }, Qt::QueuedConnection);
    html client;
    waiting = true;
    client.get(m_site.httpUrl("/slowish"));
    waiting = false;
    QCOMPARE(client.response(), QByteArray("answer"));
    QVERIFY(timerRanInTheWait);
    QVERIFY(queuedCallRanInTheWait);
}

// A request made by a timer that runs inside a GUI-thread wait gets its answer without running
// events itself: nothing re-enters the operation that waits, and the outer wait still ends.
void TestHttp::requestInsideAGuiWaitRunsNoEventLoop()
{
    FakeSite::Response outer = okPage("outer");
    outer.delayMs = 600;
    m_site.setRoute("GET", "/outer", outer);
    FakeSite::Response inner = okPage("inner");
    inner.delayMs = 100;
    m_site.setRoute("GET", "/inner", inner);
    bool insideInner = false;
    bool ranInsideInner = false;
    bool innerDone = false;
    QByteArray innerResponse;
    QTimer::singleShot(0, this, [&] {
        QVERIFY(!GuiThreadWait::canProcessEvents());
        QTimer::singleShot(0, this, [&] { ranInsideInner = insideInner; });
        html nested;
        insideInner = true;
        nested.get(m_site.httpUrl("/inner"));
        insideInner = false;
        innerResponse = nested.response();
        innerDone = true;
    });
    html client;
    client.get(m_site.httpUrl("/outer"));
    QCOMPARE(client.response(), QByteArray("outer"));
    QVERIFY(innerDone);
    QCOMPARE(innerResponse, QByteArray("inner"));
    QVERIFY(!ranInsideInner);
    QVERIFY(GuiThreadWait::canProcessEvents());
}

// SIGTERM while the GUI thread waits for a host that accepts and never answers: the wait ends
// at once with no answer, the stop reaches the program as a signal, and the request is dropped.
void TestHttp::stopSignalEndsTheGuiWaitAtOnce()
{
    FakeSite::Response silent = okPage("too late");
    silent.delayMs = 120000;
    m_site.setRoute("GET", "/silent", silent);
    UnixSignals signalsToClose;
    QSignalSpy stop(&signalsToClose, &UnixSignals::terminateRequested);
    QTimer raiser;
    connect(&raiser, &QTimer::timeout, this, [&] {
        if (!m_site.requests().isEmpty()) {
            raiser.stop();
            ::raise(SIGTERM);
        }
    });
    raiser.start(20);
    html client;
    client.setTimeout(100000);
    client.setTotalTimeout(100000);
    QElapsedTimer clock;
    clock.start();
    client.get(m_site.httpUrl("/silent"));
    QVERIFY2(clock.elapsed() < 10000, "the wait outlived the stop signal");
    QVERIFY(client.response().isEmpty());
    QTRY_COMPARE(stop.size(), 1);
    // The program is ending: the GUI thread asks nothing more.
    html later;
    later.get(m_site.httpUrl("/silent"));
    QVERIFY(later.response().isEmpty());
    QCOMPARE(int(m_site.requests().size()), 1);
}

void TestHttp::laterAnswerArrivesByAQueuedCall()
{
    m_site.setRoute("GET", "/later", okPage("later answer"));
    QByteArray body;
    bool answered = false;
    {
        html client;
        client.getLater(m_site.httpUrl("/later"), this, [&](const QByteArray& answer) {
            body = answer;
            answered = true;
        });
    }
    QVERIFY(!answered);
    QTRY_VERIFY(answered);
    QCOMPARE(body, QByteArray("later answer"));

    // A receiver that goes first gets nothing.
    FakeSite::Response slow = okPage("slow");
    slow.delayMs = 200;
    m_site.setRoute("GET", "/slow-later", slow);
    bool late = false;
    auto* receiver = new QObject;
    html().getLater(m_site.httpUrl("/slow-later"), receiver,
                    [&late](const QByteArray&) { late = true; });
    QTRY_VERIFY(m_site.requests().size() == 2);
    delete receiver;
    FakeSite::Response fenceAnswer = okPage("fence");
    fenceAnswer.delayMs = 400;
    m_site.setRoute("GET", "/fence", fenceAnswer);
    html fence; // answered after the slow one would have been
    fence.get(m_site.httpUrl("/fence"));
    QCoreApplication::processEvents();
    QVERIFY(!late);
}

QTEST_GUILESS_MAIN(TestHttp)
#include "test_http.moc"
