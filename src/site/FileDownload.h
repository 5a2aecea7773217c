#pragma once

#include <QNetworkRequest>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class SafeFileWriter;

// Fetches one address into a file with one GET, so the file is the body of that one answer. A
// redirect is followed only while it stays on the address's host and port and never goes from
// HTTPS to HTTP; the body is written to the file as it arrives, under a size bound. Only a
// complete 200 answer replaces the file; on any failure the old file stays as it was. The
// transfer runs on the object's own network manager, on the thread that owns it.
class FileDownload : public QObject
{
    Q_OBJECT
public:
    explicit FileDownload(QObject* parent = nullptr);
    ~FileDownload() override;

    // False (nothing started, errorString() set) when the file cannot be written; otherwise
    // finished() follows once.
    bool start(QNetworkRequest request, const QString& path, qint64 sizeLimit);
    // Ends a running download without finished(); the old file stays.
    void abort();
    bool isRunning() const { return m_reply != nullptr; }
    QString errorString() const { return m_error; }

    // Whether a redirect from `from` to `to` may be followed by a download of `origin`.
    static bool redirectAllowed(const QUrl& origin, const QUrl& from, const QUrl& to);

signals:
    void progress(qint64 received, qint64 total);
    void finished(bool saved);

private:
    void send(const QUrl& url);
    bool isRedirect() const;
    void onReadyRead();
    void onFinished();
    bool takeBody();
    void fail(const QString& error);
    void dropReply();
    void stop();

    QNetworkAccessManager* m_network;
    QNetworkReply* m_reply = nullptr; // a child of m_network, deleted by stop()
    std::unique_ptr<SafeFileWriter> m_writer;
    QNetworkRequest m_request; // as given; every hop is a GET of it with its own address
    int m_redirectsLeft = 0;
    QUrl m_origin;
    QUrl m_current;
    qint64 m_limit = 0;
    qint64 m_received = 0;
    QString m_error;
};
