#include "platform/PlainText.h"

#include <QTextDocument>

QString PlainText::toolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}
