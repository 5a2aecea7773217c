#include "compose/MailtoAddress.h"

#include <QRegularExpression>
#include <QUrl>

QStringList MailtoAddress::splitLines(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(lineBreak);
    // "a\r\n" is one line, "" none.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray MailtoAddress::build(const QString& address, const QString& subject, const QString& body,
                                bool enclose)
{
    const QByteArray quote = enclose ? QByteArray("%22") : QByteArray();
    const QString joinedBody = splitLines(body).join(QStringLiteral("\r\n"));
    // "@" stays readable in the address; everything else outside the unreserved set is encoded.
    return "mailto:" + QUrl::toPercentEncoding(address, "@") + "?subject=" + quote +
           QUrl::toPercentEncoding(subject) + quote + "&body=" + quote +
           QUrl::toPercentEncoding(joinedBody) + quote;
}
