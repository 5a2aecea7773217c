#include "compose/DateFormats.h"

#include <QLocale>

namespace DateFormats {

const QStringList& patterns()
{
    static const QStringList list = {
        QStringLiteral("M/d"),        QStringLiteral("M/d'（'ddd'）'"),
        QStringLiteral("M'月'd'日'"), QStringLiteral("M'月'd'日（'ddd'）'"),
        QStringLiteral("yyyy/M/d"),   QStringLiteral("yyyy'年'M'月'd'日（'ddd'）'"),
    };
    return list;
}

QString formatWith(const QDate& date, const QString& pattern)
{
    return QLocale(QLocale::Japanese, QLocale::Japan).toString(date, pattern);
}

QString format(const QDate& date, int index)
{
    const QStringList& all = patterns();
    return formatWith(date, all.value(index, all.first()));
}

QString caption(const QDate& day, int index)
{
    return format(day, index) + QStringLiteral("\t(&") + QString::number(index) +
           QStringLiteral(")");
}

} // namespace DateFormats
