#include "platform/SqliteProgress.h"

#include "platform/Sql.h"

#include <sqlite3.h>

SqliteProgressHandler::SqliteProgressHandler(const QSqlDatabase& db, std::function<bool()> callback,
                                             int instructions)
    : m_handle(Sql::sqliteHandle(db)), m_callback(std::move(callback))
{
    if (!m_handle)
        throw DatabaseError(QStringLiteral("sqlite3_progress_handler"),
                            QStringLiteral("not an open SQLite connection: ") +
                                db.connectionName());
    sqlite3_progress_handler(m_handle, instructions, &SqliteProgressHandler::call, this);
}

SqliteProgressHandler::~SqliteProgressHandler()
{
    sqlite3_progress_handler(m_handle, 0, nullptr, nullptr);
}

int SqliteProgressHandler::call(void* handler)
{
    return static_cast<SqliteProgressHandler*>(handler)->m_callback() ? 1 : 0;
}
