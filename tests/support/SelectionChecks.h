#pragma once

// Checks of a window's whole-text selection: the Ctrl+click on its edits and its Ctrl+A.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace SelectionChecks {

// A Ctrl+click on each field selects its whole text (each is given a text first).
inline void ctrlClickSelectsEach(const QList<QLineEdit*>& fields)
{
    for (QLineEdit* field : fields) {
        field->setText(field->objectName() + "の値");
        field->setCursorPosition(0);
        QTest::mouseClick(field, Qt::LeftButton, Qt::ControlModifier, QPoint(3, 5));
        QVERIFY2(field->selectedText() == field->text(), qPrintable(field->objectName()));
    }
}

// Ctrl+A acts on the focused control only: the field, then the memo, then not the field again.
inline void selectAllActsOnTheFocusedText(QWidget* window, QAction* selectAll, QLineEdit* field,
                                          QPlainTextEdit* memo)
{
    window->activateWindow();
    QApplication::setActiveWindow(window);
    field->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(field));
    field->deselect();
    selectAll->trigger();
    QCOMPARE(field->selectedText(), field->text());
    memo->setPlainText("一行目\n二行目");
    memo->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(memo));
    field->deselect();
    selectAll->trigger();
    QCOMPARE(memo->textCursor().selectedText().size(), memo->toPlainText().size());
    QVERIFY(!field->hasSelectedText());
}

} // namespace SelectionChecks
