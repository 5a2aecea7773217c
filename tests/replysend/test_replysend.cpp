// Sending a message from the reply composer through the posting browser on the fake site: the
// post end to end with the board download and the progress flags that follow it, the refusals,
// the confirmation box, a post beside a detailed download, the failures, the stop and closing
// the composer while a post runs.
#include "support/FakeSite.h"
#include "support/FixtureDb.h"
#include "support/MainWindowFixture.h"
#include "support/NaviPostSite.h"
#include "support/SitePages.h"

#include "app/UnitNavi.h"
#include "compose/ReplySend.h"
#include "compose/UnitNaviWrite.h"
#include "compose/UnitReply.h"
#include "platform/Sql.h"
#include "site/DownloadControl.h"
#include "site/DownloadThread.h"
#include "site/LoginControl.h"
#include "site/NetworkThread.h"
#include "site/html.h"
#include "site/htmlYahoo.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/MemoText.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QSemaphore>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller01");
const QString buyer = QStringLiteral("buyer01");
const QString aidA = QStringLiteral("a100");
using Msg = NaviTestPages::Message;

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

enum class Refusal {
    NoSubject,
    NoText,
    BoardDownload,
    NotLoggedIn,
    OtherAccount,
    Reconfirmation,
    Cancelled
};
enum class Failure {
    NoMarker,
    Status500,
    OpensWindow,
    NeverCompletes,
    NoFormWithoutLogin,
    ContactRedirectsAway,
    ForeignFormOnTheContactPage,
    ForeignFormOnTheConfirmationPage
};

} // namespace

Q_DECLARE_METATYPE(Refusal)
Q_DECLARE_METATYPE(Failure)

class TestReplySend : public QObject
{
    Q_OBJECT

    std::unique_ptr<NaviPostSite> postSite;
    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;
    QPointer<TFormReply> form;
    // Another host, not the site's: the engine reaches it as other.localhost.
    std::unique_ptr<FakeSite> other;

    void login() { QVERIFY(htmlYahoo().login(seller, QStringLiteral("pw"))); }
    void startWindow()
    {
        navi = app->start();
        for (QAction* command :
             {navi->ActionBidDownloadNow, navi->ActionBidDownload, navi->ActionNaviDownloadSelect,
              navi->ActionNaviDownloadShow, navi->ActionBidDetailedDownload,
              navi->ActionBidPromptDecisionDownload})
            TFormNavi::markWired(command);
        navi->downloadControl().enableDownloadActions();
        navi->downloadControl().naviTodayJulianDay = QDate(2026, 12, 10).toJulianDay();
        navi->loginControl().updateLoginId();
        QCOMPARE(navi->loginId, seller);
    }
    // Listings of the winner and one of another winner, stored and listed in this order.
    void listTransactions()
    {
        const QList<std::pair<QString, QString>> rows{
            {"a200", buyer}, {aidA, buyer}, {"a500", "other"}, {"a300", buyer}};
        int index = 1;
        for (const auto& [aid, bidId] : rows) {
            FixtureDb::addListing(navi->connection,
                                  {.aid = aid, .bidId = bidId, .loginId = seller, .index = index});
            navi->addListViewBidItem(QString::number(index++), aid, "時計", bidId, "1", "1000",
                                     QString());
        }
    }
    void openComposer(int subject, const QString& text)
    {
        ReplyTarget target;
        target.title = QStringLiteral("時計");
        target.aid = aidA;
        target.bidId = buyer;
        target.loginId = navi->loginId;
        form = navi->openReplyComposer(target);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QRadioButton* const subjects[] = {
            form->RadioButtonSubjectFirst, form->RadioButtonSubjectPayment,
            form->RadioButtonSubjectReceipt, form->RadioButtonSubjectOthers};
        if (subject >= 1)
            subjects[subject - 1]->setChecked(true);
        MemoText::set(form->MemoMessage, text);
    }
    GateThread* startDownload(int kind)
    {
        GateThread* thread = nullptr;
        const bool started = navi->downloadControl().startDownload(
            kind, [&] { return thread = new GateThread(navi); }, QString());
        return started ? thread : nullptr;
    }
    QString flag(const QString& column, const QString& aid) const
    {
        return Sql::scalar(navi->connection, "SELECT " + column + " FROM T_BidData WHERE Aid=:A",
                           {{":A", aid}})
            .toString();
    }
    QString cell(int row, int subItem) const
    {
        return navi->ListViewBid->bidItem(row)->subItem(subItem);
    }
    // The composer after a send that did not succeed: open, its message as it was, every
    // control usable again, the main window idle and nothing of the post left.
    void verifyComposerReady(const QString& text)
    {
        QVERIFY(form);
        QVERIFY(form->isVisible());
        QVERIFY(!form->sending);
        QCOMPARE(MemoText::get(form->MemoMessage), text);
        QVERIFY(form->ActionSend->isEnabled());
        QVERIFY(!form->ActionSendStop->isEnabled());
        for (QWidget* control : {static_cast<QWidget*>(form->MemoMessage),
                                 static_cast<QWidget*>(form->TreeViewTemplate),
                                 static_cast<QWidget*>(form->RadioButtonSubjectFirst),
                                 static_cast<QWidget*>(form->RadioButtonSubjectOthers),
                                 static_cast<QWidget*>(form->CheckBoxFlgPayment),
                                 static_cast<QWidget*>(form->CheckBoxFlgPluralUpdate)})
            QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
        for (QMenu* menu :
             {form->MainMenuTemplate, form->MainMenuTemplateInsert, form->MainMenuPersonal})
            QVERIFY(menu->menuAction()->isEnabled());
        QVERIFY(!form->findChild<TFormNaviWrite*>());
        QVERIFY(!navi->postingMessage);
        QCOMPARE(navi->downloadKind, 0);
        QVERIFY(navi->session.messagePostAllowed());
        QVERIFY(navi->ActionNaviDownloadShow->isEnabled());
    }
    // The method and path of the requests of posting and board pages, in order.
    QStringList postingRequests() const
    {
        QStringList seen;
        for (const FakeSite::Request& request : app->site().requests()) {
            const QByteArray path = request.path();
            if (path == "/jp/show/contact" || path == NaviPostSite::previewPath ||
                path == NaviPostSite::submitPath || path == NaviPostSite::editPath)
                seen << QString::fromLatin1(request.method + ' ' + path);
        }
        return seen;
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
        other = std::make_unique<FakeSite>();
        QVERIFY(other->start());
    }
    void cleanup()
    {
        if (form) {
            form->sending = false;
            form->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete form.data();
        app->closeWindow();
        // A fresh cookie store (and so a fresh engine profile) for the next test.
        NetworkThread::shutdown();
        postSite.reset();
        other.reset();
        app.reset();
    }

    void postsEndToEndThenDownloadsTheBoardAndSetsTheFlags()
    {
        login();
        startWindow();
        listTransactions();
        navi->options.bidFlg = 2;
        openComposer(3, awkwardText);
        form->flagDate = QDate(2027, 3, 7);
        form->CheckBoxFlgPayment->setChecked(true);
        form->CheckBoxFlgEnd->setChecked(true);
        form->CheckBoxFlgPluralUpdate->setChecked(true);
        app->site().clearRequests();

        form->ActionSend->trigger();
        // The board download has begun: the busy state has passed to it.
        QCOMPARE(navi->downloadKind, 2);
        QVERIFY(!navi->postingMessage);
        QTRY_VERIFY(form.isNull());
        QTRY_COMPARE(navi->downloadKind, 0);
        QVERIFY(app->dialogs().requests().isEmpty());

        QCOMPARE(postingRequests(),
                 (QStringList{"GET /jp/show/contact", "POST /jp/config/contact_preview",
                              "POST /jp/config/contact_submit", "GET /jp/show/contact"}));
        QVERIFY(postSite->contactRequests().first().second.contains("Y=login-seller01"));
        const QList<NaviPostSite::Post> submitted = postSite->posts(NaviPostSite::submitPath);
        QCOMPARE(submitted.size(), 1);
        QCOMPARE(submitted[0].count("subject"), 1);
        QCOMPARE(submitted[0].field("subject"), QString("3"));
        QCOMPARE(submitted[0].field("comment"), awkwardText);

        // The sent message is stored like any other, from the board page's source.
        QCOMPARE(Sql::scalar(navi->connection,
                             "SELECT COUNT(*) FROM T_Navi WHERE Aid=:A AND BidId=:B",
                             {{":A", aidA}, {":B", buyer}})
                     .toInt(),
                 3);
        QCOMPARE(Sql::scalar(navi->connection,
                             "SELECT Message FROM T_Navi WHERE Aid=:A AND [Number]=3",
                             {{":A", aidA}})
                     .toString(),
                 awkwardText); // as it was sent; the board page has it escaped

        // The checked flags on every listed row of the winner, in the table and the list.
        for (const char* aid : {"a100", "a200", "a300"}) {
            QCOMPARE(flag("PaymentFlg", aid), QString("03/07"));
            QCOMPARE(flag("EndFlg", aid), QString("03/07"));
            QCOMPARE(flag("FirstFlg", aid), QString());
        }
        QCOMPARE(flag("PaymentFlg", "a500"), QString());
        for (int row : {0, 1, 3}) {
            QCOMPARE(cell(row, BidListColumns::PaymentFlg), QString("03/07"));
            QCOMPARE(cell(row, BidListColumns::EndFlg), QString("03/07"));
            QCOMPARE(cell(row, BidListColumns::ReceiptFlg), QString());
        }
        QCOMPARE(cell(2, BidListColumns::PaymentFlg), QString());
    }

    // A composer that no opener wired reaches the main window only through the session: the
    // post's state still frees the download commands, the flags land in the store, and nothing
    // is shown in the list or downloaded for it.
    void composerWithoutHooksWritesOnlyTheStore()
    {
        login();
        startWindow();
        listTransactions();
        navi->options.bidFlg = 2;
        ReplyTarget target;
        target.title = QStringLiteral("時計");
        target.aid = aidA;
        target.bidId = buyer;
        target.loginId = navi->loginId;
        form = new TFormReply(navi->session, target);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->RadioButtonSubjectOthers->setChecked(true);
        MemoText::set(form->MemoMessage, QStringLiteral("本文"));
        form->flagDate = QDate(2027, 3, 7);
        form->CheckBoxFlgPayment->setChecked(true);
        form->CheckBoxFlgPluralUpdate->setChecked(true);
        app->site().clearRequests();

        form->ActionSend->trigger();
        QTRY_VERIFY(form.isNull());
        QVERIFY(!navi->postingMessage);
        QCOMPARE(navi->downloadKind, 0);
        QVERIFY(navi->downloadControl().pendingTransactionNaviDownloads.isEmpty());
        QVERIFY(navi->ActionBidDownload->isEnabled());
        QVERIFY(navi->ToolButtonLogin->isEnabled());
        QCOMPARE(postingRequests(),
                 (QStringList{"GET /jp/show/contact", "POST /jp/config/contact_preview",
                              "POST /jp/config/contact_submit"}));
        // The plural box reaches listed rows only, and this composer was given none.
        QCOMPARE(flag("PaymentFlg", aidA), QString("03/07"));
        QCOMPARE(flag("PaymentFlg", "a200"), QString());
        for (int row = 0; row < 4; ++row)
            QCOMPARE(cell(row, BidListColumns::PaymentFlg), QString());
    }

    void flagsOfTheOwnRowOnlyWithoutThePluralBox()
    {
        login();
        startWindow();
        listTransactions();
        navi->options.bidFlg = 0;
        navi->options.bidFlgString = QStringLiteral("済'");
        openComposer(1, QStringLiteral("本文"));
        form->CheckBoxFlgFirst->setChecked(true);
        form->CheckBoxFlgPluralUpdate->setChecked(false);
        form->ActionSend->trigger();
        QTRY_VERIFY(form.isNull());
        QCOMPARE(flag("FirstFlg", aidA), QString("済'"));
        QCOMPARE(flag("FirstFlg", "a200"), QString());
        QCOMPARE(cell(1, BidListColumns::FirstFlg), QString("済'"));
        QCOMPARE(cell(0, BidListColumns::FirstFlg), QString());
        QTRY_COMPARE(navi->downloadKind, 0);
    }

    void refusals_data()
    {
        QTest::addColumn<Refusal>("refusal");
        QTest::addColumn<QString>("logLine");
        QTest::newRow("no subject") << Refusal::NoSubject << ReplySend::noSubject;
        QTest::newRow("no text") << Refusal::NoText << ReplySend::noText;
        QTest::newRow("board download") << Refusal::BoardDownload << ReplySend::busy;
        QTest::newRow("not logged in") << Refusal::NotLoggedIn << ReplySend::notLoggedIn;
        QTest::newRow("other account") << Refusal::OtherAccount << ReplySend::otherAccount;
        QTest::newRow("reconfirmation")
            << Refusal::Reconfirmation << seller + ReplySend::reconfirmationSuffix;
        QTest::newRow("confirmation cancelled") << Refusal::Cancelled << QString();
    }
    void refusals()
    {
        QFETCH(Refusal, refusal);
        QFETCH(QString, logLine);
        login();
        startWindow();
        const QString text = refusal == Refusal::NoText ? QString() : QStringLiteral("本文");
        openComposer(refusal == Refusal::NoSubject ? 0 : 2, text);
        GateThread* download = nullptr;
        switch (refusal) {
        case Refusal::BoardDownload:
            QVERIFY(download = startDownload(2));
            break;
        case Refusal::NotLoggedIn:
            app->site().setRoute("GET", "/jp/show/mystatus",
                                 SitePages::page(SitePages::statusPage(QString())));
            break;
        case Refusal::OtherAccount:
            app->site().setRoute("GET", "/jp/show/mystatus",
                                 SitePages::page(SitePages::statusPage("other")));
            break;
        case Refusal::Reconfirmation:
            app->site().setRoute("GET", "/jp/show/mystatus",
                                 SitePages::page(SitePages::statusPage(seller) +
                                                 SitePages::reconfirmationPage(seller)));
            break;
        case Refusal::Cancelled:
            navi->options.confirmationNaviTransmission = true;
            app->dialogs().queue(Dialogs::Answer::Cancel);
            break;
        default:
            break;
        }
        const QStringList before = form->logLines();
        form->ActionSend->trigger();
        QCOMPARE(form->logLines().mid(before.size()),
                 logLine.isEmpty() ? QStringList() : QStringList{logLine});
        QVERIFY(postSite->contactRequests().isEmpty());
        QVERIFY(postSite->posts().isEmpty());
        QVERIFY(!navi->postingMessage);
        QVERIFY(form->ActionSend->isEnabled());
        QVERIFY(form->MemoMessage->isEnabled());
        if (download) {
            download->gate.release();
            QTRY_COMPARE(navi->downloadKind, 0);
        }
        verifyComposerReady(text);
    }

    void confirmationBox_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("subject");
        QTest::addColumn<QString>("question");
        QTest::newRow("setting off") << false << 4 << QString();
        QTest::newRow("others") << true << 4 << QString("その他\r\n送信しますか？");
        QTest::newRow("first") << true << 1
                               << QString(
                                      "件名：連絡先、支払い、発送などについて\r\n送信しますか？");
    }
    void confirmationBox()
    {
        QFETCH(bool, confirm);
        QFETCH(int, subject);
        QFETCH(QString, question);
        login();
        startWindow();
        navi->options.confirmationNaviTransmission = confirm;
        openComposer(subject, QStringLiteral("本文"));
        form->ActionSend->trigger();
        QTRY_VERIFY(form.isNull());
        if (question.isEmpty()) {
            QVERIFY(app->dialogs().requests().isEmpty());
        } else {
            QCOMPARE(app->dialogs().requests().size(), 1);
            QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::OkCancel);
            QCOMPARE(app->dialogs().requests()[0].caption, QString("確認"));
            QCOMPARE(app->dialogs().requests()[0].text, question);
        }
        QCOMPARE(postSite->posts(NaviPostSite::submitPath).size(), 1);
        QCOMPARE(postSite->posts(NaviPostSite::submitPath)[0].field("subject"),
                 QString::number(subject));
        QTRY_COMPARE(navi->downloadKind, 0);
    }

    void postBesideADetailedDownload()
    {
        login();
        startWindow();
        GateThread* detailed = startDownload(4);
        QVERIFY(detailed);
        openComposer(2, QStringLiteral("入金を確認しました。"));
        form->ActionSend->trigger();
        QTRY_VERIFY(form.isNull());
        QCOMPARE(postSite->posts(NaviPostSite::submitPath).size(), 1);
        // The board download waits for the detailed download, which keeps its state.
        QCOMPARE(navi->downloadKind, 4);
        QVERIFY(!navi->postingMessage);
        QCOMPARE(postSite->contactRequests().size(), 1);
        detailed->gate.release();
        QTRY_COMPARE(postSite->contactRequests().size(), 2);
        QTRY_COMPARE(navi->downloadKind, 0);
        QCOMPARE(Sql::scalar(navi->connection, "SELECT COUNT(*) FROM T_Navi WHERE Aid=:A",
                             {{":A", aidA}})
                     .toInt(),
                 3);
    }

    void failures_data()
    {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<bool>("failureBox");
        QTest::addColumn<int>("submits");
        QTest::newRow("result without the marker") << Failure::NoMarker << false << 1;
        QTest::newRow("result with status 500") << Failure::Status500 << true << 1;
        QTest::newRow("result opens a window") << Failure::OpensWindow << true << 1;
        QTest::newRow("contact page never completes") << Failure::NeverCompletes << true << 0;
        QTest::newRow("contact page without the form") << Failure::NoFormWithoutLogin << false << 0;
        QTest::newRow("contact page redirects to another host")
            << Failure::ContactRedirectsAway << true << 0;
        QTest::newRow("contact page's text area in a form for another host")
            << Failure::ForeignFormOnTheContactPage << true << 0;
        QTest::newRow("confirmation page's first posting form for another host")
            << Failure::ForeignFormOnTheConfirmationPage << true << 0;
    }
    void failures()
    {
        QFETCH(Failure, failure);
        QFETCH(bool, failureBox);
        QFETCH(int, submits);
        switch (failure) {
        case Failure::NoMarker:
            postSite->setResult(NaviPostSite::Result::NoMarker);
            break;
        case Failure::Status500:
            postSite->setResult(NaviPostSite::Result::Status500);
            break;
        case Failure::OpensWindow:
            postSite->setResult(NaviPostSite::Result::OpensWindow);
            break;
        case Failure::NeverCompletes:
            TFormNaviWrite::pageWaitLimitMs = 2000;
            postSite->setContactDelay(5000);
            break;
        case Failure::NoFormWithoutLogin:
            break;
        case Failure::ContactRedirectsAway:
            postSite->redirectContactTo(
                QStringLiteral("http://other.localhost:%1/jp/show/contact").arg(other->port()));
            break;
        case Failure::ForeignFormOnTheContactPage:
        case Failure::ForeignFormOnTheConfirmationPage:
            postSite->setForeignForm(
                failure == Failure::ForeignFormOnTheContactPage
                    ? NaviPostSite::ForeignForm::AfterTheContactForm
                    : NaviPostSite::ForeignForm::BeforeThePostingForm,
                QStringLiteral("http://other.localhost:%1/steal").arg(other->port()));
            break;
        }
        if (failure != Failure::NoFormWithoutLogin)
            login();
        startWindow();
        listTransactions();
        openComposer(3, awkwardText);
        form->CheckBoxFlgReceipt->setChecked(true);
        form->ActionSend->trigger();

        const QStringList lines = form->logLines();
        QCOMPARE(lines.contains(ReplySend::notConfirmed), !failureBox);
        QVERIFY(!lines.contains(ReplySend::stopped));
        QCOMPARE(lines.last(), failureBox ? ReplySend::started : ReplySend::notConfirmed);
        if (failureBox) {
            QCOMPARE(app->dialogs().requests().size(), 1);
            QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::Error);
            QCOMPARE(app->dialogs().requests()[0].caption, ReplySend::failureCaption);
            QCOMPARE(app->dialogs().requests()[0].text, ReplySend::failureText);
        } else {
            QVERIFY(app->dialogs().requests().isEmpty());
        }
        QCOMPARE(postSite->posts(NaviPostSite::submitPath).size(), submits);
        verifyComposerReady(awkwardText);
        // No flag written, no board download and nothing stored after a failed post; nothing
        // reached another host.
        QCOMPARE(flag("ReceiptFlg", aidA), QString());
        QCOMPARE(cell(1, BidListColumns::ReceiptFlg), QString());
        QCOMPARE(postSite->contactRequests().size(), 1);
        QCOMPARE(Sql::scalar(navi->connection, "SELECT COUNT(*) FROM T_Navi").toInt(), 0);
        QVERIFY(other->requests().isEmpty());
    }

    void stopWhileTheContactPageLoads_data()
    {
        QTest::addColumn<bool>("stop");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void stopWhileTheContactPageLoads()
    {
        QFETCH(bool, stop);
        login();
        startWindow();
        postSite->setContactDelay(500);
        openComposer(1, QStringLiteral("本文"));
        app->dialogs().queue(stop ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        bool stopOffered = false;
        // The stop comes once the post is under way, as a click does: timers run during the
        // account check's wait, user input does not.
        QTimer stopper;
        connect(&stopper, &QTimer::timeout, form, [&] {
            if (!form->sending)
                return;
            stopper.stop();
            stopOffered = form->ActionSendStop->isEnabled() && form->sending &&
                          !form->MemoMessage->isEnabled() && navi->postingMessage;
            form->ActionSendStop->trigger();
        });
        stopper.start(0);
        form->ActionSend->trigger();
        QVERIFY(stopOffered);
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::YesNo);
        QCOMPARE(app->dialogs().requests()[0].caption, QString("確認"));
        QCOMPARE(app->dialogs().requests()[0].text, QString("送信を中止しますか？"));
        if (stop) {
            QCOMPARE(postSite->contactRequests().size(), 1);
            QCOMPARE(form->logLines().last(), ReplySend::stopped);
            QVERIFY(postSite->posts().isEmpty());
            verifyComposerReady(QStringLiteral("本文"));
        } else {
            QTRY_VERIFY(form.isNull());
            QCOMPARE(postSite->posts(NaviPostSite::submitPath).size(), 1);
            QTRY_COMPARE(navi->downloadKind, 0);
        }
    }

    void closingTheComposerMidPost_data()
    {
        QTest::addColumn<bool>("closeConfirmed");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void closingTheComposerMidPost()
    {
        QFETCH(bool, closeConfirmed);
        login();
        startWindow();
        postSite->setContactDelay(500);
        openComposer(1, QStringLiteral("本文"));
        app->dialogs().queue(closeConfirmed ? Dialogs::Answer::Ok : Dialogs::Answer::Cancel);
        QPointer<TFormNaviWrite> writer;
        // The close comes once the post is under way, as a click does: timers run during the
        // account check's wait, user input does not.
        QTimer closer;
        connect(&closer, &QTimer::timeout, form, [&] {
            if (!form->sending)
                return;
            closer.stop();
            writer = form->findChild<TFormNaviWrite*>();
            form->close();
        });
        closer.start(0);
        form->ActionSend->trigger();
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::OkCancel);
        if (closeConfirmed) {
            // Closed: not yet freed, untouched since, and freed once the send has returned.
            QVERIFY(writer.isNull());
            QVERIFY(form);
            QVERIFY(!form->isVisible());
            QCOMPARE(form->logLines().last(), ReplySend::started);
            QVERIFY(!navi->postingMessage);
            QVERIFY(navi->session.messagePostAllowed());
            QTRY_VERIFY(form.isNull());
            QVERIFY(postSite->posts().isEmpty());
            QCOMPARE(navi->downloadKind, 0);
            QVERIFY(navi->ActionNaviDownloadShow->isEnabled());
        } else {
            QTRY_VERIFY(form.isNull());
            QVERIFY(writer.isNull());
            QCOMPARE(postSite->posts(NaviPostSite::submitPath).size(), 1);
            QTRY_COMPARE(navi->downloadKind, 0);
        }
    }
};

QTEST_MAIN(TestReplySend)
#include "test_replysend.moc"
