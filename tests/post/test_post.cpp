// Posting a message through the hidden browser against the fake site: the steps, the login
// cookie shared with the HTTP client, the confirmation page's one submit, the failures, and the
// main window's post state beside the downloads.
#include "support/FakeSite.h"
#include "support/FixtureDb.h"
#include "support/MainWindowFixture.h"
#include "support/NaviBoardSite.h"
#include "support/NaviPostSite.h"
#include "support/SitePages.h"

#include "app/UnitNavi.h"
#include "compose/NaviWriteScripts.h"
#include "compose/ProgressFlagUpdate.h"
#include "compose/ReplySend.h"
#include "compose/UnitNaviWrite.h"
#include "compose/WebEngineProfile.h"
#include "platform/CookieStore.h"
#include "platform/Sql.h"
#include "site/DownloadControl.h"
#include "site/DownloadThread.h"
#include "site/LoginControl.h"
#include "site/NetworkThread.h"
#include "site/SiteCookieDomains.h"
#include "site/SiteEndpoints.h"
#include "site/SiteOrigin.h"
#include "site/html.h"
#include "site/htmlYahoo.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QSemaphore>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrlQuery>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <memory>
#include <optional>

namespace {

const QString seller = QStringLiteral("seller01");
const QString buyer = QStringLiteral("buyer01");
const QString aidA = QStringLiteral("a100");
using Msg = NaviTestPages::Message;
using Post = NaviPostSite::Post;
using ForeignForm = NaviPostSite::ForeignForm;

const QString awkwardText = QStringLiteral(
    "お世話になります。\r\n\"引用\" と 'ひとこと' & <b>太字</b></script>\r\n\r\n投函しました");

QList<Msg> boardMessages()
{
    return {{"2", buyer, "入金しました", "12月08日 09時03分", "振り込みました"},
            {"1", seller, "ご連絡", "12月07日 18時30分", "落札ありがとうございます"}};
}

// A download that runs until the test lets it end, then ends through the main window.
class GateThread : public DownloadThread
{
public:
    GateThread(TFormNavi* navi) : DownloadThread(navi, seller), m_navi(navi) {}
    QSemaphore gate;

protected:
    void run() override
    {
        while (!gate.tryAcquire(1, 10))
            if (!checkPoint())
                return;
        handOver([this] { m_navi->downloadControl().endDownload(this); });
    }

private:
    TFormNavi* m_navi;
};

} // namespace

class TestPost : public QObject
{
    Q_OBJECT

    std::unique_ptr<NaviPostSite> postSite;
    std::unique_ptr<QWidget> owner;
    QPointer<TFormNaviWrite> writer;
    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;
    // Another host, not the site's: the engine reaches it as other.localhost.
    std::unique_ptr<FakeSite> other;

    void login() { QVERIFY(htmlYahoo().login(seller, QStringLiteral("pw"))); }
    QString otherUrl(const QString& path) const
    {
        return QStringLiteral("http://other.localhost:%1%2").arg(other->port()).arg(path);
    }
    // The answer of a script run as the posting steps run theirs.
    static QVariant evaluate(QWebEnginePage& page, const QString& script)
    {
        std::optional<QVariant> answer;
        page.runJavaScript(script, QWebEngineScript::ApplicationWorld,
                           [&answer](const QVariant& result) { answer = result; });
        if (!QTest::qWaitFor([&] { return answer.has_value(); }, 10000))
            return QStringLiteral("<no answer>");
        return *answer;
    }
    static bool storeHolds(const QByteArray& name)
    {
        for (const QNetworkCookie& cookie : NetworkThread::instance().cookieStore()->cookies())
            if (cookie.name() == name)
                return true;
        return false;
    }
    void makeWriter()
    {
        writer = new TFormNaviWrite(owner.get());
        writer->show();
        writer->hide();
    }
    // The steps as the composer drives them; whether the site confirmed the post.
    bool post(int subject, const QString& text)
    {
        writer->openContactPage(aidA, buyer);
        if (writer->failed)
            return false;
        writer->waitForPage();
        writer->fillMessageForm(subject, text);
        if (writer->failed)
            return false;
        writer->waitForPage();
        writer->pressConfirmButton();
        if (writer->failed)
            return false;
        writer->waitForPage();
        return writer->isPostCompleted();
    }
    void startWindow()
    {
        navi = app->start();
        for (QAction* command : downloadCommands())
            TFormNavi::markWired(command);
        navi->downloadControl().enableDownloadActions();
        navi->downloadControl().naviTodayJulianDay = QDate(2026, 12, 10).toJulianDay();
        navi->loginControl().updateLoginId();
        QCOMPARE(navi->loginId, seller);
    }
    QList<QAction*> downloadCommands() const
    {
        return {navi->ActionBidDownloadNow,      navi->ActionBidDownload,
                navi->ActionNaviDownloadSelect,  navi->ActionNaviDownloadShow,
                navi->ActionBidDetailedDownload, navi->ActionBidPromptDecisionDownload};
    }
    bool downloadCommandsEnabled() const
    {
        for (QAction* command : downloadCommands())
            if (!command->isEnabled())
                return false;
        return navi->ToolButtonLogin->isEnabled();
    }
    bool downloadCommandsDisabled() const
    {
        for (QAction* command : downloadCommands())
            if (command->isEnabled())
                return false;
        return !navi->ToolButtonLogin->isEnabled();
    }
    GateThread* startDetailedDownload()
    {
        GateThread* thread = nullptr;
        const bool started = navi->downloadControl().startDownload(
            4, [&] { return thread = new GateThread(navi); }, QStringLiteral("detailed"));
        return started ? thread : nullptr;
    }
    int storedCount(const QString& aid) const
    {
        return Sql::scalar(navi->connection, "SELECT COUNT(*) FROM T_Navi WHERE Aid=:A",
                           {{":A", aid}})
            .toInt();
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        app->serveBoards(seller);
        postSite = std::make_unique<NaviPostSite>(app->site(), app->boards(), seller);
        postSite->setBoard(aidA, buyer, boardMessages());
        html::setDefaultTimeout(5000);
        TFormNaviWrite::pageWaitLimitMs = 10000;
        owner = std::make_unique<QWidget>();
        other = std::make_unique<FakeSite>();
        QVERIFY(other->start());
    }
    void cleanup()
    {
        delete writer.data();
        owner.reset();
        other.reset();
        app->closeWindow();
        // A fresh cookie store (and so a fresh engine profile) for the next test.
        NetworkThread::shutdown();
        postSite.reset();
        app.reset();
    }

    void postsTheMessageWithTheHttpClientsLogin_data()
    {
        QTest::addColumn<bool>("loginFirst");
        QTest::newRow("login before the engine starts") << true;
        QTest::newRow("login while the engine runs") << false;
    }
    void postsTheMessageWithTheHttpClientsLogin()
    {
        QFETCH(bool, loginFirst);
        if (loginFirst)
            login();
        makeWriter();
        if (!loginFirst)
            login();
        QVERIFY(post(3, awkwardText));
        QVERIFY(!writer->failed);

        const auto contact = postSite->contactRequests();
        QCOMPARE(contact.size(), 1);
        QCOMPARE(contact[0].first, QByteArray("/jp/show/contact?aID=a100&target=buyer01"));
        QVERIFY(contact[0].second.contains("Y=login-seller01"));
        const QList<Post> posts = postSite->posts();
        QCOMPARE(posts.size(), 2);
        QCOMPARE(posts[0].path, NaviPostSite::previewPath);
        QCOMPARE(posts[1].path, NaviPostSite::submitPath);
        for (const Post& sent : posts) {
            QCOMPARE(sent.count("subject"), 1);
            QCOMPARE(sent.field("subject"), QString("3"));
            QCOMPARE(sent.field("comment"), awkwardText);
            QCOMPARE(sent.field("aID"), aidA);
            QVERIFY(sent.cookie.contains("Y=login-seller01"));
        }
    }

    void confirmationSubmitsOnlyThePostingForm_data()
    {
        QTest::addColumn<NaviPostSite::Confirmation>("variant");
        QTest::newRow("one form") << NaviPostSite::Confirmation::Plain;
        QTest::newRow("edit form with hidden 投 first")
            << NaviPostSite::Confirmation::EditFormFirst;
    }
    void confirmationSubmitsOnlyThePostingForm()
    {
        QFETCH(NaviPostSite::Confirmation, variant);
        postSite->setConfirmation(variant);
        login();
        makeWriter();
        QVERIFY(post(1, awkwardText));
        QCOMPARE(postSite->posts(NaviPostSite::submitPath).size(), 1);
        QCOMPARE(postSite->posts(NaviPostSite::editPath).size(), 0);
        QCOMPARE(postSite->posts(NaviPostSite::submitPath)[0].field("comment"), awkwardText);
    }

    void contactPageAddressEncodesTheIds_data()
    {
        QTest::addColumn<QString>("aid");
        QTest::addColumn<QString>("bidId");
        QTest::addColumn<QString>("query");
        QTest::newRow("plain ids") << "a100"
                                   << "buyer_01.x-y~"
                                   << "aID=a100&target=buyer_01.x-y~";
        QTest::newRow("query marks") << "a1&target=evil"
                                     << "b#x?y=1"
                                     << "aID=a1%26target%3Devil&target=b%23x%3Fy%3D1";
        QTest::newRow("blank, percent, slash, Japanese") << "a 1%"
                                                         << "名/x"
                                                         << "aID=a%201%25&target=%E5%90%8D%2Fx";
    }
    void contactPageAddressEncodesTheIds()
    {
        QFETCH(QString, aid);
        QFETCH(QString, bidId);
        QFETCH(QString, query);
        const QUrl address(TFormNaviWrite::contactPageUrl(aid, bidId));
        QCOMPARE(address.host(), QString("127.0.0.1"));
        QCOMPARE(address.path(), QString("/jp/show/contact"));
        QCOMPARE(address.query(QUrl::FullyEncoded), query);
        const QUrlQuery keys(address);
        QCOMPARE(keys.queryItemValue("aID", QUrl::FullyDecoded), aid);
        QCOMPARE(keys.queryItemValue("target", QUrl::FullyDecoded), bidId);
    }

    void contactPageWithoutTheLoginSubmitsNothing()
    {
        makeWriter();
        QVERIFY(!post(2, QStringLiteral("本文")));
        QCOMPARE(postSite->contactRequests().size(), 1);
        QVERIFY(postSite->posts().isEmpty());
    }

    void loggingOutOverHttpLogsThePageOut()
    {
        login();
        makeWriter();
        writer->openContactPage(aidA, buyer);
        writer->waitForPage();
        QVERIFY(postSite->contactRequests().last().second.contains("Y=login-seller01"));
        htmlYahoo().logout();
        // The deletion reaches the engine queued: the page is asked again until it goes.
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                writer->openContactPage(aidA, buyer);
                writer->waitForPage();
                return !postSite->contactRequests().last().second.contains("Y=login");
            }(),
            5000);
        QVERIFY(!writer->failed);
    }

    void cookieSetByAPageReachesTheHttpClient()
    {
        FakeSite::Response setting = SitePages::page("<html><body>set</body></html>");
        setting.headers.append({QByteArray("Set-Cookie"), QByteArray("S=from-page; path=/")});
        app->site().setRoute("GET", "/setcookie", setting);
        app->site().setRoute("GET", "/echo", SitePages::page("<html>echo</html>"));
        QWebEnginePage page(WebEngineProfile::shared());
        page.load(QUrl(app->site().httpUrl("/setcookie")));
        QTRY_VERIFY_WITH_TIMEOUT(storeHolds("S"), 5000);
        html client;
        client.get(app->site().httpUrl("/echo"));
        QVERIFY(app->site().requests().last().header("Cookie").contains("S=from-page"));
    }

    void cookiesOfOtherHostsStayInTheEngine()
    {
        const QByteArray persistent = "; path=/; Max-Age=86400";
        FakeSite::Response tracking = SitePages::page("<html><body>other</body></html>");
        tracking.headers.append({"Set-Cookie", "T=tracker" + persistent});
        other->setRoute("GET", "/track", tracking);
        FakeSite::Response setting = SitePages::page("<html><body>site</body></html>");
        setting.headers.append({"Set-Cookie", "S=site" + persistent});
        app->site().setRoute("GET", "/setcookie", setting);

        QWebEnginePage page(WebEngineProfile::shared());
        QStringList engineCookies;
        connect(page.profile()->cookieStore(), &QWebEngineCookieStore::cookieAdded, &page,
                [&](const QNetworkCookie& cookie) { engineCookies << cookie.name(); });
        page.load(QUrl(otherUrl("/track")));
        QTRY_VERIFY_WITH_TIMEOUT(engineCookies.contains("T"), 5000);
        page.load(QUrl(app->site().httpUrl("/setcookie")));
        QTRY_VERIFY_WITH_TIMEOUT(storeHolds("S"), 5000);
        QVERIFY(!storeHolds("T"));

        QFile saved(NetworkThread::instance().cookieStore()->filePath());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray lines = saved.readAll();
        QVERIFY(lines.contains("S=site"));
        QVERIFY(!lines.contains("T=tracker"));
    }

    void siteCookieDomains_data()
    {
        QTest::addColumn<bool>("localSite");
        QTest::addColumn<QString>("domain");
        QTest::addColumn<bool>("site");
        QTest::newRow("the login's parent domain") << false << ".yahoo.co.jp" << true;
        QTest::newRow("a fixed host") << false << "closeduser.auctions.yahoo.co.jp" << true;
        QTest::newRow("the auction domain") << false << ".auctions.yahoo.co.jp" << true;
        QTest::newRow("a numbered feedback host") << false << "edit12.auctions.yahoo.co.jp" << true;
        QTest::newRow("upper case") << false << ".YAHOO.co.jp" << true;
        QTest::newRow("the web service's domain") << false << ".yahooapis.jp" << true;
        QTest::newRow("another host of the parent") << false << "news.yahoo.co.jp" << false;
        QTest::newRow("a host under a fixed host")
            << false << "x.page.auctions.yahoo.co.jp" << false;
        QTest::newRow("a name merely ending alike") << false << ".evil-yahoo.co.jp" << false;
        QTest::newRow("the site's name inside another") << false << "yahoo.co.jp.example" << false;
        QTest::newRow("an unnumbered host of the domain")
            << false << "edit.auctions.yahoo.co.jp" << false;
        QTest::newRow("another site") << false << ".example.com" << false;
        QTest::newRow("empty") << false << "" << false;
        QTest::newRow("local: the fake site's address") << true << "127.0.0.1" << true;
        QTest::newRow("local: a numbered host") << true << "edit12.localhost" << true;
        QTest::newRow("local: another name under localhost") << true << "other.localhost" << false;
    }
    void siteCookieDomains()
    {
        QFETCH(bool, localSite);
        QFETCH(QString, domain);
        QFETCH(bool, site);
        SiteEndpoints endpoints = SiteEndpoints::defaults();
        if (localSite) {
            for (QString* host :
                 {&endpoints.loginHost, &endpoints.portalHost, &endpoints.accountHost,
                  &endpoints.closedListHost, &endpoints.itemHost, &endpoints.profileHost,
                  &endpoints.webServiceHost})
                *host = QStringLiteral("127.0.0.1:8123");
            endpoints.auctionDomain = QStringLiteral("localhost:8123");
        }
        endpoints.updateHost = QStringLiteral("updates.example.com");
        QCOMPARE(SiteCookieDomains(endpoints).isSite(domain), site);
        // The update server is not the auction site.
        QVERIFY(!SiteCookieDomains(endpoints).isSite(QStringLiteral("updates.example.com")));
    }

    void siteOriginComparesSchemeHostAndPort_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("same");
        QTest::newRow("same page") << "http://page.example.jp/jp/show/contact?aID=1" << true;
        QTest::newRow("default port written") << "http://PAGE.example.jp:80/x" << true;
        QTest::newRow("https") << "https://page.example.jp/x" << false;
        QTest::newRow("other port") << "http://page.example.jp:8080/x" << false;
        QTest::newRow("other host") << "http://other.example.jp/x" << false;
        QTest::newRow("user part before the host")
            << "http://page.example.jp@evil.example/x" << false;
        QTest::newRow("no host") << "about:blank" << false;
    }
    void siteOriginComparesSchemeHostAndPort()
    {
        QFETCH(QString, address);
        QFETCH(bool, same);
        QCOMPARE(SiteOrigin::same(QUrl(address), QUrl("http://page.example.jp/jp/show/contact")),
                 same);
    }

    void onlyTheSameHostOverHttpsIsAnUpgrade_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("site");
        QTest::addColumn<bool>("upgrade");
        const QString site = "http://page.example.jp/jp/show/contact";
        QTest::newRow("https, same host") << "https://PAGE.example.jp/x" << site << true;
        QTest::newRow("https, own port") << "https://page.example.jp:8443/x" << site << false;
        QTest::newRow("https, other host") << "https://other.example.jp/x" << site << false;
        QTest::newRow("plain http is no upgrade") << "http://page.example.jp/x" << site << false;
        QTest::newRow("back to http") << "http://page.example.jp/x"
                                       << "https://page.example.jp/y" << false;
        QTest::newRow("site on its own port") << "https://page.example.jp/x"
                                              << "http://page.example.jp:8080/y" << false;
    }
    void onlyTheSameHostOverHttpsIsAnUpgrade()
    {
        QFETCH(QString, address);
        QFETCH(QString, site);
        QFETCH(bool, upgrade);
        QCOMPARE(SiteOrigin::isSecureUpgrade(QUrl(address), QUrl(site)), upgrade);
    }

    void scriptsFillAndSubmitOnlyTheSitesForms_data()
    {
        QTest::addColumn<QString>("forms"); // %1: an address on the other host
        QTest::addColumn<bool>("confirm");  // the confirmation step, else the fill step
        QTest::addColumn<bool>("pageOnSite");
        QTest::addColumn<QString>("answer");
        const QString siteForm = "<form method=post action=/jp/config/contact_preview>"
                                 "<textarea name=comment></textarea>"
                                 "<input type=submit value=投稿する></form>";
        const QString foreignForm = "<form method=post action=%1><textarea name=comment>"
                                    "</textarea><input type=submit value=投稿する></form>";
        QTest::newRow("fill: the site's form") << siteForm << false << true << "submitted";
        QTest::newRow("fill: the last text area's form aims elsewhere")
            << siteForm + foreignForm << false << true << "offSite";
        QTest::newRow("fill: a field named action hides the form's")
            << "<form method=post action=%1><input type=hidden name=action value=/x>"
               "<textarea name=comment></textarea></form>"
            << false << true << "offSite";
        QTest::newRow("fill: a base address elsewhere")
            << "<base href=%1><form method=post action=preview><textarea></textarea></form>"
            << false << true << "offSite";
        QTest::newRow("fill: a page of another origin") << siteForm << false << false << "offSite";
        QTest::newRow("confirm: the site's form") << siteForm << true << true << "submitted";
        QTest::newRow("confirm: the first button's form aims elsewhere")
            << foreignForm + siteForm << true << true << "offSite";
        QTest::newRow("confirm: a page of another origin")
            << siteForm << true << false << "offSite";
    }
    void scriptsFillAndSubmitOnlyTheSitesForms()
    {
        QFETCH(QString, forms);
        QFETCH(bool, confirm);
        QFETCH(bool, pageOnSite);
        QFETCH(QString, answer);
        app->site().setRoute("GET", "/forms",
                             SitePages::page("<html><body>" +
                                             forms.arg(otherUrl("/steal")).toUtf8() +
                                             "</body></html>"));
        QWebEnginePage page(WebEngineProfile::shared());
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        page.load(QUrl(app->site().httpUrl("/forms")));
        QVERIFY(loaded.wait(10000));
        const QUrl siteUrl(pageOnSite ? app->site().httpUrl("/jp/show/contact") : otherUrl("/"));
        const QString script = confirm ? NaviWriteScripts::pressConfirmButton(siteUrl)
                                       : NaviWriteScripts::fillMessageForm(siteUrl, 1, "本文");
        const QVariantMap result = evaluate(page, script).toMap();
        QVERIFY(result.value("ok").toBool());
        QVERIFY2(result.value(answer).toBool(), qPrintable(answer));
        if (answer == "offSite") {
            QCOMPARE(evaluate(page, "Array.from(document.querySelectorAll('textarea'))"
                                    ".map(function (t) { return t.value; }).join('')")
                         .toString(),
                     QString());
        } else {
            QTRY_COMPARE(postSite->posts(NaviPostSite::previewPath).size(), 1);
        }
        QVERIFY(other->requests().isEmpty());
    }

    void stepsRunOnlyOnTheSitesPages_data()
    {
        QTest::addColumn<bool>("redirect");
        QTest::addColumn<ForeignForm>("foreign");
        QTest::addColumn<int>("previews");
        QTest::addColumn<bool>("posted");
        QTest::newRow("contact page redirects to another host")
            << true << ForeignForm::None << 0 << false;
        QTest::newRow("foreign form after the contact form")
            << false << ForeignForm::AfterTheContactForm << 0 << false;
        QTest::newRow("foreign form before the posting form")
            << false << ForeignForm::BeforeThePostingForm << 1 << false;
        QTest::newRow("foreign form before the contact form is left empty")
            << false << ForeignForm::BeforeTheContactForm << 1 << true;
    }
    void stepsRunOnlyOnTheSitesPages()
    {
        QFETCH(bool, redirect);
        QFETCH(ForeignForm, foreign);
        QFETCH(int, previews);
        QFETCH(bool, posted);
        if (redirect)
            postSite->redirectContactTo(otherUrl("/jp/show/contact"));
        postSite->setForeignForm(foreign, otherUrl("/steal"));
        login();
        makeWriter();
        QCOMPARE(post(2, awkwardText), posted);
        QCOMPARE(writer->failed, !posted);
        QCOMPARE(postSite->posts(NaviPostSite::previewPath).size(), previews);
        QCOMPARE(postSite->posts(NaviPostSite::submitPath).size(), posted ? 1 : 0);
        QVERIFY(app->dialogs().requests().isEmpty());
        if (foreign == ForeignForm::BeforeTheContactForm) {
            // The page told the other host what its own text area held: nothing.
            QTRY_VERIFY_WITH_TIMEOUT(!other->requests().isEmpty(), 5000);
            QCOMPARE(other->requests().size(), 1);
            QCOMPARE(other->requests()[0].target, QByteArray("/steal?typed="));
        } else {
            QVERIFY(other->requests().isEmpty());
        }
    }

    void resultPageThatDoesNotConfirm_data()
    {
        QTest::addColumn<NaviPostSite::Result>("variant");
        QTest::addColumn<bool>("failed");
        QTest::newRow("no marker") << NaviPostSite::Result::NoMarker << false;
        QTest::newRow("status 500") << NaviPostSite::Result::Status500 << true;
        QTest::newRow("opens a window") << NaviPostSite::Result::OpensWindow << true;
    }
    void resultPageThatDoesNotConfirm()
    {
        QFETCH(NaviPostSite::Result, variant);
        QFETCH(bool, failed);
        postSite->setResult(variant);
        login();
        makeWriter();
        QVERIFY(!post(4, QStringLiteral("本文")));
        QCOMPARE(writer->failed, failed);
        QCOMPARE(postSite->posts(NaviPostSite::submitPath).size(), 1);
        QVERIFY(app->dialogs().requests().isEmpty());
    }

    void pageThatNeverCompletesFailsTheStep()
    {
        TFormNaviWrite::pageWaitLimitMs = 300;
        postSite->setContactDelay(5000);
        login();
        makeWriter();
        writer->openContactPage(aidA, buyer);
        writer->waitForPage();
        QVERIFY(writer->failed);
        QVERIFY(!writer->busy);
        writer->fillMessageForm(1, QStringLiteral("本文"));
        QVERIFY(postSite->posts().isEmpty());
    }

    void abandonEndsTheWaitUnderWay()
    {
        postSite->setContactDelay(5000);
        login();
        makeWriter();
        writer->openContactPage(aidA, buyer);
        QTimer::singleShot(50, writer, &TFormNaviWrite::abandon);
        writer->waitForPage();
        QVERIFY(writer->failed);
        writer->fillMessageForm(1, QStringLiteral("本文"));
        QVERIFY(postSite->posts().isEmpty());
    }

    void windowDeletedDuringAWaitEndsIt()
    {
        postSite->setContactDelay(5000);
        login();
        makeWriter();
        TFormNaviWrite* target = writer;
        target->openContactPage(aidA, buyer);
        QTimer::singleShot(50, owner.get(), [this] { delete writer.data(); });
        target->waitForPage();
        QVERIFY(writer.isNull());
        QVERIFY(postSite->posts().isEmpty());
    }

    void sendChecksInOrder_data()
    {
        QTest::addColumn<int>("subject");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("postAllowed");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("nothing") << 0 << QString() << false << ReplySend::noSubject;
        QTest::newRow("no text") << 2 << QString() << false << ReplySend::noText;
        QTest::newRow("blanks are a text") << 2 << QString(" \r\n") << true << QString();
        QTest::newRow("busy") << 4 << QString("a") << false << ReplySend::busy;
        QTest::newRow("ready") << 1 << QString("a") << true << QString();
    }
    void sendChecksInOrder()
    {
        QFETCH(int, subject);
        QFETCH(QString, text);
        QFETCH(bool, postAllowed);
        QFETCH(QString, refusal);
        QCOMPARE(ReplySend::checkInput(subject, text, postAllowed), refusal);
    }

    void confirmationTexts_data()
    {
        QTest::addColumn<int>("subject");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1
                           << QString("件名：連絡先、支払い、発送などについて\r\n送信しますか？");
        QTest::newRow("2") << 2 << QString("入金を確認しました\r\n送信しますか？");
        QTest::newRow("3") << 3 << QString("商品を発送しました\r\n送信しますか？");
        QTest::newRow("4") << 4 << QString("その他\r\n送信しますか？");
    }
    void confirmationTexts()
    {
        QFETCH(int, subject);
        QFETCH(QString, text);
        QCOMPARE(ReplySend::confirmationText(subject), text);
        QCOMPARE(ReplySend::subjectNumber(subject == 1, subject <= 2, subject <= 3, true), subject);
    }

    void accountChecks_data()
    {
        QTest::addColumn<QString>("statusPage");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("not logged in")
            << SitePages::statusPage(QString()) << ReplySend::notLoggedIn;
        QTest::newRow("other account") << SitePages::statusPage("other") << ReplySend::otherAccount;
        QTest::newRow("reconfirmation")
            << SitePages::statusPage(seller) + SitePages::reconfirmationPage(seller)
            << seller + ReplySend::reconfirmationSuffix;
        QTest::newRow("logged in") << SitePages::statusPage(seller) << QString();
    }
    void accountChecks()
    {
        QFETCH(QString, statusPage);
        QFETCH(QString, refusal);
        app->site().setRoute("GET", "/jp/show/mystatus", SitePages::page(statusPage));
        htmlYahoo yahoo;
        QCOMPARE(ReplySend::checkAccount(yahoo, seller), refusal);
    }

    void flagUpdateWritesTheCheckedFlags_data()
    {
        QTest::addColumn<bool>("plural");
        QTest::addColumn<QList<int>>("touched");
        QTest::newRow("own row") << false << QList<int>{1};
        QTest::newRow("same winner's listed rows") << true << QList<int>{0, 1, 3};
    }
    void flagUpdateWritesTheCheckedFlags()
    {
        QFETCH(bool, plural);
        QFETCH(QList<int>, touched);
        startWindow();
        for (const char* aid : {"a100", "a200", "a300", "a400"})
            FixtureDb::addListing(navi->connection,
                                  {.aid = aid, .bidId = buyer, .loginId = seller});
        FixtureDb::addListing(navi->connection,
                              {.aid = "a500", .bidId = "other", .loginId = seller});
        const QList<ProgressFlagUpdate::ListedRow> rows{
            {"a200", buyer}, {aidA, buyer}, {"a500", "other"}, {"a300", buyer}};
        ProgressFlagUpdate::Choice choice;
        choice.payment = choice.end = true;
        const QString value = QStringLiteral("it's '済'");
        QCOMPARE(
            ProgressFlagUpdate::apply(navi->connection, choice, value, aidA, buyer, rows, plural),
            touched);
        QCOMPARE(ProgressFlagUpdate::cells(choice), (QList<int>{9, 12}));
        QSqlQuery query =
            Sql::exec(navi->connection, "SELECT Aid,FirstFlg,PaymentFlg,EndFlg FROM T_BidData "
                                        "ORDER BY Aid");
        QStringList written;
        while (query.next()) {
            QCOMPARE(query.value(1).toString(), QString());
            if (query.value(2).toString() == value && query.value(3).toString() == value)
                written << query.value(0).toString();
        }
        const QStringList expected =
            plural ? QStringList{"a100", "a200", "a300"} : QStringList{"a100"};
        QCOMPARE(written, expected);
        // Nothing checked: nothing runs.
        QVERIFY(ProgressFlagUpdate::apply(navi->connection, {}, value, "a400", buyer, rows, true)
                    .isEmpty());
    }

    void postStateRefusesWhatADownloadRefuses()
    {
        login();
        startWindow();
        QVERIFY(navi->session.messagePostAllowed());
        navi->session.beginMessagePost();
        QVERIFY(!navi->session.messagePostAllowed());
        QVERIFY(downloadCommandsDisabled());
        QVERIFY(!navi->MainMenuDataDownloadQuit->isEnabled());
        QVERIFY(!navi->loginControl().loginAllowed());
        app->site().clearRequests();
        QVERIFY(!navi->downloadControl().startTransactionNaviDownload(aidA, "時計", buyer));
        QVERIFY(!startDetailedDownload());
        QCOMPARE(navi->downloadKind, 0);
        QVERIFY(app->boards().pageRequests().isEmpty());
        navi->session.endMessagePost();
        QVERIFY(downloadCommandsEnabled());
        QVERIFY(navi->session.messagePostAllowed());
    }

    void postBesideADetailedDownload()
    {
        startWindow();
        GateThread* detailed = startDetailedDownload();
        QVERIFY(detailed);
        QVERIFY(navi->session.messagePostAllowed());
        navi->session.beginMessagePost();
        // The post ends first: the download keeps its state and its stop.
        navi->session.endMessagePost();
        QCOMPARE(navi->downloadKind, 4);
        QVERIFY(navi->MainMenuDataDownloadQuit->isEnabled());
        QVERIFY(downloadCommandsDisabled());
        // A second post; now the download ends first: the commands stay off for the post.
        navi->session.beginMessagePost();
        detailed->gate.release();
        QTRY_COMPARE(navi->downloadKind, 0);
        QVERIFY(downloadCommandsDisabled());
        navi->session.endMessagePost();
        QVERIFY(downloadCommandsEnabled());
    }

    void postRefusedDuringABoardDownload()
    {
        startWindow();
        GateThread* thread = nullptr;
        QVERIFY(navi->downloadControl().startDownload(
            2, [&] { return thread = new GateThread(navi); }, QString()));
        QVERIFY(!navi->session.messagePostAllowed());
        QCOMPARE(ReplySend::checkInput(1, "a", navi->session.messagePostAllowed()), ReplySend::busy);
        thread->gate.release();
        QTRY_COMPARE(navi->downloadKind, 0);
    }

    void transactionDownloadStoresTheBoard()
    {
        login();
        startWindow();
        FixtureDb::addListing(navi->connection, {.aid = aidA, .bidId = buyer, .loginId = seller});
        const int progressMaximum = navi->ProgressBar->maximum();
        navi->addLogMessage("mark");
        QVERIFY(navi->downloadControl().startTransactionNaviDownload(aidA, "時計", buyer));
        QCOMPARE(navi->downloadKind, 2);
        QTRY_COMPARE(navi->downloadKind, 0);
        QCOMPARE(storedCount(aidA), 2);
        QCOMPARE(navi->ProgressBar->maximum(), progressMaximum);
        const QStringList lines = app->log().mid(app->log().indexOf("mark") + 1);
        QCOMPARE(lines.last(), QString("ナビ情報をダウンロード終了"));
        QVERIFY(!lines.contains("ナビ情報ダウンロード開始…"));
        QVERIFY(downloadCommandsEnabled());
    }

    void transactionDownloadRefusedWithoutTheAccount()
    {
        startWindow();
        app->site().setRoute("GET", "/jp/show/mystatus",
                             SitePages::page(SitePages::statusPage("")));
        QVERIFY(!navi->downloadControl().startTransactionNaviDownload(aidA, "時計", buyer));
        QCOMPARE(navi->downloadKind, 0);
        QVERIFY(app->boards().pageRequests().isEmpty());
    }

    void transactionDownloadWaitsForTheDetailedDownload()
    {
        login();
        startWindow();
        GateThread* detailed = startDetailedDownload();
        QVERIFY(detailed);
        navi->downloadControl().requestTransactionNaviDownload(aidA, "時計", buyer);
        QCOMPARE(navi->downloadKind, 4);
        QVERIFY(app->boards().pageRequests().isEmpty());
        detailed->gate.release();
        QTRY_VERIFY(app->boards().wasRequested(NaviBoardSite::boardTarget(aidA, buyer)));
        QTRY_COMPARE(navi->downloadKind, 0);
        QCOMPARE(storedCount(aidA), 2);
    }

    // A composer that holds only the session marks its post there: the downloads follow it.
    void postMarkedOnTheSessionHoldsTheDownloads()
    {
        login();
        startWindow();
        FixtureDb::addListing(navi->connection, {.aid = aidA, .bidId = buyer, .loginId = seller});
        navi->session.beginMessagePost();
        QVERIFY(downloadCommandsDisabled());
        QVERIFY(!navi->ToolButtonLogin->isEnabled());
        navi->downloadControl().requestTransactionNaviDownload(aidA, "時計", buyer);
        QCOMPARE(navi->downloadKind, 0);
        QVERIFY(app->boards().pageRequests().isEmpty());
        navi->session.endMessagePost();
        // The board download asked for during the post starts as the post ends.
        QCOMPARE(navi->downloadKind, 2);
        QTRY_COMPARE(navi->downloadKind, 0);
        QCOMPARE(storedCount(aidA), 2);
        QVERIFY(downloadCommandsEnabled());
        QVERIFY(navi->ToolButtonLogin->isEnabled());
    }
};

QTEST_MAIN(TestPost)
#include "test_post.moc"
