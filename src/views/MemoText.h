#pragma once

#include <QString>

class QPlainTextEdit;

// Messages are stored with CR LF; Qt's text widgets work with LF. These are the one place where
// the line breaks change, so counts made on stored text stay true.
namespace MemoText {

QString toWidget(const QString& stored);
QString fromWidget(const QString& shown);
void set(QPlainTextEdit* memo, const QString& stored);
QString get(const QPlainTextEdit* memo);
// The memo's selected text, with CR LF line breaks.
QString selected(const QPlainTextEdit* memo);

} // namespace MemoText
