#include "platform/SchemaUpgrade.h"

#include "platform/Sql.h"

#include <QSqlQuery>
#include <QStringList>

namespace SchemaUpgrade {
namespace {

// The counted set is that of the listing list: the messages of one account with one auction id
// and one winner (account and winner compared without case, as their columns do); unread are
// the received ones not yet opened. A row exists only while its transaction has messages.
// Moving a message between folders changes neither count, so no trigger watches FolderID.
const char* const countTable =
    "CREATE TABLE T_NaviCount ("
    " LoginId TEXT NOT NULL COLLATE NOCASE,"
    " Aid TEXT NOT NULL,"
    " BidId TEXT NOT NULL COLLATE NOCASE,"
    " NaviCount INTEGER NOT NULL,"
    " UnreadCount INTEGER NOT NULL,"
    " PRIMARY KEY (LoginId, Aid, BidId)) WITHOUT ROWID";

// "(row.UnsealingFlg=FALSE AND row.RecFlg=TRUE)": 1 for a received unread message, else 0.
QString unread(const QString& row)
{
    return QStringLiteral("(%1.UnsealingFlg=FALSE AND %1.RecFlg=TRUE)").arg(row);
}

QString sameTransaction(const QString& a, const QString& b)
{
    return QStringLiteral("%1.LoginId=%2.LoginId COLLATE NOCASE AND %1.Aid=%2.Aid "
                          "AND %1.BidId=%2.BidId COLLATE NOCASE")
        .arg(a, b);
}

QString countRowOf(const QString& row)
{
    return QStringLiteral("LoginId=%1.LoginId AND Aid=%1.Aid AND BidId=%1.BidId").arg(row);
}

QString addMessage(const QString& row)
{
    return QStringLiteral("INSERT INTO T_NaviCount (LoginId,Aid,BidId,NaviCount,UnreadCount) "
                          "VALUES (%1.LoginId,%1.Aid,%1.BidId,1,%2) "
                          "ON CONFLICT (LoginId,Aid,BidId) DO UPDATE "
                          "SET NaviCount=NaviCount+1,UnreadCount=UnreadCount+excluded.UnreadCount;")
        .arg(row, unread(row));
}

QString removeMessage(const QString& row)
{
    return QStringLiteral("UPDATE T_NaviCount SET NaviCount=NaviCount-1,UnreadCount=UnreadCount-%1 "
                          "WHERE %2; DELETE FROM T_NaviCount WHERE %2 AND NaviCount<=0;")
        .arg(unread(row), countRowOf(row));
}

struct Trigger
{
    QString name;
    QString text;
};

QList<Trigger> countTriggers()
{
    const QString OLD = QStringLiteral("OLD");
    const QString NEW = QStringLiteral("NEW");
    return {
        {QStringLiteral("TR_NaviCount_Insert"),
         QStringLiteral("CREATE TRIGGER TR_NaviCount_Insert AFTER INSERT ON T_Navi BEGIN %1 END")
             .arg(addMessage(NEW))},
        {QStringLiteral("TR_NaviCount_Delete"),
         QStringLiteral("CREATE TRIGGER TR_NaviCount_Delete AFTER DELETE ON T_Navi BEGIN %1 END")
             .arg(removeMessage(OLD))},
        // Marking read or unread changes one row of the table.
        {QStringLiteral("TR_NaviCount_ReadState"),
         QStringLiteral("CREATE TRIGGER TR_NaviCount_ReadState "
                        "AFTER UPDATE OF UnsealingFlg,RecFlg ON T_Navi WHEN %1 AND %2<>%3 BEGIN "
                        "UPDATE T_NaviCount SET UnreadCount=UnreadCount-%2+%3 WHERE %4; END")
             .arg(sameTransaction(OLD, NEW), unread(OLD), unread(NEW), countRowOf(NEW))},
        // A message given to another transaction or account leaves its old count for the new.
        {QStringLiteral("TR_NaviCount_Key"),
         QStringLiteral("CREATE TRIGGER TR_NaviCount_Key "
                        "AFTER UPDATE OF LoginId,Aid,BidId,UnsealingFlg,RecFlg ON T_Navi "
                        "WHEN NOT (%1) BEGIN %2 %3 END")
             .arg(sameTransaction(OLD, NEW), removeMessage(OLD), addMessage(NEW))},
    };
}

const char* const fillCounts =
    "INSERT INTO T_NaviCount (LoginId,Aid,BidId,NaviCount,UnreadCount)"
    " SELECT LoginId,Aid,BidId,COUNT(*),SUM(UnsealingFlg=FALSE AND RecFlg=TRUE)"
    " FROM T_Navi GROUP BY LoginId,Aid,BidId";

const char* const loginIndex = "CREATE INDEX IX_BidData_Login ON T_BidData (LoginId)";

// The folder list's covering index; it replaces IX_Navi_Folder (LoginId, FolderID).
const char* const folderIndex =
    "CREATE INDEX IX_Navi_FolderList ON T_Navi (LoginId, FolderID, Aid, BidId, WriteId, [Number],"
    " Subject, WriteDate, RecFlg, UnsealingFlg)";
const QStringList folderIndexColumns{
    QStringLiteral("LoginId"), QStringLiteral("FolderID"), QStringLiteral("Aid"),
    QStringLiteral("BidId"),   QStringLiteral("WriteId"),  QStringLiteral("Number"),
    QStringLiteral("Subject"), QStringLiteral("WriteDate"), QStringLiteral("RecFlg"),
    QStringLiteral("UnsealingFlg")};

struct State
{
    bool countsComplete = false; // the table and every trigger
    bool countsPartial = false;  // some of them
    bool loginIndexRight = false;
    bool folderIndexRight = false; // IX_Navi_FolderList as above, and IX_Navi_Folder gone
    bool upToDate() const { return countsComplete && loginIndexRight && folderIndexRight; }
};

// The columns of an index in their order; none when the file has no such index.
QStringList indexColumns(const QSqlDatabase& db, const QString& index)
{
    QSqlQuery columns =
        Sql::exec(db, QStringLiteral("SELECT name FROM pragma_index_info(:NAME) ORDER BY seqno"),
                  {{QStringLiteral(":NAME"), index}});
    QStringList names;
    while (columns.next())
        names << columns.value(0).toString();
    return names;
}

State look(const QSqlDatabase& db)
{
    QStringList wanted{QStringLiteral("T_NaviCount")};
    for (const Trigger& trigger : countTriggers())
        wanted << trigger.name;
    QSqlQuery found = Sql::exec(db, QStringLiteral("SELECT name FROM sqlite_master "
                                                   "WHERE type IN ('table','trigger') "
                                                   "AND tbl_name IN ('T_Navi','T_NaviCount')"));
    int present = 0;
    while (found.next())
        present += wanted.contains(found.value(0).toString()) ? 1 : 0;
    State state;
    state.countsComplete = present == wanted.size();
    state.countsPartial = present > 0 && !state.countsComplete;

    state.loginIndexRight = indexColumns(db, QStringLiteral("IX_BidData_Login")) ==
                            QStringList{QStringLiteral("LoginId")};
    state.folderIndexRight =
        indexColumns(db, QStringLiteral("IX_Navi_FolderList")) == folderIndexColumns &&
        indexColumns(db, QStringLiteral("IX_Navi_Folder")).isEmpty();
    return state;
}

// BEGIN IMMEDIATE takes the write lock at once (waiting out the busy time-out), so the second
// of two connections sees the first one's work when it looks again.
class WriteTransaction
{
public:
    explicit WriteTransaction(const QSqlDatabase& db) : m_db(db)
    {
        Sql::exec(m_db, QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~WriteTransaction()
    {
        if (m_open) {
            QSqlQuery rollback(m_db);
            rollback.exec(QStringLiteral("ROLLBACK"));
        }
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit()
    {
        Sql::exec(m_db, QStringLiteral("COMMIT"));
        m_open = false;
    }

private:
    QSqlDatabase m_db;
    bool m_open = true;
};

void buildCounts(const QSqlDatabase& db, const State& state)
{
    if (state.countsPartial) {
        for (const Trigger& trigger : countTriggers())
            Sql::exec(db, QStringLiteral("DROP TRIGGER IF EXISTS ") + trigger.name);
        Sql::exec(db, QStringLiteral("DROP TABLE IF EXISTS T_NaviCount"));
    }
    Sql::exec(db, QLatin1String(countTable));
    Sql::exec(db, QLatin1String(fillCounts));
    for (const Trigger& trigger : countTriggers())
        Sql::exec(db, trigger.text);
}

} // namespace

void apply(const QSqlDatabase& db)
{
    if (look(db).upToDate())
        return;
    WriteTransaction transaction(db);
    const State state = look(db);
    if (!state.countsComplete)
        buildCounts(db, state);
    if (!state.loginIndexRight) {
        Sql::exec(db, QStringLiteral("DROP INDEX IF EXISTS IX_BidData_Login"));
        Sql::exec(db, QLatin1String(loginIndex));
    }
    if (!state.folderIndexRight) {
        Sql::exec(db, QStringLiteral("DROP INDEX IF EXISTS IX_Navi_Folder"));
        Sql::exec(db, QStringLiteral("DROP INDEX IF EXISTS IX_Navi_FolderList"));
        Sql::exec(db, QLatin1String(folderIndex));
    }
    transaction.commit();
}

} // namespace SchemaUpgrade
