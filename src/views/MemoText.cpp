#include "views/MemoText.h"

#include <QPlainTextEdit>

namespace MemoText {

QString toWidget(const QString& stored)
{
    QString text = stored;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString fromWidget(const QString& shown)
{
    QString text = shown;
    text.replace(QChar(0x2029), QLatin1Char('\n'));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void set(QPlainTextEdit* memo, const QString& stored)
{
    memo->setPlainText(toWidget(stored));
}

QString get(const QPlainTextEdit* memo)
{
    return fromWidget(memo->toPlainText());
}

QString selected(const QPlainTextEdit* memo)
{
    return fromWidget(memo->textCursor().selectedText());
}

} // namespace MemoText
