#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QObject;
struct NetworkRequest;

// The program's HTTP client: GET of a page, POST of an HTML form over HTTP or HTTPS. It keeps
// the body of the last answer; no call reports success, callers judge the outcome by what the
// body holds. Every request goes through the process's network thread and its cookie store, so
// a login made through one object is seen by every later request. An object belongs to the
// thread that uses it; calls wait until the answer, the time-out, or a stop request of that
// thread (on the GUI thread the windows keep painting meanwhile, see NetworkThread).
class html
{
public:
    html();
    virtual ~html();

    // GET of the whole URL as it stands; the body replaces response(). Agent "MyApp".
    void get(const QString& url);
    // The same GET without waiting: answered runs later on receiver's thread with the body
    // (empty when the request got no answer); never when receiver is destroyed first. Uses this
    // object's time-outs and size bound; the object itself may go at once.
    void getLater(const QString& url, QObject* receiver,
                  std::function<void(const QByteArray& body)> answered) const;
    // Appends one form field to postData(): "&&" before every field but the first, then name,
    // "=" and value, each encoded in the site's code (Windows-31J) with "%", "&", "+", "=",
    // blanks, control bytes and non-ASCII bytes percent-encoded.
    void addParam(const QString& name, const QString& value);
    // HTTPS POST of postData() to the URL's path (query and fragment are not sent), asking for
    // a fresh copy and keep-alive, with no agent of its own (Qt then sends "Mozilla/5.0"); the
    // body is appended to response(). A request that got no answer leaves response() as it was.
    void postSecure(const QString& url);
    // Plain-HTTP POST of postData() to the URL's path; the body replaces response().
    // Agent "Microsoft Internet Explorer".
    void post(const QString& url);

    // The body of the last answer (or answers, after several postSecure), raw as received.
    // Empty when the request got no answer.
    const QByteArray& response() const { return m_response; }
    // response() as text, decoded by the code recognised from its BOM, its Content-Type
    // charset, its <meta> charset or its bytes.
    QString responseText() const;

    const QByteArray& postData() const { return m_postData; }

    // The time a request may go without progress before it ends with an empty answer.
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    int timeout() const { return m_timeoutMs; }
    // The time-out new objects start with (30 s unless changed); process-wide.
    static void setDefaultTimeout(int milliseconds);
    static int defaultTimeout();

    // The longest a request may run in all, and the largest body it may bring; past either it
    // ends with an empty answer. New objects start with the process-wide defaults (60 s, 8 MiB
    // unless changed).
    void setTotalTimeout(int milliseconds) { m_totalTimeoutMs = milliseconds; }
    int totalTimeout() const { return m_totalTimeoutMs; }
    void setMaxResponseSize(qint64 bytes) { m_maxResponseBytes = bytes; }
    qint64 maxResponseSize() const { return m_maxResponseBytes; }
    static void setDefaultTotalTimeout(int milliseconds);
    static int defaultTotalTimeout();
    static void setDefaultMaxResponseSize(qint64 bytes);
    static qint64 defaultMaxResponseSize();

private:
    NetworkRequest getRequest(const QString& url) const;
    void send(const QString& url, bool secure);

    QByteArray m_postData;
    QByteArray m_header;
    QByteArray m_response;
    QByteArray m_contentType;
    int m_timeoutMs;
    int m_totalTimeoutMs;
    qint64 m_maxResponseBytes;
};
