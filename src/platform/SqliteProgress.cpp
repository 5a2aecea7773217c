#include "platform/SqliteProgress.h"

#include "platform/Sql.h"

#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

namespace {

// The QSQLITE driver hands out its connection as a QVariant holding "sqlite3*".
sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

} // namespace

SqliteProgressHandler::SqliteProgressHandler(const QSqlDatabase& db, std::function<bool()> callback,
                                             int instructions)
    : m_handle(sqliteHandle(db)), m_callback(std::move(callback))
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
