#pragma once

#include <QString>

// The signature footer rule of the composer: a template's expanded text of at most
// footerLimit characters gets the footer when the setting asks for it.
namespace ReplyFooter {

inline constexpr int footerLimit = 700;

// True when the footer is appended to this expanded text (counted before the footer, a line
// break as its two characters CR LF, a character outside the basic plane once).
bool applies(const QString& expanded, bool prInsert);
// The expanded text, with the footer when it applies.
QString withFooter(const QString& expanded, bool prInsert);

} // namespace ReplyFooter
