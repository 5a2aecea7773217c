// Leaving feedback: the feedback address and the confirmation check as plain functions, and
// the composer driving the hidden poster through the fake site's feedback pages.
#include "DrawnColours.h"
#include "FakeSite.h"
#include "FeedbackSite.h"
#include "FixtureDb.h"
#include "MainWindowFixture.h"
#include "SelectionChecks.h"
#include "SitePages.h"
#include "common/CommonDefine.h"
#include "app/UnitNavi.h"
#include "compose/EvaluationSend.h"
#include "compose/FeedbackAddress.h"
#include "compose/FeedbackRating.h"
#include "compose/UnitEvaluation.h"
#include "compose/UnitEvaluationWrite.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"
#include "site/DownloadControl.h"
#include "site/DownloadThread.h"
#include "site/SiteEndpoints.h"
#include "site/html.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/ListingTab.h"
#include "views/MemoText.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSemaphore>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>

namespace {

const QString seller = QStringLiteral("seller");
const QString winner = QStringLiteral("buyer01");
const QString otherWinner = QStringLiteral("buyer02");
const QString aid = QStringLiteral("a100");
// Line breaks, quotes, an ampersand, markup and "送" (which an echoed field then holds).
const QString awkwardComment = QStringLiteral("迅速なお取引ありがとうございました。\r\n\"また\" "
                                              "'よろしく' & <b>お願いします</b>\r\n送料込み");

// A download that runs until the test lets it end.
class GateThread : public DownloadThread
{
public:
    explicit GateThread(TFormNavi* navi) : DownloadThread(navi, seller), m_navi(navi) {}
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

// Calls act once, as soon as ready() holds, while the event loop runs (a post's waits run it).
void whenReady(QObject* context, const std::function<bool()>& ready,
               const std::function<void()>& act)
{
    auto* timer = new QTimer(context);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, context, [timer, ready, act] {
        if (!ready())
            return;
        timer->stop();
        timer->deleteLater();
        act();
    });
    timer->start();
}

} // namespace

class TestFeedback : public QObject
{
    Q_OBJECT

    std::unique_ptr<FeedbackSite> feedback;
    // Another host, not the site's: the engine reaches it as other.localhost.
    std::unique_ptr<FakeSite> other;
    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;

    QSqlDatabase db() const { return navi->connection; }

    // The listing with two winners on item-page host 12, shown in the listing list.
    void addListing(const QVariantMap& extra = {}, const QVariantMap& otherExtra = {})
    {
        QVariantMap first = extra, second = otherExtra;
        first.insert("Url", feedback->listingUrl(12, aid));
        second.insert("Url", feedback->listingUrl(12, aid));
        FixtureDb::addListing(db(), {.aid = aid, .bidId = winner, .title = "時計", .extra = first});
        FixtureDb::addListing(
            db(), {.aid = aid, .bidId = otherWinner, .title = "時計", .index = 2, .extra = second});
        FixtureDb::addBidder(db(), {.id = winner, .name = "山田"});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QCOMPARE(navi->ListViewBid->topLevelItemCount(), 2);
    }
    BidRow row(const QString& bidId) const
    {
        for (int i = 0; i < navi->ListViewBid->topLevelItemCount(); ++i) {
            const BidRow item = navi->ListViewBid->topLevelItem(i);
            if (item->subItem(BidListColumns::BidId) == bidId)
                return item;
        }
        return nullptr;
    }
    QList<TFormEvaluation*> composers() const
    {
        QList<TFormEvaluation*> found;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<TFormEvaluation*>(widget))
                found << form;
        return found;
    }
    // Opens the composer through the main window's command on the winner's row.
    TFormEvaluation* open(const QString& bidId = winner)
    {
        navi->ListViewBid->clearSelection();
        BidRow item = row(bidId);
        if (!item)
            return nullptr;
        item->setSelected(true);
        navi->ActionEvaluationMake->trigger();
        const QList<TFormEvaluation*> found = composers();
        return found.isEmpty() ? nullptr : found.last();
    }
    QString flag(const QString& bidId, const char* column) const
    {
        return Sql::scalar(db(),
                           QStringLiteral("SELECT %1 FROM T_BidData WHERE Aid=:A AND BidId=:B")
                               .arg(QLatin1String(column)),
                           {{":A", aid}, {":B", bidId}})
            .toString();
    }
    static void fill(TFormEvaluation* form, int rating, const QString& comment)
    {
        form->ComboBoxEvaluation->setCurrentIndex(rating);
        MemoText::set(form->MemoMessage, comment);
    }
    static bool inputEnabled(TFormEvaluation* form)
    {
        return form->ComboBoxEvaluation->isEnabled() && form->MemoMessage->isEnabled() &&
               form->ActionMainTransmission->isEnabled() && form->CheckBoxFlgEnd->isEnabled() &&
               form->CheckBoxFlgPluralUpdate->isEnabled() && form->MainMenuTemplate->isEnabled() &&
               form->TreeViewTemplate->isEnabled() &&
               !form->ActionMainTransmissionStop->isEnabled();
    }
    static QString status(TFormEvaluation* form) { return form->statusPanels[0]->text(); }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        feedback = std::make_unique<FeedbackSite>(app->site());
        other = std::make_unique<FakeSite>();
        QVERIFY(other->start());
        html::setDefaultTimeout(5000);
        TFormEvaluationWrite::pageWaitLimitMs = 10000;
        SitePages::serveAccount(app->site(), seller);
        navi = app->startProgram();
        QTRY_COMPARE(navi->loginId, seller);
        navi->options.bidFlg = 1;
    }
    void cleanup()
    {
        for (TFormEvaluation* form : composers()) {
            form->sending = false;
            delete form;
        }
        app->closeWindow();
        feedback.reset();
        other.reset();
        app.reset();
    }

    // ---- The feedback address ----

    void feedbackAddressTakesTheItemHostsNumber_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("expected");
        const QString query = "/jp/config/leavefeedback?t=buyer01&&aID=x123&&nr=1";
        QTest::newRow("numbered host") << "http://page12.auctions.yahoo.co.jp/jp/auction/x123"
                                       << "http://edit12.auctions.yahoo.co.jp" + query;
        QTest::newRow("three digits") << "http://page305.auctions.yahoo.co.jp/x"
                                      << "http://edit305.auctions.yahoo.co.jp" + query;
        QTest::newRow("no prefix") << "http://auctions.yahoo.co.jp/jp/auction/x123"
                                   << "";
        QTest::newRow("no number") << "http://page.auctions.yahoo.co.jp/jp/auction/x123"
                                   << "";
        QTest::newRow("letters after the prefix")
            << "http://pagex1.auctions.yahoo.co.jp/jp/auction/x123"
            << "";
        QTest::newRow("no dot after the prefix") << "http://page12/jp/auction/x123"
                                                 << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void feedbackAddressTakesTheItemHostsNumber()
    {
        QFETCH(QString, url);
        QFETCH(QString, expected);
        QCOMPARE(
            FeedbackAddress::leaveFeedbackUrl(SiteEndpoints::defaults(), url, "buyer01", "x123"),
            expected);
    }

    // ---- The confirmation check ----

    void confirmationLineMustShowTheRating_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("rating");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("upper-case tags") << "<body>\n<B>評価</B>\n<SMALL>良い</SMALL>\n</body>"
                                         << "良い" << true;
        QTest::newRow("lower-case tags") << "<body>\n<b>評価</b>\n<small>良い</small>\n</body>"
                                         << "良い" << true;
        QTest::newRow("mixed: upper start, lower end") << "<B>評価</B>\n x<SMALL>悪い</small>y"
                                                       << "悪い" << true;
        QTest::newRow("last closing tag of the line")
            << "<b>評価</b>\n<small>良い</small>（<small>注</small>）"
            << "良い</small>（<small>注" << true;
        QTest::newRow("another rating shown") << "<B>評価</B>\n<SMALL>非常に良い</SMALL>"
                                              << "良い" << false;
        QTest::newRow("marker on the last line") << "<p>\n<B>評価</B></body>"
                                                 << "良い" << false;
        QTest::newRow("no small tags") << "<B>評価</B>\n良い"
                                       << "良い" << false;
        QTest::newRow("no marker") << "<B>評 価</B>\n<SMALL>良い</SMALL>"
                                   << "良い" << false;
        QTest::newRow("closing before opening") << "<B>評価</B>\n</SMALL>良い<SMALL>"
                                                << "良い" << false;
        QTest::newRow("carriage return kept") << "<B>評価</B>\r\n<SMALL>良い</SMALL>\r"
                                              << "良い" << true;
    }
    void confirmationLineMustShowTheRating()
    {
        QFETCH(QString, html);
        QFETCH(QString, rating);
        QFETCH(bool, confirmed);
        QCOMPARE(FeedbackRating::confirms(html, rating), confirmed);
    }

    // ---- The composer ----

    void opensOnTheRowOfTheChosenWinner()
    {
        addListing({}, {{"EvaluationFlg", "●"}, {"FirstFlg", "●"}});
        QVERIFY(navi->ActionEvaluationMake->property("wired").toBool());
        QVERIFY(navi->ActionEvaluationMake->isEnabled());
        TFormEvaluation* form = open(winner);
        QVERIFY(form);
        QVERIFY(!form->parentWidget());
        QCOMPARE(form->windowTitle(), QString("評価：時計"));
        QCOMPARE(form->aid, aid);
        QCOMPARE(form->bidId, winner);
        QCOMPARE(form->loginId, seller);
        QCOMPARE(form->url, feedback->listingUrl(12, aid));
        QCOMPARE(form->title, QString("時計"));
        QCOMPARE(form->EditAid->text(), aid);
        QCOMPARE(form->EditTitle->text(), QString("時計"));
        QCOMPARE(form->EditBidId->text(), winner);
        QCOMPARE(form->EditBidName->text(), QString("山田"));
        QCOMPARE(form->ComboBoxEvaluation->currentIndex(), -1);
        QVERIFY(!form->ActionMainTransmissionStop->isEnabled());
        // The panels show this winner's flags, not the other winner's.
        QCOMPARE(form->statusPanels[1]->text(), QString("住所："));
        QCOMPARE(form->statusPanels[4]->text(), QString("評価："));
        QCOMPARE(form->MainMenuFontSize->actions().size(), 16);
        QCOMPARE(form->PopupMenuFontSize->actions().size(), 16);
        const int saves = IniFile::saveCount();
        form->close();
        QVERIFY(!form->isVisible());
        // Its section is one write of the file.
        QCOMPARE(IniFile::saveCount() - saves, 1);
        QVERIFY(IniFile(CommonDefine::settingIniPath())
                    .valueExists(CommonDefine::Section::EvaluationWindow, "TreeViewTemplateWidht"));
        QVERIFY(composers().contains(form)); // hidden, not freed
    }


    void everyInformationFieldSelectsAllOnCtrlClickAndCtrlASelectsTheFocusedText()
    {
        addListing();
        TFormEvaluation* form = open(winner);
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        SelectionChecks::ctrlClickSelectsEach(
            {form->EditAid, form->EditTitle, form->EditBidId, form->EditBidName});
        SelectionChecks::selectAllActsOnTheFocusedText(form, form->ActionAllSelect,
                                                       form->EditBidId, form->MemoMessage);
    }

    void listingMarkedUnnecessaryIsRefused()
    {
        addListing({{"EvaluationUnnecessary", "不要"}});
        QVERIFY(!open(winner));
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests().first().kind, Dialogs::Kind::Warning);
        QCOMPARE(app->dialogs().requests().first().caption, QString("警告"));
        QCOMPARE(app->dialogs().requests().first().text,
                 QString("要評価が不要になっています。\r\n評価投稿ウィンドウは表示できません。"));
    }

    void templateIsAppliedAsStored()
    {
        addListing();
        FixtureDb::insert(db(), "T_EvaluationTemplate",
                          {{"SaveName", "お礼"},
                           {"Evaluation", 1},
                           {"Message", "%name%様\r\nありがとうございました"},
                           {"SortNumber", 0},
                           {"EvaluationFlg", true},
                           {"EndFlg", true}});
        TFormEvaluation* form = open();
        QVERIFY(form);
        QCOMPARE(form->MainMenuTemplate->actions().size(), 1);
        QTreeWidgetItem* group = form->TreeViewTemplate->topLevelItem(0);
        QCOMPARE(group->text(0), QString("テンプレート"));
        QCOMPARE(group->child(0)->text(0), QString("お礼"));
        form->CheckBoxFlgPluralUpdate->setChecked(true);
        form->MainMenuTemplate->actions().first()->trigger();
        QCOMPARE(MemoText::get(form->MemoMessage), QString("%name%様\r\nありがとうございました"));
        QCOMPARE(form->ComboBoxEvaluation->currentText(), QString("良い"));
        QVERIFY(form->CheckBoxFlgEvaluation->isChecked());
        QVERIFY(form->CheckBoxFlgEnd->isChecked());
        QVERIFY(!form->CheckBoxFlgFirst->isChecked());
        QVERIFY(form->CheckBoxFlgPluralUpdate->isChecked());
    }

    void postsTheFeedbackEndToEnd()
    {
        addListing();
        TFormEvaluation* form = open();
        QVERIFY(form);
        fill(form, 1, awkwardComment);
        form->CheckBoxFlgEvaluation->setChecked(true);
        navi->options.confirmationEvaluationTransmission = true;
        form->ActionMainTransmission->trigger();

        const QList<FeedbackSite::Hit> pages = feedback->hits(FeedbackSite::formPath);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages.first().host, "edit12.localhost:" + QByteArray::number(app->site().port()));
        QCOMPARE(pages.first().query, QByteArray("t=buyer01&&aID=a100&&nr=1"));
        const QList<FeedbackSite::Hit> previews = feedback->hits(FeedbackSite::previewPath);
        QCOMPARE(previews.size(), 1);
        QCOMPARE(previews.first().field("rating"), QString("2"));
        QCOMPARE(previews.first().field("comment"), awkwardComment);
        const QList<FeedbackSite::Hit> sends = feedback->hits(FeedbackSite::submitPath);
        QCOMPARE(sends.size(), 1);
        QCOMPARE(sends.first().field("comment"), awkwardComment);
        QVERIFY(feedback->hits(FeedbackSite::editPath).isEmpty());

        QCOMPARE(app->dialogs().texts(), QStringList({"「良い」\n\r評価を送信しますか？",
                                                      EvaluationSend::notBestQuestion}));
        // Only this winner's transaction takes the flag, in the table and in the list.
        QCOMPARE(flag(winner, "EvaluationFlg"), QString("●"));
        QCOMPARE(flag(otherWinner, "EvaluationFlg"), QString());
        QCOMPARE(row(winner)->subItem(BidListColumns::EvaluationFlg), QString("●"));
        QCOMPARE(row(otherWinner)->subItem(BidListColumns::EvaluationFlg), QString());
        QCOMPARE(app->log().last(), QString("a100：時計の評価をしました"));
        QVERIFY(!form->isVisible());
        QVERIFY(!form->sending);
        QVERIFY(!form->writer);
    }

    void confirmationPageIsChecked_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<bool>("sent");
        QTest::newRow("lower-case tags") << int(FeedbackSite::Confirmation::Lower) << true;
        QTest::newRow("marker on the last line")
            << int(FeedbackSite::Confirmation::MarkerLast) << false;
        QTest::newRow("another rating shown")
            << int(FeedbackSite::Confirmation::OtherRating) << false;
    }
    void confirmationPageIsChecked()
    {
        QFETCH(int, variant);
        QFETCH(bool, sent);
        feedback->setConfirmation(FeedbackSite::Confirmation(variant));
        addListing();
        navi->options.confirmationEvaluationTransmission = false;
        TFormEvaluation* form = open();
        QVERIFY(form);
        fill(form, 1, QStringLiteral("ありがとうございました"));
        form->CheckBoxFlgEvaluation->setChecked(true);
        app->dialogs().clear();
        form->ActionMainTransmission->trigger();
        QCOMPARE(feedback->hits(FeedbackSite::submitPath).size(), sent ? 1 : 0);
        QCOMPARE(flag(winner, "EvaluationFlg"), sent ? QString("●") : QString());
        QCOMPARE(form->isVisible(), !sent);
        if (sent)
            return;
        QCOMPARE(app->dialogs().requests().last().caption, QString("評価失敗"));
        QCOMPARE(app->dialogs().requests().last().text, FeedbackRating::changedSiteText);
        QCOMPARE(status(form), EvaluationSend::stopped);
        QVERIFY(inputEnabled(form));
        QVERIFY(!form->sending);
        QVERIFY(!form->writer);
        QCOMPARE(MemoText::get(form->MemoMessage), QString("ありがとうございました"));
    }

    void resultWithoutTheMarkerIsNotSuccess()
    {
        feedback->setResult(FeedbackSite::Result::NoMarker);
        addListing();
        navi->options.confirmationEvaluationTransmission = false;
        TFormEvaluation* form = open();
        fill(form, 0, QStringLiteral("ありがとうございました"));
        form->CheckBoxFlgEvaluation->setChecked(true);
        form->ActionMainTransmission->trigger();
        QVERIFY(app->dialogs().requests().isEmpty());
        QCOMPARE(feedback->hits(FeedbackSite::submitPath).size(), 1);
        QCOMPARE(status(form), EvaluationSend::notSent);
        QVERIFY(form->isVisible());
        QVERIFY(inputEnabled(form));
        QCOMPARE(flag(winner, "EvaluationFlg"), QString());
        QVERIFY(!app->log().join('\n').contains("の評価をしました"));
    }

    void pagesAndFormsOffTheFeedbackHostEndThePost_data()
    {
        QTest::addColumn<bool>("redirect");
        QTest::addColumn<FeedbackSite::ForeignForm>("foreign");
        QTest::addColumn<int>("previews");
        QTest::addColumn<bool>("failureBox");
        QTest::newRow("form page redirects to another host")
            << true << FeedbackSite::ForeignForm::None << 0 << true;
        QTest::newRow("form page's text area in a form for another host")
            << false << FeedbackSite::ForeignForm::AfterTheFeedbackForm << 0 << true;
        QTest::newRow("confirmation page's first send form for another host")
            << false << FeedbackSite::ForeignForm::BeforeTheSendForm << 1 << false;
    }
    void pagesAndFormsOffTheFeedbackHostEndThePost()
    {
        QFETCH(bool, redirect);
        QFETCH(FeedbackSite::ForeignForm, foreign);
        QFETCH(int, previews);
        QFETCH(bool, failureBox);
        const QString otherHost = QStringLiteral("http://other.localhost:%1").arg(other->port());
        if (redirect)
            feedback->redirectFormTo(otherHost + QString::fromLatin1(FeedbackSite::formPath));
        feedback->setForeignForm(foreign, otherHost + "/steal");
        addListing();
        navi->options.confirmationEvaluationTransmission = false;
        TFormEvaluation* form = open();
        QVERIFY(form);
        fill(form, 0, awkwardComment);
        form->CheckBoxFlgEvaluation->setChecked(true);
        form->ActionMainTransmission->trigger();

        QVERIFY(other->requests().isEmpty());
        QCOMPARE(feedback->hits(FeedbackSite::previewPath).size(), previews);
        QVERIFY(feedback->hits(FeedbackSite::submitPath).isEmpty());
        if (failureBox) {
            QCOMPARE(app->dialogs().requests().size(), 1);
            QCOMPARE(app->dialogs().requests().first().caption, EvaluationSend::failureCaption);
            QCOMPARE(app->dialogs().requests().first().text, FeedbackRating::changedSiteText);
            QCOMPARE(status(form), EvaluationSend::stopped);
        } else {
            QVERIFY(app->dialogs().requests().isEmpty());
            QCOMPARE(status(form), EvaluationSend::notSent);
        }
        QVERIFY(form->isVisible());
        QVERIFY(inputEnabled(form));
        QVERIFY(!form->writer);
        QCOMPARE(flag(winner, "EvaluationFlg"), QString());
        QCOMPARE(row(winner)->subItem(BidListColumns::EvaluationFlg), QString());
        QVERIFY(!app->log().join('\n').contains("の評価をしました"));
    }

    void inputAndAccountRefusals_data()
    {
        QTest::addColumn<int>("rating");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("statusPage");
        QTest::addColumn<QString>("expected");
        const QString good = SitePages::statusPage(seller);
        QTest::newRow("no rating") << -1 << "ok" << good << EvaluationSend::noRating;
        QTest::newRow("no comment") << 0 << "" << good << EvaluationSend::noComment;
        QTest::newRow("not logged in")
            << 0 << "ok" << SitePages::statusPage("") << EvaluationSend::notLoggedIn;
        QTest::newRow("another account")
            << 0 << "ok" << SitePages::statusPage("someone") << EvaluationSend::otherAccount;
        QTest::newRow("password asked again")
            << 0 << "ok" << good + SitePages::reconfirmationPage(seller)
            << seller + "：再パスワード要求がありました。";
    }
    void inputAndAccountRefusals()
    {
        QFETCH(int, rating);
        QFETCH(QString, comment);
        QFETCH(QString, statusPage);
        QFETCH(QString, expected);
        addListing();
        TFormEvaluation* form = open();
        app->site().setRoute("GET", "/jp/show/mystatus", SitePages::page(statusPage));
        fill(form, rating, comment);
        form->ActionMainTransmission->trigger();
        QCOMPARE(status(form), expected);
        QVERIFY(feedback->hits().isEmpty());
        QVERIFY(app->dialogs().requests().isEmpty());
        QVERIFY(inputEnabled(form));
        QVERIFY(!form->sending);
    }

    // The account id that the site's reconfirmation page names is shown as its characters.
    void siteAccountIdInTheRefusalShowsAsText()
    {
        addListing();
        TFormEvaluation* form = open();
        const QString accountId = QStringLiteral("<font\tcolor=#ff0000>MMMMMMMM</font>");
        app->site().setRoute("GET", "/jp/show/mystatus",
                             SitePages::page(SitePages::statusPage(seller) +
                                             SitePages::reconfirmationPage(accountId)));
        fill(form, 0, QStringLiteral("ok"));
        form->ActionMainTransmission->trigger();
        QCOMPARE(status(form), accountId + "：再パスワード要求がありました。");
        QVERIFY(!DrawnColours::drawsBrightRed(form->statusPanels[0]));
        QVERIFY(feedback->hits().isEmpty());
    }

    void addressWithoutAHostNumberIsNotOpened()
    {
        addListing();
        Sql::exec(db(), "UPDATE T_BidData SET Url='http://auctions.example/jp/a100'");
        navi->listingTab().ToolButtonBidSearchSearchClick();
        navi->options.confirmationEvaluationTransmission = false;
        TFormEvaluation* form = open();
        fill(form, 0, QStringLiteral("ok"));
        form->ActionMainTransmission->trigger();
        QVERIFY(feedback->hits().isEmpty());
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests().first().caption, QString("評価失敗"));
        QCOMPARE(status(form), EvaluationSend::stopped);
        QVERIFY(inputEnabled(form));
    }

    void refusedWhileADownloadOrAMessagePostRuns_data()
    {
        QTest::addColumn<bool>("download");
        QTest::newRow("detailed download") << true;
        QTest::newRow("message post") << false;
    }
    void refusedWhileADownloadOrAMessagePostRuns()
    {
        QFETCH(bool, download);
        addListing();
        TFormEvaluation* form = open();
        fill(form, 0, QStringLiteral("ok"));
        GateThread* thread = nullptr;
        if (download)
            QVERIFY(navi->downloadControl().startDownload(
                4, [&] { return thread = new GateThread(navi); }, QStringLiteral("detailed")));
        else
            navi->session.beginMessagePost();
        QVERIFY(download ? !navi->session.messagePostAllowed() || navi->downloadKind == 4
                         : navi->postingMessage);
        form->ActionMainTransmission->trigger();
        QCOMPARE(status(form), EvaluationSend::busy);
        QVERIFY(feedback->hits().isEmpty());
        if (download) {
            thread->gate.release();
            QTRY_COMPARE(navi->downloadKind, 0);
        } else {
            navi->session.endMessagePost();
        }
        // Idle again: the same send goes through.
        navi->options.confirmationEvaluationTransmission = false;
        form->ActionMainTransmission->trigger();
        QCOMPARE(feedback->hits(FeedbackSite::submitPath).size(), 1);
    }

    // What starts while a question box is up refuses the send after it, as before the boxes.
    void refusedWhenADownloadOrAPostStartsUnderTheQuestion_data()
    {
        QTest::addColumn<bool>("download");
        QTest::addColumn<int>("rating");
        QTest::addColumn<bool>("setting");
        QTest::addColumn<int>("underBox");
        QTest::newRow("download under the confirmation") << true << 0 << true << 0;
        QTest::newRow("post under the confirmation") << false << 0 << true << 0;
        QTest::newRow("download under the not-best question") << true << 3 << false << 0;
        QTest::newRow("post under the second of both boxes") << false << 3 << true << 1;
    }
    void refusedWhenADownloadOrAPostStartsUnderTheQuestion()
    {
        QFETCH(bool, download);
        QFETCH(int, rating);
        QFETCH(bool, setting);
        QFETCH(int, underBox);
        addListing();
        navi->options.confirmationEvaluationTransmission = setting;
        TFormEvaluation* form = open();
        fill(form, rating, QStringLiteral("ok"));
        form->CheckBoxFlgEvaluation->setChecked(true);
        GateThread* thread = nullptr;
        app->dialogs().whileAsking([&](const Dialogs::Request&) {
            if (app->dialogs().requests().size() != underBox + 1)
                return;
            if (download)
                QVERIFY(navi->downloadControl().startDownload(
                    2, [&] { return thread = new GateThread(navi); }, QStringLiteral("board")));
            else
                navi->session.beginMessagePost();
        });
        form->ActionMainTransmission->trigger();
        app->dialogs().whileAsking(nullptr);
        QCOMPARE(app->dialogs().requests().size(), (setting ? 1 : 0) + (rating != 0 ? 1 : 0));
        QCOMPARE(status(form), EvaluationSend::busy);
        QVERIFY(feedback->hits().isEmpty());
        QVERIFY(inputEnabled(form));
        QVERIFY(!form->sending);
        QVERIFY(!form->writer);
        QCOMPARE(flag(winner, "EvaluationFlg"), QString());
        QVERIFY(!app->log().join('\n').contains("の評価をしました"));

        if (download) {
            QVERIFY(thread);
            thread->gate.release();
            QTRY_COMPARE(navi->downloadKind, 0);
        } else {
            navi->session.endMessagePost();
        }
        // Idle again: the same send goes through.
        form->ActionMainTransmission->trigger();
        QCOMPARE(feedback->hits(FeedbackSite::submitPath).size(), 1);
        QCOMPARE(flag(winner, "EvaluationFlg"), QString("●"));
    }

    void confirmationBoxes_data()
    {
        QTest::addColumn<int>("rating");
        QTest::addColumn<bool>("setting");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("cancelLast");
        QTest::newRow("best, setting off: no box") << 0 << false << QStringList() << false;
        QTest::newRow("best, setting on")
            << 0 << true << QStringList{"「非常に良い」\n\r評価を送信しますか？"} << false;
        QTest::newRow("bad, setting off: the second box only")
            << 3 << false << QStringList{EvaluationSend::notBestQuestion} << false;
        QTest::newRow("bad, setting on: both, in order")
            << 3 << true
            << QStringList{"「悪い」\n\r評価を送信しますか？", EvaluationSend::notBestQuestion}
            << false;
        QTest::newRow("bad, cancel on the second")
            << 3 << true
            << QStringList{"「悪い」\n\r評価を送信しますか？", EvaluationSend::notBestQuestion}
            << true;
        QTest::newRow("cancel on the first")
            << 3 << true << QStringList{"「悪い」\n\r評価を送信しますか？"} << true;
    }
    void confirmationBoxes()
    {
        QFETCH(int, rating);
        QFETCH(bool, setting);
        QFETCH(QStringList, asked);
        QFETCH(bool, cancelLast);
        addListing();
        navi->options.confirmationEvaluationTransmission = setting;
        TFormEvaluation* form = open();
        fill(form, rating, QStringLiteral("ok"));
        for (int i = 0; i < asked.size(); ++i)
            app->dialogs().queue(cancelLast && i == asked.size() - 1 ? Dialogs::Answer::Cancel
                                                                     : Dialogs::Answer::Ok);
        form->ActionMainTransmission->trigger();
        QCOMPARE(app->dialogs().texts(), asked);
        for (const Dialogs::Request& request : app->dialogs().requests())
            QCOMPARE(request.caption, QString("確認"));
        QCOMPARE(feedback->hits(FeedbackSite::submitPath).size(), cancelLast ? 0 : 1);
        if (cancelLast) {
            QVERIFY(feedback->hits().isEmpty());
            QVERIFY(inputEnabled(form));
            QVERIFY(status(form).isEmpty());
        }
    }

    void stopBeforeTheCheckSendsNothing()
    {
        addListing();
        navi->options.confirmationEvaluationTransmission = false;
        feedback->setFormDelay(300);
        TFormEvaluation* form = open();
        fill(form, 0, QStringLiteral("ok"));
        form->CheckBoxFlgEvaluation->setChecked(true);
        whenReady(
            form, [&] { return !feedback->hits(FeedbackSite::formPath).isEmpty(); },
            [form] { form->ActionMainTransmissionStop->trigger(); });
        form->ActionMainTransmission->trigger();
        QCOMPARE(app->dialogs().texts(), QStringList{EvaluationSend::stopQuestion});
        QVERIFY(feedback->hits(FeedbackSite::previewPath).isEmpty());
        QVERIFY(feedback->hits(FeedbackSite::submitPath).isEmpty());
        QCOMPARE(status(form), EvaluationSend::stopped);
        QVERIFY(inputEnabled(form));
        QVERIFY(!form->writer);
        QCOMPARE(flag(winner, "EvaluationFlg"), QString());
    }

    void closingMidPostStillLogsTheSuccess()
    {
        addListing();
        navi->options.confirmationEvaluationTransmission = false;
        feedback->setFormDelay(300);
        TFormEvaluation* form = open();
        fill(form, 0, QStringLiteral("ok"));
        form->CheckBoxFlgEnd->setChecked(true);
        bool hiddenMidPost = false;
        whenReady(
            form, [&] { return !feedback->hits(FeedbackSite::formPath).isEmpty(); },
            [&, form] {
                form->close();
                hiddenMidPost = !form->isVisible() && form->sending;
            });
        form->ActionMainTransmission->trigger();
        QVERIFY(hiddenMidPost);
        QCOMPARE(app->dialogs().texts(), QStringList{EvaluationSend::closeQuestion});
        QCOMPARE(feedback->hits(FeedbackSite::submitPath).size(), 1);
        QCOMPARE(app->log().last(), QString("a100：時計の評価をしました"));
        QCOMPARE(flag(winner, "EndFlg"), QString("●"));
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(TestFeedback)
#include "test_feedback.moc"
