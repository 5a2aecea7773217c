#pragma once

#include "common/FullWidth.h"

#include <QChar>
#include <QDate>
#include <QString>

// Small text and number conversions that every part of the program uses. Digits here are the
// ASCII digits 0 to 9 only, blanks the half-width blank and "　" only.

// The ASCII digits of the text in their order ("1,500円" gives "1500").
QString extractDigits(const QString& text);
// True when every character is an ASCII digit; true for the empty text.
bool isAllDigits(const QString& text);
// True for the ASCII digits 0 to 9 only.
bool isDigitChar(QChar c);

// 0 when equal, 1 when a is greater, -1 when a is smaller: a list-sort comparison result.
int compareInt(qint64 a, qint64 b);

// "," between groups of three characters from the right; no comma right after a leading sign
// ("-1234" gives "-1,234", "-100" stays). The text is a run of characters: a decimal point
// gets no special treatment.
QString addThousandsSeparators(const QString& number);

// A message date of the site ("12月28日 14時05分") as stored with a message
// ("yyyy/MM/dd HH:mm"). The year is today's, or last year's when the date would lie 121 days
// or more after today. Empty when the text is no such date or the day does not exist that year.
QString convertNaviDate(const QString& siteDate, const QDate& today = QDate::currentDate());

// An end time of the item web service ("1月  5日  5時 5分") in its fixed-width form
// ("01月05日 05時05分"). A text of another shape is returned unchanged.
QString padEndDateText(const QString& endTime);

// Today as "MM月dd日" ("03月07日").
QString makeTodayText(const QDate& today = QDate::currentDate());

// Reads a message-count cell "N" or "N(M)": N messages stored, M of them received and unread.
// The empty cell gives 0 and 0. Returns false, with both set to 0, when the cell does not read
// as such numbers.
bool parseNaviCount(const QString& cell, int* unread, int* total);

// The text without leading and trailing half-width blanks and "　"; other white space stays.
QString trimSpaces(const QString& text);

// The number of characters (a character outside the basic plane counts once).
int countChars(const QString& text);

// Non-overlapping occurrences of the pattern from the left ("aa" in "aaaa" is 2); 0 for an
// empty pattern.
int countOccurrences(const QString& text, const QString& pattern);

// n random decimal digits.
QString makeRandomDigits(int n);

// True when the template table holds no row with that SaveName (compared as the column
// compares: without regard to ASCII case). The table is "T_NaviTemplate" or
// "T_EvaluationTemplate"; any other throws std::invalid_argument. Uses a connection of its own.
bool isSaveNameUnused(const QString& table, const QString& name);
