#include "views/AuctionNaviQuery.h"

#include "common/CommonDefine.h"
#include "platform/Sql.h"

namespace AuctionNaviQuery {

QList<NaviRow> messages(const QSqlDatabase& db, const QString& aid, const QString& bidId,
                        const QString& loginId)
{
    QSqlQuery query = Sql::exec(
        db,
        QStringLiteral(
            "SELECT T_Navi.Aid,T_Navi.BidId,T_Navi.WriteId,T_Navi.[Number],T_Navi.Subject,"
            "T_Navi.Message,T_Navi.WriteDate,T_Navi.RecFlg,T_Navi.UnsealingFlg,"
            "(SELECT T_BidData.Title FROM T_BidData WHERE T_BidData.Aid = T_Navi.Aid AND "
            "T_BidData.BidId = T_Navi.BidId LIMIT 1),T_BidMaster.Name,T_Navi.LoginId "
            "FROM T_Navi LEFT JOIN T_BidMaster ON T_Navi.WriteId = T_BidMaster.Id "
            "WHERE T_Navi.Aid=:AID AND T_Navi.BidId=:BID_ID AND T_Navi.LoginId=:LOGIN_ID"),
        {{":AID", aid}, {":BID_ID", bidId}, {":LOGIN_ID", loginId}});
    QList<NaviRow> rows;
    while (query.next()) {
        NaviRow row;
        row.aid = query.value(0).toString();
        row.bidId = query.value(1).toString();
        row.writeId = query.value(2).toString();
        row.number = query.value(3).toString();
        row.subject = query.value(4).toString();
        row.message = query.value(5).toString();
        row.writeDate = query.value(6).toString();
        row.received = query.value(7).toInt() != 0;
        row.read = query.value(8).toInt() != 0;
        row.title = query.value(9).toString();
        row.name = query.value(10).toString();
        row.loginId = query.value(11).toString();
        rows.append(std::move(row));
    }
    return rows;
}

QStringList flags(const QSqlDatabase& db, const QString& aid, const QString& bidId)
{
    QSqlQuery query = Sql::exec(
        db,
        QStringLiteral("SELECT FirstFlg,PaymentFlg,ReceiptFlg,EvaluationFlg,EndFlg FROM T_BidData "
                       "WHERE Aid=:AID AND BidId=:BID_ID LIMIT 1"),
        {{":AID", aid}, {":BID_ID", bidId}});
    QStringList values;
    if (query.next())
        for (int i = 0; i < 5; ++i)
            values << query.value(i).toString();
    return values;
}

QStringList flagPanelTexts(const QStringList& flags)
{
    QStringList texts;
    for (int i = 0; i < CommonDefine::flagCaptions.size(); ++i) {
        QString text = CommonDefine::flagCaptions[i];
        if (i < flags.size() && !flags[i].isEmpty())
            text += CommonDefine::flagMarkSet;
        texts << text;
    }
    return texts;
}

} // namespace AuctionNaviQuery
