#include "views/BidListColumns.h"
#include "views/BidListFindPanel.h"
#include "views/BidListView.h"
#include "views/ListSearch.h"
#include "views/ListSearchView.h"
#include "views/RadioButtonGroup.h"
#include "views/UnitNaviFind.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using ListSearch::BodyHit;
using ListSearch::PaneState;

Q_DECLARE_METATYPE(std::optional<ListSearch::BodyHit>)

namespace {

// A row source over fixed texts that records the order in which rows are examined.
struct Rows
{
    QStringList texts;
    mutable QList<int> visited;
    ListSearch::RowText cell() const
    {
        return [this](int row) {
            visited << row;
            return texts.at(row);
        };
    }
};

QStringList rowsMatching(int count, const QList<int>& matching)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << (matching.contains(i) ? QStringLiteral("hit%1").arg(i) : QStringLiteral("-"));
    return texts;
}

// A message list whose column 7 (sub-item 6) holds CR LF message texts.
void fillMessages(QTreeWidget& list, const QStringList& messages)
{
    list.setColumnCount(8);
    for (const QString& message : messages) {
        auto* item = new QTreeWidgetItem(&list);
        item->setText(7, message);
    }
}

QString shown(const QString& crlf)
{
    QString text = crlf;
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

class TestListSearch : public QObject
{
    Q_OBJECT

private slots:
    void nextExaminesRowsAfterStartThenWraps_data();
    void nextExaminesRowsAfterStartThenWraps();
    void previousExaminesRowsBeforeSelectionThenWraps_data();
    void previousExaminesRowsBeforeSelectionThenWraps();
    void searchSequences_data();
    void searchSequences();
    void matchesWholeCharactersCaseSensitively_data();
    void matchesWholeCharactersCaseSensitively();
    void bodyNext_data();
    void bodyNext();
    void bodyPrevious_data();
    void bodyPrevious();
    void convertsOffsetsBetweenCrlfAndShownText_data();
    void convertsOffsetsBetweenCrlfAndShownText();

    void bodySearchFillsPaneAtOnceAndSelectsHit();
    void bodySearchVisitsOccurrencesAfterCaretInTurn();
    void listingFindSelectsRowAndPreviousCoversRowZero();
    void findPanelKeys();
    void findPanelColumnAndFindCommand();
    void findDialogStartsDownwardWithKeptTextAndTarget();
    void findDialogEditSelectsAllOnCtrlClickAndCtrlA();
    void findDialogOkStoresAndSearchesInChosenDirection();
    void findDialogCancelChangesNothing();
};

void TestListSearch::nextExaminesRowsAfterStartThenWraps_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("order");

    QTest::newRow("no selection starts at row 1") << 5 << -1 << QList<int>{1, 2, 3, 4, 0};
    QTest::newRow("from row 2") << 5 << 2 << QList<int>{3, 4, 0, 1, 2};
    QTest::newRow("from last row") << 5 << 4 << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("one row") << 1 << 0 << QList<int>{0};
    QTest::newRow("empty list") << 0 << -1 << QList<int>{};
}

void TestListSearch::nextExaminesRowsAfterStartThenWraps()
{
    QFETCH(int, rowCount);
    QFETCH(int, start);
    QFETCH(QList<int>, order);

    Rows rows{rowsMatching(rowCount, {})};
    QCOMPARE(ListSearch::findNextRow(rowCount, start, rows.cell(), "hit"), -1);
    QCOMPARE(rows.visited, order);
}

void TestListSearch::previousExaminesRowsBeforeSelectionThenWraps_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QList<int>>("order");

    QTest::newRow("no selection: every row from the last") << 5 << -1 << QList<int>{4, 3, 2, 1, 0};
    QTest::newRow("from row 2, itself not examined") << 5 << 2 << QList<int>{1, 0, 4, 3};
    QTest::newRow("from row 0") << 5 << 0 << QList<int>{4, 3, 2, 1};
    QTest::newRow("one row selected") << 1 << 0 << QList<int>{};
}

void TestListSearch::previousExaminesRowsBeforeSelectionThenWraps()
{
    QFETCH(int, rowCount);
    QFETCH(int, selected);
    QFETCH(QList<int>, order);

    Rows rows{rowsMatching(rowCount, {})};
    QCOMPARE(ListSearch::findPreviousRow(rowCount, selected, rows.cell(), "hit"), -1);
    QCOMPARE(rows.visited, order);
}

void TestListSearch::searchSequences_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QList<int>>("matching");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QList<int>>("hits"); // the rows selected by repeated searches

    QTest::newRow("no selection, rows 0 and 3: next gives 3 then 0")
        << 5 << QList<int>{0, 3} << -1 << true << QList<int>{3, 0, 3};
    QTest::newRow("only the selected row matches: next finds it again")
        << 5 << QList<int>{2} << 2 << true << QList<int>{2, 2};
    QTest::newRow("only the selected row matches: previous finds nothing")
        << 5 << QList<int>{2} << 2 << false << QList<int>{-1};
    QTest::newRow("row 5 of 10, matches 6 and 1: previous gives 1 then 6")
        << 10 << QList<int>{6, 1} << 5 << false << QList<int>{1, 6, 1};
    QTest::newRow("no selection: previous starts from the last row")
        << 10 << QList<int>{2, 8} << -1 << false << QList<int>{8, 2};
    QTest::newRow("no selection: previous reaches row 0")
        << 4 << QList<int>{0} << -1 << false << QList<int>{0};
}

void TestListSearch::searchSequences()
{
    QFETCH(int, rowCount);
    QFETCH(QList<int>, matching);
    QFETCH(int, selected);
    QFETCH(bool, forward);
    QFETCH(QList<int>, hits);

    Rows rows{rowsMatching(rowCount, matching)};
    int current = selected;
    for (int expected : hits) {
        const int hit = forward
                            ? ListSearch::findNextRow(rowCount, current, rows.cell(), "hit")
                            : ListSearch::findPreviousRow(rowCount, current, rows.cell(), "hit");
        QCOMPARE(hit, expected);
        if (hit >= 0)
            current = hit;
    }
}

void TestListSearch::matchesWholeCharactersCaseSensitively_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("first");

    const QString smile = QString::fromUtf8("😀");
    QTest::newRow("plain") << "abcabc"
                           << "bc" << 1;
    QTest::newRow("case matters") << "ABC"
                                  << "abc" << -1;
    QTest::newRow("full-width case matters") << "ＡＢＣ"
                                             << "ａｂｃ" << -1;
    QTest::newRow("empty text matches nothing") << "abc"
                                                << "" << -1;
    QTest::newRow("japanese") << "こんにちは世界"
                              << "世界" << 5;
    QTest::newRow("surrogate pair whole") << "a" + smile + "b" << smile << 1;
    QTest::newRow("not the low half of a pair")
        << "a" + smile + "b" << QString(smile.at(1)) + "b" << -1;
    QTest::newRow("not the high half of a pair") << "a" + smile << QString("a") + smile.at(0) << -1;
    QTest::newRow("x100 in x1000 as substring") << "x1000"
                                                << "x100" << 0;
}

void TestListSearch::matchesWholeCharactersCaseSensitively()
{
    QFETCH(QString, cell);
    QFETCH(QString, text);
    QFETCH(int, first);

    QCOMPARE(int(ListSearch::indexOf(cell, text)), first);
    QCOMPARE(int(ListSearch::lastIndexOf(cell, text)) >= 0, first >= 0);
}

void TestListSearch::bodyNext_data()
{
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<std::optional<BodyHit>>("hit");

    const QStringList messages{"abc", "xx\r\nkey one key", "none", "key\r\nkey"};
    QTest::newRow("no selection: rows from 0, offset after CR LF")
        << messages << -1 << 0 << 0 << std::optional(BodyHit{1, 4, 3, false});
    QTest::newRow("in the shown message after the selection")
        << messages << 1 << 4 << 3 << std::optional(BodyHit{1, 12, 3, true});
    QTest::newRow("from the caret in the shown message")
        << messages << 1 << 0 << 0 << std::optional(BodyHit{1, 4, 3, true});
    QTest::newRow("past the last occurrence: the next row from its start")
        << messages << 1 << 12 << 3 << std::optional(BodyHit{3, 0, 3, false});
    QTest::newRow("wraps to row 0 and skips the selected row")
        << QStringList{"key", "no", "key"} << 2 << 0 << 3 << std::optional(BodyHit{0, 0, 3, false});
    QTest::newRow("text only before the caret and nowhere else")
        << QStringList{"no", "key here", "no"} << 1 << 5 << 0 << std::optional<BodyHit>();
}

void TestListSearch::bodyNext()
{
    QFETCH(QStringList, messages);
    QFETCH(int, selected);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(std::optional<BodyHit>, hit);

    Rows rows{messages};
    const PaneState pane{selected >= 0 ? messages.at(selected) : QString(), selectionStart,
                         selectionLength};
    QCOMPARE(ListSearch::findBodyNext(int(messages.size()), selected, pane, rows.cell(), "key"),
             hit);
}

void TestListSearch::bodyPrevious_data()
{
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<std::optional<BodyHit>>("hit");

    const QStringList messages{"key\r\nkey", "none", "key a key", "no"};
    QTest::newRow("no selection: the last row backward, its last occurrence")
        << messages << -1 << 0 << 0 << std::optional(BodyHit{2, 6, 3, false});
    QTest::newRow("caret at 0: the shown message from its end")
        << messages << 2 << 0 << 0 << std::optional(BodyHit{2, 6, 3, true});
    QTest::newRow("before the selection in the shown message")
        << messages << 2 << 6 << 3 << std::optional(BodyHit{2, 0, 3, true});
    QTest::newRow("selection at 0: the rows before, last occurrence after CR LF")
        << messages << 2 << 0 << 3 << std::optional(BodyHit{0, 5, 3, false});
    QTest::newRow("row 0 wraps to the last rows")
        << messages << 0 << 0 << 3 << std::optional(BodyHit{2, 6, 3, false});
    QTest::newRow("no occurrence anywhere")
        << QStringList{"a", "b"} << 1 << 0 << 0 << std::optional<BodyHit>();
}

void TestListSearch::bodyPrevious()
{
    QFETCH(QStringList, messages);
    QFETCH(int, selected);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(std::optional<BodyHit>, hit);

    Rows rows{messages};
    const PaneState pane{selected >= 0 ? messages.at(selected) : QString(), selectionStart,
                         selectionLength};
    QCOMPARE(ListSearch::findBodyPrevious(int(messages.size()), selected, pane, rows.cell(), "key"),
             hit);
}

void TestListSearch::convertsOffsetsBetweenCrlfAndShownText_data()
{
    QTest::addColumn<QString>("crlf");
    QTest::addColumn<int>("crlfOffset");
    QTest::addColumn<int>("shownOffset");

    QTest::newRow("first line") << "ab\r\ncd" << 1 << 1;
    QTest::newRow("after one break") << "ab\r\ncd" << 4 << 3;
    QTest::newRow("after two breaks") << "a\r\n\r\nb" << 5 << 3;
    QTest::newRow("end of text") << "ab\r\ncd" << 6 << 5;
}

void TestListSearch::convertsOffsetsBetweenCrlfAndShownText()
{
    QFETCH(QString, crlf);
    QFETCH(int, crlfOffset);
    QFETCH(int, shownOffset);

    QCOMPARE(int(ListSearch::crlfToShownOffset(crlf, crlfOffset)), shownOffset);
    QCOMPARE(int(ListSearch::shownToCrlfOffset(crlf, shownOffset)), crlfOffset);
}

void TestListSearch::bodySearchFillsPaneAtOnceAndSelectsHit()
{
    QTreeWidget list;
    QPlainTextEdit pane;
    fillMessages(list, {"first\r\nline", "こんにちは\r\n\r\n本日発送しました"});
    int fills = 0;
    const auto showSelected = [&] {
        ++fills;
        pane.setPlainText(shown(list.currentItem()->text(7)));
    };

    QVERIFY(ListSearchView::findInMessages(&list, 6, &pane, "発送", true, showSelected));
    QCOMPARE(fills, 1);
    QCOMPARE(ListSearchView::selectedRow(&list), 1);
    QCOMPARE(pane.textCursor().selectedText(), QString("発送"));
    QCOMPARE(pane.textCursor().selectionStart(), 9);

    QVERIFY(!ListSearchView::findInMessages(&list, 6, &pane, "見つからない", true, showSelected));
    QCOMPARE(ListSearchView::selectedRow(&list), 1);
    QCOMPARE(pane.textCursor().selectedText(), QString("発送"));
}

void TestListSearch::bodySearchVisitsOccurrencesAfterCaretInTurn()
{
    QTreeWidget list;
    QPlainTextEdit pane;
    fillMessages(list, {"key", "a key\r\nb key", "none"});
    const auto showSelected = [&] { pane.setPlainText(shown(list.currentItem()->text(7))); };
    ListSearchView::selectFoundRow(&list, 1);
    showSelected();

    QVERIFY(ListSearchView::findInMessages(&list, 6, &pane, "key", true, showSelected));
    QCOMPARE(pane.textCursor().selectionStart(), 2);
    QVERIFY(ListSearchView::findInMessages(&list, 6, &pane, "key", true, showSelected));
    QCOMPARE(pane.textCursor().selectionStart(), 8);
    QCOMPARE(ListSearchView::selectedRow(&list), 1);
    QVERIFY(ListSearchView::findInMessages(&list, 6, &pane, "key", true, showSelected));
    QCOMPARE(ListSearchView::selectedRow(&list), 0);
    QCOMPARE(pane.textCursor().selectionStart(), 0);

    QVERIFY(ListSearchView::findInMessages(&list, 6, &pane, "key", false, showSelected));
    QCOMPARE(ListSearchView::selectedRow(&list), 1);
    QCOMPARE(pane.textCursor().selectionStart(), 8);
    QCOMPARE(pane.textCursor().selectedText(), QString("key"));
}

void TestListSearch::listingFindSelectsRowAndPreviousCoversRowZero()
{
    BidListView view;
    QList<BidListQuery::Row> rows;
    for (const char* title : {"赤い本", "青い箱", "赤い箱"}) {
        BidListQuery::Row row;
        for (int c = 0; c < BidListColumns::ColumnCount; ++c)
            row.cells << QString();
        row.cells[BidListColumns::column(BidListColumns::Title)] = title;
        rows << row;
    }
    view.fill(rows);

    QVERIFY(ListSearchView::findPreviousInList(&view, BidListColumns::Title, "赤い本"));
    QCOMPARE(ListSearchView::selectedRow(&view), 0);
    QCOMPARE(view.selectedItems().size(), 1);
    QVERIFY(ListSearchView::findNextInList(&view, BidListColumns::Title, "赤"));
    QCOMPARE(ListSearchView::selectedRow(&view), 2);
    QVERIFY(ListSearchView::findNextInList(&view, BidListColumns::Title, "赤"));
    QCOMPARE(ListSearchView::selectedRow(&view), 0);
    QVERIFY(!ListSearchView::findNextInList(&view, BidListColumns::Title, ""));
    QVERIFY(!ListSearchView::findNextInList(&view, BidListColumns::Title, "緑"));
    QCOMPARE(ListSearchView::selectedRow(&view), 0);
}

void TestListSearch::findPanelKeys()
{
    QWidget window;
    auto* panel = new BidListFindPanel(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    panel->ActionNaviFindExecute();
    QVERIFY(panel->isVisible());
    QSignalSpy next(panel, &BidListFindPanel::findNextRequested);
    QSignalSpy previous(panel, &BidListFindPanel::findPreviousRequested);

    QTest::keyClick(panel->EditBidListFind, Qt::Key_Return);
    QTest::keyClick(panel->ComboBoxBidListFind, Qt::Key_Enter);
    QTest::keyClick(panel->EditBidListFind, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(next.count(), 2);
    QCOMPARE(previous.count(), 1);

    QTest::keyClick(panel->ComboBoxBidListFind, Qt::Key_Escape);
    QVERIFY(!panel->isVisible());
}

void TestListSearch::findPanelColumnAndFindCommand()
{
    QWidget window;
    auto* other = new QLineEdit(&window);
    auto* panel = new BidListFindPanel(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QCOMPARE(panel->ComboBoxBidListFind->currentText(), QString("商品名"));
    QCOMPARE(panel->findSubItem(), int(BidListColumns::Title));
    panel->ComboBoxBidListFind->setCurrentIndex(3);
    QCOMPARE(panel->findSubItem(), int(BidListColumns::Name));
    panel->ComboBoxBidListFind->setCurrentIndex(0);
    QCOMPARE(panel->findSubItem(), int(BidListColumns::Aid));

    panel->EditBidListFind->setText("x100");
    QVERIFY(panel->ActionNaviFindExecute());
    QTRY_VERIFY(panel->EditBidListFind->hasFocus());
    QCOMPARE(panel->EditBidListFind->selectedText(), QString("x100"));

    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QVERIFY(panel->ActionNaviFindExecute());
    QTRY_VERIFY(panel->EditBidListFind->hasFocus());
    QVERIFY(!panel->ActionNaviFindExecute());
    QVERIFY(!panel->isVisible());
}

void TestListSearch::findDialogStartsDownwardWithKeptTextAndTarget()
{
    QString text = "前回";
    int target = TFormNaviFind::TargetName;
    TFormNaviFind dialog(nullptr, text, target, {}, {});
    QCOMPARE(dialog.windowTitle(), QString("ナビ検索"));
    QCOMPARE(dialog.EditFind->text(), QString("前回"));
    QCOMPARE(dialog.RadioGroupSearchObject->itemIndex(), int(TFormNaviFind::TargetName));
    QCOMPARE(dialog.RadioGroup->itemIndex(), 1);
    QCOMPARE(dialog.RadioGroup->item(1)->text(), QString("下方向"));
    QVERIFY(dialog.ButtonOK->isDefault());
}

void TestListSearch::findDialogEditSelectsAllOnCtrlClickAndCtrlA()
{
    QString text = "発送番号";
    int target = TFormNaviFind::TargetBody;
    TFormNaviFind dialog(nullptr, text, target, {}, {});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.EditFind->setCursorPosition(0);
    QTest::mouseClick(dialog.EditFind, Qt::LeftButton, Qt::ControlModifier, QPoint(3, 5));
    QCOMPARE(dialog.EditFind->selectedText(), QString("発送番号"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog.EditFind));
    dialog.EditFind->deselect();
    dialog.ActionAllSelect->trigger();
    QCOMPARE(dialog.EditFind->selectedText(), QString("発送番号"));
}

void TestListSearch::findDialogOkStoresAndSearchesInChosenDirection()
{
    QString text;
    int target = TFormNaviFind::TargetBody;
    QStringList calls;
    TFormNaviFind dialog(
        nullptr, text, target, [&] { calls << QString("next:%1:%2").arg(text).arg(target); },
        [&] { calls << QString("previous:%1:%2").arg(text).arg(target); });
    dialog.EditFind->setText("発送");
    dialog.RadioGroupSearchObject->setItemIndex(TFormNaviFind::TargetTitle);
    dialog.RadioGroup->setItemIndex(0);
    dialog.ButtonOK->click();
    QCOMPARE(calls, QStringList({"previous:発送:1"}));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    TFormNaviFind again(
        nullptr, text, target, [&] { calls << "next"; }, [&] { calls << "previous"; });
    QCOMPARE(again.RadioGroup->itemIndex(), 1);
    again.ButtonOK->click();
    QCOMPARE(calls.last(), QString("next"));
}

void TestListSearch::findDialogCancelChangesNothing()
{
    QString text = "元";
    int target = TFormNaviFind::TargetAid;
    bool searched = false;
    TFormNaviFind dialog(
        nullptr, text, target, [&] { searched = true; }, [&] { searched = true; });
    dialog.EditFind->setText("新");
    dialog.RadioGroupSearchObject->setItemIndex(TFormNaviFind::TargetBody);
    dialog.ButtonCancel->click();
    QCOMPARE(text, QString("元"));
    QCOMPARE(target, int(TFormNaviFind::TargetAid));
    QVERIFY(!searched);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestListSearch)
#include "test_listsearch.moc"
