#include "views/NaviListQuery.h"

#include "platform/Sql.h"

#include <QSqlQuery>

namespace NaviListQuery {

namespace {

// The nine message columns that both lists read first, in the order of their SELECT (the folder
// list reads only the head of the message).
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
                                 "T_Navi.Subject,substr(T_Navi.Message,1,:HEAD),T_Navi.WriteDate,"
                                 "T_Navi.RecFlg,"
                                 "T_Navi.UnsealingFlg,T_BidData.Title,T_BidMaster.Name FROM "
                                 "(T_Navi LEFT JOIN T_BidData ON (T_Navi.Aid = T_BidData.Aid AND "
                                 "T_Navi.BidId = T_BidData.BidId)) "
                                 "LEFT JOIN T_BidMaster ON T_Navi.BidId = T_BidMaster.Id "
                                 "WHERE T_Navi.FolderID=:FOLDER_ID AND T_Navi.LoginId=:LOGINID") +
                      orderClause(sortColumn, sortType, kind),
                  {{":FOLDER_ID", folderId}, {":LOGINID", loginId}, {":HEAD", messageHeadLength}});
    QList<NaviRow> rows;
    while (query.next()) {
        NaviRow row = messageColumns(query);
        // A head of fewer UTF-16 units than the head's characters is the whole text.
        row.wholeMessage = row.message.size() < messageHeadLength;
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

MessageReader::MessageReader(const QSqlDatabase& db, const QString& loginId)
    : m_db(db), m_loginId(loginId)
{
}

QString MessageReader::wholeMessage(const NaviRow& row)
{
    if (row.wholeMessage || !m_db.isOpen())
        return row.message;
    if (!m_query)
        m_query = Sql::prepare(m_db, QStringLiteral("SELECT Message FROM T_Navi WHERE Aid=:AID AND "
                                                    "BidId=:BIDID AND [Number]=:NUMBER AND "
                                                    "LoginId=:LOGINID LIMIT 1"));
    Sql::exec(*m_query, {{":AID", row.aid},
                         {":BIDID", row.bidId},
                         {":NUMBER", row.number.toInt()},
                         {":LOGINID", m_loginId}});
    const QString text = m_query->next() ? m_query->value(0).toString() : row.message;
    m_query->finish();
    return text;
}

QString wholeMessage(const QSqlDatabase& db, const QString& loginId, const NaviRow& row)
{
    return MessageReader(db, loginId).wholeMessage(row);
}

} // namespace NaviListQuery
