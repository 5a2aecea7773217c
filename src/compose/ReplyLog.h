#pragma once

#include <QString>
#include <QStringList>

// The composer's log list: how a reported text becomes lines, and how a line leads back to the
// placeholder it names in the message text.
namespace ReplyLog {

// A text holding "\n\r" is split as a delimited text: parts are separated by commas and by
// runs of control characters and blanks, and a part that begins with a double quote runs to
// its closing quote (a doubled quote inside stands for one). Any other text is one line.
QStringList lines(const QString& text);
QStringList splitDelimited(const QString& text);

// The line's text from its first "%" to its last "%"; empty when it holds no "%".
QString placeholderOf(const QString& line);
// The position of the placeholder in the text at or after from; when it is not found there and
// from is not 0, the first place from the beginning. -1 when it does not occur.
int findPlaceholder(const QString& text, const QString& placeholder, int from);

} // namespace ReplyLog
