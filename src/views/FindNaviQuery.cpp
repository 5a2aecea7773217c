#include "views/FindNaviQuery.h"

namespace FindNaviQuery {

namespace {

// The title of the transaction's listing row, once per message even when the listing is
// stored more than once.
const QString titleExpression =
    QStringLiteral("(SELECT T_BidData.Title FROM T_BidData WHERE T_BidData.Aid = T_Navi.Aid AND "
                   "T_BidData.BidId = T_Navi.BidId LIMIT 1)");

const QString fromText =
    QStringLiteral(" FROM T_Navi LEFT JOIN T_BidMaster ON T_Navi.WriteId = T_BidMaster.Id");

QString contains(const QString& expression, const QString& parameter)
{
    return expression + QStringLiteral(" LIKE '%' || ") + parameter + QStringLiteral(" || '%'");
}

} // namespace

Condition condition(const FindNaviCriteria& criteria)
{
    Condition result;
    QStringList parts;
    if (!criteria.loginId.isEmpty()) {
        parts << QStringLiteral("T_Navi.LoginId=:LOGIN_ID");
        result.params.append({":LOGIN_ID", criteria.loginId});
    }
    if (criteria.received != criteria.sent)
        parts << (criteria.received ? QStringLiteral("T_Navi.RecFlg=TRUE")
                                    : QStringLiteral("T_Navi.RecFlg=FALSE"));
    const struct
    {
        const QString& text;
        QString test;
        const char* parameter;
    } texts[] = {
        {criteria.bidId,
         QStringLiteral("T_Navi.RecFlg=TRUE AND ") + contains("T_Navi.WriteId", ":BID_ID"),
         ":BID_ID"},
        {criteria.bidName,
         QStringLiteral("T_Navi.RecFlg=TRUE AND ") + contains("T_BidMaster.Name", ":BID_NAME"),
         ":BID_NAME"},
        {criteria.aid, contains("T_Navi.Aid", ":AID"), ":AID"},
        {criteria.title, contains(titleExpression, ":TITLE"), ":TITLE"},
        {criteria.message, contains("T_Navi.Message", ":MESSAGE"), ":MESSAGE"},
    };
    for (const auto& text : texts) {
        if (text.text.isEmpty())
            continue;
        parts << text.test;
        result.params.append({QString::fromLatin1(text.parameter), text.text});
    }
    if (!parts.isEmpty())
        result.where = QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
    return result;
}

QString selectText(const QString& where)
{
    return QStringLiteral("SELECT T_Navi.Aid,T_Navi.BidId,T_Navi.WriteId,T_Navi.[Number],"
                          "T_Navi.Subject,substr(T_Navi.Message,1,:HEAD),T_Navi.WriteDate,"
                          "T_Navi.RecFlg,T_Navi.UnsealingFlg,") +
           titleExpression + QStringLiteral(",T_BidMaster.Name,T_Navi.LoginId") + fromText + where;
}

QString countText(const QString& where)
{
    return QStringLiteral("SELECT COUNT(*)") + fromText + where;
}

QStringList accounts(const QSqlDatabase& db)
{
    QSqlQuery query =
        Sql::exec(db, QStringLiteral("SELECT T_Navi.LoginId FROM T_Navi GROUP BY T_Navi.LoginId"));
    QStringList ids;
    while (query.next())
        ids << query.value(0).toString();
    return ids;
}

QString bidderName(const QSqlDatabase& db, const QString& id)
{
    return Sql::scalar(db, QStringLiteral("SELECT Name FROM T_BidMaster WHERE Id=:ID"),
                       {{":ID", id}})
        .toString();
}

} // namespace FindNaviQuery
