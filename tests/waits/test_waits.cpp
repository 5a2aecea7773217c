// A wait on the site on the GUI thread and the user: a box that opens during the wait takes its
// input, the close of another window is carried out at once while the wait goes on, and the input
// kept meanwhile is handed on once the operation has returned, in order and under modality. The
// windows are shown on a private X server, so that a window's close comes through the window
// system as a window manager sends it.
#include "AnswerGate.h"
#include "FakeSite.h"
#include "MainWindowFixture.h"
#include "SitePages.h"
#include "TestDataFolder.h"
#include "X11Desktop.h"
#include "app/UnitNavi.h"
#include "common/NaviSession.h"
#include "compose/ReplySend.h"
#include "compose/UnitEvaluation.h"
#include "compose/UnitReply.h"
#include "platform/Application.h"
#include "platform/GuiThreadWait.h"
#include "site/DownloadControl.h"
#include "site/NetworkThread.h"
#include "site/html.h"
#include "views/MemoText.h"
#include "views/UnitBidDataEtc.h"
#include "views/UnitNaviFind.h"

#include <QAction>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>
#include <stdexcept>

namespace {

X11Desktop* desktop = nullptr;

const QString seller = QStringLiteral("seller01");

// Runs step every few milliseconds, inside whatever event loop runs, until it returns true or
// boundMs has passed (then giveUp runs, so that a failing test ends instead of hanging).
class Steps : public QObject
{
public:
    Steps(std::function<bool()> step, std::function<void()> giveUp, int boundMs = 20000)
        : m_step(std::move(step)), m_giveUp(std::move(giveUp)), m_deadline(boundMs)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (m_step()) {
                m_timer.stop();
            } else if (m_deadline.hasExpired()) {
                m_timer.stop();
                timedOut = true;
                m_giveUp();
            }
        });
        m_timer.start(5);
    }
    bool timedOut = false;

private:
    std::function<bool()> m_step;
    std::function<void()> m_giveUp;
    QDeadlineTimer m_deadline;
    QTimer m_timer;
};

// A key as the window system hands it to a window.
void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(window->windowHandle(), key, modifiers);
}

void type(QWidget* window, const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(window->windowHandle(), c.toLatin1());
}

// The window becomes the active one, as a window manager makes a window that is clicked (the
// private X server has no window manager).
bool activate(QWidget* window)
{
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// A page that answers only once the test opens its gate.
void serveGated(FakeSite& site, const QByteArray& method, const QByteArray& path,
                std::shared_ptr<AnswerGate> gate, const QString& text)
{
    const FakeSite::Response answer = SitePages::page(text);
    site.setHandler(method, path, [gate, answer](const FakeSite::Request&) {
        gate->pass();
        return answer;
    });
}

} // namespace

class TestWaits : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;
    std::shared_ptr<AnswerGate> gate;
    std::unique_ptr<TestDataFolder> folder;
    std::unique_ptr<FakeSite> plainSite;

    // A data folder of its own and a page that answers "answer" once the gate opens; the page's
    // address, empty when the site did not start.
    QString gatedPage()
    {
        folder = std::make_unique<TestDataFolder>();
        plainSite = std::make_unique<FakeSite>();
        if (!plainSite->start())
            return {};
        serveGated(*plainSite, "GET", "/silent", gate, QStringLiteral("answer"));
        return plainSite->httpUrl("/silent");
    }

    void startWindow()
    {
        app = std::make_unique<MainWindowFixture>();
        SitePages::serveAccount(app->site(), seller);
        html::setDefaultTimeout(30000);
        navi = app->start();
        QVERIFY(QTest::qWaitForWindowExposed(navi));
        QCOMPARE(navi->loginId, seller);
    }
    // The login bar's login, its form's answer held at the gate.
    void loginThroughTheGate()
    {
        serveGated(app->site(), "POST", "/config/login", gate, SitePages::loginAcceptedPage());
        navi->ComboBoxLoginId->setEditText(seller);
        navi->EditLoginPassword->setText("secret");
        navi->ToolButtonLogin->click();
    }
    TFormReply* openComposer()
    {
        ReplyTarget target;
        target.title = QStringLiteral("時計");
        target.aid = QStringLiteral("a100");
        target.bidId = QStringLiteral("buyer01");
        target.loginId = seller;
        TFormReply* form = navi->openReplyComposer(target);
        form->RadioButtonSubjectFirst->setChecked(true);
        MemoText::set(form->MemoMessage, QStringLiteral("本文"));
        return form;
    }
    TFormBidDataEtc* openDeletedListings()
    {
        navi->action("ActionShowDeleteBidList")->trigger();
        return MainWindowFixture::sideWindow<TFormBidDataEtc>();
    }

private slots:
    void init()
    {
        gate = std::make_shared<AnswerGate>();
        GuiThreadWait::clearStop();
    }
    void cleanup()
    {
        gate->open();
        if (app)
            app->closeWindow();
        app.reset();
        navi = nullptr;
        plainSite.reset();
        folder.reset();
        // The next test's data folder names its own site and certificate.
        NetworkThread::shutdown();
        GuiThreadWait::clearStop();
    }

    // A modal box that code running inside the wait opens (a timer's, the error box of an
    // exception) takes a key at once; the window it stands on stays blocked; the wait then ends
    // as usual.
    void boxOpenedDuringAWaitTakesInput_data()
    {
        QTest::addColumn<bool>("fromAnException");
        QTest::newRow("a question box") << false;
        QTest::newRow("the error box of an exception") << true;
    }
    void boxOpenedDuringAWaitTakesInput()
    {
        QFETCH(bool, fromAnException);
        const QString page = gatedPage();
        QVERIFY(!page.isEmpty());
        QLineEdit window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        bool openedInTheWait = false;
        int boxResult = -1;
        QTimer::singleShot(0, this, [&] {
            openedInTheWait = GuiThreadWait::isActive();
            if (fromAnException)
                throw std::runtime_error("箱のテスト");
            boxResult = QMessageBox::question(&window, "Tessaly", "続けますか？");
        });
        bool pressed = false;
        QPointer<QWidget> answered;
        bool keyReachedTheBlockedWindow = false;
        Steps answer(
            [&] {
                if (pressed) {
                    // Answered by the key: the page may answer now.
                    if (answered && answered->isVisible())
                        return false;
                    gate->open();
                    return true;
                }
                QWidget* box = QApplication::activeModalWidget();
                if (!box || !box->isVisible())
                    return false;
                // The window behind the box is blocked, as it is without a wait.
                type(&window, "x");
                keyReachedTheBlockedWindow = !window.text().isEmpty();
                answered = box;
                pressed = true;
                press(box, Qt::Key_Escape);
                return false;
            },
            [&] {
                if (QWidget* box = QApplication::activeModalWidget())
                    box->close();
                gate->open();
            });

        html client;
        client.get(page);
        QVERIFY(openedInTheWait);
        QVERIFY2(!answer.timedOut, "the box took no key");
        QCOMPARE(client.response(), QByteArray("answer"));
        if (!fromAnException)
            QCOMPARE(boxResult, int(QMessageBox::No)); // the box's answer to Escape
        QVERIFY(!keyReachedTheBlockedWindow);
        QTest::qWait(0);
        QCOMPARE(window.text(), QString());
    }

    // The desktop close of a window that the waiting operation does not belong to is carried out
    // at once; the operation goes on and succeeds.
    void closingAnotherWindowLeavesTheWaitGoing_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("login, the deleted-listings window") << "login";
        QTest::newRow("account check of a message post, the deleted-listings window")
            << "post";
    }
    void closingAnotherWindowLeavesTheWaitGoing()
    {
        QFETCH(QString, operation);
        startWindow();
        QPointer<TFormBidDataEtc> other = openDeletedListings();
        QVERIFY(other);
        QVERIFY(QTest::qWaitForWindowExposed(other));
        QPointer<TFormReply> form;
        if (operation == "post") {
            navi->options.confirmationNaviTransmission = true;
            form = openComposer();
            QVERIFY(QTest::qWaitForWindowExposed(form));
            serveGated(app->site(), "GET", "/jp/show/mystatus", gate,
                       SitePages::statusPage(seller));
            // The question after the check stops the post there.
            app->dialogs().setDefault(Dialogs::Answer::Cancel);
            app->dialogs().clear();
        }
        bool closedDuringTheWait = false;
        bool closeSent = false;
        Steps closeTheOther(
            [&] {
                if (gate->arrivals() == 0 || !GuiThreadWait::isActive())
                    return false;
                if (!closeSent) {
                    desktop->requestClose(other->winId());
                    closeSent = true;
                    return false;
                }
                if (other && other->isVisible())
                    return false;
                closedDuringTheWait = GuiThreadWait::isActive();
                gate->open();
                return true;
            },
            [&] { gate->open(); });

        if (operation == "login") {
            loginThroughTheGate();
            QCOMPARE(navi->statusPanels[0]->text(), seller + "でログインしました");
            QCOMPARE(int(SitePages::loginPosts(app->site()).size()), 1);
        } else {
            form->ActionSend->trigger();
            QVERIFY(!form->logLines().contains("ログインしていません。送信を中止します。"));
            QCOMPARE(app->dialogs().requests().size(), 1); // the check passed: the question came
        }
        QVERIFY(!closeTheOther.timedOut);
        QVERIFY(closedDuringTheWait);
        QVERIFY(navi->isVisible());
        if (form) {
            form->close();
            QTRY_VERIFY(!form || !form->isVisible());
        }
    }

    // The desktop close of the composer whose account check waits ends the check at once,
    // without the page's answer; the composer closes once its send has returned.
    void closingTheWaitsOwnWindowEndsIt_data()
    {
        QTest::addColumn<bool>("feedback");
        QTest::newRow("reply composer") << false;
        QTest::newRow("feedback composer") << true;
    }
    void closingTheWaitsOwnWindowEndsIt()
    {
        QFETCH(bool, feedback);
        startWindow();
        QPointer<QWidget> form;
        QAction* send = nullptr;
        std::function<bool()> refused;
        if (feedback) {
            FeedbackTarget target;
            target.title = QStringLiteral("時計");
            target.aid = QStringLiteral("a100");
            target.bidId = QStringLiteral("buyer01");
            target.loginId = seller;
            TFormEvaluation* composer = navi->openFeedbackComposer(target);
            composer->ComboBoxEvaluation->setCurrentIndex(0);
            MemoText::set(composer->MemoMessage, QStringLiteral("ありがとうございました"));
            form = composer;
            send = composer->ActionMainTransmission;
            refused = [composer] {
                return composer->statusPanels[0]->text() == ReplySend::notLoggedIn;
            };
        } else {
            TFormReply* composer = openComposer();
            form = composer;
            send = composer->ActionSend;
            refused = [composer] {
                return composer->logLines().contains(ReplySend::notLoggedIn);
            };
        }
        QVERIFY(QTest::qWaitForWindowExposed(form));
        serveGated(app->site(), "GET", "/jp/show/mystatus", gate, SitePages::statusPage(seller));
        app->dialogs().clear();
        Steps closeTheComposer(
            [&] {
                if (gate->arrivals() == 0 || !GuiThreadWait::isActive())
                    return false;
                desktop->requestClose(form->winId());
                return true;
            },
            [&] { gate->open(); });
        send->trigger();
        QVERIFY(!closeTheComposer.timedOut);
        // The close was kept, not carried out, and ended the check without the page's answer,
        // which the gate still holds.
        QVERIFY(form);
        QVERIFY(form->isVisible());
        QCOMPARE(gate->arrivals(), 1);
        QVERIFY(refused());
        QVERIFY(app->dialogs().requests().isEmpty());
        // Closed once the send has returned; the program goes on.
        QTRY_VERIFY(!form || !form->isVisible());
        QVERIFY(navi->isVisible());
        QVERIFY(!GuiThreadWait::isStopRequested());
    }

    // Keys held during a login: Ctrl+PgDown turns to the message tab and Ctrl+F opens the find
    // dialog there, once the login has returned. What was typed behind the dialog is dropped, not
    // delivered behind it; the dialog takes live keys.
    void keptKeysAreHandedOnUnderModality()
    {
        startWindow();
        navi->PageControlMain->setCurrentIndex(0);
        QVERIFY(activate(navi));
        bool typedInTheWait = false;
        Steps typeInTheWait(
            [&] {
                if (gate->arrivals() == 0 || !GuiThreadWait::isActive())
                    return false;
                typedInTheWait = true;
                press(navi, Qt::Key_PageDown, Qt::ControlModifier);
                press(navi, Qt::Key_F, Qt::ControlModifier);
                type(navi, "abc");
                press(navi, Qt::Key_PageUp, Qt::ControlModifier);
                gate->open();
                return true;
            },
            [&] { gate->open(); });
        int tabInTheDialog = -1;
        QString findTextAtFirst = "<no dialog>";
        QString findTextTyped;
        Steps answerTheDialog(
            [&] {
                auto* dialog = qobject_cast<TFormNaviFind*>(QApplication::activeModalWidget());
                if (!dialog || !dialog->isVisible())
                    return false;
                tabInTheDialog = navi->PageControlMain->currentIndex();
                findTextAtFirst = dialog->EditFind->text();
                dialog->EditFind->setFocus();
                type(dialog, "x");
                findTextTyped = dialog->EditFind->text();
                press(dialog, Qt::Key_Escape);
                return true;
            },
            [] {
                if (QWidget* dialog = QApplication::activeModalWidget())
                    dialog->close();
            });
        loginThroughTheGate();
        QVERIFY(typedInTheWait);
        QCOMPARE(navi->statusPanels[0]->text(), seller + "でログインしました");
        // Nothing has run inside the login.
        QCOMPARE(navi->PageControlMain->currentIndex(), 0);
        QTRY_VERIFY(!answerTheDialog.timedOut && tabInTheDialog != -1);
        QCOMPARE(tabInTheDialog, 1);
        QCOMPARE(findTextAtFirst, QString());
        QCOMPARE(findTextTyped, QString("x"));
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QTest::qWait(0);
        QCOMPARE(navi->PageControlMain->currentIndex(), 1);
    }

    // The download command pressed twice during a login starts one download: the first press
    // takes the command away from the second.
    void keptCommandPressedTwiceStartsItOnce()
    {
        startWindow();
        for (QAction* command : {navi->ActionBidDownloadNow, navi->ActionBidDownload,
                                 navi->ActionNaviDownloadSelect, navi->ActionNaviDownloadShow,
                                 navi->ActionBidDetailedDownload,
                                 navi->ActionBidPromptDecisionDownload})
            TFormNavi::markWired(command);
        navi->downloadControl().enableDownloadActions();
        QVERIFY(navi->ActionBidDownload->isEnabled());
        QVERIFY(activate(navi));
        QList<int> kinds;
        connect(&navi->session, &NaviSession::busyChanged, this,
                [&](int kind) { kinds << kind; });
        Steps pressInTheWait(
            [&] {
                if (gate->arrivals() == 0 || !GuiThreadWait::isActive())
                    return false;
                press(navi, Qt::Key_D, Qt::ControlModifier);
                press(navi, Qt::Key_D, Qt::ControlModifier);
                gate->open();
                return true;
            },
            [&] { gate->open(); });
        loginThroughTheGate();
        QVERIFY(!pressInTheWait.timedOut);
        QVERIFY(kinds.isEmpty());
        QTRY_VERIFY(kinds.contains(1));
        QTRY_VERIFY_WITH_TIMEOUT(navi->downloadKind == 0, 30000);
        QCOMPARE(kinds.count(1), 1);
    }

    // A kept shortcut runs its command only when the command is still enabled and shown.
    void keptShortcutRunsOnlyAnAvailableCommand_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("runs");
        QTest::newRow("left as it was") << "" << true;
        QTest::newRow("disabled") << "disable" << false;
        QTest::newRow("hidden") << "hide" << false;
    }
    void keptShortcutRunsOnlyAnAvailableCommand()
    {
        QFETCH(QString, meanwhile);
        QFETCH(bool, runs);
        const QString page = gatedPage();
        QVERIFY(!page.isEmpty());
        QWidget window;
        QAction command(&window);
        command.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
        window.addAction(&command);
        int ran = 0;
        connect(&command, &QAction::triggered, this, [&] { ++ran; });
        window.show();
        QVERIFY(activate(&window));
        Steps pressInTheWait(
            [&] {
                if (gate->arrivals() == 0 || !GuiThreadWait::isActive())
                    return false;
                press(&window, Qt::Key_J, Qt::ControlModifier);
                if (meanwhile == "disable")
                    command.setEnabled(false);
                else if (meanwhile == "hide")
                    command.setVisible(false);
                gate->open();
                return true;
            },
            [&] { gate->open(); });
        html client;
        client.get(page);
        QVERIFY(!pressInTheWait.timedOut);
        QCOMPARE(ran, 0);
        QTest::qWait(0);
        QCOMPARE(ran, runs ? 1 : 0);
    }

    // Keys kept during the wait are not handed on inside a box that the operation opens after
    // it, but once the operation has returned, into the field that had the focus.
    void keptKeysWaitUntilTheOperationHasReturned()
    {
        const QString page = gatedPage();
        QVERIFY(!page.isEmpty());
        QLineEdit window;
        window.show();
        QVERIFY(activate(&window));
        Steps typeInTheWait(
            [&] {
                if (gate->arrivals() == 0 || !GuiThreadWait::isActive())
                    return false;
                type(&window, "ab");
                gate->open();
                return true;
            },
            [&] { gate->open(); });
        QString textInTheBox = "<no box>";
        Steps answerTheBox(
            [&] {
                QWidget* box = QApplication::activeModalWidget();
                if (!box || !box->isVisible())
                    return false;
                textInTheBox = window.text();
                press(box, Qt::Key_Escape);
                return true;
            },
            [] {
                if (QWidget* box = QApplication::activeModalWidget())
                    box->close();
            });
        bool operationReturned = false;
        // The operation runs as an event of the loop, as a click's would.
        QTimer::singleShot(0, this, [&] {
            html client;
            client.get(page);
            QMessageBox::information(&window, "Tessaly", "受け取りました");
            operationReturned = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(operationReturned, 30000);
        QVERIFY(!typeInTheWait.timedOut);
        QVERIFY(!answerTheBox.timedOut);
        QCOMPARE(textInTheBox, QString());
        QTRY_COMPARE(window.text(), QString("ab"));
    }
};

// The test's windows are shown on a private X server of its own.
int main(int argc, char** argv)
{
    X11Desktop server;
    if (!server.start()) {
        qCritical("Xvfb did not start");
        return 1;
    }
    desktop = &server;
    qputenv("DISPLAY", server.display().toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    Application application(argc, argv);
    TestWaits test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_waits.moc"
