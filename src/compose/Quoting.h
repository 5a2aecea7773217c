#pragma once

#include <QString>

// Quoting the replied message into the message being written.
namespace Quoting {

// "＞ " before the text and after every line feed in it; "＞ " alone for an empty text. The
// line breaks stay as they are (CR LF stays CR LF).
QString quoteWithMarks(const QString& selected);

} // namespace Quoting
