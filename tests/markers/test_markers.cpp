// The marker commands on the listing list: the flag value, the rows and cells they change, the
// questions they ask and what a database error leaves.
#include "FixtureDb.h"
#include "MainWindowFixture.h"
#include "SitePages.h"
#include "app/UnitNavi.h"
#include "platform/Database.h"
#include "platform/Sql.h"
#include "site/html.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/ListingTab.h"
#include "views/MarkerRows.h"
#include "views/ProgressFlags.h"

#include <QAction>
#include <QListWidget>
#include <QTest>

#include <memory>

namespace {

// Every marker column, with the sub-item that shows it.
const QList<std::pair<QString, int>> markerColumns = {
    {"FirstFlg", BidListColumns::FirstFlg},
    {"PaymentFlg", BidListColumns::PaymentFlg},
    {"ReceiptFlg", BidListColumns::ReceiptFlg},
    {"EvaluationFlg", BidListColumns::EvaluationFlg},
    {"EndFlg", BidListColumns::EndFlg},
    {"ContactMethod", BidListColumns::ContactMethod},
    {"EvaluationUnnecessary", BidListColumns::EvaluationUnnecessary}};

} // namespace

class TestMarkers : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;

    BidRow row(const QString& aid, const QString& bidId) const
    {
        return navi->ListViewBid->findBidItem(aid, bidId);
    }
    QVariant stored(const QString& column, const QString& aid, const QString& bidId) const
    {
        return Sql::scalar(navi->connection,
                           "SELECT " + column + " FROM T_BidData WHERE Aid=:A AND BidId=:B",
                           {{":A", aid}, {":B", bidId}});
    }
    // Selects a1/b1 and a1/b2 (one auction, two winners); a2/b3 stays unselected.
    void selectTwo()
    {
        navi->ListViewBid->clearSelection();
        row("a1", "b1")->setSelected(true);
        row("a1", "b2")->setSelected(true);
    }
    QString lastLogLine() const
    {
        const int count = navi->ListBoxMessage->count();
        return count ? navi->ListBoxMessage->item(count - 1)->text() : QString();
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        html::setDefaultTimeout(5000);
        SitePages::serveAccount(app->site(), "seller");
        {
            Database::ScopedConnection db;
            QVariantMap marked;
            for (const auto& [column, cell] : markerColumns)
                marked.insert(column, "x");
            FixtureDb::addListing(db.db(), {.aid = "a1", .bidId = "b1", .extra = marked});
            FixtureDb::addListing(db.db(), {.aid = "a1", .bidId = "b2", .extra = marked});
            FixtureDb::addListing(db.db(), {.aid = "a2", .bidId = "b3", .extra = marked});
        }
        navi = app->start();
        QCOMPARE(navi->ListViewBid->topLevelItemCount(), 3);
    }
    void cleanup() { app.reset(); }

    void flagValueFollowsTheOption_data()
    {
        QTest::addColumn<int>("bidFlg");
        QTest::addColumn<QString>("own");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("value");
        QTest::newRow("own text") << 0 << "入金OK" << QDate(2026, 7, 5) << "入金OK";
        QTest::newRow("own text empty") << 0 << "" << QDate(2026, 7, 5) << "";
        QTest::newRow("mark") << 1 << "入金OK" << QDate(2026, 7, 5) << "●";
        QTest::newRow("date") << 2 << "入金OK" << QDate(2026, 7, 5) << "07/05";
        QTest::newRow("date end of year") << 2 << "" << QDate(2026, 12, 31) << "12/31";
        QTest::newRow("other option") << 3 << "入金OK" << QDate(2026, 7, 5) << "";
        QTest::newRow("negative option") << -1 << "入金OK" << QDate(2026, 7, 5) << "";
    }
    void flagValueFollowsTheOption()
    {
        QFETCH(int, bidFlg);
        QFETCH(QString, own);
        QFETCH(QDate, today);
        QFETCH(QString, value);
        QCOMPARE(flagValue(bidFlg, own, today), value);
    }

    void commandChangesOnlyTheSelectedRows_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QString>("value");
        QTest::newRow("payment set") << "ActionFlgPaymentCheck" << QStringList{"PaymentFlg"} << "●";
        QTest::newRow("shipping clear")
            << "ActionFlgReceiptCheckRemove" << QStringList{"ReceiptFlg"} << "";
        QTest::newRow("end set") << "ActionFlgEndCheck" << QStringList{"EndFlg"} << "●";
        QTest::newRow("all set") << "ActionFlgAllCheck"
                                 << QStringList{"FirstFlg", "PaymentFlg", "ReceiptFlg",
                                                "EvaluationFlg", "EndFlg"}
                                 << "●";
        QTest::newRow("all clear")
            << "ActionFlgAllCheckRemove"
            << QStringList{"FirstFlg", "PaymentFlg", "ReceiptFlg", "EvaluationFlg", "EndFlg"} << "";
        QTest::newRow("contact blank")
            << "MainMenuContactBlank" << QStringList{"ContactMethod"} << "";
        QTest::newRow("contact board")
            << "MainMenuContactNavi" << QStringList{"ContactMethod"} << "ナビ";
        QTest::newRow("contact mail")
            << "MainMenuContactMail" << QStringList{"ContactMethod"} << "メール";
        QTest::newRow("feedback blank")
            << "ActionEvaluationFlgBlank" << QStringList{"EvaluationUnnecessary"} << "";
        QTest::newRow("feedback needed")
            << "ActionEvaluationFlgNecessary" << QStringList{"EvaluationUnnecessary"} << "必要";
        QTest::newRow("feedback not needed")
            << "ActionEvaluationFlgUnnecessary" << QStringList{"EvaluationUnnecessary"} << "不要";
    }
    void commandChangesOnlyTheSelectedRows()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, columns);
        QFETCH(QString, value);
        selectTwo();
        QAction* action = navi->action(command);
        QVERIFY(action->isEnabled());
        action->trigger();
        QVERIFY(app->dialogs().requests().isEmpty());
        for (const auto& [column, cell] : markerColumns) {
            const bool changed = columns.contains(column);
            for (const char* bidId : {"b1", "b2"}) {
                const QVariant written = stored(column, "a1", bidId);
                QCOMPARE(written.toString(), changed ? value : QString("x"));
                // A blank marker is the empty text, never NULL.
                QVERIFY(!written.isNull());
                QCOMPARE(row("a1", bidId)->subItem(cell), changed ? value : QString("x"));
            }
            QCOMPARE(stored(column, "a2", "b3").toString(), QString("x"));
            QCOMPARE(row("a2", "b3")->subItem(cell), QString("x"));
        }
    }

    void setFlagWritesTheOptionsValue()
    {
        navi->options.bidFlg = 2;
        selectTwo();
        navi->listingTab().updateProgressFlags(BidListColumns::FirstFlg, true);
        const QString today = flagValue(2, QString(), QDate::currentDate());
        QCOMPARE(stored("FirstFlg", "a1", "b2").toString(), today);
        QCOMPARE(row("a1", "b1")->subItem(BidListColumns::FirstFlg), today);

        // A text longer than ten characters is stored whole.
        navi->options.bidFlg = 0;
        navi->options.bidFlgString = "入金確認済み・発送準備中です";
        navi->listingTab().updateProgressFlags(BidListColumns::EndFlg, true);
        QCOMPARE(stored("EndFlg", "a1", "b1").toString(), navi->options.bidFlgString);
        QCOMPARE(row("a1", "b2")->subItem(BidListColumns::EndFlg), navi->options.bidFlgString);
    }

    void confirmationAsksInTheCommandsOwnWords_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("confirmSwitch");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("column");
        QTest::newRow("address set") << "ActionFlgFirstCheck"
                                     << "ActionFlgConfirm"
                                     << "住所連絡を済にしますか？"
                                     << "FirstFlg";
        QTest::newRow("payment set") << "ActionFlgPaymentCheck"
                                     << "ActionFlgConfirm"
                                     << "支払いを済にしますか？"
                                     << "PaymentFlg";
        QTest::newRow("shipping clear") << "ActionFlgReceiptCheckRemove"
                                        << "ActionFlgConfirm"
                                        << "受取りを未にしますか？"
                                        << "ReceiptFlg";
        QTest::newRow("feedback set") << "ActionFlgEvaluationCheck"
                                      << "ActionFlgConfirm"
                                      << "評価を済にしますか？"
                                      << "EvaluationFlg";
        QTest::newRow("end clear") << "ActionFlgEndCheckRemove"
                                   << "ActionFlgConfirm"
                                   << "終了を未にしますか？"
                                   << "EndFlg";
        QTest::newRow("all clear") << "ActionFlgAllCheckRemove"
                                   << "ActionFlgConfirm"
                                   << "全てのフラグを未にしますか？"
                                   << "PaymentFlg";
        QTest::newRow("contact blank") << "MainMenuContactBlank"
                                       << "MainMenuContactConfirm"
                                       << "連絡方法を空白にしますか？"
                                       << "ContactMethod";
        QTest::newRow("contact board") << "MainMenuContactNavi"
                                       << "MainMenuContactConfirm"
                                       << "連絡方法を取引ナビにしますか？"
                                       << "ContactMethod";
        QTest::newRow("contact mail") << "MainMenuContactMail"
                                      << "MainMenuContactConfirm"
                                      << "連絡方法をメールにしますか？"
                                      << "ContactMethod";
        QTest::newRow("feedback needed") << "ActionEvaluationFlgNecessary"
                                         << "MainMenuEvaluationFlgConfirm"
                                         << "評価フラグを必要にしますか？"
                                         << "EvaluationUnnecessary";
        QTest::newRow("feedback blank") << "ActionEvaluationFlgBlank"
                                        << "MainMenuEvaluationFlgConfirm"
                                        << "評価フラグを空白にしますか？"
                                        << "EvaluationUnnecessary";
        QTest::newRow("feedback not needed") << "ActionEvaluationFlgUnnecessary"
                                             << "MainMenuEvaluationFlgConfirm"
                                             << "評価フラグを不要にしますか？"
                                             << "EvaluationUnnecessary";
    }
    void confirmationAsksInTheCommandsOwnWords()
    {
        QFETCH(QString, command);
        QFETCH(QString, confirmSwitch);
        QFETCH(QString, question);
        QFETCH(QString, column);
        navi->action(confirmSwitch)->setChecked(true);
        selectTwo();

        app->dialogs().queue(Dialogs::Answer::Cancel);
        navi->action(command)->trigger();
        QCOMPARE(app->dialogs().requests().size(), 1);
        const Dialogs::Request asked = app->dialogs().requests().first();
        QCOMPARE(asked.kind, Dialogs::Kind::OkCancel);
        QCOMPARE(asked.caption, QString("確認"));
        QCOMPARE(asked.text, question);
        // Cancel changes nothing.
        QCOMPARE(stored(column, "a1", "b1").toString(), QString("x"));
        QCOMPARE(stored(column, "a1", "b2").toString(), QString("x"));

        app->dialogs().clear();
        navi->action(command)->trigger();
        QCOMPARE(app->dialogs().requests().size(), 1);
        QVERIFY(stored(column, "a1", "b1").toString() != "x");
        QVERIFY(stored(column, "a1", "b2").toString() != "x");
    }

    void noSelectionOnlyLogs()
    {
        for (QAction* confirm : {navi->ActionFlgConfirm, navi->MainMenuContactConfirm,
                                 navi->MainMenuEvaluationFlgConfirm})
            confirm->setChecked(true);
        navi->ListViewBid->clearSelection();
        for (const char* command :
             {"ActionFlgAllCheck", "MainMenuContactMail", "ActionEvaluationFlgNecessary"}) {
            const int lines = navi->ListBoxMessage->count();
            navi->action(command)->trigger();
            QCOMPARE(navi->ListBoxMessage->count(), lines + 1);
            QCOMPARE(lastLogLine(), QString("行を選択してください"));
        }
        QVERIFY(app->dialogs().requests().isEmpty());
        QCOMPARE(Sql::scalar(navi->connection,
                             "SELECT COUNT(*) FROM T_BidData WHERE FirstFlg<>'x' OR "
                             "ContactMethod<>'x' OR EvaluationUnnecessary<>'x'")
                     .toInt(),
                 0);
    }

    void databaseErrorLeavesRowsAndCellsAsTheyWere()
    {
        // The second selected row's update fails.
        Sql::exec(navi->connection,
                  "CREATE TRIGGER refuse BEFORE UPDATE ON T_BidData WHEN NEW.Aid='a2' "
                  "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        row("a1", "b1")->setSelected(true);
        row("a2", "b3")->setSelected(true);
        QVERIFY_THROWS_EXCEPTION(DatabaseError,
                                 navi->listingTab().updateProgressFlags(BidListColumns::PaymentFlg, true));
        QCOMPARE(stored("PaymentFlg", "a1", "b1").toString(), QString("x"));
        QCOMPARE(row("a1", "b1")->subItem(BidListColumns::PaymentFlg), QString("x"));
        QCOMPARE(row("a2", "b3")->subItem(BidListColumns::PaymentFlg), QString("x"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, navi->listingTab().updateEvaluationNecessity(1));
        QCOMPARE(stored("EvaluationUnnecessary", "a1", "b1").toString(), QString("x"));
        QCOMPARE(row("a1", "b1")->subItem(BidListColumns::EvaluationUnnecessary), QString("x"));
    }

    // The keys reach the database as one JSON value: ids holding JSON's and SQL's own signs,
    // text beyond U+FFFF or a winner in another case mark exactly the rows they name.
    void writeMarksExactlyTheNamedRows_data()
    {
        QTest::addColumn<QString>("aid");
        QTest::addColumn<QString>("bidId");
        QTest::addColumn<QString>("keyBidId");
        QTest::newRow("quotes") << "q\"1'" << "b\"'" << "b\"'";
        QTest::newRow("backslash and brackets") << "q\\2]" << "[b\\n]" << "[b\\n]";
        QTest::newRow("control and beyond U+FFFF")
            << "q3\t" << QString::fromUtf8("b\x01\U0001F600") << QString::fromUtf8("b\x01\U0001F600");
        QTest::newRow("winner in another case") << "q4" << "Winner" << "wINNER";
        QTest::newRow("a number as text") << "0012" << "12" << "12";
    }
    void writeMarksExactlyTheNamedRows()
    {
        QFETCH(QString, aid);
        QFETCH(QString, bidId);
        QFETCH(QString, keyBidId);
        FixtureDb::addListing(navi->connection, {.aid = aid, .bidId = bidId});
        FixtureDb::addListing(navi->connection, {.aid = aid, .bidId = bidId + "x"});
        FixtureDb::addListing(navi->connection, {.aid = "12", .bidId = "12"});
        const std::optional<MarkerUpdate> update =
            MarkerUpdates::progressFlags(BidListColumns::PaymentFlg, true, "●");
        QVERIFY(update);
        MarkerRows::write(navi->connection, *update,
                          {{aid, keyBidId}, {"no such", "listing"}, {aid, keyBidId}});
        QCOMPARE(stored("PaymentFlg", aid, bidId).toString(), QString("●"));
        QCOMPARE(stored("PaymentFlg", aid, bidId + "x").toString(), QString());
        QCOMPARE(stored("PaymentFlg", "12", "12").toString(), QString());
        QCOMPARE(Sql::scalar(navi->connection,
                             "SELECT COUNT(*) FROM T_BidData WHERE PaymentFlg='●'").toInt(),
                 1);
    }

    void flagCommandsFollowTheTab()
    {
        navi->PageControlMain->setCurrentIndex(1);
        for (QAction* flag : navi->flagActions)
            QVERIFY(!flag->isEnabled());
        QVERIFY(!navi->action("ActionFlgAllCheck")->isEnabled());
        navi->PageControlMain->setCurrentIndex(0);
        for (QAction* flag : navi->flagActions)
            QVERIFY(flag->isEnabled());
        QVERIFY(navi->action("ActionFlgAllCheckRemove")->isEnabled());
    }
};

QTEST_MAIN(TestMarkers)
#include "test_markers.moc"
