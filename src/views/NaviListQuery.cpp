#include "views/NaviListQuery.h"

#include "platform/Sql.h"

#include <QSqlQuery>

namespace NaviListQuery {

namespace {

// The nine message columns that both lists read first, in the order of their SELECT.
NaviRow messageColumns(const QSqlQuery& query)
{
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
    return row;
}

} // namespace

QString orderClause(int sortColumn, int sortType, int kind)
{
    QString expression;
    switch (sortColumn) {
    case 0:
        // The row picture: 0 unread received, 1 read received, 2 sent.
        expression = QStringLiteral("(CASE WHEN T_Navi.RecFlg<>0 THEN "
                                    "(CASE WHEN T_Navi.UnsealingFlg<>0 THEN 1 ELSE 0 END) "
                                    "ELSE 2 END)");
        break;
    case 1:
        expression = QStringLiteral("T_Navi.Aid COLLATE NOCASE");
        break;
    case 2:
        expression = QStringLiteral("T_BidData.Title COLLATE NOCASE");
        break;
    case 3:
        expression = kind == 1 ? QStringLiteral("T_Navi.BidId COLLATE NOCASE")
                               : QStringLiteral("T_Navi.WriteId COLLATE NOCASE");
        break;
    case 4:
        expression = QStringLiteral("T_BidMaster.Name COLLATE NOCASE");
        break;
    case 5:
        expression = QStringLiteral("T_Navi.[Number]");
        break;
    case 6:
        expression = QStringLiteral("T_Navi.Subject COLLATE NOCASE");
        break;
    case 7:
        expression = QStringLiteral("T_Navi.Message COLLATE NOCASE");
        break;
    case 8:
        expression = QStringLiteral("T_Navi.WriteDate COLLATE NOCASE");
        break;
    default:
        return QString();
    }
    return QStringLiteral(" ORDER BY ") + expression +
           (sortType == 0 ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
}

QList<NaviRow> folderMessages(const QSqlDatabase& db, const QString& folderId, int kind,
                              const QString& loginId, int sortColumn, int sortType)
{
    QSqlQuery query =
        Sql::exec(db,
                  QStringLiteral("SELECT T_Navi.Aid,T_Navi.BidId,T_Navi.WriteId,T_Navi.[Number],"
                                 "T_Navi.Subject,T_Navi.Message,T_Navi.WriteDate,T_Navi.RecFlg,"
                                 "T_Navi.UnsealingFlg,T_BidData.Title,T_BidMaster.Name FROM "
                                 "(T_Navi LEFT JOIN T_BidData ON (T_Navi.Aid = T_BidData.Aid AND "
                                 "T_Navi.BidId = T_BidData.BidId)) "
                                 "LEFT JOIN T_BidMaster ON T_Navi.BidId = T_BidMaster.Id "
                                 "WHERE T_Navi.FolderID=:FOLDER_ID AND T_Navi.LoginId=:LOGINID") +
                      orderClause(sortColumn, sortType, kind),
                  {{":FOLDER_ID", folderId}, {":LOGINID", loginId}});
    QList<NaviRow> rows;
    while (query.next()) {
        NaviRow row = messageColumns(query);
        row.title = query.value(9).toString();
        row.name = query.value(10).toString();
        rows.append(std::move(row));
    }
    return rows;
}

QList<NaviRow> transactionMessages(const QSqlDatabase& db, const QString& aid, const QString& bidId,
                                   const QString& loginId)
{
    QSqlQuery query = Sql::exec(
        db,
        QStringLiteral("SELECT Aid,BidId,WriteId,[Number],Subject,Message,WriteDate,RecFlg,"
                       "UnsealingFlg FROM T_Navi "
                       "WHERE Aid=:DATA_AID AND BidId=:DATA_BIDID AND LoginId=:DATA_LOGINID"),
        {{":DATA_AID", aid}, {":DATA_BIDID", bidId}, {":DATA_LOGINID", loginId}});
    QList<NaviRow> rows;
    while (query.next()) {
        NaviRow row = messageColumns(query);
        rows.append(std::move(row));
    }
    return rows;
}

} // namespace NaviListQuery
