#include "views/NaviListQuery.h"

#include "platform/JsonKeyList.h"
#include "platform/Sql.h"
#include "views/NaviFolderQuery.h"

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

qsizetype messageHeadSize(QStringView message)
{
    // The head counts characters, as substr does in the database.
    qsizetype units = 0;
    for (int characters = 0; characters < messageHeadLength && units < message.size(); ++characters)
        units += message[units].isHighSurrogate() && units + 1 < message.size() ? 2 : 1;
    return units;
}

QString messageHead(QStringView message)
{
    return message.left(messageHeadSize(message)).toString();
}

QList<NaviRow> folderMessages(const QSqlDatabase& db, const QString& folderId, int kind,
                              const QString& loginId, int sortColumn, int sortType)
{
    const bool withMessages = NaviFolderQuery::sortsByMessage(sortColumn);
    const NaviFolderRows columns = NaviFolderQuery::read(db, folderId, loginId, withMessages);
    QList<NaviRow> rows;
    rows.reserve(columns.size());
    for (int record : NaviFolderQuery::order(columns, sortColumn, sortType, kind)) {
        NaviRow row;
        row.rowId = columns.rowId[size_t(record)];
        row.aid = columns.aid.string(record);
        row.bidId = columns.bidId.string(record);
        row.writeId = columns.writeId.string(record);
        row.number = QString::number(columns.number[size_t(record)]);
        row.subject = columns.subject.string(record);
        row.writeDate = columns.writeDate.string(record);
        row.title = columns.title.string(record);
        row.name = columns.name.string(record);
        row.received = columns.received.at(record);
        row.read = columns.read.at(record);
        if (withMessages) {
            row.message = messageHead(columns.message.at(record));
            // A head of fewer UTF-16 units than the head's characters is the whole text.
            row.wholeMessage = row.message.size() < messageHeadLength;
        } else {
            row.headPending = true;
            row.wholeMessage = false;
        }
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

MessageHeads::MessageHeads(const QString& connectionName, const QString& folderId,
                           const QString& loginId)
    : m_connectionName(connectionName), m_folderId(folderId), m_loginId(loginId)
{
}

void MessageHeads::readHead(NaviRow& row) const
{
    if (!row.headPending)
        return;
    row.headPending = false;
    row.wholeMessage = true;
    const QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.isOpen())
        return;
    // The key is checked as well: a rowid of a removed message may be given to a new one.
    const QVariant head = Sql::scalar(
        db,
        QStringLiteral("SELECT substr(Message,1,:HEAD) FROM T_Navi WHERE rowid=:ROWID AND "
                       "Aid=:AID AND BidId=:BIDID AND [Number]=:NUMBER"),
        {{":HEAD", messageHeadLength},
         {":ROWID", row.rowId},
         {":AID", row.aid},
         {":BIDID", row.bidId},
         {":NUMBER", row.number.toLongLong()}});
    row.message = head.toString();
    row.wholeMessage = row.message.size() < messageHeadLength;
}

void MessageHeads::readFolder(
    const std::function<void(qint64 rowId, QStringView head)>& onHead) const
{
    const QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.isOpen())
        return;
    Sql::readRows(
        db,
        QStringLiteral("SELECT rowid,substr(Message,1,:HEAD) FROM T_Navi "
                       "WHERE LoginId=:LOGINID AND FolderID=:FOLDER_ID"),
        {{":HEAD", messageHeadLength}, {":LOGINID", m_loginId}, {":FOLDER_ID", m_folderId}},
        [&onHead](const Sql::RawRow& row) { onHead(row.integer(0), row.text(1)); });
}

void MessageHeads::readMessages(const std::vector<qint64>& rowIds, const OnMessage& onMessage) const
{
    const QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (rowIds.empty() || !db.isOpen())
        return;
    // Any number of rowids as one bound value.
    Sql::readRows(db,
                  QStringLiteral("SELECT rowid,Aid,BidId,[Number],Message FROM T_Navi "
                                 "WHERE rowid IN (SELECT value FROM json_each(:ROWIDS))"),
                  {{":ROWIDS", JsonKeyList::numbers(rowIds)}}, [&onMessage](const Sql::RawRow& row) {
                      onMessage(row.integer(0), row.text(1), row.text(2), row.integer(3),
                                row.text(4));
                  });
}

} // namespace NaviListQuery
