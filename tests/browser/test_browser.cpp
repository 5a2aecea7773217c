// The in-app browser on the shared web-engine profile against the fake site: loading a listing
// with the program's login, the template copy menus and their clipboard texts, the edit
// commands, the window's placement, and the main window's opener on both tabs.
#include "support/FakeSite.h"
#include "support/FixtureDb.h"
#include "support/MainWindowFixture.h"
#include "support/SitePages.h"

#include "common/CommonDefine.h"
#include "app/UnitNavi.h"
#include "compose/BrowserAddress.h"
#include "compose/UnitBrowser.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"
#include "site/LoginControl.h"
#include "site/NetworkThread.h"
#include "site/html.h"
#include "views/ListingTab.h"
#include "views/NaviFolderList.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>
#include <memory>
#include <optional>

namespace {

const QString seller = QStringLiteral("seller");
const QString winner = QStringLiteral("buyer01");

QStringList captionsOf(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* item : menu->actions())
        captions << item->text();
    return captions;
}

QAction* itemOf(const QMenu* menu, const QString& name)
{
    for (QAction* item : menu->actions())
        if (item->toolTip() == name)
            return item;
    return nullptr;
}

// What the opener handed to the browser window while it was shown.
struct Opened
{
    QString url, aid, bidId, title, caption;
    bool ownerless = false;
    bool applicationModal = false;
    bool remembered = false;
};

} // namespace

class TestBrowser : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;
    QPointer<TFormBrowser> form;

    QSqlDatabase db() const { return navi->connection; }

    void addTemplate(const char* table, const QString& name, const QString& message, int sortNumber)
    {
        FixtureDb::insert(db(), table,
                          {{"SaveName", name}, {"Message", message}, {"SortNumber", sortNumber}});
    }

    // A browser window shown as the opener shows it, but not modally, so the test goes on.
    TFormBrowser* openBrowser(const QString& url = QString())
    {
        form = new TFormBrowser(navi->session);
        form->url = url;
        form->aid = "a1";
        form->bidId = winner;
        form->title = "時計";
        form->FormShow();
        form->show();
        if (!QTest::qWaitForWindowExposed(form))
            qWarning("browser not exposed");
        return form;
    }

    bool waitForLoad(QWebEnginePage* page)
    {
        QSignalSpy finished(page, &QWebEnginePage::loadFinished);
        return finished.wait(20000) && finished.last().at(0).toBool();
    }

    QVariant evaluate(const QString& script)
    {
        std::optional<QVariant> answer;
        form->CppWebBrowser->page()->runJavaScript(script,
                                                   [&answer](const QVariant& v) { answer = v; });
        if (!QTest::qWaitFor([&] { return answer.has_value(); }, 10000))
            return QStringLiteral("<no answer>");
        return *answer;
    }

    // Triggers the opener; while its modal window is up, records what it holds and closes it.
    std::optional<Opened> runOpener(const std::function<void()>& trigger)
    {
        std::optional<Opened> seen;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* shown = qobject_cast<TFormBrowser*>(QApplication::activeModalWidget());
            if (!shown || !shown->isVisible())
                return;
            poll.stop();
            seen = Opened{shown->url,
                          shown->aid,
                          shown->bidId,
                          shown->title,
                          shown->windowTitle(),
                          shown->parentWidget() == nullptr,
                          shown->windowModality() == Qt::ApplicationModal,
                          navi->formBrowser == shown};
            shown->close();
        });
        poll.start();
        trigger();
        poll.stop();
        return seen;
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        html::setDefaultTimeout(5000);
        SitePages::serveAccount(app->site(), seller);
        navi = app->startProgram();
        QTRY_COMPARE(navi->loginId, seller);
    }
    void cleanup()
    {
        delete form.data();
        app->closeWindow();
        // A fresh cookie store (and so a fresh engine profile) for the next test.
        NetworkThread::shutdown();
        app.reset();
    }

    void emptyAddressRequestsNothingYetFillsBothMenusInSortOrder()
    {
        addTemplate("T_NaviTemplate", "お礼", "x", 1);
        addTemplate("T_NaviTemplate", "発送", "x", 2);
        addTemplate("T_NaviTemplate", "最初", "x", 0);
        addTemplate("T_EvaluationTemplate", "良い", "x", 1);
        addTemplate("T_EvaluationTemplate", "非常に良い", "x", 0);
        app->site().clearRequests();
        openBrowser();
        QCOMPARE(form->windowTitle(), QString("ブラウザ：時計"));
        QCOMPARE(form->geometry(), QRect(100, 100, 400, 400));
        QTRY_VERIFY(form->templateMenusReady);
        QCOMPARE(captionsOf(form->MainMenuNaviTemplateCopy), (QStringList{"最初", "お礼", "発送"}));
        QCOMPARE(captionsOf(form->MainMenuEvaluationTemplateCopy),
                 (QStringList{"非常に良い", "良い"}));
        for (const QAction* item : form->MainMenuNaviTemplateCopy->actions())
            QCOMPARE(item->toolTip(), item->text());
        QVERIFY(form->CppWebBrowser->url().isEmpty());
        QVERIFY(app->site().requests().isEmpty());
        // Filled once: a second idle moment adds nothing.
        form->AppIdle();
        QCOMPARE(form->MainMenuNaviTemplateCopy->actions().size(), 3);
    }

    void listingPageCarriesTheLoginCookieOfTheProgramsClient()
    {
        app->site().setHandler("POST", "/config/login", [](const FakeSite::Request&) {
            FakeSite::Response response = SitePages::page(SitePages::loginAcceptedPage());
            response.headers.append(
                {QByteArray("Set-Cookie"), QByteArray("Y=login-seller; path=/")});
            return response;
        });
        app->site().setRoute("GET", "/jp/auction/a1",
                             SitePages::page("<html><body><p id=t>出品ページ</p></body></html>"));
        QVERIFY(navi->loginControl().login(seller, "pw"));
        openBrowser(app->site().httpUrl("/jp/auction/a1"));
        QVERIFY(waitForLoad(form->CppWebBrowser->page()));
        QCOMPARE(evaluate("document.getElementById('t').textContent").toString(),
                 QString("出品ページ"));
        QList<FakeSite::Request> pages;
        for (const FakeSite::Request& request : app->site().requests())
            if (request.path() == "/jp/auction/a1")
                pages << request;
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages[0].header("Cookie").contains("Y=login-seller"));
    }

    void onlyWebAddressesAreLoaded_data()
    {
        QTest::addColumn<QString>("address"); // %1: the data folder, %2: the fake site
        QTest::addColumn<bool>("loaded");
        QTest::newRow("a local file") << "file://%1/secret.html" << false;
        QTest::newRow("a script") << "javascript:document.title='x'" << false;
        QTest::newRow("inline data") << "data:text/html,<p>x</p>" << false;
        QTest::newRow("http without a host") << "http:/jp/auction/a1" << false;
        QTest::newRow("another scheme") << "ftp://%2/jp/auction/a1" << false;
        QTest::newRow("http, upper case") << "HTTP://%2/jp/auction/a1" << true;
    }
    void onlyWebAddressesAreLoaded()
    {
        QFETCH(QString, address);
        QFETCH(bool, loaded);
        QFile secret(app->folder().filePath("secret.html"));
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write("<html><body>secret</body></html>");
        secret.close();
        app->site().setRoute("GET", "/jp/auction/a1",
                             SitePages::page("<html><body>x</body></html>"));
        address.replace("%1", app->folder().path()).replace("%2", app->site().host());
        addTemplate("T_NaviTemplate", "お礼", "x", 0);
        openBrowser(address);
        if (loaded) {
            QVERIFY(waitForLoad(form->CppWebBrowser->page()));
            QVERIFY(app->dialogs().requests().isEmpty());
            return;
        }
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::Warning);
        QCOMPARE(app->dialogs().requests()[0].caption, BrowserAddress::refusalCaption);
        QCOMPARE(app->dialogs().requests()[0].text, BrowserAddress::refusalText(address));
        QVERIFY(form->CppWebBrowser->url().isEmpty());
        // The window is still there for its template menus.
        QVERIFY(form->isVisible());
        QTRY_VERIFY(form->templateMenusReady);
        QCOMPARE(captionsOf(form->MainMenuNaviTemplateCopy), QStringList{"お礼"});
        QVERIFY(form->CppWebBrowser->url().isEmpty());
    }

    void messageTemplateReachesTheClipboardExpanded_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("carriage");
        QTest::addColumn<bool>("errorBox");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("boxShown");
        QTest::newRow("winner id")
            << "%id% 様\r\nご落札ありがとうございます"
            << "800" << true << "buyer01 様\r\nご落札ありがとうございます" << false;
        QTest::newRow("carriage") << "送料%carriage%円"
                                  << "1200" << true << "送料1,200円" << false;
        QTest::newRow("keyword error, no box") << "送料%carriage%円"
                                               << "" << false << "送料%carriage%円" << false;
        QTest::newRow("keyword error, box") << "送料%carriage%円"
                                            << "" << true << "送料%carriage%円" << true;
    }
    void messageTemplateReachesTheClipboardExpanded()
    {
        QFETCH(QString, message);
        QFETCH(QString, carriage);
        QFETCH(bool, errorBox);
        QFETCH(QString, clipboard);
        QFETCH(bool, boxShown);
        FixtureDb::addListing(
            db(),
            {.aid = "a1", .bidId = winner, .title = "時計", .extra = {{"Carriage", carriage}}});
        addTemplate("T_NaviTemplate", "お礼", message, 0);
        navi->options.naviKeywordErrorMsg = errorBox;
        const int logLines = navi->ListBoxMessage->count();
        QGuiApplication::clipboard()->setText("before");
        openBrowser();
        QTRY_VERIFY(form->templateMenusReady);
        itemOf(form->MainMenuNaviTemplateCopy, "お礼")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        QCOMPARE(navi->ListBoxMessage->count(), logLines);
        QCOMPARE(app->dialogs().requests().size(), boxShown ? 1 : 0);
        if (boxShown) {
            QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::Error);
            QCOMPARE(app->dialogs().requests()[0].caption, QString("キーワード変換エラー"));
            QVERIFY(app->dialogs().requests()[0].text.contains("%carriage%(送料)"));
        }
    }

    void feedbackTemplateIsCopiedUnchanged()
    {
        const QString message = "%id% 様\r\n迅速な & 丁寧な取引 %carriage%";
        addTemplate("T_EvaluationTemplate", "良い", message, 0);
        openBrowser();
        QTRY_VERIFY(form->templateMenusReady);
        itemOf(form->MainMenuEvaluationTemplateCopy, "良い")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), message);
        QVERIFY(app->dialogs().requests().isEmpty());
    }

    void templateRemovedMeanwhileCopiesAnEmptyText()
    {
        FixtureDb::addListing(db(), {.aid = "a1", .bidId = winner, .title = "時計"});
        addTemplate("T_NaviTemplate", "お礼", "本文", 0);
        openBrowser();
        QTRY_VERIFY(form->templateMenusReady);
        Sql::exec(db(), "DELETE FROM T_NaviTemplate");
        QGuiApplication::clipboard()->setText("before");
        itemOf(form->MainMenuNaviTemplateCopy, "お礼")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }

    void editCommandsRunInThePageAndCtrlYRedoes()
    {
        app->site().setRoute(
            "GET", "/edit",
            SitePages::page("<html><body><textarea id=t></textarea></body></html>"));
        openBrowser(app->site().httpUrl("/edit"));
        QVERIFY(waitForLoad(form->CppWebBrowser->page()));
        QVERIFY(!captionsOf(form->findChild<QMenu*>("MainMenuEdit")).contains("やり直し(&R)"));
        QCOMPARE(captionsOf(form->findChild<QMenu*>("MainMenuEdit")),
                 (QStringList{"元に戻す(&U)", "", "切り取り(&X)", "コピー(&C)", "貼り付け(&P)",
                              "すべて選択(&A)"}));
        form->CppWebBrowser->setFocus();
        QCOMPARE(evaluate("var t = document.getElementById('t'); t.focus();"
                          "document.execCommand('insertText', false, 'abc'); t.value")
                     .toString(),
                 QString("abc"));
        form->ActionUndo->trigger();
        QTRY_COMPARE(evaluate("document.getElementById('t').value").toString(), QString());
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QTest::keyClick(form, Qt::Key_Y, Qt::ControlModifier);
        QTRY_COMPARE(evaluate("document.getElementById('t').value").toString(), QString("abc"));
    }

    void escapeCloses()
    {
        openBrowser();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QTest::keyClick(form, Qt::Key_Escape);
        QTRY_VERIFY(!form->isVisible());
        QCOMPARE(IniFile(CommonDefine::settingIniPath()).readInteger("BrowserWindow", "Width", 0),
                 400);
    }

    void closeStoresStateAndNormalBounds_data()
    {
        QTest::addColumn<bool>("maximise");
        QTest::newRow("normal") << false;
        QTest::newRow("maximised") << true;
    }
    void closeStoresStateAndNormalBounds()
    {
        QFETCH(bool, maximise);
        {
            IniFile ini(CommonDefine::settingIniPath());
            ini.writeInteger("BrowserWindow", "Left", 120);
            ini.writeInteger("BrowserWindow", "Top", 130);
            ini.writeInteger("BrowserWindow", "Width", 500);
            ini.writeInteger("BrowserWindow", "Height", 420);
        }
        openBrowser();
        QCOMPARE(form->geometry(), QRect(120, 130, 500, 420));
        QRect expected(120, 130, 500, 420);
        if (maximise) {
            form->showMaximized();
            QTRY_VERIFY(form->isMaximized());
            QTRY_VERIFY(form->width() != 500 && form->height() != 420);
        } else {
            expected = QRect(140, 150, 460, 380);
            form->setGeometry(expected);
        }
        form->close();
        const IniFile ini(CommonDefine::settingIniPath());
        QCOMPARE(ini.readInteger("BrowserWindow", "WindowState", -1), maximise ? 2 : 0);
        QCOMPARE(QRect(ini.readInteger("BrowserWindow", "Left", 0),
                       ini.readInteger("BrowserWindow", "Top", 0),
                       ini.readInteger("BrowserWindow", "Width", 0),
                       ini.readInteger("BrowserWindow", "Height", 0)),
                 expected);
    }

    void openerHandsTheCheckedRowToAModalWindow_data()
    {
        QTest::addColumn<bool>("naviTab");
        QTest::addColumn<bool>("doubleClickOperation");
        QTest::newRow("listing tab") << false << false;
        QTest::newRow("listing tab, list operation 0") << false << true;
        QTest::newRow("message tab") << true << false;
    }
    void openerHandsTheCheckedRowToAModalWindow()
    {
        QFETCH(bool, naviTab);
        QFETCH(bool, doubleClickOperation);
        const QString url = app->site().httpUrl("/jp/auction/a2");
        app->site().setRoute("GET", "/jp/auction/a2", SitePages::page("<html></html>"));
        FixtureDb::addListing(db(), {.aid = "a1", .bidId = "other", .title = "鞄", .index = 2});
        FixtureDb::addListing(
            db(), {.aid = "a2", .bidId = winner, .title = "時計", .extra = {{"Url", url}}});
        FixtureDb::addMessage(db(), {.aid = "a2", .bidId = winner, .number = 3});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QTreeView* list = navi->ListViewBid;
        if (naviTab) {
            navi->PageControlMain->setCurrentIndex(1);
            navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "000"));
            list = navi->ListViewNavi;
        }
        QModelIndex row;
        for (int i = 0; i < list->model()->rowCount(); ++i)
            if (list->model()->index(i, 1).data().toString() == "a2")
                row = list->model()->index(i, 0);
        QVERIFY(row.isValid());

        const auto trigger = [&] {
            if (doubleClickOperation)
                navi->listingTab().runBidListOperation(0);
            else
                navi->action("ActionShowBrowser")->trigger();
        };
        QVERIFY(navi->action("ActionShowBrowser")->isEnabled());
        list->clearSelection();
        QVERIFY(!runOpener(trigger));

        list->selectionModel()->select(row, QItemSelectionModel::Select |
                                                QItemSelectionModel::Rows);
        const std::optional<Opened> opened = runOpener(trigger);
        QVERIFY(opened);
        QCOMPARE(opened->url, url);
        QCOMPARE(opened->aid, QString("a2"));
        QCOMPARE(opened->bidId, winner);
        QCOMPARE(opened->title, QString("時計"));
        QCOMPARE(opened->caption, QString("ブラウザ：時計"));
        QVERIFY(opened->ownerless);
        QVERIFY(opened->applicationModal);
        QVERIFY(opened->remembered);
        QVERIFY(!navi->formBrowser);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<TFormBrowser*>(widget));
    }
};

QTEST_MAIN(TestBrowser)
#include "test_browser.moc"
