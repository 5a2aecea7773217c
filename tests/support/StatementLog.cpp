#include "StatementLog.h"

#include "platform/Sql.h"

#include <sqlite3.h>

StatementLog::StatementLog(const QSqlDatabase& db) : m_handle(Sql::sqliteHandle(db))
{
    if (m_handle)
        sqlite3_trace_v2(m_handle, SQLITE_TRACE_STMT, &StatementLog::record, this);
}

StatementLog::~StatementLog()
{
    if (m_handle)
        sqlite3_trace_v2(m_handle, 0, nullptr, nullptr);
}

int StatementLog::record(unsigned type, void* log, void* /*statement*/, void* text)
{
    if (type != SQLITE_TRACE_STMT)
        return 0;
    // A trigger's body is reported as a comment naming the trigger.
    const QString sql = QString::fromUtf8(static_cast<const char*>(text)).trimmed();
    if (!sql.startsWith(QLatin1String("--")))
        static_cast<StatementLog*>(log)->m_statements.append(sql);
    return 0;
}
