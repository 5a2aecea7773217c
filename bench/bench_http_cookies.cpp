// Fetches 400 pages from a fake site on 127.0.0.1 through the program's HTTP client, once with
// answers that set no cookie, once with answers that set the same persistent cookie, once with
// answers that set a session cookie, and prints the wall time of each run and the number of
// cookie-file writes.
#include "BenchScale.h"
#include "support/FakeSite.h"
#include "support/TestDataFolder.h"

#include "platform/CookieStore.h"
#include "site/NetworkThread.h"
#include "site/html.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

// Pages per run, times the scale factor.
int pageCount = 400;

qint64 fetchAll(const FakeSite& site, const QString& path)
{
    html client;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < pageCount; ++i) {
        client.get(site.httpUrl(path));
        if (client.response().isEmpty())
            return -1;
    }
    return timer.elapsed();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    pageCount *= BenchScale::factor(argc, argv);
    QTextStream out(stdout);

    TestDataFolder folder;
    FakeSite site;
    if (!site.start())
        return 1;
    site.useAsSite();

    FakeSite::Response plain;
    plain.body = QByteArray(20000, 'x');
    FakeSite::Response persistent = plain;
    persistent.headers = {
        {"Set-Cookie", "Y=v%3Dlogin; expires=Fri, 01 Jan 2044 00:00:00 GMT; path=/"}};
    FakeSite::Response session = plain;
    session.headers = {{"Set-Cookie", "S=session; path=/"}};
    site.setRoute("GET", "/plain", plain);
    site.setRoute("GET", "/persistent", persistent);
    site.setRoute("GET", "/session", session);

    fetchAll(site, "/plain"); // warm up the connection and the thread
    CookieStore* cookies = NetworkThread::instance().cookieStore();
    for (const char* path : {"/plain", "/persistent", "/session"}) {
        const int savesBefore = cookies->saveCount();
        const qint64 ms = fetchAll(site, QString::fromLatin1(path));
        out << pageCount << " GETs " << path << ": " << ms << " ms, "
            << cookies->saveCount() - savesBefore << " cookie-file writes\n";
    }
    NetworkThread::shutdown();
    return 0;
}
