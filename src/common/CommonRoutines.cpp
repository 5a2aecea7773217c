#include "common/CommonRoutines.h"

#include "platform/Database.h"
#include "platform/Sql.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>
#include <QTime>

#include <stdexcept>

namespace {

constexpr QChar halfBlank = u' ';
constexpr QChar fullBlank = u'\u3000';

bool isBlank(QChar c)
{
    return c == halfBlank || c == fullBlank;
}

// A whole number made of an optional sign and ASCII digits, with optional blanks around it.
bool readInteger(const QString& text, int* value)
{
    static const QRegularExpression pattern(QStringLiteral("^ *[-+]?[0-9]+ *$"));
    if (!pattern.match(text).hasMatch())
        return false;
    bool ok = false;
    *value = text.trimmed().toInt(&ok);
    return ok;
}

} // namespace

QString extractDigits(const QString& text)
{
    QString digits;
    for (QChar c : text)
        if (isDigitChar(c))
            digits += c;
    return digits;
}

bool isAllDigits(const QString& text)
{
    for (QChar c : text)
        if (!isDigitChar(c))
            return false;
    return true;
}

bool isDigitChar(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int compareInt(qint64 a, qint64 b)
{
    return a == b ? 0 : (a > b ? 1 : -1);
}

QString addThousandsSeparators(const QString& number)
{
    const qsizetype length = number.size();
    if (length <= 2)
        return number;
    QString result;
    qsizetype placed = 0;
    for (qsizetype i = length - 1; i >= 1; --i) {
        if (placed > 0 && placed % 3 == 0)
            result.prepend(u',');
        result.prepend(number.at(i));
        ++placed;
    }
    const QChar first = number.at(0);
    if (placed % 3 == 0 && first != u'-' && first != u'+')
        result.prepend(u',');
    result.prepend(first);
    return result;
}

QString convertNaviDate(const QString& siteDate, const QDate& today)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^[ \\x{3000}]*([0-9]{1,2})[ \\x{3000}]*月[ \\x{3000}]*([0-9]{1,2})[ \\x{3000}]*日"
        "[ \\x{3000}]*([0-9]{1,2})[ \\x{3000}]*時[ \\x{3000}]*([0-9]{1,2})[ \\x{3000}]*分"
        "[ \\x{3000}]*$"));
    const QRegularExpressionMatch match = pattern.match(siteDate);
    if (!match.hasMatch())
        return QString();
    const int month = match.captured(1).toInt();
    const int day = match.captured(2).toInt();
    const QTime time(match.captured(3).toInt(), match.captured(4).toInt());
    const QDate date(today.year(), month, day);
    if (!date.isValid() || !time.isValid())
        return QString();

    // The site gives no year. A date far ahead of today is last year's; any other date,
    // however long ago, is this year's.
    int year = today.year();
    if (today.daysTo(date) >= 121)
        --year;
    return QStringLiteral("%1/%2/%3 %4")
        .arg(year, 4, 10, QChar(u'0'))
        .arg(month, 2, 10, QChar(u'0'))
        .arg(day, 2, 10, QChar(u'0'))
        .arg(time.toString(QStringLiteral("HH:mm")));
}

QString padEndDateText(const QString& endTime)
{
    // Month, day, hour and minute, each one or two digits, a day or hour below 10 padded with
    // a blank, the parts separated by blanks.
    static const QRegularExpression pattern(
        QStringLiteral("^ *([0-9]{1,2})月 *([0-9]{1,2})日 *([0-9]{1,2})時 *([0-9]{1,2})分 *$"));
    const QRegularExpressionMatch match = pattern.match(endTime);
    if (!match.hasMatch())
        return endTime;
    const auto part = [&match](int n) { return match.captured(n).rightJustified(2, u'0'); };
    return part(1) + u'月' + part(2) + u'日' + u' ' + part(3) + u'時' + part(4) + u'分';
}

QString makeTodayText(const QDate& today)
{
    return QStringLiteral("%1月%2日")
        .arg(today.month(), 2, 10, QChar(u'0'))
        .arg(today.day(), 2, 10, QChar(u'0'));
}

bool parseNaviCount(const QString& cell, int* unread, int* total)
{
    *unread = 0;
    *total = 0;
    if (cell.isEmpty() || cell == QLatin1String("0"))
        return true;
    int readUnread = 0;
    int readTotal = 0;
    const qsizetype open = cell.indexOf(u'(');
    if (open < 0) {
        if (!readInteger(cell, &readTotal))
            return false;
    } else {
        const qsizetype close = cell.indexOf(u')');
        if (close < open)
            return false;
        if (!readInteger(cell.mid(open + 1, close - open - 1), &readUnread) ||
            !readInteger(cell.left(open), &readTotal))
            return false;
    }
    *unread = readUnread;
    *total = readTotal;
    return true;
}

QString trimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

int countChars(const QString& text)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        ++count;
    }
    return count;
}

int countOccurrences(const QString& text, const QString& pattern)
{
    if (pattern.isEmpty())
        return 0;
    int count = 0;
    for (qsizetype at = text.indexOf(pattern); at >= 0;
         at = text.indexOf(pattern, at + pattern.size()))
        ++count;
    return count;
}

QString makeRandomDigits(int n)
{
    // The global generator is seeded once, from the system, for the whole run.
    QString digits;
    digits.reserve(qMax(n, 0));
    for (int i = 0; i < n; ++i)
        digits += QChar(u'0' + QRandomGenerator::global()->bounded(10));
    return digits;
}

bool isSaveNameUnused(const QString& table, const QString& name)
{
    // A table name cannot be bound, so only the two template tables are accepted.
    static const QStringList templateTables{QStringLiteral("T_NaviTemplate"),
                                            QStringLiteral("T_EvaluationTemplate")};
    if (!templateTables.contains(table))
        throw std::invalid_argument("isSaveNameUnused: not a template table: " +
                                    table.toStdString());
    Database::ScopedConnection connection(QStringLiteral("saveName"));
    const QVariant count = Sql::scalar(
        connection.db(),
        QStringLiteral("SELECT COUNT(*) AS Cnt FROM %1 WHERE SaveName=:NAME").arg(table),
        {{QStringLiteral(":NAME"), name}});
    return count.toLongLong() == 0;
}
