// Selecting a control's whole content: Ctrl+A by the kind of the focused control, and the
// Ctrl+click on an edit.
#include "platform/CtrlClickSelect.h"
#include "platform/SelectAll.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

Q_DECLARE_METATYPE(SelectAll::Kinds)

namespace {

// What a control of the window shows as selected: the text, or the number of selected rows.
QString selection(QWidget* control)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->selectedText();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
        return memo->textCursor().selectedText();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->lineEdit()->selectedText();
    if (auto* list = qobject_cast<QTreeWidget*>(control))
        return QString::number(list->selectedItems().size()) + " rows";
    return QString();
}

// A window with one control of each kind, nested in a panel as the windows have them.
struct KindsWindow
{
    QWidget window;
    QLineEdit* edit;
    QLineEdit* readOnlyEdit;
    QPlainTextEdit* memo;
    QPlainTextEdit* readOnlyMemo;
    QComboBox* combo;
    QTreeWidget* list;

    KindsWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        auto* panel = new QWidget(&window);
        auto* row = new QHBoxLayout(panel);
        layout->addWidget(panel);
        edit = new QLineEdit("山田太郎", panel);
        readOnlyEdit = new QLineEdit("a1001", panel);
        readOnlyEdit->setReadOnly(true);
        row->addWidget(edit);
        row->addWidget(readOnlyEdit);
        memo = new QPlainTextEdit("本文\n二行目", &window);
        readOnlyMemo = new QPlainTextEdit("返信元", &window);
        readOnlyMemo->setReadOnly(true);
        combo = new QComboBox(&window);
        combo->setEditable(true);
        combo->setEditText("手入力");
        list = new QTreeWidget(&window);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        for (int i = 0; i < 3; ++i)
            list->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::number(i)}));
        for (QWidget* control : std::initializer_list<QWidget*>{memo, readOnlyMemo, combo, list})
            layout->addWidget(control);
    }

    QWidget* control(const QString& name) const
    {
        const std::pair<const char*, QWidget*> controls[] = {
            {"edit", edit}, {"readOnlyEdit", readOnlyEdit}, {"memo", memo},
            {"readOnlyMemo", readOnlyMemo}, {"combo", combo}, {"list", list}};
        for (const auto& [key, widget] : controls)
            if (name == QLatin1String(key))
                return widget;
        return nullptr;
    }

    void clearSelections()
    {
        edit->deselect();
        readOnlyEdit->deselect();
        combo->lineEdit()->deselect();
        for (QPlainTextEdit* text : {memo, readOnlyMemo}) {
            QTextCursor cursor = text->textCursor();
            cursor.clearSelection();
            text->setTextCursor(cursor);
        }
        list->clearSelection();
    }
};

void focusIn(QWidget* control)
{
    QWidget* window = control->window();
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    control->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), control);
}

} // namespace

class TestTextSelect : public QObject
{
    Q_OBJECT

private slots:
    void selectsAllInTheFocusedControlOfTheNamedKinds_data()
    {
        QTest::addColumn<QString>("focused");
        QTest::addColumn<SelectAll::Kinds>("kinds");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QString>("selected");

        const SelectAll::Kinds edits = SelectAll::LineEdits | SelectAll::PlainTexts;
        QTest::newRow("line edit") << "edit" << edits << true << "山田太郎";
        QTest::newRow("read-only line edit") << "readOnlyEdit" << edits << true << "a1001";
        // The widget hands a line break over as the paragraph separator.
        QTest::newRow("plain text edit")
            << "memo" << edits << true << QString("本文") + QChar(0x2029) + "二行目";
        QTest::newRow("read-only plain text edit") << "readOnlyMemo" << edits << true << "返信元";
        QTest::newRow("line edit, memos only")
            << "edit" << SelectAll::Kinds(SelectAll::PlainTexts) << false << "";
        QTest::newRow("plain text edit, edits only")
            << "memo" << SelectAll::Kinds(SelectAll::LineEdits) << false << "";
        QTest::newRow("editable combo box")
            << "combo" << (edits | SelectAll::ComboBoxes) << true << "手入力";
        QTest::newRow("combo box not named") << "combo" << edits << false << "";
        QTest::newRow("list") << "list" << (edits | SelectAll::ItemViews) << true << "3 rows";
        QTest::newRow("list not named") << "list" << edits << false << "0 rows";
    }
    void selectsAllInTheFocusedControlOfTheNamedKinds()
    {
        QFETCH(QString, focused);
        QFETCH(SelectAll::Kinds, kinds);
        QFETCH(bool, done);
        QFETCH(QString, selected);

        KindsWindow form;
        QWidget* control = form.control(focused);
        focusIn(control);
        form.clearSelections();
        QCOMPARE(SelectAll::selectFocused(&form.window, kinds), done);
        QCOMPARE(selection(control), selected);
        // Nothing else of the window is touched.
        for (const char* other : {"edit", "readOnlyEdit", "memo", "readOnlyMemo", "combo"})
            if (focused != QLatin1String(other))
                QCOMPARE(selection(form.control(other)), QString());
    }

    void focusInAnotherWindowSelectsNothing()
    {
        KindsWindow form;
        form.window.show();
        QWidget other;
        auto* otherEdit = new QLineEdit("別の窓", &other);
        focusIn(otherEdit);
        otherEdit->deselect();
        form.clearSelections();

        const SelectAll::Kinds all = SelectAll::LineEdits | SelectAll::PlainTexts |
                                     SelectAll::ItemViews | SelectAll::ComboBoxes;
        QCOMPARE(SelectAll::focusedIn(&form.window), nullptr);
        QVERIFY(!SelectAll::selectFocused(&form.window, all));
        QCOMPARE(otherEdit->selectedText(), QString());
        for (const char* name : {"edit", "readOnlyEdit", "memo", "readOnlyMemo", "combo"})
            QCOMPARE(selection(form.control(name)), QString());
        QCOMPARE(selection(form.list), QString("0 rows"));
        // Without any control at all.
        QVERIFY(!SelectAll::select(nullptr, all));
    }

    void ctrlClickSelectsTheWholeText_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("selectsAll");

        QTest::newRow("left with Ctrl") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ControlModifier)
                                        << true;
        QTest::newRow("left with Ctrl and Shift")
            << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier)
            << true;
        QTest::newRow("left alone") << Qt::LeftButton << Qt::KeyboardModifiers() << false;
        QTest::newRow("right with Ctrl")
            << Qt::RightButton << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
    }
    void ctrlClickSelectsTheWholeText()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, selectsAll);

        KindsWindow form;
        CtrlClickSelect::installBelow(&form.window);
        form.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form.window));
        for (QLineEdit* edit : {form.edit, form.readOnlyEdit}) {
            edit->deselect();
            edit->setCursorPosition(0);
            QTest::mouseClick(edit, button, modifiers, QPoint(3, edit->height() / 2));
            QCOMPARE(edit->selectedText(), selectsAll ? edit->text() : QString());
        }
    }

    void ctrlClickAgainKeepsTheWholeTextSelected()
    {
        QWidget window;
        auto* edit = new QLineEdit("お礼の連絡", &window);
        CtrlClickSelect::install(edit);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(edit, Qt::LeftButton, Qt::ControlModifier, QPoint(3, 5));
            QCOMPARE(edit->selectedText(), QString("お礼の連絡"));
        }
    }
};

QTEST_MAIN(TestTextSelect)
#include "test_textselect.moc"
