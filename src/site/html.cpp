#include "site/html.h"

#include "platform/TextDecoding.h"
#include "site/NetworkThread.h"

#include <QStringEncoder>
#include <QUrl>

#include <atomic>

namespace {

std::atomic<int> defaultTimeoutMs{30000};
std::atomic<int> defaultTotalTimeoutMs{60000};
std::atomic<qint64> defaultMaxResponseBytes{qint64(8) * 1024 * 1024};

QByteArray percentEncoded(const QByteArray& bytes)
{
    QByteArray encoded;
    for (const char c : bytes) {
        encoded += '%';
        encoded +=
            QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0').toUpper();
    }
    return encoded;
}

// Form encoding of one name or value: text outside ASCII in the site's code (Windows-31J), every
// byte of it as %XX; in ASCII, the bytes that would change the form's meaning ("%", "&", "+",
// "=") and control bytes as %XX, a blank as "+", everything else as it stands.
QByteArray encodeFormText(const QString& text)
{
    QStringEncoder encoder("CP932");
    QByteArray encoded;
    qsizetype i = 0;
    while (i < text.size()) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0x80) {
            qsizetype end = i;
            while (end < text.size() && text.at(end).unicode() >= 0x80)
                ++end;
            const QStringView run = QStringView(text).mid(i, end - i);
            encoded +=
                percentEncoded(encoder.isValid() ? QByteArray(encoder.encode(run)) : run.toUtf8());
            i = end;
            continue;
        }
        if (c == ' ')
            encoded += '+';
        else if (c < 0x20 || c == 0x7F || c == '%' || c == '&' || c == '+' || c == '=')
            encoded += percentEncoded(QByteArray(1, char(c)));
        else
            encoded += char(c);
        ++i;
    }
    return encoded;
}

} // namespace

html::html()
    : m_header("Content-Type: application/x-www-form-urlencoded"),
      m_timeoutMs(defaultTimeoutMs.load()), m_totalTimeoutMs(defaultTotalTimeoutMs.load()),
      m_maxResponseBytes(defaultMaxResponseBytes.load())
{
}

html::~html() = default;

void html::setDefaultTimeout(int milliseconds)
{
    defaultTimeoutMs.store(milliseconds);
}

int html::defaultTimeout()
{
    return defaultTimeoutMs.load();
}

void html::setDefaultTotalTimeout(int milliseconds)
{
    defaultTotalTimeoutMs.store(milliseconds);
}

int html::defaultTotalTimeout()
{
    return defaultTotalTimeoutMs.load();
}

void html::setDefaultMaxResponseSize(qint64 bytes)
{
    defaultMaxResponseBytes.store(bytes);
}

qint64 html::defaultMaxResponseSize()
{
    return defaultMaxResponseBytes.load();
}

NetworkRequest html::getRequest(const QString& url) const
{
    NetworkRequest request;
    request.verb = "GET";
    request.url = QUrl(url, QUrl::TolerantMode);
    request.userAgent = "MyApp";
    // Pages are fetched one after another from the same hosts; the connection is kept for the
    // next one, as HTTP/1.1 clients do unless told otherwise.
    request.keepAlive = true;
    request.timeoutMs = m_timeoutMs;
    request.totalTimeoutMs = m_totalTimeoutMs;
    request.maxBodyBytes = m_maxResponseBytes;
    return request;
}

void html::get(const QString& url)
{
    m_response.clear();
    m_contentType.clear();
    const NetworkAnswer answer = NetworkThread::instance().execute(getRequest(url));
    m_response = answer.body;
    m_contentType = answer.contentType;
}

void html::getLater(const QString& url, QObject* receiver,
                    std::function<void(const QByteArray& body)> answered) const
{
    NetworkThread::instance().submit(getRequest(url), receiver,
                                     [answered = std::move(answered)](const NetworkAnswer& answer) {
                                         answered(answer.body);
                                     });
}

void html::addParam(const QString& name, const QString& value)
{
    if (!m_postData.isEmpty())
        m_postData += "&&";
    m_postData += encodeFormText(name);
    m_postData += '=';
    m_postData += encodeFormText(value);
}

void html::postSecure(const QString& url)
{
    send(url, true);
}

void html::post(const QString& url)
{
    m_response.clear();
    m_contentType.clear();
    send(url, false);
}

void html::send(const QString& url, bool secure)
{
    QUrl target(url, QUrl::TolerantMode);
    // The object requested is the path alone: "/config/login?" is sent as "/config/login".
    target.setQuery(QString());
    target.setFragment(QString());
    target.setScheme(secure ? QStringLiteral("https") : QStringLiteral("http"));

    NetworkRequest request;
    request.verb = "POST";
    request.url = target;
    request.body = m_postData;
    request.timeoutMs = m_timeoutMs;
    request.totalTimeoutMs = m_totalTimeoutMs;
    request.maxBodyBytes = m_maxResponseBytes;
    const int colon = m_header.indexOf(':');
    if (colon > 0)
        request.headers.append({m_header.left(colon).trimmed(), m_header.mid(colon + 1).trimmed()});
    if (secure) {
        request.reload = true;
        request.keepAlive = true;
    } else {
        request.userAgent = "Microsoft Internet Explorer";
    }
    const NetworkAnswer answer = NetworkThread::instance().execute(request);
    if (!answer.answered)
        return;
    m_response += answer.body;
    m_contentType = answer.contentType;
}

QString html::responseText() const
{
    return TextDecoding::decode(m_response, m_contentType);
}
