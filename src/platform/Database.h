#pragma once

#include <QSqlDatabase>
#include <QString>

// The program's SQLite file in the data folder. A connection belongs to the thread that opened
// it: the main window owns the main connection; workers and short-lived users open their own.
namespace Database {

QString fileName();  // "Tessaly.db"
QString filePath();  // in the data folder

// Opens (creating the file from the schema when missing) a connection under the given name.
// Throws DatabaseError when the file cannot be opened.
QSqlDatabase open(const QString& connectionName);
// Closes and removes a connection opened by open().
void close(const QString& connectionName);
// A connection name not used by any other connection of the process.
QString uniqueConnectionName(const QString& prefix);

// A connection for one operation: opened on construction, removed on destruction.
class ScopedConnection
{
public:
    explicit ScopedConnection(const QString& prefix = QStringLiteral("short"));
    ~ScopedConnection();
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;
    const QSqlDatabase& db() const { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

} // namespace Database
