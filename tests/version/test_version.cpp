// The version check of every start against a fake update server, the update offer, the updater
// download and its hand-over, the about box, and the jump from a log line to its listing row.
#include "AnswerGate.h"
#include "MainWindowFixture.h"
#include "ProgressBarState.h"
#include "TestDataFolder.h"
#include "TestDialogs.h"
#include "UpdateSite.h"
#include "app/CheckVersion.h"
#include "app/LogJumpLine.h"
#include "app/UnitNavi.h"
#include "app/UnitVersion.h"
#include "app/UnitVersionUpExeDownLoad.h"
#include "app/VersionFile.h"
#include "platform/DataFolder.h"
#include "platform/IniFile.h"
#include "platform/SafeFileWriter.h"
#include "platform/UrlOpener.h"
#include "site/FileDownload.h"
#include "site/SiteEndpoints.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <memory>

namespace {

const QString exeOfferText = QStringLiteral(
    "テサリーの新しいバージョンが公開されています。\n\rテサリーをアップデートしますか？");
const QString mdbOfferText =
    QStringLiteral("テサリーMDBの新しいバージョンが公開されています。\n\r"
                   "MDBのバージョンが古いと新しいテサリーが使用できない場合があります。\n\r\n\r"
                   " MDBのアップデートをしますか？");
const QString exeFailureText =
    QStringLiteral("アップデート処理に失敗しました。\n\rサーバが込みあっている可能性があります。");
const QString mdbFailureText =
    QStringLiteral("MDBのアップデートプログラムダウンロードに失敗しました。\n\r"
                   "サーバが込みあっている可能性があります。");

IniFile settings(const TestDataFolder& folder)
{
    return IniFile(folder.filePath("setting.ini"));
}

// Records what would have been handed to the desktop.
class OpenedUrls
{
public:
    OpenedUrls()
    {
        UrlOpener::setHandler([this](const QUrl& url) {
            urls << url;
            return true;
        });
    }
    ~OpenedUrls() { UrlOpener::setHandler(nullptr); }
    QList<QUrl> urls;
};

FakeSite::Response updaterAnswer(const QByteArray& body)
{
    FakeSite::Response answer;
    answer.contentType = "application/octet-stream";
    answer.body = body;
    return answer;
}

FakeSite::Response redirectTo(const QString& url)
{
    FakeSite::Response answer;
    answer.status = 302;
    answer.headers = {{"Location", url.toLatin1()}};
    return answer;
}

// The body of the n-th answer of a server that answers every GET with another body.
QByteArray answerBody(int n)
{
    return "MZ answer " + QByteArray::number(n) + ' ' + QByteArray(5000 + n, char('a' + n % 26));
}

// The update host's HTTPS answers are trusted as the site's are.
void trustTheFakeSite()
{
    IniFile(DataFolder::filePath("setting.ini"))
        .writeString("Site", "CaCertificates", FakeSite::certificatePath());
}

QStringList updaterFilesIn(const TestDataFolder& folder)
{
    return QDir(folder.path()).entryList({"UpdateExe*", "UpdateMdb*", "*.exe*"}, QDir::Files);
}

QStringList cells(const QString& aid, const QString& bidId, const QString& title)
{
    QStringList row(BidListColumns::ColumnCount);
    row[0] = "1";
    row[BidListColumns::column(BidListColumns::Aid)] = aid;
    row[BidListColumns::column(BidListColumns::Title)] = title;
    row[BidListColumns::column(BidListColumns::BidId)] = bidId;
    return row;
}

} // namespace

class TestVersion : public QObject
{
    Q_OBJECT

    // The first show, whose accepted offer ends in the failure box of the download; start-up
    // then goes on and nothing is handed to the desktop.
    static void startUntilTheFailureBox(MainWindowFixture& app, const OpenedUrls& opened,
                                        const QString& text)
    {
        const TFormNavi& navi = *app.show();
        const TestDialogs& dialogs = app.dialogs();
        QTRY_COMPARE(dialogs.requests().size(), 2);
        QCOMPARE(dialogs.requests()[1].kind, Dialogs::Kind::Error);
        QCOMPARE(dialogs.requests()[1].caption, QString("アップデート失敗"));
        QCOMPARE(dialogs.requests()[1].text, text);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QTRY_VERIFY(navi.session.queries.ready);
        QVERIFY(opened.urls.isEmpty());
    }

private slots:
    void init() { CheckVersion::setRequestTimeout(5000); }
    void cleanup()
    {
        TFormVersionUpExeDownLoad::setSizeLimit(-1);
        SafeFileWriter::simulateDiskFullAfter(-1);
    }

    void readsVersionFile_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("read");
        QTest::addColumn<double>("exe");
        QTest::addColumn<double>("mdb");
        QTest::newRow("LF") << QByteArray("ExeVersion=1.09\nMdbVersion=1.01") << true << 1.09
                            << 1.01;
        QTest::newRow("CR LF") << QByteArray("ExeVersion=1.09\r\nMdbVersion=1.01\r\n") << true
                               << 1.09 << 1.01;
        QTest::newRow("any second key")
            << QByteArray("ExeVersion = 1.10 \nDb=2") << true << 1.1 << 2.0;
        QTest::newRow("empty") << QByteArray() << false << 0.0 << 0.0;
        QTest::newRow("HTML page")
            << QByteArray("<html>\n<body>ExeVersion=1.09</body>\n</html>") << false << 0.0 << 0.0;
        QTest::newRow("first line without ExeVersion")
            << QByteArray("Version=1.09\nMdbVersion=1.01") << false << 0.0 << 0.0;
        QTest::newRow("second line missing")
            << QByteArray("ExeVersion=1.09") << false << 0.0 << 0.0;
        QTest::newRow("second line without =")
            << QByteArray("ExeVersion=1.09\nMdb 1.01") << false << 0.0 << 0.0;
        QTest::newRow("not a number")
            << QByteArray("ExeVersion=1.O9\nMdbVersion=1.01") << false << 0.0 << 0.0;
        QTest::newRow("exponent") << QByteArray("ExeVersion=1e3\nMdbVersion=1.01") << false << 0.0
                                  << 0.0;
        QTest::newRow("full-width digits")
            << QString("ExeVersion=１.０９\nMdbVersion=1.01").toUtf8() << false << 0.0 << 0.0;
    }

    void readsVersionFile()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, read);
        const std::optional<VersionFile::ServerVersions> versions = VersionFile::read(body);
        QCOMPARE(versions.has_value(), read);
        if (!read)
            return;
        QTEST(versions->exe, "exe");
        QTEST(versions->mdb, "mdb");
    }

    void comparesAsDecimalNumbers()
    {
        QVERIFY(VersionFile::isNewer(*VersionFile::readNumber("1.10"),
                                     *VersionFile::readNumber("1.09")));
        QVERIFY(!VersionFile::isNewer(*VersionFile::readNumber("1.08"),
                                      *VersionFile::readNumber("1.08")));
        QVERIFY(!VersionFile::isNewer(*VersionFile::readNumber("1.1"),
                                      *VersionFile::readNumber("1.10")));
        QCOMPARE(CheckVersion::productVersion(), QString("1.08"));
    }

    void checksAgainstServer_data()
    {
        QTest::addColumn<QByteArray>("serverExe");
        QTest::addColumn<QByteArray>("serverMdb");
        QTest::addColumn<QString>("storedMdb"); // null: the key is missing
        QTest::addColumn<bool>("exeUpdate");
        QTest::addColumn<bool>("mdbUpdate");
        QTest::addColumn<QString>("writtenBack");
        QTest::newRow("equal versions") << QByteArray("1.08") << QByteArray("1.01")
                                        << QString("1.01") << false << false << QString("1.01");
        QTest::newRow("newer program") << QByteArray("1.09") << QByteArray("1.01")
                                       << QString("1.01") << true << false << QString("1.01");
        QTest::newRow("both newer") << QByteArray("1.09") << QByteArray("1.02") << QString("1.01")
                                    << true << true << QString("1.01");
        QTest::newRow("1.10 against 1.09") << QByteArray("1.08") << QByteArray("1.10")
                                           << QString("1.09") << false << true << QString("1.09");
        QTest::newRow("older server") << QByteArray("1.07") << QByteArray("1") << QString("1.5")
                                      << false << false << QString("1.5");
        QTest::newRow("MdbVersion missing")
            << QByteArray("1.08") << QByteArray("1") << QString() << false << false << QString("1");
        QTest::newRow("MdbVersion 1.00") << QByteArray("1.08") << QByteArray("1.01")
                                         << QString("1.00") << false << true << QString("1");
        QTest::newRow("MdbVersion not a number")
            << QByteArray("1.08") << QByteArray("1") << QString("abc") << false << false
            << QString("1");
    }

    void checksAgainstServer()
    {
        QFETCH(QByteArray, serverExe);
        QFETCH(QByteArray, serverMdb);
        QFETCH(QString, storedMdb);
        QFETCH(bool, exeUpdate);
        QFETCH(bool, mdbUpdate);
        QFETCH(QString, writtenBack);
        TestDataFolder folder;
        UpdateSite server;
        QVERIFY(server.start());
        server.useAsUpdateServer();
        server.setVersions(serverExe, serverMdb);
        if (!storedMdb.isNull())
            settings(folder).writeString("Version", "MdbVersion", storedMdb);

        CheckVersion check;
        QCOMPARE(settings(folder).readString("Version", "MdbVersion", "none"), writtenBack);
        QVERIFY(server.requestedPaths().isEmpty());
        check.askServer();
        QCOMPARE(server.requestedPaths(), QStringList{"/tessaly/updatefile/version.txt"});
        QCOMPARE(check.isExeUpdate(), exeUpdate);
        QCOMPARE(check.isMdbUpdate(), mdbUpdate);
    }

    void unusableAnswersMeanNoUpdate_data()
    {
        QTest::addColumn<QString>("updateHost"); // "server": the fake update server
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("exeUpdate");
        QTest::addColumn<int>("requests");
        QTest::newRow("unreachable server") << "127.0.0.1:9" << 200 << QByteArray() << false << 0;
        QTest::newRow("no update server")
            << "" << 200 << QByteArray("ExeVersion=9\nMdb=9") << false << 0;
        QTest::newRow("HTML page") << "server" << 200
                                   << QByteArray("<html><head><title>Welcome</title></head>\n"
                                                 "<body>ExeVersion=9</body></html>")
                                   << false << 1;
        QTest::newRow("not found")
            << "server" << 404 << QByteArray("<html><body>Not Found</body></html>") << false << 1;
        QTest::newRow("CR LF file")
            << "server" << 200 << QByteArray("ExeVersion=1.09\r\nMdbVersion=1\r\n") << true << 1;
        QTest::newRow("second line missing")
            << "server" << 200 << QByteArray("ExeVersion=1.09") << false << 1;
    }

    void unusableAnswersMeanNoUpdate()
    {
        QFETCH(QString, updateHost);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, exeUpdate);
        QFETCH(int, requests);
        TestDataFolder folder;
        UpdateSite server;
        QVERIFY(server.start());
        FakeSite::Response answer;
        answer.status = status;
        answer.body = body;
        server.setVersionFile(answer);
        settings(folder).writeString("Site", "UpdateHost",
                                     updateHost == "server" ? server.site().host() : updateHost);
        CheckVersion check;
        check.askServer();
        QCOMPARE(check.isExeUpdate(), exeUpdate);
        QVERIFY(!check.isMdbUpdate());
        QCOMPARE(int(server.requestedPaths().size()), requests);
    }

    void slowServerIsGivenUp()
    {
        TestDataFolder folder;
        UpdateSite server;
        QVERIFY(server.start());
        server.useAsUpdateServer();
        FakeSite::Response slow;
        slow.body = "ExeVersion=1.09\nMdbVersion=1.09";
        slow.delayMs = 20000;
        server.setVersionFile(slow);
        CheckVersion::setRequestTimeout(300);
        CheckVersion check;
        QElapsedTimer clock;
        clock.start();
        check.askServer();
        QVERIFY2(clock.elapsed() < 10000, "the version request waited past its time-out");
        QVERIFY(!check.isExeUpdate());
        QVERIFY(!check.isMdbUpdate());
    }

    void defaultsHaveNoUpdateServer()
    {
        // The built-in endpoints name no update server, so a start asks nobody.
        QVERIFY(SiteEndpoints::defaults().updateHost.isEmpty());
    }

    // The first show with the offer: which updater is fetched, saved and handed over.
    void offerAtStartUp_data()
    {
        QTest::addColumn<QByteArray>("serverExe");
        QTest::addColumn<QByteArray>("serverMdb");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("caption"); // empty: no offer
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("handedOver"); // empty: nothing handed over
        QTest::newRow("equal versions")
            << QByteArray("1.08") << QByteArray("1") << true << QString() << QString() << QString();
        QTest::newRow("newer program")
            << QByteArray("1.09") << QByteArray("1") << true << QString("アップデート")
            << exeOfferText << QString("UpdateExe.exe");
        QTest::newRow("both newer")
            << QByteArray("1.09") << QByteArray("1.01") << true << QString("MDBアップデート")
            << mdbOfferText << QString("UpdateMdb.exe");
        QTest::newRow("newer database")
            << QByteArray("1.08") << QByteArray("1.01") << true << QString("MDBアップデート")
            << mdbOfferText << QString("UpdateMdb.exe");
        QTest::newRow("cancelled") << QByteArray("1.09") << QByteArray("1.01") << false
                                   << QString("MDBアップデート") << mdbOfferText << QString();
    }

    void offerAtStartUp()
    {
        QFETCH(QByteArray, serverExe);
        QFETCH(QByteArray, serverMdb);
        QFETCH(bool, accept);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        QFETCH(QString, handedOver);
        OpenedUrls opened;
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        UpdateSite& server = app.updateServer();
        server.setVersions(serverExe, serverMdb);
        TestDialogs& dialogs = app.dialogs();
        if (!accept)
            dialogs.queue(Dialogs::Answer::Cancel);

        // Not waited on: the window closes when it hands an updater over.
        TFormNavi& navi = *app.show();
        if (handedOver.isEmpty()) {
            // Nothing handed over; an offer, if any, follows the answer whenever it comes.
            QTRY_VERIFY(navi.session.queries.ready);
            QVERIFY(navi.isVisible());
            QVERIFY(opened.urls.isEmpty());
            QVERIFY(updaterFilesIn(folder).isEmpty());
            QTRY_COMPARE(server.requestedPaths(), QStringList{"/tessaly/updatefile/version.txt"});
        } else {
            QTRY_VERIFY(!opened.urls.isEmpty());
            QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(folder.filePath(handedOver))});
            QTRY_VERIFY(!navi.isVisible());
            const QString path = QString::fromLatin1(UpdateSite::path(handedOver));
            // One GET of that file, and nothing of the other.
            QCOMPARE(server.requestedPaths(),
                     (QStringList{"/tessaly/updatefile/version.txt", path}));
            QCOMPARE(updaterFilesIn(folder), QStringList{handedOver});
            QFile saved(folder.filePath(handedOver));
            QVERIFY(saved.open(QIODevice::ReadOnly));
            const auto kind =
                handedOver == "UpdateExe.exe" ? UpdateSite::Updater::Exe : UpdateSite::Updater::Mdb;
            QCOMPARE(saved.readAll(), UpdateSite::updaterBody(kind));
        }
        if (caption.isEmpty()) {
            QVERIFY(dialogs.requests().isEmpty());
        } else {
            QTRY_COMPARE(dialogs.requests().size(), 1);
            QCOMPARE(dialogs.requests()[0].kind, Dialogs::Kind::OkCancel);
            QCOMPARE(dialogs.requests()[0].caption, caption);
            QCOMPARE(dialogs.requests()[0].text, text);
        }
        app.closeWindow();
    }

    // An update server that holds its answer: the window is shown and idle and serves its
    // events while the check is pending; the answer, once it comes, still brings the offer.
    void startUpDoesNotWaitForTheUpdateServer()
    {
        OpenedUrls opened;
        MainWindowFixture app;
        UpdateSite& server = app.updateServer();
        AnswerGate gate;
        server.site().setHandler("GET", UpdateSite::path("version.txt"),
                                 [&gate](const FakeSite::Request&) {
                                     gate.pass(60000);
                                     FakeSite::Response answer;
                                     answer.contentType = "text/plain";
                                     answer.body = "ExeVersion=1.09\nMdbVersion=1";
                                     return answer;
                                 });
        TestDialogs& dialogs = app.dialogs();
        dialogs.queue(Dialogs::Answer::Cancel);

        TFormNavi& navi = *app.show();
        QTRY_COMPARE(gate.arrivals(), 1);
        QTRY_VERIFY(navi.session.queries.ready);
        QVERIFY(navi.isVisible());
        bool served = false;
        QTimer::singleShot(0, &navi, [&served] { served = true; });
        QTRY_VERIFY(served);
        QCOMPARE(gate.arrivals(), 1);
        QVERIFY(dialogs.requests().isEmpty());

        gate.open();
        QTRY_COMPARE(dialogs.requests().size(), 1);
        QCOMPARE(dialogs.requests()[0].caption, QString("アップデート"));
        QCOMPARE(dialogs.requests()[0].text, exeOfferText);
        QVERIFY(opened.urls.isEmpty());
        QVERIFY(navi.isVisible());
        app.closeWindow();
    }

    // A failed download: its box, no file, no hand-over, and start-up goes on.
    void failedDownloadLetsStartUpGoOn_data()
    {
        QTest::addColumn<bool>("database");
        QTest::addColumn<int>("failure");
        QTest::addColumn<int>("fetches");
        QTest::addColumn<QString>("text");
        QTest::newRow("program not found")
            << false << int(UpdateSite::Failure::NotFound) << 1 << exeFailureText;
        QTest::newRow("program transfer broken off")
            << false << int(UpdateSite::Failure::CutOff) << 1 << exeFailureText;
        QTest::newRow("database not found")
            << true << int(UpdateSite::Failure::NotFound) << 1 << mdbFailureText;
        QTest::newRow("database transfer broken off")
            << true << int(UpdateSite::Failure::CutOff) << 1 << mdbFailureText;
    }

    void failedDownloadLetsStartUpGoOn()
    {
        QFETCH(bool, database);
        QFETCH(int, failure);
        QFETCH(int, fetches);
        QFETCH(QString, text);
        OpenedUrls opened;
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        UpdateSite& server = app.updateServer();
        const UpdateSite::Updater updater =
            database ? UpdateSite::Updater::Mdb : UpdateSite::Updater::Exe;
        server.setVersions(database ? "1.08" : "1.09", database ? "1.01" : "1");
        server.setFailure(updater, UpdateSite::Failure(failure));

        startUntilTheFailureBox(app, opened, text);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(app.navi()->isVisible());
        QCOMPARE(updaterFilesIn(folder), QStringList());
        QCOMPARE(server.requestCount(UpdateSite::fileName(updater)), fetches);
        app.closeWindow();
    }

    void downloadWindowFillsItsBarOnce()
    {
        TestDataFolder folder;
        UpdateSite server;
        QVERIFY(server.start());
        server.useAsUpdateServer();
        TFormVersionUpExeDownLoad window(nullptr);
        QCOMPARE(window.windowTitle(), QString("バージョンアップファイルダウンロード"));
        VERIFY_IDLE_BAR(window.ProgressBarExe);
        VERIFY_IDLE_BAR(window.ProgressBarMdb);
        window.downloadExe = true;
        window.show();
        QTRY_VERIFY(server.requestCount("UpdateExe.exe") >= 1);
        // Coming back to the window while it fetches starts nothing new.
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&window, &activate);
        QVERIFY(!window.TimerDownLoad->isActive());
        QTRY_VERIFY(window.isHidden());
        QVERIFY(window.exeDownloaded);
        QVERIFY(!window.mdbDownloaded);
        QCOMPARE(window.fileKind, 0);
        const int size = int(UpdateSite::updaterBody(UpdateSite::Updater::Exe).size());
        QCOMPARE(window.ProgressBarExe->maximum(), size);
        QCOMPARE(window.ProgressBarExe->value(), size);
        VERIFY_IDLE_BAR(window.ProgressBarMdb);
        QCOMPARE(server.requestCount("UpdateExe.exe"), 1);
        QCOMPARE(server.requestCount("UpdateMdb.exe"), 0);
    }

    // The saved updater is the body of one answer, also after a redirect within the update host
    // and when it is large and its length is not announced.
    void savedUpdaterIsTheBodyOfOneAnswer_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("a different body for every GET") << "changing";
        QTest::newRow("redirect to HTTPS on the update host") << "secure";
        QTest::newRow("redirect with a page of its own") << "redirect page";
        QTest::newRow("24 MiB, length not announced") << "large";
    }
    void savedUpdaterIsTheBodyOfOneAnswer()
    {
        QFETCH(QString, how);
        TestDataFolder folder;
        UpdateSite server;
        QVERIFY(server.start());
        server.useAsUpdateServer();
        FakeSite& site = server.site();
        const QByteArray path = UpdateSite::path("UpdateExe.exe");
        QByteArray expected = UpdateSite::updaterBody(UpdateSite::Updater::Exe);
        if (how == "changing") {
            auto answered = std::make_shared<std::atomic<int>>(0);
            site.setHandler("GET", path, [answered](const FakeSite::Request&) {
                return updaterAnswer(answerBody((*answered)++));
            });
            expected = answerBody(0);
        } else if (how == "secure") {
            trustTheFakeSite();
            site.setRoute("GET", path, redirectTo(site.httpsUrl("/secure/UpdateExe.exe")));
            site.setRoute("GET", "/secure/UpdateExe.exe", updaterAnswer(expected));
        } else if (how == "redirect page") {
            // The redirect's own page is no part of the file, nor counted in its length.
            FakeSite::Response redirect = redirectTo(site.httpUrl("/moved/UpdateExe.exe"));
            redirect.body = "<html><body>The file has moved.</body></html>";
            site.setRoute("GET", path, redirect);
            site.setRoute("GET", "/moved/UpdateExe.exe", updaterAnswer(expected));
        } else {
            expected = QByteArray(24 * 1024 * 1024, 'u');
            FakeSite::Response answer = updaterAnswer(expected);
            answer.untilClose = true;
            site.setRoute("GET", path, answer);
        }
        TestDialogs dialogs; // a failure box is answered, and the failure shown below
        TFormVersionUpExeDownLoad window(nullptr);
        window.downloadExe = true;
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(window.isHidden(), 20000);
        QVERIFY2(dialogs.requests().isEmpty(), qPrintable(dialogs.texts().join('\n')));
        QVERIFY(window.exeDownloaded);
        QCOMPARE(server.requestCount("UpdateExe.exe"), 1);
        if (how == "secure")
            QCOMPARE(server.requestedPaths().count("/secure/UpdateExe.exe"), 1);
        if (how == "redirect page")
            QCOMPARE(server.requestedPaths().count("/moved/UpdateExe.exe"), 1);
        QFile saved(folder.filePath("UpdateExe.exe"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll() == expected);
        QCOMPARE(updaterFilesIn(folder), QStringList{"UpdateExe.exe"});
    }

    // An answer that cannot be the updater saves nothing and hands nothing over; the updater a
    // former start saved stays as it was, and a host the update host redirects to is not asked.
    void untrustedAnswerSavesAndHandsOverNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("redirect to another host") << "other host";
        QTest::newRow("redirect from HTTPS to HTTP") << "downgrade";
        QTest::newRow("answer over the size bound") << "too large";
        QTest::newRow("over the size bound, length not announced") << "too large, no length";
        QTest::newRow("disk full during the save") << "disk full";
    }
    void untrustedAnswerSavesAndHandsOverNothing()
    {
        QFETCH(QString, how);
        OpenedUrls opened;
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        UpdateSite& server = app.updateServer();
        server.setVersions("1.09", "1");
        FakeSite other;
        QVERIFY(other.start());
        const QByteArray body = UpdateSite::updaterBody(UpdateSite::Updater::Exe);
        other.setRoute("GET", "/UpdateExe.exe", updaterAnswer(body));
        FakeSite& site = server.site();
        const QByteArray path = UpdateSite::path("UpdateExe.exe");
        if (how == "other host") {
            site.setRoute("GET", path, redirectTo(other.httpUrl("/UpdateExe.exe")));
        } else if (how == "downgrade") {
            trustTheFakeSite();
            site.setRoute("GET", path, redirectTo(site.httpsUrl("/secure/UpdateExe.exe")));
            site.setRoute("GET", "/secure/UpdateExe.exe",
                          redirectTo(site.httpUrl("/plain/UpdateExe.exe")));
            site.setRoute("GET", "/plain/UpdateExe.exe", updaterAnswer(body));
        } else if (how.startsWith("too large")) {
            TFormVersionUpExeDownLoad::setSizeLimit(body.size() - 1);
            FakeSite::Response answer = updaterAnswer(body);
            answer.untilClose = how.endsWith("no length");
            site.setRoute("GET", path, answer);
        } else {
            SafeFileWriter::simulateDiskFullAfter(1000);
        }
        const QByteArray former = "MZ the updater of a former start";
        {
            QFile file(folder.filePath("UpdateExe.exe"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(former);
        }

        startUntilTheFailureBox(app, opened, exeFailureText);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(updaterFilesIn(folder), QStringList{"UpdateExe.exe"});
        QFile kept(folder.filePath("UpdateExe.exe"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), former);
        // The update host was asked (the network layer may repeat a GET by itself when a server
        // closes the connection), and nothing of its answers is kept.
        QVERIFY(server.requestCount("UpdateExe.exe") >= 1);
        // The HTTPS hop on the update host was taken; the step back to HTTP was not.
        QCOMPARE(server.requestedPaths().contains("/secure/UpdateExe.exe"), how == "downgrade");
        QVERIFY(!server.requestedPaths().contains("/plain/UpdateExe.exe"));
        QVERIFY(other.requests().isEmpty());
        QCOMPARE(other.connectionCount(), 0);
        app.closeWindow();
    }

    void redirectRule_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("allowed");
        const QString origin = "http://updates.example.test/tessaly/updatefile/UpdateExe.exe";
        QTest::newRow("same host, other path") << origin << "http://updates.example.test/a" << true;
        QTest::newRow("to HTTPS") << origin << "https://updates.example.test/a" << true;
        QTest::newRow("host differs in case only")
            << origin << "http://UPDATES.example.test/a" << true;
        QTest::newRow("other host") << origin << "http://mirror.example.test/a" << false;
        QTest::newRow("sub-domain") << origin << "http://x.updates.example.test/a" << false;
        QTest::newRow("other port") << origin << "http://updates.example.test:8080/a" << false;
        QTest::newRow("HTTPS to HTTP") << "https://updates.example.test/a"
                                       << "http://updates.example.test/b" << false;
        QTest::newRow("other scheme") << origin << "ftp://updates.example.test/a" << false;
        QTest::newRow("file") << origin << "file:///tmp/UpdateExe.exe" << false;
    }
    void redirectRule()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, allowed);
        const QUrl origin("http://updates.example.test/tessaly/updatefile/UpdateExe.exe");
        QCOMPARE(FileDownload::redirectAllowed(origin, QUrl(from), QUrl(to)), allowed);
    }

    void aboutBoxShowsVersions_data()
    {
        QTest::addColumn<QString>("stored"); // null: missing
        QTest::addColumn<QString>("shown");
        QTest::newRow("1.01") << QString("1.01") << QString("Version1.01");
        QTest::newRow("missing") << QString() << QString("Version1.00");
    }

    void aboutBoxShowsVersions()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        OpenedUrls opened;
        MainWindowFixture app;
        if (!stored.isNull())
            settings(app.folder()).writeString("Version", "MdbVersion", stored);
        TFormNavi& navi = *app.make();
        QAction* command = navi.action("MainMenuVersion");
        QVERIFY(command->isEnabled());
        QString dbLine, version, title;
        bool remembered = false;
        QTimer::singleShot(0, &navi, [&] {
            auto* box = qobject_cast<TFormVersion*>(QApplication::activeModalWidget());
            if (!box)
                return;
            remembered = navi.formVersion == box && box->parentWidget() == &navi;
            title = box->windowTitle();
            dbLine = box->LabelDbVer->text();
            version = box->LabelVersion->text();
            QTest::mouseClick(box->LabelUrl, Qt::LeftButton);
            box->ButtonOK->click();
        });
        command->trigger();
        QVERIFY(remembered);
        QVERIFY(!navi.formVersion);
        QCOMPARE(title, QString("バージョン情報"));
        QCOMPARE(version, QString("Version1.08"));
        QCOMPARE(dbLine, shown);
        QCOMPARE(opened.urls, QList<QUrl>{QUrl(TFormVersion::webAddress)});
    }

    void readsLogLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("aid");
        QTest::addColumn<QString>("bidId");
        QTest::addColumn<bool>("anyWinner");
        QTest::newRow("new messages") << "x100：本 (上巻)：新着2件(bob)" << true << "x100"
                                      << "bob" << false;
        QTest::newRow("duplicates")
            << "x100：本 ナビNo重複 自動再取得を行います(alice)" << true << "x100"
            << "alice" << false;
        QTest::newRow("feedback") << "x100：本 (bob)の評価をしました" << true << "x100"
                                  << "" << true;
        QTest::newRow("no colon") << "x100 新着2件(bob)" << false << ""
                                  << "" << false;
        QTest::newRow("other line") << "x100：ログインしました(bob)" << false << ""
                                    << "" << false;
        QTest::newRow("no parentheses") << "x100：本：新着2件" << false << ""
                                        << "" << false;
    }

    void readsLogLines()
    {
        QFETCH(QString, line);
        QFETCH(bool, read);
        const std::optional<LogJumpLine::Target> target = LogJumpLine::read(line);
        QCOMPARE(target.has_value(), read);
        if (!read)
            return;
        QTEST(target->aid, "aid");
        QTEST(target->bidId, "bidId");
        QTEST(target->anyWinner, "anyWinner");
    }

    void logLineJumpsToItsRow_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("row"); // -1: no jump
        QTest::newRow("second winner") << "a1：本：新着1件(w2)" << 1;
        QTest::newRow("winner of another listing") << "a2：皿：新着3件(w1)" << 3;
        QTest::newRow("winner id differs in case") << "a2：皿：新着3件(W1)" << -1;
        QTest::newRow("feedback line") << "a2：皿の評価をしました" << 2;
        QTest::newRow("unknown listing") << "zz：本：新着1件(w1)" << -1;
        QTest::newRow("no colon") << "a1 新着1件(w2)" << -1;
    }

    void logLineJumpsToItsRow()
    {
        QFETCH(QString, line);
        QFETCH(int, row);
        MainWindowFixture app;
        TFormNavi& navi = *app.start();
        const QList<std::pair<QString, QString>> rows = {
            {"a1", "w1"}, {"a1", "w2"}, {"a2", "w0"}, {"a2", "w1"}};
        for (const auto& [aid, bidId] : rows)
            navi.ListViewBid->addBidItem(cells(aid, bidId, "t"));
        navi.ListViewBid->setCurrentItem(navi.ListViewBid->topLevelItem(0));
        navi.PageControlMain->setCurrentIndex(1);
        navi.addLogMessage("before");
        navi.addLogMessage(line);
        QListWidgetItem* logLine = navi.ListBoxMessage->item(1);
        navi.ListBoxMessage->scrollToItem(logLine);
        QTRY_VERIFY(!navi.ListBoxMessage->visualItemRect(logLine).isEmpty());
        // A widget's double click comes after the press of its first click.
        const QPoint at = navi.ListBoxMessage->visualItemRect(logLine).center();
        QTest::mouseClick(navi.ListBoxMessage->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(navi.ListBoxMessage->viewport(), Qt::LeftButton, {}, at);
        if (row < 0) {
            QCOMPARE(navi.PageControlMain->currentIndex(), 1);
            QCOMPARE(navi.ListViewBid->currentItem(), navi.ListViewBid->topLevelItem(0));
        } else {
            BidRow target = navi.ListViewBid->topLevelItem(row);
            QCOMPARE(navi.PageControlMain->currentIndex(), 0);
            QCOMPARE(navi.ListViewBid->selectedItems(), QList<BidRow>{target});
            QCOMPARE(navi.ListViewBid->currentItem(), target);
        }
        // A double click below the last line names no line.
        navi.PageControlMain->setCurrentIndex(1);
        navi.ListBoxMessageDblClick(nullptr);
        QCOMPARE(navi.PageControlMain->currentIndex(), 1);
        app.closeWindow();
    }
};

QTEST_MAIN(TestVersion)
#include "test_version.moc"
