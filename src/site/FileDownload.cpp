#include "site/FileDownload.h"

#include "platform/SafeFileWriter.h"
#include "site/HttpRedirect.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace {

constexpr int maxRedirects = 5;
// What the reply may hold before it is written out: the memory a download takes.
constexpr qint64 readBufferBytes = 1024 * 1024;

} // namespace

FileDownload::FileDownload(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this))
{
}

FileDownload::~FileDownload()
{
    stop();
}

bool FileDownload::redirectAllowed(const QUrl& origin, const QUrl& from, const QUrl& to)
{
    const QString scheme = to.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return false;
    if (from.scheme().toLower() == QLatin1String("https") && scheme == QLatin1String("http"))
        return false;
    return to.host().compare(origin.host(), Qt::CaseInsensitive) == 0 &&
           to.port(-1) == origin.port(-1);
}

bool FileDownload::start(QNetworkRequest request, const QString& path, qint64 sizeLimit)
{
    stop();
    m_error.clear();
    m_origin = request.url();
    m_limit = sizeLimit;
    m_redirectsLeft = maxRedirects;
    m_writer = std::make_unique<SafeFileWriter>(path, SafeFileWriter::Access::OwnerOnly);
    if (!m_writer->open()) {
        m_error = m_writer->errorString();
        m_writer.reset();
        return false;
    }
    m_request = request;
    send(m_origin);
    return true;
}

// Redirects are followed here, each checked before it is followed, so a refused one asks the
// other host nothing; every hop is a GET of its own, started with the read buffer's bound.
void FileDownload::send(const QUrl& url)
{
    m_current = url;
    m_received = 0;
    QNetworkRequest request = m_request;
    request.setUrl(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    m_reply = m_network->get(request);
    m_reply->setReadBufferSize(readBufferBytes);
    connect(m_reply, &QNetworkReply::readyRead, this, &FileDownload::onReadyRead);
    connect(m_reply, &QNetworkReply::downloadProgress, this,
            [this](qint64 received, qint64 total) {
                if (!isRedirect()) // a redirect's body is not the file's
                    emit progress(received, total);
            });
    connect(m_reply, &QNetworkReply::finished, this, &FileDownload::onFinished);
}

void FileDownload::abort()
{
    stop();
}

bool FileDownload::isRedirect() const
{
    return HttpRedirect::isRedirect(
        m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt());
}

void FileDownload::onReadyRead()
{
    takeBody();
}

// Writes what has arrived; false (and the download failed) when the answer cannot be the file.
bool FileDownload::takeBody()
{
    if (isRedirect()) {
        // A redirect's own body is dropped, under the same bound.
        m_received += m_reply->readAll().size();
        if (m_received > m_limit) {
            fail(QStringLiteral("more than %1 bytes").arg(m_limit));
            return false;
        }
        return true;
    }
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 200) {
        fail(QStringLiteral("answered %1").arg(status));
        return false;
    }
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > m_limit) {
        fail(QStringLiteral("announced %1 bytes, more than %2")
                 .arg(length.toLongLong())
                 .arg(m_limit));
        return false;
    }
    const QByteArray bytes = m_reply->readAll();
    m_received += bytes.size();
    if (m_received > m_limit) {
        fail(QStringLiteral("more than %1 bytes").arg(m_limit));
        return false;
    }
    if (!m_writer->write(bytes)) {
        fail(m_writer->errorString());
        return false;
    }
    return true;
}

void FileDownload::onFinished()
{
    if (m_reply->error() != QNetworkReply::NoError) {
        fail(m_reply->errorString());
        return;
    }
    if (!takeBody())
        return;
    if (isRedirect()) {
        const QUrl next = HttpRedirect::target(m_reply, m_current);
        if (!next.isValid() || !redirectAllowed(m_origin, m_current, next)) {
            fail(QStringLiteral("redirected away from %1 to %2")
                     .arg(m_origin.toDisplayString(), next.toDisplayString()));
            return;
        }
        if (m_redirectsLeft == 0) {
            fail(QStringLiteral("more than %1 redirects").arg(maxRedirects));
            return;
        }
        --m_redirectsLeft;
        dropReply();
        send(next);
        return;
    }
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() != m_received) {
        fail(QStringLiteral("%1 of %2 bytes").arg(m_received).arg(length.toLongLong()));
        return;
    }
    if (!m_writer->commit()) {
        fail(m_writer->errorString());
        return;
    }
    stop();
    emit finished(true);
}

void FileDownload::fail(const QString& error)
{
    m_error = error;
    stop();
    emit finished(false);
}

void FileDownload::dropReply()
{
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void FileDownload::stop()
{
    dropReply();
    m_writer.reset(); // an uncommitted file is dropped
}
