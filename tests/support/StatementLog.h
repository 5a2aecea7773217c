#pragma once

#include <QSqlDatabase>
#include <QStringList>

struct sqlite3;

// The SQL statements a connection runs while the log lives, as SQLite reports each run of a
// statement (a prepared statement run again is reported again; trigger bodies are left out).
class StatementLog
{
public:
    explicit StatementLog(const QSqlDatabase& db);
    ~StatementLog();
    StatementLog(const StatementLog&) = delete;
    StatementLog& operator=(const StatementLog&) = delete;

    const QStringList& statements() const { return m_statements; }
    void clear() { m_statements.clear(); }

private:
    static int record(unsigned type, void* log, void* statement, void* text);

    sqlite3* m_handle;
    QStringList m_statements;
};
