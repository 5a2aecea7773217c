#include "support/FakeSite.h"
#include "support/TestDataFolder.h"

#include "site/NetworkThread.h"
#include "site/SiteEndpoints.h"
#include "site/YahooMarkers.h"
#include "site/html.h"
#include "site/htmlYahoo.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

namespace {

QByteArray shiftJis(const QString& text)
{
    QStringEncoder encoder("CP932");
    return encoder.encode(text);
}

FakeSite::Response page(const QString& text)
{
    FakeSite::Response response;
    response.body = shiftJis(text);
    return response;
}

// The form fields as a server reads them: split at "&" (empty fields skipped), "+" as a blank,
// %XX decoded, the bytes read in the site's code.
QMap<QString, QString> formFields(const QByteArray& body)
{
    QMap<QString, QString> fields;
    for (const QByteArray& field : body.split('&')) {
        if (field.isEmpty())
            continue;
        const qsizetype equals = field.indexOf('=');
        const auto decoded = [](QByteArray bytes) {
            QStringDecoder decoder("CP932");
            return QString(
                decoder.decode(QByteArray::fromPercentEncoding(bytes.replace('+', ' '))));
        };
        fields.insert(decoded(field.left(equals)), decoded(field.mid(equals + 1)));
    }
    return fields;
}

const QString refusedPage = QStringLiteral("<html><body>ID とパスワードを入力して"
                                           "ログインしてください。</body></html>");
const QString forwardPage = QStringLiteral("<html><body>ログインしてください。"
                                           "自動的にページが切り替わります。</body></html>");
const QString acceptedPage = QStringLiteral("<html><body>ようこそ</body></html>");

const QString statusPage =
    QStringLiteral("<html><head><title>マイ・オークション</title></head><body>\n"
                   "<table><tr><td><b>こんにちは、  seller01 さん</b></td></tr></table>\n"
                   "</body></html>\n");

const QString reconfirmationPage =
    QStringLiteral("<html><body>\n<h1>パスワードの再確認</h1>\n"
                   "<p>複数のIDでご利用の方へ</p>\n"
                   "<p>現在、<strong>seller01</strong> でログインしています。</p>\n"
                   "<p>seller01さんではない場合は、ログアウトしてください。</p>\n</body></html>\n");

} // namespace

class TestYahoo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void loginAccepted_data();
    void loginAccepted();
    void loginIdFromStatusPage_data();
    void loginIdFromStatusPage();
    void passwordReconfirmation_data();
    void passwordReconfirmation();
    void endTimeFromWebService_data();
    void endTimeFromWebService();

    void endpointsComeFromSettings();
    void logoutSendsPortalFormOverPlainHttp();
    void loginSendsLogoutThenLoginForm();
    void loginResultFollowsAnswer_data();
    void loginResultFollowsAnswer();
    void loginWithoutAnswerFails();
    void loginRedirectedToAnotherHost_data();
    void loginRedirectedToAnotherHost();
    void passwordWithReservedCharactersLogsIn();
    void getLoginIdReadsStatusPage();
    void isPasswordReconfirmationReadsStatusPage();
    void getEndTimeAsksItemWebService();

private:
    TestDataFolder m_folder;
    FakeSite m_site;
};

void TestYahoo::initTestCase()
{
    QVERIFY(m_site.start());
    m_site.useAsSite();
}

void TestYahoo::cleanup()
{
    m_site.clearRequests();
    html::setDefaultTimeout(30000);
}

void TestYahoo::cleanupTestCase()
{
    NetworkThread::shutdown();
}

void TestYahoo::loginAccepted_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("neither marker") << acceptedPage << true;
    QTest::newRow("asks to log in") << refusedPage << false;
    QTest::newRow("asks and forwards") << forwardPage << true;
    QTest::newRow("no answer") << QString() << false;
}

void TestYahoo::loginAccepted()
{
    QFETCH(QString, answer);
    QFETCH(bool, accepted);
    QCOMPARE(YahooMarkers::loginAccepted(answer), accepted);
}

void TestYahoo::loginIdFromStatusPage_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("id");
    QTest::newRow("status page") << statusPage << "seller01";
    QTest::newRow("page ends after id") << "<b>こんにちは、 seller01"
                                        << "seller01";
    QTest::newRow("no greeting") << "<b>ようこそ ゲスト さん</b>"
                                 << "";
    QTest::newRow("only half-width blank ends it") << "こんにちは、ab　cd<br>\nef gh"
                                                   << "ab　cd<br>\nef";
    QTest::newRow("first greeting") << "こんにちは、one x こんにちは、two y"
                                    << "one";
}

void TestYahoo::loginIdFromStatusPage()
{
    QFETCH(QString, page);
    QFETCH(QString, id);
    QCOMPARE(YahooMarkers::loginIdFromStatusPage(page), id);
}

void TestYahoo::passwordReconfirmation_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<QString>("accountId");
    QTest::newRow("no notice keeps previous id") << statusPage << false << "previous";
    QTest::newRow("notice with strong line") << reconfirmationPage << true << "seller01";
    QTest::newRow("crlf lines") << QString(reconfirmationPage).replace("\n", "\r\n") << true
                                << "seller01";
    QTest::newRow("strong without closing tag")
        << "パスワードの再確認\n複数のIDの方\n<strong>seller02\nseller02さんではない" << true
        << "seller02";
    QTest::newRow("notice without strong line")
        << "パスワードの再確認\n複数のIDの方\nseller01さんではない方" << true << "";
    QTest::newRow("notice without start")
        << "パスワードの再確認\n<strong>x</strong>さんではない" << false << "";
    QTest::newRow("notice without end")
        << "パスワードの再確認\n複数の<strong>x</strong>" << false << "";
}

void TestYahoo::passwordReconfirmation()
{
    QFETCH(QString, page);
    QFETCH(bool, asks);
    QFETCH(QString, accountId);
    QString id = QStringLiteral("previous");
    QCOMPARE(YahooMarkers::passwordReconfirmation(page, id), asks);
    QCOMPARE(id, accountId);
}

void TestYahoo::endTimeFromWebService_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("endTime");
    QTest::newRow("both tags")
        << "<ResultSet><Result><endtime>12月 28日 22時 10分</endtime></Result></ResultSet>"
        << "12月 28日 22時 10分";
    QTest::newRow("wrong order") << "</endtime>12月 28日<endtime>"
                                 << "";
    QTest::newRow("only opening") << "<endtime>12月 28日"
                                  << "";
    QTest::newRow("only closing") << "12月 28日</endtime>"
                                  << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestYahoo::endTimeFromWebService()
{
    QFETCH(QString, answer);
    QFETCH(QString, endTime);
    QCOMPARE(YahooMarkers::endTimeFromWebService(answer), endTime);
}

void TestYahoo::endpointsComeFromSettings()
{
    const SiteEndpoints defaults = SiteEndpoints::defaults();
    QCOMPARE(defaults.loginHost, QStringLiteral("login.yahoo.co.jp"));
    QCOMPARE(defaults.webServiceAppId.size(), 68);
    QVERIFY(defaults.updateHost.isEmpty());
    const SiteEndpoints site = SiteEndpoints::load();
    QCOMPARE(site.loginHost, m_site.host());
    QCOMPARE(site.webServiceAppId, defaults.webServiceAppId);
    QCOMPARE(site.extraCaCertificates().size(), 1);
    QCOMPARE(SiteEndpoints::httpsUrl(site.loginHost, "/config/login?"),
             "https://" + m_site.host() + "/config/login?");
}

void TestYahoo::logoutSendsPortalFormOverPlainHttp()
{
    htmlYahoo yahoo;
    QVERIFY(yahoo.logout());
    const QList<FakeSite::Request> requests = m_site.requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].method, QByteArray("POST"));
    QCOMPARE(requests[0].target, QByteArray("/config/login"));
    QVERIFY(!requests[0].secure);
    QCOMPARE(requests[0].body,
             ".lg=jp&&.intl=jp&&logout=1&&.src=www&&.done=http://" + m_site.host().toLatin1());
}

void TestYahoo::loginSendsLogoutThenLoginForm()
{
    m_site.setRoute("POST", "/config/login", page(acceptedPage));
    htmlYahoo yahoo;
    QVERIFY(yahoo.login("seller01", "secret"));
    const QList<FakeSite::Request> requests = m_site.requests();
    QCOMPARE(requests.size(), 2);
    QVERIFY(!requests[0].secure);
    QVERIFY(requests[0].body.contains("logout=1"));
    QVERIFY(requests[1].secure);
    QCOMPARE(requests[1].target, QByteArray("/config/login"));
    QCOMPARE(requests[1].body, QByteArray("login=seller01&&passwd=secret&&.persistent=y"));
}

void TestYahoo::loginResultFollowsAnswer_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("accepted") << acceptedPage << true;
    QTest::newRow("refused") << refusedPage << false;
    QTest::newRow("automatic forward") << forwardPage << true;
}

void TestYahoo::loginResultFollowsAnswer()
{
    QFETCH(QString, answer);
    QFETCH(bool, accepted);
    m_site.setRoute("POST", "/config/login", page(answer));
    htmlYahoo yahoo;
    QCOMPARE(yahoo.login("seller01", "secret"), accepted);
}

void TestYahoo::loginWithoutAnswerFails()
{
    FakeSite::Response drop;
    drop.drop = true;
    m_site.setRoute("POST", "/config/login", drop);
    htmlYahoo yahoo;
    QVERIFY(!yahoo.login("seller01", "secret"));

    FakeSite::Response slow = page(acceptedPage);
    slow.delayMs = 60000;
    m_site.setRoute("POST", "/config/login", slow);
    html::setDefaultTimeout(300);
    QVERIFY(!yahoo.login("seller01", "secret"));

    m_site.setRoute("POST", "/config/login", page(QString()));
    html::setDefaultTimeout(30000);
    QVERIFY(!yahoo.login("seller01", "secret"));
}

void TestYahoo::loginRedirectedToAnotherHost_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("loggedIn");
    // 307 and 308 would post the password again to the other host: the login fails instead.
    QTest::newRow("307") << 307 << false;
    QTest::newRow("308") << 308 << false;
    // A 302 or 303 asks the other host for a page, without the form.
    QTest::newRow("302") << 302 << true;
    QTest::newRow("303") << 303 << true;
}

void TestYahoo::loginRedirectedToAnotherHost()
{
    QFETCH(int, status);
    QFETCH(bool, loggedIn);
    FakeSite other;
    QVERIFY(other.start());
    other.setRoute("GET", "/welcome", page(acceptedPage));
    other.setRoute("POST", "/welcome", page(acceptedPage));
    m_site.setHandler("POST", "/config/login", [&other, status](const FakeSite::Request& request) {
        if (request.body.contains("logout=1"))
            return page(acceptedPage);
        FakeSite::Response redirect;
        redirect.status = status;
        redirect.headers = {{"Location", other.httpsUrl("/welcome").toLatin1()}};
        return redirect;
    });
    htmlYahoo yahoo;
    QCOMPARE(yahoo.login("seller01", "secret"), loggedIn);
    const QList<FakeSite::Request> reached = other.requests();
    if (!loggedIn) {
        QVERIFY(reached.isEmpty());
        QCOMPARE(other.connectionCount(), 0);
        return;
    }
    QCOMPARE(reached.size(), 1);
    QCOMPARE(reached.at(0).method, QByteArray("GET"));
    QVERIFY(!reached.at(0).body.contains("secret"));
}

void TestYahoo::passwordWithReservedCharactersLogsIn()
{
    const QString password = QStringLiteral("p&ss=w rd+%日本");
    m_site.setHandler("POST", "/config/login", [password](const FakeSite::Request& request) {
        const QMap<QString, QString> fields = formFields(request.body);
        if (fields.value("logout") == "1")
            return page(acceptedPage);
        const bool ok = fields.value("login") == "seller01" && fields.value("passwd") == password &&
                        fields.value(".persistent") == "y";
        return page(ok ? acceptedPage : refusedPage);
    });
    htmlYahoo yahoo;
    QVERIFY(yahoo.login("seller01", password));
    QVERIFY(!yahoo.login("seller01", "p"));
}

void TestYahoo::getLoginIdReadsStatusPage()
{
    m_site.setRoute("GET", "/jp/show/mystatus", page(statusPage));
    htmlYahoo yahoo;
    QCOMPARE(yahoo.getLoginId(), QStringLiteral("seller01"));
    QCOMPARE(m_site.requests().value(0).target, QByteArray("/jp/show/mystatus"));

    m_site.setRoute("GET", "/jp/show/mystatus", page("<html>ようこそ ゲスト さん</html>"));
    QCOMPARE(yahoo.getLoginId(), QString());

    FakeSite::Response drop;
    drop.drop = true;
    m_site.setRoute("GET", "/jp/show/mystatus", drop);
    QCOMPARE(yahoo.getLoginId(), QString());
}

void TestYahoo::isPasswordReconfirmationReadsStatusPage()
{
    m_site.setRoute("GET", "/jp/show/mystatus", page(reconfirmationPage));
    htmlYahoo yahoo;
    QVERIFY(yahoo.accountId.isEmpty());
    QVERIFY(yahoo.isPasswordReconfirmation());
    QCOMPARE(yahoo.accountId, QStringLiteral("seller01"));

    m_site.setRoute("GET", "/jp/show/mystatus", page(statusPage));
    QVERIFY(!yahoo.isPasswordReconfirmation());
    QCOMPARE(yahoo.accountId, QStringLiteral("seller01"));
}

void TestYahoo::getEndTimeAsksItemWebService()
{
    FakeSite::Response answer;
    answer.contentType = "text/xml; charset=utf-8";
    answer.body = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ResultSet><Result>"
                                 "<endtime>1月  5日  5時 5分</endtime></Result></ResultSet>")
                      .toUtf8();
    m_site.setRoute("GET", "/AuctionWebService/V1/AuctionItem", answer);
    htmlYahoo yahoo;
    QCOMPARE(yahoo.getEndTime("x123"), QStringLiteral("01月05日 05時05分"));
    const QByteArray appId = SiteEndpoints::defaults().webServiceAppId.toLatin1();
    QCOMPARE(m_site.requests().value(0).query(), "appid=" + appId + "&auctionID=x123");

    QCOMPARE(yahoo.getEndTime(QString()), QStringLiteral("01月05日 05時05分"));
    QCOMPARE(m_site.requests().value(1).query(), "appid=" + appId + "&auctionID=");

    m_site.setRoute("GET", "/AuctionWebService/V1/AuctionItem", page("<Error/>"));
    QCOMPARE(yahoo.getEndTime("x123"), QString());
}

QTEST_GUILESS_MAIN(TestYahoo)
#include "test_yahoo.moc"
