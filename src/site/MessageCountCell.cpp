#include "site/MessageCountCell.h"

#include "platform/Sql.h"

#include <algorithm>

namespace MessageCountCell {

QString text(int total, int unread)
{
    if (total <= 0)
        return QString();
    unread = std::clamp(unread, 0, total);
    if (unread == 0)
        return QString::number(total);
    return QStringLiteral("%1(%2)").arg(total).arg(unread);
}

QString read(const QSqlDatabase& db, const QString& loginId, const QString& aid,
             const QString& bidId)
{
    QSqlQuery query = Sql::exec(
        db,
        QStringLiteral("SELECT NaviCount, UnreadCount FROM T_NaviCount "
                       "WHERE LoginId=:LOGIN_ID AND Aid=:AID AND BidId=:BID_ID"),
        {{":AID", aid}, {":BID_ID", bidId}, {":LOGIN_ID", loginId}});
    return query.next() ? text(query.value(0).toInt(), query.value(1).toInt()) : QString();
}

} // namespace MessageCountCell
