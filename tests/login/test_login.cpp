// Logging in, following the site's account, and the common frame of every download: the busy
// state, the commands disabled as one, the stop question and shutting down mid-download.
#include "FakeSite.h"
#include "FixtureDb.h"
#include "MainWindowFixture.h"
#include "SitePages.h"
#include "app/UnitNavi.h"
#include "app/UnitTaskTrayLoginMessage.h"
#include "platform/Database.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"
#include "site/DownloadControl.h"
#include "site/DownloadThread.h"
#include "site/LoginControl.h"
#include "site/html.h"
#include "views/BidListFindPanel.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace {

// A download that fetches a slow page per item and logs each one through a hand-over.
class SlowTestThread : public DownloadThread
{
public:
    SlowTestThread(TFormNavi* navi, QString url, int items)
        : DownloadThread(navi, navi->loginId), m_navi(navi), m_url(std::move(url)), m_items(items)
    {
    }

protected:
    void run() override
    {
        for (int i = 0; i < m_items; ++i) {
            if (!checkPoint())
                return;
            html client;
            client.get(m_url);
            if (!handOver([&] { m_navi->addLogMessage(QStringLiteral("item %1").arg(i)); }))
                return;
        }
        handOver([this] {
            m_navi->addLogMessage(QStringLiteral("end"));
            m_navi->downloadControl().endDownload(this);
        });
    }

private:
    TFormNavi* m_navi;
    QString m_url;
    int m_items;
};

QStringList logLines(const TFormNavi& navi)
{
    QStringList lines;
    for (int i = 0; i < navi.ListBoxMessage->count(); ++i)
        lines << navi.ListBoxMessage->item(i)->text();
    return lines;
}

int folderCount(const TFormNavi& navi, const QString& loginId)
{
    return Sql::scalar(navi.connection, "SELECT COUNT(*) FROM T_NaviFolderMaster WHERE LoginId=:L",
                       {{":L", loginId}})
        .toInt();
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    FakeSite* site = nullptr;
    TFormNavi* navi = nullptr;

    void startWindow()
    {
        navi = app->start();
        QVERIFY(navi->session.queries.ready);
        // The frame is tested on its own: every download command counts as wired.
        for (QAction* command : downloadCommands())
            TFormNavi::markWired(command);
        navi->downloadControl().enableDownloadActions();
    }

    bool startSlowDownload(int items, int delayMs)
    {
        FakeSite::Response slow = SitePages::page("<html>page</html>");
        slow.delayMs = delayMs;
        site->setRoute("GET", "/slow", slow);
        const QString url = site->httpUrl("/slow");
        return navi->downloadControl().startDownload(
            2, [&] { return new SlowTestThread(navi, url, items); }, "start");
    }

    QList<QAction*> downloadCommands() const
    {
        return {navi->ActionBidDownloadNow,      navi->ActionBidDownload,
                navi->ActionNaviDownloadSelect,  navi->ActionNaviDownloadShow,
                navi->ActionBidDetailedDownload, navi->ActionBidPromptDecisionDownload};
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        site = &app->site();
        html::setDefaultTimeout(5000);
        SitePages::serveAccount(*site, QString());
    }
    void cleanup()
    {
        app.reset();
        navi = nullptr;
        site = nullptr;
    }

    void firstIdleMomentFindsNoAccount()
    {
        startWindow();
        QCOMPARE(navi->loginId, QString());
        QCOMPARE(navi->statusPanels[5]->text(), QString("ログインしていません"));
    }

    void loginAdoptsTheNewAccountOnce()
    {
        startWindow();
        SitePages::serveAccount(*site, "seller01");
        navi->ComboBoxLoginId->setEditText("seller01");
        navi->EditLoginPassword->setText("secret");
        navi->ToolButtonLogin->click();
        QCOMPARE(navi->statusPanels[0]->text(), QString("seller01でログインしました"));
        QCOMPARE(navi->statusPanels[5]->text(), QString("ログインID：seller01"));
        QCOMPARE(navi->loginId, QString("seller01"));
        QCOMPARE(folderCount(*navi, "seller01"), 6);
        QCOMPARE(int(SitePages::loginPosts(*site).size()), 1);
        QVERIFY(navi->ToolButtonLogin->isEnabled());
        // The same account again changes nothing and adds no folders.
        navi->ToolButtonLogin->click();
        QCOMPARE(folderCount(*navi, "seller01"), 6);
        // A restart with the same account adds none either.
        navi->close();
        startWindow();
        QCOMPARE(navi->loginId, QString("seller01"));
        QCOMPARE(folderCount(*navi, "seller01"), 6);
    }

    void refusedLoginIsReported()
    {
        startWindow();
        SitePages::serveAccount(*site, QString(), false);
        navi->ComboBoxLoginId->setEditText("seller01");
        navi->EditLoginPassword->setText("wrong");
        navi->ToolButtonLogin->click();
        QCOMPARE(navi->statusPanels[0]->text(), QString("ログインに失敗しました"));
        QCOMPARE(navi->statusPanels[5]->text(), QString("ログインしていません"));
        QCOMPARE(folderCount(*navi, "seller01"), 0);
    }

    void emptyPasswordSendsOnlyTheStatusCheck()
    {
        startWindow();
        site->clearRequests();
        navi->ComboBoxLoginId->setEditText("seller01");
        navi->EditLoginPassword->clear();
        navi->ToolButtonLogin->click();
        QCOMPARE(int(SitePages::loginPosts(*site).size()), 0);
        const QList<FakeSite::Request> requests = site->requests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().path(), QByteArray("/jp/show/mystatus"));
    }

    void automaticLoginAtStart_data()
    {
        QTest::addColumn<QString>("autoLogin"); // the value of LoginAutoLogin; empty: no key
        QTest::addColumn<QStringList>("mainRows");
        QTest::addColumn<QString>("expected"); // the account logged in at start; empty: none
        QTest::newRow("later Main row wins") << "1" << QStringList{"alice", "bob"} << "bob";
        QTest::newRow("one Main row") << "1" << QStringList{"alice"} << "alice";
        QTest::newRow("no Main row") << "1" << QStringList() << "";
        QTest::newRow("key missing") << "" << QStringList{"alice", "bob"} << "";
        QTest::newRow("switched off") << "0" << QStringList{"alice", "bob"} << "";
    }
    void automaticLoginAtStart()
    {
        QFETCH(QString, autoLogin);
        QFETCH(QStringList, mainRows);
        QFETCH(QString, expected);
        const QMap<QString, QString> passwords = {
            {"alice", "pw1"}, {"bob", "pw2"}, {"carol", "pw3"}};
        {
            Database::ScopedConnection db;
            for (auto it = passwords.cbegin(); it != passwords.cend(); ++it)
                FixtureDb::addLogin(db.db(), it.key(), it.value(), mainRows.contains(it.key()));
        }
        if (!autoLogin.isEmpty())
            IniFile(app->folder().filePath("setting.ini"))
                .writeString("Setting", "LoginAutoLogin", autoLogin);
        SitePages::serveAccount(*site, expected);
        startWindow();
        const QList<FakeSite::Request> posts = SitePages::loginPosts(*site);
        QCOMPARE(posts.size(), expected.isEmpty() ? 0 : 1);
        QCOMPARE(navi->loginId, expected);
        if (expected.isEmpty())
            return;
        const QByteArray body = posts.first().body;
        QVERIFY2(body.contains("login=" + expected.toUtf8()), body.constData());
        QVERIFY2(body.contains("passwd=" + passwords.value(expected).toUtf8()), body.constData());
        // The login comes before the first idle moment's account refresh.
        const QList<FakeSite::Request> requests = site->requests();
        const auto isPost = [](const FakeSite::Request& r) { return r.secure; };
        const auto isStatus = [](const FakeSite::Request& r) {
            return r.path() == "/jp/show/mystatus";
        };
        QVERIFY(std::find_if(requests.cbegin(), requests.cend(), isPost) <
                std::find_if(requests.cbegin(), requests.cend(), isStatus));
    }

    void enterInTheLoginBarWithoutADatabaseSendsNothing()
    {
        {
            QFile file(app->folder().filePath("Tessaly.db"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
        }
        // Were the login let through, the new account's folders would be made without a database.
        SitePages::serveAccount(*site, "seller01");
        const TestDialogs& dialogs = app->dialogs();
        navi = app->show();
        QCOMPARE(dialogs.requests().size(), 1);
        QVERIFY(!navi->ToolButtonLogin->isEnabled());
        navi->ComboBoxLoginId->setEditText("seller01");
        navi->EditLoginPassword->setText("secret");
        QTest::keyClick(navi->EditLoginPassword, Qt::Key_Return);
        QTest::keyClick(navi->ComboBoxLoginId->lineEdit(), Qt::Key_Return);
        QVERIFY(site->requests().isEmpty());
        QCOMPARE(dialogs.requests().size(), 1);
        QCOMPARE(navi->loginId, QString());
    }

    void savedIdFillsItsPassword()
    {
        {
            Database::ScopedConnection db;
            FixtureDb::addLogin(db.db(), "alice", "pw1");
        }
        startWindow();
        navi->EditLoginPassword->setText("typed");
        navi->ComboBoxLoginId->setEditText("nobody");
        QCOMPARE(navi->EditLoginPassword->text(), QString("typed"));
        navi->ComboBoxLoginId->setEditText("alice");
        QCOMPARE(navi->EditLoginPassword->text(), QString("pw1"));
    }

    void downloadCheckStopsWithoutAnAccount()
    {
        startWindow();
        QVERIFY(!navi->loginControl().checkLoginStatus());
        QCOMPARE(logLines(*navi).last(), QString("ログインしていません。処理を中止します。"));
        QVERIFY(!startSlowDownload(1, 0));
        QCOMPARE(navi->downloadKind, 0);
        QVERIFY(navi->ActionBidDownload->isEnabled());
    }

    void downloadCheckStopsOnPasswordReconfirmation()
    {
        startWindow();
        site->setRoute("GET", "/jp/show/mystatus",
                       SitePages::page(SitePages::statusPage("seller01") +
                                       SitePages::reconfirmationPage("seller01")));
        QVERIFY(!navi->loginControl().checkLoginStatus());
        QCOMPARE(logLines(*navi).last(),
                 QString("seller01：再パスワード要求がありました。処理を中止します。"));
    }

    void commandsAreDisabledWhileADownloadRuns()
    {
        startWindow();
        SitePages::serveAccount(*site, "seller01");
        QVERIFY(startSlowDownload(3, 150));
        QCOMPARE(navi->downloadKind, 2);
        for (QAction* command : downloadCommands())
            QVERIFY2(!command->isEnabled(), qPrintable(command->objectName()));
        QVERIFY(!navi->ToolButtonLogin->isEnabled());
        QVERIFY(navi->MainMenuDataDownloadQuit->isEnabled());
        // A second download and a login are refused while it runs.
        QVERIFY(!startSlowDownload(1, 0));
        navi->loginControl().ToolButtonLoginClick();
        QCOMPARE(logLines(*navi).last(), QString("ダウンロード中はログインできません"));
        QTRY_COMPARE_WITH_TIMEOUT(navi->downloadKind, 0, 10000);
        QCOMPARE(logLines(*navi).last(), QString("end"));
        for (QAction* command : downloadCommands())
            QVERIFY2(command->isEnabled(), qPrintable(command->objectName()));
        QVERIFY(navi->ToolButtonLogin->isEnabled());
        QVERIFY(!navi->MainMenuDataDownloadQuit->isEnabled());
    }

    void stopWithOkEndsTheDownload()
    {
        startWindow();
        SitePages::serveAccount(*site, "seller01");
        TestDialogs& dialogs = app->dialogs();
        dialogs.setDefault(Dialogs::Answer::Ok);
        QVERIFY(startSlowDownload(50, 100));
        QTRY_VERIFY(logLines(*navi).contains("item 0"));
        QPointer<DownloadThread> thread = navi->downloadControl().threadNaviDownload.data();
        navi->MainMenuDataDownloadQuit->trigger();
        QCOMPARE(dialogs.texts(), QStringList{"取引ナビダウンロードを中止しますか？"});
        QCOMPARE(navi->downloadKind, 0);
        QVERIFY(!navi->downloadControl().threadNaviDownload);
        QTRY_VERIFY_WITH_TIMEOUT(!thread, 10000);
        const QStringList lines = logLines(*navi);
        QCOMPARE(lines.count("取引ナビダウンロードを中止しました"), 1);
        QVERIFY(!lines.contains("end"));
        QVERIFY(lines.contains("item 0"));
        for (QAction* command : downloadCommands())
            QVERIFY(command->isEnabled());
    }

    void stopWithCancelLetsItFinish()
    {
        startWindow();
        SitePages::serveAccount(*site, "seller01");
        TestDialogs& dialogs = app->dialogs();
        dialogs.setDefault(Dialogs::Answer::Cancel);
        QVERIFY(startSlowDownload(3, 100));
        navi->MainMenuDataDownloadQuit->trigger();
        QCOMPARE(dialogs.requests().size(), 1);
        QCOMPARE(navi->downloadKind, 2);
        QVERIFY(navi->MainMenuDataDownloadQuit->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(navi->downloadKind, 0, 10000);
        const QStringList lines = logLines(*navi);
        QCOMPARE(lines.mid(lines.size() - 4), (QStringList{"item 0", "item 1", "item 2", "end"}));
    }

    void escapeInTheFindPanelClosesItDuringADownload()
    {
        startWindow();
        SitePages::serveAccount(*site, "seller01");
        TestDialogs& dialogs = app->dialogs();
        navi->activateWindow();
        QVERIFY(navi->PanelBidListFind->ActionNaviFindExecute());
        QTRY_VERIFY(navi->PanelBidListFind->EditBidListFind->hasFocus());
        QVERIFY(startSlowDownload(3, 100));
        QTest::keyClick(navi->PanelBidListFind->EditBidListFind, Qt::Key_Escape);
        QVERIFY(!navi->PanelBidListFind->isVisible());
        QVERIFY(dialogs.requests().isEmpty());
        QCOMPARE(navi->downloadKind, 2);
        QTRY_COMPARE_WITH_TIMEOUT(navi->downloadKind, 0, 10000);
    }

    void stopWithoutADownloadDoesNothing()
    {
        startWindow();
        TestDialogs& dialogs = app->dialogs();
        QVERIFY(!navi->MainMenuDataDownloadQuit->isEnabled());
        navi->downloadControl().MainMenuDataDownloadQuitClick();
        QVERIFY(dialogs.requests().isEmpty());
    }

    void errorWhileFillingTheWorkListsUndoesTheStart()
    {
        startWindow();
        SitePages::serveAccount(*site, "seller01");
        const bool started = navi->downloadControl().startDownload(
            2, []() -> DownloadThread* { throw std::runtime_error("work list failed"); }, "start");
        QVERIFY(!started);
        QCOMPARE(navi->downloadKind, 0);
        QCOMPARE(logLines(*navi).last(), QString("work list failed"));
        for (QAction* command : downloadCommands())
            QVERIFY(command->isEnabled());
        QVERIFY(!navi->MainMenuDataDownloadQuit->isEnabled());
    }

    void closingMidDownloadStopsTheThread()
    {
        startWindow();
        SitePages::serveAccount(*site, "seller01");
        QVERIFY(startSlowDownload(50, 2000));
        QPointer<DownloadThread> thread = navi->downloadControl().threadNaviDownload.data();
        QVERIFY(thread);
        navi->close();
        // The close waited for the thread, which ended early inside its slow request.
        QVERIFY(!thread || thread->isFinished());
        app->closeWindow();
        QTRY_VERIFY(!thread);
    }

    void trayNoticeReportsAndClosesItself()
    {
        QPointer<TFormTaskTrayLoginMessage> notice = new TFormTaskTrayLoginMessage();
        notice->loginSucceeded = false;
        notice->loginId = "abc";
        notice->showTime = 0; // never less than a second
        notice->show();
        QCOMPARE(notice->LabelLoginMessage->text(), QString("abc：ログインに失敗しました"));
        QVERIFY(notice->ImageIconFailure->isVisible());
        QVERIFY(!notice->ImageIconSuccess->isVisible());
        QCOMPARE(notice->pos(), QPoint(0, 0));
        QCOMPARE(notice->Timer->interval(), TFormTaskTrayLoginMessage::minimumShowTime);
        QTRY_VERIFY_WITH_TIMEOUT(!notice, 5000);
    }
};

QTEST_MAIN(TestLogin)
#include "test_login.moc"
