// The listing tab's small tools on the main window and a real database: writing carriage,
// forwarding number and memo, the carriage keys and forwarding suggestions, the copies, the mail
// program, the side panels and the status-bar click.
#include "FixtureDb.h"
#include "MailAddressRows.h"
#include "MainWindowFixture.h"
#include "SitePages.h"
#include "app/UnitNavi.h"
#include "platform/UrlOpener.h"
#include "platform/Database.h"
#include "platform/Sql.h"
#include "site/html.h"
#include "views/BidListColumns.h"
#include "views/BidListFindPanel.h"
#include "views/BidListView.h"
#include "views/CarriageKeys.h"
#include "views/ColumnWrite.h"
#include "views/ListingTab.h"
#include "views/MailRecipient.h"
#include "views/MailtoUrl.h"
#include "views/StatusBarClick.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QFrame>
#include <QInputMethodEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSplitter>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller");

// The rows of the scenario: two listings won by "wa", one by "wb".
const QStringList allRows = {"a1", "a2", "a3"};
// The same with two listings without a winner below them.
const QStringList rowsWithoutWinner = {"a1", "a2", "a3", "n1", "n2"};

// The order in which a write reaches the rows: the selected rows in list order first, then the
// same winners' other rows, each once.
QStringList writeOrder(const QStringList& shown, const QStringList& selected,
                       const QStringList& written)
{
    QStringList order;
    for (const QString& aid : shown)
        if (selected.contains(aid))
            order << aid;
    for (const QString& aid : written)
        if (!order.contains(aid))
            order << aid;
    return order;
}

} // namespace

class TestMemo : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;
    QList<QUrl> openedUrls;

    BidRow row(const QString& aid) const
    {
        for (int i = 0; i < navi->ListViewBid->topLevelItemCount(); ++i)
            if (navi->ListViewBid->topLevelItem(i)->text(BidListColumns::column(0)) == aid)
                return navi->ListViewBid->topLevelItem(i);
        return nullptr;
    }
    QString cell(const QString& aid, int subItem) const
    {
        return row(aid)->text(BidListColumns::column(subItem));
    }
    QString stored(const QString& column, const QString& aid) const
    {
        return Sql::scalar(navi->connection, "SELECT " + column + " FROM T_BidData WHERE Aid=:A",
                           {{":A", aid}})
            .toString();
    }
    void select(const QStringList& aids)
    {
        navi->ListViewBid->clearSelection();
        for (const QString& aid : aids)
            row(aid)->setSelected(true);
    }
    // Counts every UPDATE of a listing row.
    void countUpdates()
    {
        Sql::exec(navi->connection, "CREATE TABLE UpdateLog (Aid TEXT)");
        Sql::exec(navi->connection, "CREATE TRIGGER logUpdate AFTER UPDATE ON T_BidData "
                                    "BEGIN INSERT INTO UpdateLog VALUES (NEW.Aid); END");
    }
    QStringList updatedRows() const
    {
        QSqlQuery query = Sql::exec(navi->connection, "SELECT Aid FROM UpdateLog ORDER BY rowid");
        QStringList aids;
        while (query.next())
            aids << query.value(0).toString();
        return aids;
    }

    // The carriage box with the keyboard focus, as a click or Tab gives it.
    void focusCarriageBox()
    {
        QComboBox* combo = navi->ComboBoxInputCarriage;
        navi->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(navi));
        combo->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(combo));
    }
    // Two listings without a winner below the three rows, then the list shown again.
    void addRowsWithoutWinner()
    {
        const QVariantMap before{{"Carriage", "c0"}, {"Forwarding", "f0"}, {"Remarks", "m0"}};
        FixtureDb::addListing(navi->connection,
                              {.aid = "n1", .bidId = "", .index = 4, .extra = before});
        FixtureDb::addListing(navi->connection,
                              {.aid = "n2", .bidId = "", .index = 5, .extra = before});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QCOMPARE(navi->ListViewBid->topLevelItemCount(), 5);
    }

public slots:
    void openMail(const QUrl& url) { openedUrls << url; }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        html::setDefaultTimeout(5000);
        SitePages::serveAccount(app->site(), seller);
        {
            Database::ScopedConnection db;
            const QVariantMap before{{"Carriage", "c0"}, {"Forwarding", "f0"}, {"Remarks", "m0"}};
            FixtureDb::addListing(db.db(), {.aid = "a1",
                                            .bidId = "wa",
                                            .title = "カメラ",
                                            .price = "1200",
                                            .index = 1,
                                            .extra = before});
            FixtureDb::addListing(db.db(),
                                  {.aid = "a2", .bidId = "wa", .index = 2, .extra = before});
            FixtureDb::addListing(db.db(),
                                  {.aid = "a3", .bidId = "wb", .index = 3, .extra = before});
            FixtureDb::addMessage(db.db(), {.aid = "a1", .bidId = "wa", .number = 1});
        }
        navi = app->start();
        QCOMPARE(navi->ListViewBid->topLevelItemCount(), 3);
        openedUrls.clear();
    }
    void cleanup()
    {
        UrlOpener::setHandler(nullptr);
        app.reset();
    }

    void writeReachesTheTargetRows_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("column");
        QTest::addColumn<bool>("plural");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("carriage, same winner's other row")
            << "ButtonCarriageWrite"
            << "Carriage" << true << QStringList{"a1"} << QStringList{"a1", "a2"};
        QTest::newRow("forwarding, same winner's other row")
            << "ButtonForwardingWrite"
            << "Forwarding" << true << QStringList{"a2"} << QStringList{"a2", "a1"};
        QTest::newRow("memo, the selected row only")
            << "ButtonMemoWrite"
            << "Remarks" << true << QStringList{"a1"} << QStringList{"a1"};
        QTest::newRow("carriage, box not ticked")
            << "ButtonCarriageWrite"
            << "Carriage" << false << QStringList{"a1"} << QStringList{"a1"};
        QTest::newRow("both rows of one winner, each once")
            << "ButtonCarriageWrite"
            << "Carriage" << true << QStringList{"a1", "a2"} << QStringList{"a1", "a2"};
        QTest::newRow("two winners")
            << "ButtonForwardingWrite"
            << "Forwarding" << true << QStringList{"a3", "a2"} << QStringList{"a2", "a3", "a1"};
        QTest::newRow("nothing selected") << "ButtonCarriageWrite"
                                          << "Carriage" << true << QStringList{} << QStringList{};
    }
    void writeReachesTheTargetRows()
    {
        QFETCH(QString, button);
        QFETCH(QString, column);
        QFETCH(bool, plural);
        QFETCH(QStringList, selected);
        QFETCH(QStringList, written);
        const int subItem = column == "Carriage"     ? BidListColumns::Carriage
                            : column == "Forwarding" ? BidListColumns::Forwarding
                                                     : BidListColumns::Remarks;
        const QString before = column == "Carriage" ? "c0" : column == "Forwarding" ? "f0" : "m0";
        countUpdates();
        navi->CheckBoxMemo2PluralWrite->setChecked(plural);
        navi->ComboBoxInputCarriage->setEditText("800");
        navi->EditInputForwarding->setText("1234-5678");
        navi->EditMemoWrite->setText("同梱");
        const QString text = column == "Carriage"     ? "800"
                             : column == "Forwarding" ? "1234-5678"
                                                      : "同梱";
        select(selected);
        const int logLines = navi->ListBoxMessage->count();
        QTest::mouseClick(navi->findChild<QPushButton*>(button), Qt::LeftButton);

        QCOMPARE(updatedRows(), writeOrder(allRows, selected, written));
        for (const QString& aid : allRows) {
            const QString expected = written.contains(aid) ? text : before;
            QCOMPARE(stored(column, aid), expected);
            QCOMPARE(cell(aid, subItem), expected);
        }
        // No question, no log line; the inputs keep their text.
        QVERIFY(app->dialogs().requests().isEmpty());
        QCOMPARE(navi->ListBoxMessage->count(), logLines);
        QCOMPARE(navi->ComboBoxInputCarriage->currentText(), QString("800"));
        QCOMPARE(navi->EditMemoWrite->text(), QString("同梱"));
    }

    void refusedUpdateChangesNoRowAndNoCell()
    {
        Sql::exec(navi->connection,
                  "CREATE TRIGGER refuse BEFORE UPDATE ON T_BidData WHEN NEW.Aid='a2' "
                  "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        navi->CheckBoxMemo2PluralWrite->setChecked(true);
        navi->ComboBoxInputCarriage->setEditText("500");
        select({"a1"});
        QVERIFY_THROWS_EXCEPTION(DatabaseError, navi->listingTab().ButtonCarriageWriteClick());
        for (const QString& aid : allRows) {
            QCOMPARE(stored("Carriage", aid), QString("c0"));
            QCOMPARE(cell(aid, BidListColumns::Carriage), QString("c0"));
        }
    }

    void targetRowsOfAWrite_data()
    {
        QTest::addColumn<int>("subItem");
        QTest::addColumn<bool>("plural");
        QTest::addColumn<QList<int>>("targets");
        // Rows: 0 A, 1 b (A in other case), 2 C, 3 A selected, 4 C selected, 5 no winner,
        // 6 no winner selected.
        QTest::newRow("carriage") << int(BidListColumns::Carriage) << true
                                  << QList<int>{3, 4, 6, 0, 1, 2};
        QTest::newRow("carriage alone")
            << int(BidListColumns::Carriage) << false << QList<int>{3, 4, 6};
        QTest::newRow("memo") << int(BidListColumns::Remarks) << true << QList<int>{3, 4, 6};
        QTest::newRow("another column") << int(BidListColumns::Price) << true << QList<int>{};
    }
    void targetRowsOfAWrite()
    {
        QFETCH(int, subItem);
        QFETCH(bool, plural);
        QFETCH(QList<int>, targets);
        const QList<ColumnWrite::Row> rows{{"x1", "winnerA", false}, {"x2", "WINNERA", false},
                                           {"x3", "winnerC", false}, {"x4", "winnerA", true},
                                           {"x5", "winnerC", true},  {"x6", "", false},
                                           {"x7", "", true}};
        QCOMPARE(ColumnWrite::targetRows(rows, subItem, plural), targets);
    }

    void carriageBoxTakesOnlyDigits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::newRow("letter dropped") << "8a0"
                                        << "80";
        QTest::newRow("signs and blank dropped") << "-5 .0"
                                                 << "50";
        QTest::newRow("full-width digits dropped") << "１2３"
                                                   << "2";
        QTest::newRow("backspace kept") << "350\b"
                                        << "35";
    }
    void carriageBoxTakesOnlyDigits()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QComboBox* combo = navi->ComboBoxInputCarriage;
        focusCarriageBox();
        if (QTest::currentTestFailed())
            return;
        combo->lineEdit()->clear();
        for (QChar c : typed) {
            QWidget* focus = QApplication::focusWidget();
            if (c == u'\b')
                QTest::keyClick(focus, Qt::Key_Backspace);
            else if (c.unicode() < 0x80)
                QTest::keyClick(focus, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(c), {});
        }
        QCOMPARE(combo->currentText(), text);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(combo));
    }

    void carriageBoxInputMethodAndPaste()
    {
        QComboBox* combo = navi->ComboBoxInputCarriage;
        focusCarriageBox();
        if (QTest::currentTestFailed())
            return;
        // The input method is off where the keys arrive.
        QVERIFY(!combo->testAttribute(Qt::WA_InputMethodEnabled));
        combo->lineEdit()->clear();
        // A commit of the input method types its characters: only the digits get in.
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("1a２3円"));
        QApplication::sendEvent(QApplication::focusWidget(), &commit);
        QCOMPARE(combo->currentText(), QString("13"));
        QInputMethodEvent digits;
        digits.setCommitString(QStringLiteral("45"));
        QApplication::sendEvent(QApplication::focusWidget(), &digits);
        QCOMPARE(combo->currentText(), QString("1345"));
        QCOMPARE(CarriageKeys::carriageCommitted(QStringLiteral("x9 ８0")), QString("90"));

        // Pasted text is not filtered.
        QGuiApplication::clipboard()->setText("送料600円");
        combo->lineEdit()->clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(combo->currentText(), QString("送料600円"));
        QCOMPARE(CarriageKeys::carriageTyped(QChar(13)), CarriageKeys::Typed::Write);
        QCOMPARE(CarriageKeys::carriageTyped(QChar(8)), CarriageKeys::Typed::Keep);
        QCOMPARE(CarriageKeys::carriageTyped(QChar(0xFF12)), CarriageKeys::Typed::Discard);
    }

    // Enter in the carriage box writes what 記入 writes, to the rows 記入 reaches; rows
    // without a winner are nobody's same-winner rows.
    void carriageEnterWritesTheRows_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("plural");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("same winner's other row")
            << "Return" << true << QStringList{"a1"} << QStringList{"a1", "a2"};
        QTest::newRow("keypad Enter")
            << "Enter" << true << QStringList{"a2"} << QStringList{"a2", "a1"};
        QTest::newRow("without a winner, plural: that row only")
            << "Return" << true << QStringList{"n1"} << QStringList{"n1"};
        QTest::newRow("without a winner and a winner's row")
            << "Return" << true << QStringList{"n2", "a3"} << QStringList{"a3", "n2"};
        QTest::newRow("both rows without a winner")
            << "Return" << true << QStringList{"n1", "n2"} << QStringList{"n1", "n2"};
        QTest::newRow("box not ticked")
            << "Return" << false << QStringList{"a1"} << QStringList{"a1"};
        QTest::newRow("nothing selected") << "Return" << true << QStringList{} << QStringList{};
    }
    void carriageEnterWritesTheRows()
    {
        QFETCH(QString, key);
        QFETCH(bool, plural);
        QFETCH(QStringList, selected);
        QFETCH(QStringList, written);
        addRowsWithoutWinner();
        countUpdates();
        navi->CheckBoxMemo2PluralWrite->setChecked(plural);
        select(selected);
        QComboBox* combo = navi->ComboBoxInputCarriage;
        focusCarriageBox();
        if (QTest::currentTestFailed())
            return;
        combo->lineEdit()->clear();
        QTest::keyClicks(QApplication::focusWidget(), "8a0");
        const int items = combo->count();
        QTest::keyClick(QApplication::focusWidget(),
                        key == "Enter" ? Qt::Key_Enter : Qt::Key_Return,
                        key == "Enter" ? Qt::KeypadModifier : Qt::NoModifier);

        QCOMPARE(updatedRows(), writeOrder(rowsWithoutWinner, selected, written));
        for (const QString& aid : rowsWithoutWinner) {
            const QString expected = written.contains(aid) ? "80" : "c0";
            QCOMPARE(stored("Carriage", aid), expected);
            QCOMPARE(cell(aid, BidListColumns::Carriage), expected);
        }
        // Enter types nothing and adds no list item; the box keeps its text.
        QCOMPARE(combo->currentText(), QString("80"));
        QCOMPARE(combo->count(), items);
        QVERIFY(app->dialogs().requests().isEmpty());
    }

    // The forwarding number and the memo of a row without a winner stay on that row.
    void rowWithoutWinnerKeepsItsWrite_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("column");
        QTest::newRow("forwarding") << "ButtonForwardingWrite"
                                    << "Forwarding";
        QTest::newRow("memo") << "ButtonMemoWrite"
                              << "Remarks";
    }
    void rowWithoutWinnerKeepsItsWrite()
    {
        QFETCH(QString, button);
        QFETCH(QString, column);
        addRowsWithoutWinner();
        navi->CheckBoxMemo2PluralWrite->setChecked(true);
        navi->EditInputForwarding->setText("1234-5678");
        navi->EditMemoWrite->setText("1234-5678");
        select({"n2"});
        QTest::mouseClick(navi->findChild<QPushButton*>(button), Qt::LeftButton);
        const QString before = column == "Forwarding" ? "f0" : "m0";
        for (const QString& aid : rowsWithoutWinner)
            QCOMPARE(stored(column, aid), aid == "n2" ? QString("1234-5678") : before);
    }

    void forwardingEnterWrites()
    {
        select({"a3"});
        navi->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(navi));
        navi->EditInputForwarding->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(navi->EditInputForwarding));
        navi->EditInputForwarding->clear();
        QTest::keyClicks(QApplication::focusWidget(), "9999");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(stored("Forwarding", "a3"), QString("9999"));
        QCOMPARE(cell("a3", BidListColumns::Forwarding), QString("9999"));
        QCOMPARE(navi->EditInputForwarding->text(), QString("9999"));
        // Alt+Down from the keyboard opens the suggestions.
        navi->fillComboBox({"ゆうパック"}, navi->ComboBoxInputForwarding);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(navi->ComboBoxInputForwarding->view()->isVisible());
        navi->ComboBoxInputForwarding->hidePopup();
    }

    void forwardingSuggestions()
    {
        QComboBox* combo = navi->ComboBoxInputForwarding;
        navi->fillComboBox({"ゆうパック", "クロネコ"}, combo);
        combo->setCurrentIndex(0);
        QLineEdit* edit = navi->EditInputForwarding;
        edit->setText("1234");

        // Alt+Down opens the list; the index it opened with is kept.
        QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(combo->view()->isVisible());
        QCOMPARE(navi->listingTab().forwardingComboIndex, 0);
        combo->hidePopup();
        // The same item again (activated comes for it too) keeps the typed text.
        emit combo->activated(0);
        QCOMPARE(edit->text(), QString("1234"));

        combo->showPopup();
        QTRY_VERIFY(combo->view()->isVisible());
        combo->setCurrentIndex(1);
        combo->hidePopup();
        emit combo->activated(1);
        QCOMPARE(edit->text(), QString("クロネコ"));
        QCOMPARE(edit->cursorPosition(), 4);
        QCOMPARE(edit->selectedText(), QString());

        QVERIFY(CarriageKeys::forwardingTakesItem(0, 1));
        QVERIFY(!CarriageKeys::forwardingTakesItem(1, 1));
        QVERIFY(!CarriageKeys::forwardingTakesItem(1, -1));
    }

    void inputsAndPanelsAreLaidOut()
    {
        QCOMPARE(navi->ButtonCarriageWrite->text(), QString("記入"));
        QCOMPARE(navi->ButtonForwardingWrite->text(), QString("記入"));
        QCOMPARE(navi->ButtonCarriageWrite->toolTip(), QString("選択行に送料を書き込む"));
        QCOMPARE(navi->ButtonForwardingWrite->toolTip(), QString("選択行に発送番号を書き込む"));
        QCOMPARE(navi->LabelMemoWrite->text(), QString("メモ："));
        QCOMPARE(navi->ButtonMemoWrite->text(), QString("書き込む"));
        QCOMPARE(navi->ButtonMemoWrite->toolTip(), QString("選択行にメモを書き込む"));
        QCOMPARE(navi->ToolButtonPanelMemoWriteClose->toolTip(), QString("メモ入力パネルを閉じる"));
        QCOMPARE(navi->ToolButtonPanelBidNaviListClose->toolTip(), QString("ナビパネルを閉じる"));
        // The forwarding edit covers the combo box's text area, inside the combo box.
        QCOMPARE(navi->EditInputForwarding->parentWidget(), navi->ComboBoxInputForwarding);
        QVERIFY(
            navi->ComboBoxInputForwarding->rect().contains(navi->EditInputForwarding->geometry()));
        QVERIFY(navi->EditInputForwarding->width() > navi->ComboBoxInputForwarding->width() / 2);
        // The memo panel stands right below the list-search panel, above the splitter.
        QWidget* pane = navi->PanelBidListFind->parentWidget();
        QCOMPARE(navi->PanelMemoWrite->parentWidget(), pane);
        QCOMPARE(pane->layout()->indexOf(navi->PanelMemoWrite),
                 pane->layout()->indexOf(navi->PanelBidListFind) + 1);
        QCOMPARE(pane->parentWidget(), static_cast<QWidget*>(navi->SplitterBid));

        // A click on the label puts the focus into the memo edit.
        navi->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(navi));
        navi->ListViewBid->setFocus();
        QTest::mouseClick(navi->LabelMemoWrite, Qt::LeftButton);
        QTRY_VERIFY(navi->EditMemoWrite->hasFocus());
    }

    void copiesOfTheCurrentRow_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text");
        QTest::newRow("auction id") << "ActionCopyAuctionId"
                                    << "a1";
        QTest::newRow("title") << "ActionCopyTitle"
                               << "カメラ";
        QTest::newRow("winner") << "ActionCopyBidId"
                                << "wa";
        QTest::newRow("price") << "ActionCopyPrice"
                               << "1200";
        QTest::newRow("forwarding") << "ActionCopyForwarding"
                                    << "f0";
        QTest::newRow("memo") << "ActionCopyMemo"
                              << "m0";
    }
    void copiesOfTheCurrentRow()
    {
        QFETCH(QString, command);
        QFETCH(QString, text);
        QAction* copy = navi->action(command);
        QVERIFY(copy->isEnabled());
        // Before any row was chosen a copy does nothing.
        QGuiApplication::clipboard()->setText("before");
        QVERIFY(!navi->listingTab().currentBidItem);
        copy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("before"));

        navi->ListViewBid->setCurrentItem(row("a1"));
        QTRY_COMPARE(navi->listingTab().currentBidItem, row("a1"));
        copy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
    }

    void copyOfACellWithLineBreaksKeepsThem_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("title") << "ActionCopyTitle"
                               << "Title"
                               << "カメラ\r\n付属品つき";
        QTest::newRow("memo") << "ActionCopyMemo"
                              << "Remarks"
                              << "要連絡\r\n再送済み";
    }
    void copyOfACellWithLineBreaksKeepsThem()
    {
        QFETCH(QString, command);
        QFETCH(QString, column);
        QFETCH(QString, text);
        Sql::exec(navi->connection, "UPDATE T_BidData SET " + column + "=:TEXT WHERE Aid='a1'",
                  {{":TEXT", text}});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        BidListView* list = navi->ListViewBid;
        QCOMPARE(list->bidItem(0), row("a1"));
        // The list draws the cell on one line, and so every row stays one line tall.
        const QModelIndex first = list->model()->index(
            0, BidListColumns::column(column == "Title" ? BidListColumns::Title
                                                        : BidListColumns::Remarks));
        QVERIFY(!first.data().toString().contains('\n'));
        QCOMPARE(list->visualRect(first).height(), list->sizeHintForRow(1));
        list->setCurrentItem(row("a1"));
        QTRY_COMPARE(navi->listingTab().currentBidItem, row("a1"));
        navi->action(command)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
    }

    void copyOfAnEmptyCellEmptiesTheClipboard()
    {
        navi->ListViewBid->setCurrentItem(row("a1"));
        QTRY_COMPARE(navi->listingTab().currentBidItem, row("a1"));
        QGuiApplication::clipboard()->setText("before");
        QCOMPARE(navi->action("ActionCopyBidName")->shortcut(), QKeySequence("Ctrl+4"));
        navi->action("ActionCopyBidName")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }

    void mailProgramGetsTheWholeAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("plain") << "buyer@example.jp";
        QTest::newRow("query marks stay in the address") << "buyer@example.jp?cc=spy@example.jp";
        QTest::newRow("ampersand and hash") << "a&b@example.jp#body=x";
    }
    void mailProgramGetsTheWholeAddress()
    {
        QFETCH(QString, address);
        UrlOpener::setHandler([this](const QUrl& url) {
            openMail(url);
            return true;
        });
        navi->EditBidMail->setText(address);
        QAction* mailer = navi->action("ActionMailerStart");
        QVERIFY(mailer->isEnabled());
        QCOMPARE(mailer->shortcut(), QKeySequence("Ctrl+Shift+M"));
        mailer->trigger();
        QCOMPARE(openedUrls.size(), 1);
        const QUrl url = openedUrls.first();
        QCOMPARE(url.scheme(), QString("mailto"));
        QCOMPARE(url.path(QUrl::FullyDecoded), address);
        QVERIFY(!url.hasQuery());
        QVERIFY(!url.hasFragment());
        // Read back from its text, the address is still whole.
        QCOMPARE(QUrl(url.toString(QUrl::FullyEncoded)).path(QUrl::FullyDecoded), address);
    }

    void addressOfSeveralRecipientsIsRefused_data() { MailAddressRows::addSeveralRecipients(); }
    void addressOfSeveralRecipientsIsRefused()
    {
        QFETCH(QString, address);
        UrlOpener::setHandler([this](const QUrl& url) {
            openMail(url);
            return true;
        });
        navi->EditBidMail->setText(address);
        QCOMPARE(navi->EditBidMail->text(), address);
        navi->action("ActionMailerStart")->trigger();
        QVERIFY(openedUrls.isEmpty());
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::Warning);
        QCOMPARE(app->dialogs().requests()[0].caption, MailRecipient::refusalCaption);
        QCOMPARE(app->dialogs().requests()[0].text, MailRecipient::refusalText);
    }

    void noMailProgramForAnEmptyAddress()
    {
        UrlOpener::setHandler([this](const QUrl& url) {
            openMail(url);
            return true;
        });
        navi->EditBidMail->clear();
        navi->action("ActionMailerStart")->trigger();
        QVERIFY(openedUrls.isEmpty());
        QVERIFY(mailtoUrl(QString()).isEmpty());
    }

    void panelCommandsAndCloseButtons_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("closeButton");
        QTest::addColumn<QString>("key");
        QTest::newRow("bidder panel") << "ActionShowBidInfo"
                                      << "PanelBid"
                                      << "ToolButtonPanelBidClose"
                                      << "F4";
        QTest::newRow("memo panel") << "ActionShowMemoWrite"
                                    << "PanelMemoWrite"
                                    << "ToolButtonPanelMemoWriteClose"
                                    << "F5";
        QTest::newRow("message panel") << "ActionShowBidNaviPanel"
                                       << "PanelBidNavi"
                                       << "ToolButtonPanelBidNaviListClose"
                                       << "F6";
    }
    void panelCommandsAndCloseButtons()
    {
        QFETCH(QString, command);
        QFETCH(QString, panel);
        QFETCH(QString, closeButton);
        QFETCH(QString, key);
        QAction* show = navi->action(command);
        QWidget* shownPanel = navi->findChild<QWidget*>(panel);
        QVERIFY(show->isEnabled());
        QVERIFY(show->isCheckable());
        QCOMPARE(show->shortcut(), QKeySequence(key));
        const bool at = show->isChecked();
        QCOMPARE(!shownPanel->isHidden(), at);
        show->trigger();
        QCOMPARE(show->isChecked(), !at);
        QCOMPARE(!shownPanel->isHidden(), !at);
        if (!show->isChecked())
            show->trigger();
        QVERIFY(!shownPanel->isHidden());
        auto* close = navi->findChild<QToolButton*>(closeButton);
        // The panel is laid out once the events run.
        QTRY_VERIFY(close->height() > 0);
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!show->isChecked());
        QVERIFY(shownPanel->isHidden());
    }

    void messagePanelLoadsTheSelectedRow()
    {
        QVERIFY(!navi->ActionShowBidNaviPanel->isChecked());
        select({"a1"});
        QTRY_COMPARE(navi->EditBidId->text(), QString("wa"));
        navi->ActionShowBidNaviPanel->trigger();
        QVERIFY(!navi->PanelBidNavi->isHidden());
        QCOMPARE(navi->EditBidAid->text(), QString("a1"));
        QCOMPARE(navi->ListViewBidNavi->topLevelItemCount(), 1);
        QVERIFY(navi->MainMenuNavi->isEnabled());
        // The find panel's line shows only with the message panel on and the memo panel off.
        navi->ActionShowMemoWrite->setChecked(true);
        navi->listingTab().ActionShowMemoWriteExecute();
        QVERIFY(navi->PanelBidListFind->ShapeBidListFind->isHidden());
        navi->ActionShowMemoWrite->trigger();
        QVERIFY(!navi->PanelBidListFind->ShapeBidListFind->isHidden());
        navi->ActionShowBidNaviPanel->trigger();
        QVERIFY(navi->PanelBidNavi->isHidden());
        QVERIFY(!navi->MainMenuNavi->isEnabled());
        QVERIFY(navi->PanelBidListFind->ShapeBidListFind->isHidden());
    }

    void statusBarClickTogglesTheChosenPanel_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("panel");
        QTest::newRow("bidder panel, bar") << 0 << "StatusBar"
                                           << "PanelBid";
        QTest::newRow("memo panel, bar") << 1 << "StatusBar"
                                         << "PanelMemoWrite";
        QTest::newRow("memo panel, text panel") << 1 << "StatusBarPanel1"
                                                << "PanelMemoWrite";
        QTest::newRow("memo panel, progress bar") << 1 << "ProgressBar"
                                                  << "PanelMemoWrite";
        QTest::newRow("message panel, second progress bar") << 2 << "ProgressBar2"
                                                            << "PanelBidNavi";
        QTest::newRow("other value") << 3 << "StatusBar"
                                     << "";
        QTest::newRow("negative value") << -1 << "ProgressBar"
                                        << "";
    }
    void statusBarClickTogglesTheChosenPanel()
    {
        QFETCH(int, operation);
        QFETCH(QString, target);
        QFETCH(QString, panel);
        navi->options.operationStatusBarClick = operation;
        const QList<QWidget*> panels{navi->PanelBid, navi->PanelMemoWrite, navi->PanelBidNavi};
        const QList<QAction*> commands{navi->ActionShowBidInfo, navi->ActionShowMemoWrite,
                                       navi->ActionShowBidNaviPanel};
        QList<bool> before;
        for (QWidget* shown : panels)
            before << !shown->isHidden();
        QWidget* clicked = target == "StatusBar" ? navi->statusBar()
                                                 : navi->statusBar()->findChild<QWidget*>(target);
        QVERIFY(clicked);
        QTest::mouseClick(clicked, Qt::LeftButton, {}, QPoint(3, 3));
        for (int i = 0; i < panels.size(); ++i) {
            const bool toggled = panels[i]->objectName() == panel;
            QCOMPARE(!panels[i]->isHidden(), toggled ? !before[i] : before[i]);
            QCOMPARE(commands[i]->isChecked(), !panels[i]->isHidden());
        }
        QCOMPARE(statusBarClickPanel(operation) == SidePanel::None, panel.isEmpty());
    }
};

QTEST_MAIN(TestMemo)
#include "test_memo.moc"
