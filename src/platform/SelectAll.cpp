#include "platform/SelectAll.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

QWidget* SelectAll::focusedIn(const QWidget* window)
{
    QWidget* focused = QApplication::focusWidget();
    if (!focused || !window || (focused != window && !window->isAncestorOf(focused)))
        return nullptr;
    return focused;
}

bool SelectAll::select(QWidget* control, Kinds kinds)
{
    if (!control)
        return false;
    if (kinds & LineEdits) {
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->selectAll();
            return true;
        }
    }
    if (kinds & PlainTexts) {
        if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
            memo->selectAll();
            return true;
        }
        if (auto* rich = qobject_cast<QTextEdit*>(control)) {
            rich->selectAll();
            return true;
        }
    }
    if (kinds & ItemViews) {
        if (auto* view = qobject_cast<QAbstractItemView*>(control)) {
            view->selectAll();
            return true;
        }
    }
    if (kinds & ComboBoxes) {
        // An editable combo box keeps the focus itself and lends it to its edit.
        if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit()) {
            combo->lineEdit()->selectAll();
            return true;
        }
    }
    return false;
}

bool SelectAll::selectFocused(const QWidget* window, Kinds kinds)
{
    return select(focusedIn(window), kinds);
}
