#pragma once

#include <QSqlDatabase>

#include <functional>

struct sqlite3;

// Calls back while SQLite runs a statement of the connection, so that one long statement does
// not hold up the caller: SQLite calls every `instructions` steps of its virtual machine, and a
// callback that answers true interrupts the statement, which then fails. The callback must not
// use the connection. Removed again when destroyed.
class SqliteProgressHandler
{
public:
    // Throws DatabaseError when the connection is not an open SQLite connection.
    SqliteProgressHandler(const QSqlDatabase& db, std::function<bool()> callback,
                          int instructions = 1000);
    ~SqliteProgressHandler();
    SqliteProgressHandler(const SqliteProgressHandler&) = delete;
    SqliteProgressHandler& operator=(const SqliteProgressHandler&) = delete;

private:
    static int call(void* handler);

    sqlite3* m_handle = nullptr;
    std::function<bool()> m_callback;
};
