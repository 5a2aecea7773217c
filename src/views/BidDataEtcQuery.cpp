#include "views/BidDataEtcQuery.h"

#include "platform/Sql.h"
#include "views/BidDataEtcColumns.h"
#include "site/MessageCountCell.h"

namespace BidDataEtcQuery {

namespace {

const char* const orderColumns[sortColumnCount] = {
    " T_BidData.[Index]",
    " T_BidData.Aid",
    " T_BidData.Title",
    " T_BidData.BidId",
    " T_BidMaster.Name",
    " T_BidData.Price",
    " T_BidData.EndDataTime",
    " T_NAVI_COUNT.NAVI_COUNT",
    " T_BidData.FirstFlg",
    " T_BidData.PaymentFlg",
    " T_BidData.ReceiptFlg",
    " T_BidData.EvaluationFlg",
    " T_BidData.EndFlg",
    " T_BidData.ContactMethod",
    " T_BidData.Carriage",
    " T_BidData.Forwarding",
    " T_BidData.EvaluationUnnecessary",
    " T_BidData.Remarks",
    " T_BidData.Url",
};

} // namespace

int validSortColumn(int sortColumn)
{
    return sortColumn >= 0 && sortColumn < sortColumnCount ? sortColumn : 0;
}

QString orderColumn(int sortColumn)
{
    return QString::fromLatin1(orderColumns[validSortColumn(sortColumn)]);
}

QString orderKey(int sortColumn)
{
    switch (validSortColumn(sortColumn)) {
    case 0:
        return orderColumn(0);
    case 5:
        return QStringLiteral(" (CASE WHEN T_BidData.Price GLOB '-[0-9]*' OR T_BidData.Price GLOB "
                              "'[0-9]*' THEN CAST(T_BidData.Price AS INTEGER) ELSE -1 END)");
    case 7:
        return QStringLiteral(" COALESCE(T_NAVI_COUNT.NAVI_COUNT,-1)");
    default:
        return orderColumn(sortColumn) + QStringLiteral(" COLLATE NOCASE");
    }
}

namespace {

QString condition(int mode)
{
    if (mode == DeletedListings)
        return QStringLiteral(" WHERE DeleteFlg=TRUE AND T_BidData.LoginId=:DATA_LOGINID");
    return QStringLiteral(
        " WHERE T_BidData.LoginId=:DATA_LOGINID AND T_BidData.BidId=:DATA_BID_ID");
}

SqlParams params(int mode, const QString& loginId, const QString& bidId, bool counts)
{
    SqlParams bound{{":DATA_LOGINID", loginId}};
    if (counts)
        bound.append({":DATA_NAVI_LOGINID", loginId});
    if (mode != DeletedListings)
        bound.append({":DATA_BID_ID", bidId});
    return bound;
}

} // namespace

QString statement(int mode, int sortColumn, int sortType)
{
    // Both counts of a transaction are kept in T_NaviCount.
    QString text = QStringLiteral(
        "SELECT T_BidData.[Index],T_BidData.Aid,T_BidData.Title,T_BidData.BidId,"
        "T_BidMaster.Name,T_BidData.Price,T_BidData.EndDataTime,"
        "T_NAVI_COUNT.NAVI_COUNT,T_NAVI_COUNT.NAVI_NON_UNSEALING_COUNT,"
        "T_BidData.FirstFlg,T_BidData.PaymentFlg,T_BidData.ReceiptFlg,T_BidData.EvaluationFlg,"
        "T_BidData.EndFlg,T_BidData.ContactMethod,T_BidData.Carriage,T_BidData.Forwarding,"
        "T_BidData.EvaluationUnnecessary,T_BidData.Remarks,T_BidData.Url "
        "FROM (T_BidData LEFT JOIN T_BidMaster ON T_BidData.BidId=T_BidMaster.Id) LEFT JOIN "
        "(SELECT Aid,BidId,NaviCount AS NAVI_COUNT,UnreadCount AS NAVI_NON_UNSEALING_COUNT "
        "FROM T_NaviCount WHERE LoginId=:DATA_NAVI_LOGINID) AS T_NAVI_COUNT "
        "ON (T_NAVI_COUNT.Aid=T_BidData.Aid AND T_NAVI_COUNT.BidId=T_BidData.BidId)");
    text += condition(mode);
    text += QStringLiteral(" ORDER BY") + orderKey(sortColumn);
    text += sortType == 0 ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    return text;
}

int rowCount(const QSqlDatabase& db, int mode, const QString& loginId, const QString& bidId)
{
    QSqlQuery query =
        Sql::exec(db, QStringLiteral("SELECT COUNT(*) FROM T_BidData") + condition(mode),
                  params(mode, loginId, bidId, false));
    return query.next() ? query.value(0).toInt() : 0;
}

QSqlQuery open(const QSqlDatabase& db, int mode, const QString& loginId, const QString& bidId,
               int sortColumn, int sortType)
{
    QSqlQuery query = Sql::prepare(db, statement(mode, sortColumn, sortType));
    Sql::exec(query, params(mode, loginId, bidId, true));
    return query;
}

QStringList rowOf(const QSqlQuery& query)
{
    QStringList cells;
    cells.reserve(BidDataEtcColumns::ColumnCount);
    for (int field = 0; field < 7; ++field)
        cells.append(query.value(field).toString());
    cells.append(MessageCountCell::text(query.value(7).toInt(), query.value(8).toInt()));
    for (int field = 9; field < 20; ++field)
        cells.append(query.value(field).toString());
    return cells;
}

QList<QStringList> readRows(const QSqlDatabase& db, int mode, const QString& loginId,
                            const QString& bidId, int sortColumn, int sortType)
{
    QSqlQuery query = open(db, mode, loginId, bidId, sortColumn, sortType);
    QList<QStringList> rows;
    while (query.next())
        rows.append(rowOf(query));
    return rows;
}

} // namespace BidDataEtcQuery
