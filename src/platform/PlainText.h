#pragma once

#include <QString>

// Text from the site, a buyer or the database goes on screen as its characters. Qt takes a
// label's or a message box's text, and a tool tip, for rich text when it looks like HTML, and
// would then draw headings, colours and local images. Labels and boxes that show such text are
// set to Qt::PlainText; a tool tip has no format of its own and goes through here.
namespace PlainText {

// A tool tip that shows text as it stands: text that Qt does not take for HTML comes back
// unchanged, other text escaped, its line breaks and blanks kept.
QString toolTip(const QString& text);

} // namespace PlainText
