#pragma once

#include <QFlags>

class QWidget;

// The windows' "全て選択" (Ctrl+A): the whole text of the focused edit or memo, or every row of
// the focused list, as far as the window's rule names that kind of control.
namespace SelectAll {

enum Kind {
    LineEdits = 0x1,  // QLineEdit, read-only ones included
    PlainTexts = 0x2, // QPlainTextEdit and QTextEdit, read-only ones included
    ItemViews = 0x4,  // lists, trees and tables: every row
    ComboBoxes = 0x8, // the text of an editable combo box
};
Q_DECLARE_FLAGS(Kinds, Kind)

// The control that has the keyboard focus when it lies in window; otherwise null (the focus is
// in another window, or nowhere).
QWidget* focusedIn(const QWidget* window);

// Selects all of control when it is of one of kinds; true when it did.
bool select(QWidget* control, Kinds kinds);

// select() on the focused control of window.
bool selectFocused(const QWidget* window, Kinds kinds);

} // namespace SelectAll

Q_DECLARE_OPERATORS_FOR_FLAGS(SelectAll::Kinds)
