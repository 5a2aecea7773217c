#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The six written forms of the composer's date insert, in the Japanese locale whatever the
// machine's (a short weekday name is "土").
namespace DateFormats {

const QStringList& patterns();
// The date in the pattern of that index (0 to 5); an index out of range gives pattern 0.
QString format(const QDate& date, int index);
QString formatWith(const QDate& date, const QString& pattern);
// The menu caption of the pattern: the day written in it, a tab, "(&" + index + ")".
QString caption(const QDate& day, int index);

} // namespace DateFormats
