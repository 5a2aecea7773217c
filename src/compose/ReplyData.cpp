#include "compose/ReplyData.h"

#include "common/CommonDefine.h"
#include "platform/Sql.h"

namespace ReplyData {

Transaction readTransaction(const QSqlDatabase& db, const QString& aid, const QString& bidId)
{
    QSqlQuery query = Sql::exec(
        db,
        QStringLiteral("SELECT Url,Price,FirstFlg,PaymentFlg,ReceiptFlg,EvaluationFlg,EndFlg "
                       "FROM T_BidData WHERE Aid=:AID AND BidId=:BID_ID"),
        {{QStringLiteral(":AID"), aid}, {QStringLiteral(":BID_ID"), bidId}});
    Transaction row;
    if (query.next()) {
        row.url = query.value(0).toString();
        row.price = query.value(1).toString();
        for (int i = 0; i < 5; ++i)
            row.flags[i] = query.value(2 + i).toString();
    }
    return row;
}

QString flagPanelText(int index, const QString& flag)
{
    return CommonDefine::flagCaptions.value(index) +
           (flag.isEmpty() ? QString() : CommonDefine::flagMarkSet);
}

Winner readWinner(const QSqlDatabase& db, const QString& bidId)
{
    QSqlQuery query = Sql::exec(db, QStringLiteral("SELECT * FROM T_BidMaster WHERE [Id]=:ID"),
                                {{QStringLiteral(":ID"), bidId}});
    Winner winner;
    if (query.next()) {
        winner.name = query.value(QStringLiteral("Name")).toString();
        winner.post = query.value(QStringLiteral("Post")).toString();
        winner.address1 = query.value(QStringLiteral("Address1")).toString();
        winner.tel = query.value(QStringLiteral("Tel")).toString();
        winner.mailMain = query.value(QStringLiteral("MailMain")).toString();
    }
    return winner;
}

SellerData readSeller(const QSqlDatabase& db)
{
    QSqlQuery query = Sql::exec(db, QStringLiteral("SELECT * FROM T_PersonalData"));
    SellerData seller;
    if (query.next()) {
        seller.name = query.value(QStringLiteral("Name")).toString();
        seller.namePhonetic = query.value(QStringLiteral("NamePhonetic")).toString();
        seller.post = query.value(QStringLiteral("Post")).toString();
        seller.address1 = query.value(QStringLiteral("Address1")).toString();
        seller.tel = query.value(QStringLiteral("Tel")).toString();
        seller.mail = query.value(QStringLiteral("Mail")).toString();
    }
    return seller;
}

QList<NaviRow> listingMessages(const QSqlDatabase& db, const QString& aid, const QString& loginId)
{
    QSqlQuery queryNaviByAid = Sql::exec(
        db, QStringLiteral("SELECT * FROM T_Navi WHERE Aid=:WHERE_AID AND LoginId=:WHERE_LOGINID"),
        {{QStringLiteral(":WHERE_AID"), aid}, {QStringLiteral(":WHERE_LOGINID"), loginId}});
    QList<NaviRow> rows;
    while (queryNaviByAid.next()) {
        NaviRow row;
        row.aid = queryNaviByAid.value(QStringLiteral("Aid")).toString();
        row.bidId = queryNaviByAid.value(QStringLiteral("BidId")).toString();
        row.writeId = queryNaviByAid.value(QStringLiteral("WriteId")).toString();
        row.number = queryNaviByAid.value(QStringLiteral("Number")).toString();
        row.subject = queryNaviByAid.value(QStringLiteral("Subject")).toString();
        row.message = queryNaviByAid.value(QStringLiteral("Message")).toString();
        row.writeDate = queryNaviByAid.value(QStringLiteral("WriteDate")).toString();
        row.received = queryNaviByAid.value(QStringLiteral("RecFlg")).toInt() != 0;
        row.read = queryNaviByAid.value(QStringLiteral("UnsealingFlg")).toInt() != 0;
        rows.append(std::move(row));
    }
    queryNaviByAid.finish();
    return rows;
}

} // namespace ReplyData
