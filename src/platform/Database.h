#pragma once

#include <QSqlDatabase>
#include <QString>

// The program's SQLite file in the data folder. A connection belongs to the thread that opened
// it: the main window owns the main connection; workers and short-lived users open their own.
namespace Database {

QString fileName();  // "Tessaly.db"
QString filePath();  // in the data folder

// Opens a connection under the given name. A missing file, or one without any schema (as a first
// start that was cut short may have left it), is first made whole from the schema under a
// temporary name and renamed into place. Throws DatabaseError when the file cannot be opened or
// made, or holds anything but the program's database; such a file is left as it is.
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
