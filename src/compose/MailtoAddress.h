#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The mailto: address that hands a message to the user's mail program.
namespace MailtoAddress {

// The lines of a text broken at CR LF, LF or CR; a final break ends the last line and opens no
// empty one.
QStringList splitLines(const QString& text);

// "mailto:" + address + "?subject=" + subject + "&body=" + body, each value percent-encoded as
// UTF-8 so that every character arrives as written; the body's lines are joined with CR LF.
// With enclose, the subject and the body are each enclosed in double quotes.
QByteArray build(const QString& address, const QString& subject, const QString& body, bool enclose);

} // namespace MailtoAddress
