// Handing a message template to the mail program: the mailto: address built from the
// expanded template, the two submenus built once per start, and the hand-over from the listing
// list with a real database under the main window (the desktop hand-over is captured).
#include "support/FixtureDb.h"
#include "support/MailAddressRows.h"
#include "support/MainWindowFixture.h"
#include "support/SitePages.h"

#include "app/UnitNavi.h"
#include "compose/MailtoAddress.h"
#include "platform/UrlOpener.h"
#include "site/html.h"
#include "views/ListingTab.h"
#include "views/MailRecipient.h"
#include "views/BidListView.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller");
const QString winner = QStringLiteral("buyer01");

QStringList captionsOf(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* item : menu->actions())
        captions << item->text() + "|" + item->toolTip();
    return captions;
}

QString queryValue(const QUrl& url, const QString& key)
{
    return QUrlQuery(url).queryItemValue(key, QUrl::FullyDecoded);
}

} // namespace

class TestMail : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;
    QList<QUrl> handedOver;

    QSqlDatabase db() const { return navi->connection; }

    void start()
    {
        navi = app->startProgram();
        QTRY_COMPARE(navi->loginId, seller);
        QTRY_VERIFY(navi->MainMenuToolMailerSend->isEnabled());
    }
    void stop()
    {
        app->closeWindow();
        navi = nullptr;
    }
    QMenu* popupMenu() const { return navi->findChild<QMenu*>("PopupMenuBidListMailerSend"); }
    void addTemplate(const QString& name, const QString& message, int sortNumber)
    {
        FixtureDb::insert(
            db(), "T_NaviTemplate",
            {{"SaveName", name}, {"Subject", 1}, {"Message", message}, {"SortNumber", sortNumber}});
    }
    // The templates land in the database, and the next start lists them.
    void restartWithTemplates(const QList<std::pair<QString, QString>>& templates)
    {
        int sortNumber = 0;
        for (const auto& [name, message] : templates)
            addTemplate(name, message, sortNumber++);
        stop();
        start();
    }
    void selectListing(const QString& aid)
    {
        navi->listingTab().ToolButtonBidSearchSearchClick();
        for (int i = 0; i < navi->ListViewBid->topLevelItemCount(); ++i)
            if (navi->ListViewBid->topLevelItem(i)->text(1) == aid)
                navi->ListViewBid->topLevelItem(i)->setSelected(true);
    }
    QAction* entry(QMenu* menu, const QString& name) const
    {
        for (QAction* item : menu->actions())
            if (item->toolTip() == name)
                return item;
        return nullptr;
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        html::setDefaultTimeout(5000);
        SitePages::serveAccount(app->site(), seller);
        handedOver.clear();
        UrlOpener::setHandler([this](const QUrl& url) {
            handedOver << url;
            return true;
        });
        start();
    }
    void cleanup()
    {
        stop();
        UrlOpener::setHandler(nullptr);
        app.reset();
    }

    // ---- The address ----

    void linesBreakAtEveryKindOfBreak_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << "a\r\nb\r\nc" << QStringList{"a", "b", "c"};
        QTest::newRow("LF and CR") << "a\nb\rc" << QStringList{"a", "b", "c"};
        QTest::newRow("final break") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("empty lines kept") << "a\r\n\r\nb\n\n" << QStringList{"a", "", "b", ""};
        QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void linesBreakAtEveryKindOfBreak()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(MailtoAddress::splitLines(text), lines);
    }

    void addressEncodesEachValueWhole_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("enclose");
        QTest::addColumn<QByteArray>("encoded");
        QTest::addColumn<QString>("decodedBody");
        QTest::newRow("three lines, plain") << "b@example.jp"
                                            << "ABC"
                                            << "l1\r\nl2\nl3\r\n"
                                            << false
                                            << QByteArray("mailto:b@example.jp?subject=ABC&body="
                                                          "l1%0D%0Al2%0D%0Al3")
                                            << "l1\r\nl2\r\nl3";
        QTest::newRow("enclosed") << "b@example.jp"
                                  << "ABC"
                                  << "x" << true
                                  << QByteArray(
                                         "mailto:b@example.jp?subject=%22ABC%22&body=%22x%22")
                                  << "\"x\"";
        QTest::newRow("no address")
            << ""
            << "ABC"
            << "x" << false << QByteArray("mailto:?subject=ABC&body=x") << "x";
        QTest::newRow("awkward characters")
            << "b@example.jp"
            << "A&B #1"
            << "50% + 送料 & \"込み\" ?#" << false
            << QByteArray("mailto:b@example.jp?subject=A%26B%20%231&body=50%25%20%2B%20"
                          "%E9%80%81%E6%96%99%20%26%20%22%E8%BE%BC%E3%81%BF%22%20%3F%23")
            << "50% + 送料 & \"込み\" ?#";
    }
    void addressEncodesEachValueWhole()
    {
        QFETCH(QString, address);
        QFETCH(QString, subject);
        QFETCH(QString, body);
        QFETCH(bool, enclose);
        QFETCH(QByteArray, encoded);
        QFETCH(QString, decodedBody);
        const QByteArray built = MailtoAddress::build(address, subject, body, enclose);
        QCOMPARE(built, encoded);
        const QUrl url = QUrl::fromEncoded(built, QUrl::StrictMode);
        QVERIFY(url.isValid());
        QCOMPARE(url.toEncoded(), built);
        QCOMPARE(url.scheme(), QString("mailto"));
        QCOMPARE(url.path(), address);
        const QString quote = enclose ? "\"" : "";
        QCOMPARE(queryValue(url, "subject"), quote + subject + quote);
        QCOMPARE(queryValue(url, "body"), decodedBody);
    }

    // ---- The submenus ----

    void submenusListTheTemplatesOfTheStartInSortOrder()
    {
        QVERIFY(navi->MainMenuToolMailerSend->actions().isEmpty());
        QVERIFY(popupMenu()->isEnabled());
        addTemplate("A", "a", 2);
        addTemplate("B", "b", 1);
        // Added after the start: not listed yet.
        QVERIFY(navi->MainMenuToolMailerSend->actions().isEmpty());
        stop();
        start();
        const QStringList expected{"B|B", "A|A"};
        QCOMPARE(captionsOf(navi->MainMenuToolMailerSend), expected);
        QCOMPARE(captionsOf(popupMenu()), expected);
        QVERIFY(navi->MainMenuToolMailerSend->actions().first() != popupMenu()->actions().first());
        addTemplate("C", "c", 0);
        QCOMPARE(captionsOf(navi->MainMenuToolMailerSend), expected);
        stop();
        start();
        QCOMPARE(captionsOf(popupMenu()), (QStringList{"C|C", "B|B", "A|A"}));
    }

    // ---- The hand-over ----

    void handsTheExpandedTemplateToTheMailProgram_data()
    {
        QTest::addColumn<bool>("enclose");
        QTest::addColumn<QString>("mail");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QByteArray>("encoded");
        QTest::addColumn<QString>("body");
        QTest::newRow("enclosed") << true << "b@example.jp"
                                  << "%id% 様"
                                  << "ABC"
                                  << QByteArray("mailto:b@example.jp?subject=%22ABC%22&body=%22"
                                                "buyer01%20%E6%A7%98%22")
                                  << "\"buyer01 様\"";
        QTest::newRow("not enclosed")
            << false << "b@example.jp"
            << "%id%"
            << "ABC" << QByteArray("mailto:b@example.jp?subject=ABC&body=buyer01") << "buyer01";
        QTest::newRow("winner without mail address")
            << false << ""
            << "x"
            << "ABC" << QByteArray("mailto:?subject=ABC&body=x") << "x";
        QTest::newRow("three lines") << false << "b@example.jp"
                                     << "一\r\n二\r\n三\r\n"
                                     << "ABC"
                                     << QByteArray("mailto:b@example.jp?subject=ABC&body="
                                                   "%E4%B8%80%0D%0A%E4%BA%8C%0D%0A%E4%B8%89")
                                     << "一\r\n二\r\n三";
        QTest::newRow("ampersand, hash, carriage")
            << false << "b@example.jp"
            << "送料 & 手数料 #%carriage%円"
            << "A&B #1"
            << QByteArray("mailto:b@example.jp?subject=A%26B%20%231&body=%E9%80%81%E6%96%99%20%26"
                          "%20%E6%89%8B%E6%95%B0%E6%96%99%20%231%2C200%E5%86%86")
            << "送料 & 手数料 #1,200円";
    }
    void handsTheExpandedTemplateToTheMailProgram()
    {
        QFETCH(bool, enclose);
        QFETCH(QString, mail);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(QByteArray, encoded);
        QFETCH(QString, body);
        FixtureDb::addListing(
            db(), {.aid = "a1", .bidId = winner, .title = title, .extra = {{"Carriage", "1200"}}});
        if (!mail.isEmpty())
            FixtureDb::addBidder(db(), {.id = winner, .name = "山田", .mail = mail});
        restartWithTemplates({{"お礼", message}});
        navi->options.mailEncloses = enclose;
        selectListing("a1");
        const int logLines = navi->ListBoxMessage->count();

        entry(navi->MainMenuToolMailerSend, "お礼")->trigger();
        QCOMPARE(handedOver.size(), 1);
        QCOMPARE(handedOver[0].toEncoded(), encoded);
        QCOMPARE(queryValue(handedOver[0], "body"), body);
        QCOMPARE(navi->ListBoxMessage->count(), logLines);
        QVERIFY(app->dialogs().requests().isEmpty());

        // The popup menu's entry hands over the same.
        entry(popupMenu(), "お礼")->trigger();
        QCOMPARE(handedOver.size(), 2);
        QCOMPARE(handedOver[1], handedOver[0]);
    }

    void addressOfSeveralRecipientsIsRefused_data() { MailAddressRows::addSeveralRecipients(); }
    void addressOfSeveralRecipientsIsRefused()
    {
        QFETCH(QString, address);
        FixtureDb::addListing(db(), {.aid = "a1", .bidId = winner, .title = "ABC"});
        FixtureDb::addBidder(db(), {.id = winner, .name = "山田", .mail = address});
        restartWithTemplates({{"お礼", "x"}});
        selectListing("a1");
        for (QMenu* menu : {navi->MainMenuToolMailerSend, popupMenu()})
            entry(menu, "お礼")->trigger();
        QVERIFY(handedOver.isEmpty());
        QCOMPARE(app->dialogs().requests().size(), 2);
        for (const Dialogs::Request& request : app->dialogs().requests()) {
            QCOMPARE(request.kind, Dialogs::Kind::Warning);
            QCOMPARE(request.caption, MailRecipient::refusalCaption);
            QCOMPARE(request.text, MailRecipient::refusalText);
        }
    }

    void keywordErrorIsLoggedAndTheHandOverGoesOn_data()
    {
        QTest::addColumn<bool>("errorBox");
        QTest::newRow("no box") << false;
        QTest::newRow("box") << true;
    }
    void keywordErrorIsLoggedAndTheHandOverGoesOn()
    {
        QFETCH(bool, errorBox);
        FixtureDb::addListing(db(), {.aid = "a1", .bidId = winner, .title = "ABC"});
        restartWithTemplates({{"送料", "送料%carriage%円"}});
        navi->options.mailEncloses = false;
        navi->options.naviKeywordErrorMsg = errorBox;
        selectListing("a1");
        const QStringList before = app->log();

        entry(navi->MainMenuToolMailerSend, "送料")->trigger();
        const QStringList after = app->log();
        QCOMPARE(after.size(), before.size() + 1);
        QVERIFY(after.last().startsWith("%carriage%(送料)が変換できませんでした。"));
        QCOMPARE(app->dialogs().requests().size(), errorBox ? 1 : 0);
        if (errorBox) {
            QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::Error);
            QCOMPARE(app->dialogs().requests()[0].caption, QString("キーワード変換エラー"));
            QCOMPARE(app->dialogs().requests()[0].text, after.last());
        }
        QCOMPARE(handedOver.size(), 1);
        QCOMPARE(queryValue(handedOver[0], "body"), QString("送料%carriage%円"));
        QCOMPARE(handedOver[0].toEncoded(),
                 QByteArray("mailto:?subject=ABC&body=%E9%80%81%E6%96%99%25carriage%25%E5%86%86"));
    }

    void withoutASelectedListingNothingIsHandedOver()
    {
        FixtureDb::addListing(db(), {.aid = "a1", .bidId = winner, .title = "ABC"});
        restartWithTemplates({{"お礼", "x"}});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QCOMPARE(navi->ListViewBid->topLevelItemCount(), 1);
        navi->ListViewBid->clearSelection();
        entry(navi->MainMenuToolMailerSend, "お礼")->trigger();
        QVERIFY(handedOver.isEmpty());
        QVERIFY(app->dialogs().requests().isEmpty());
    }

    void firstSelectedRowIsTheListing()
    {
        FixtureDb::addListing(db(), {.aid = "a1", .bidId = "first", .title = "一", .index = 1});
        FixtureDb::addListing(db(), {.aid = "a2", .bidId = "second", .title = "二", .index = 2});
        restartWithTemplates({{"id", "%id%"}});
        navi->options.mailEncloses = false;
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QCOMPARE(navi->ListViewBid->topLevelItemCount(), 2);
        // Selected bottom row first: the list order decides.
        navi->ListViewBid->topLevelItem(1)->setSelected(true);
        navi->ListViewBid->topLevelItem(0)->setSelected(true);
        const QString firstAid = navi->ListViewBid->topLevelItem(0)->text(1);
        entry(navi->MainMenuToolMailerSend, "id")->trigger();
        QCOMPARE(handedOver.size(), 1);
        QCOMPARE(queryValue(handedOver[0], "body"), firstAid == "a1" ? "first" : "second");
    }
};

QTEST_MAIN(TestMail)
#include "test_mail.moc"
