#include "site/NaviWorkList.h"

#include "platform/Sql.h"
#include "site/NaviDownloadTexts.h"

namespace NaviWorkList {

int numberRepeatCount(const QSqlDatabase& db, const QString& aid, const QString& bidId,
                      const QString& loginId)
{
    const QVariant count = Sql::scalar(
        db,
        QStringLiteral("SELECT Count([Number]) AS NumberCount FROM T_Navi "
                       "WHERE [Aid]=:AID AND [BidId]=:BID_ID AND LoginId=:LOGIN_ID "
                       "GROUP BY [Aid],[BidId],[Number] ORDER BY NumberCount DESC LIMIT 1"),
        {{":AID", aid}, {":BID_ID", bidId}, {":LOGIN_ID", loginId}});
    return count.isValid() ? count.toInt() : 0;
}

void deleteMessages(const QSqlDatabase& db, const QString& aid, const QString& bidId,
                    const QString& loginId)
{
    Sql::exec(
        db,
        QStringLiteral("DELETE FROM T_Navi WHERE Aid=:AID AND BidId=:BID_ID AND LoginId=:LOGIN_ID"),
        {{":AID", aid}, {":BID_ID", bidId}, {":LOGIN_ID", loginId}});
}

qint64 highestNumber(const QSqlDatabase& db, const QString& aid, const QString& bidId,
                     const QString& loginId)
{
    const QVariant max =
        Sql::scalar(db,
                    QStringLiteral("SELECT MAX([Number]) AS MAX_NUM FROM T_Navi WHERE Aid=:AID AND "
                                   "BidId=:BID_ID AND LoginId=:LOGIN_ID AND DeleteFlgSub=FALSE"),
                    {{":AID", aid}, {":BID_ID", bidId}, {":LOGIN_ID", loginId}});
    return max.isNull() ? 0 : max.toLongLong();
}

Purge purgeDuplicates(const QSqlDatabase& db, const QString& aid, const QString& title,
                      const QString& bidId, const QString& loginId)
{
    Purge purge;
    if (numberRepeatCount(db, aid, bidId, loginId) <= 1)
        return purge;
    purge.logLine = aid + NaviTexts::separator + title + NaviTexts::duplicateBeforeDownload +
                    bidId + NaviTexts::closeParen;
    deleteMessages(db, aid, bidId, loginId);
    purge.purged = true;
    return purge;
}

Prepared prepareItem(const QSqlDatabase& db, const QString& aid, const QString& title,
                     const QString& bidId, const QString& listingUrl, const QString& loginId)
{
    Prepared prepared;
    prepared.purge = purgeDuplicates(db, aid, title, bidId, loginId);
    prepared.item.aid = aid;
    prepared.item.listingUrl = listingUrl;
    prepared.item.bidId = bidId;
    prepared.item.lastNumber = highestNumber(db, aid, bidId, loginId);
    return prepared;
}

} // namespace NaviWorkList
