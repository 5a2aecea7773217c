#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <functional>
#include <stdexcept>
#include <utility>

struct sqlite3;
struct sqlite3_stmt;

// A failed SQL statement: carries the statement text and the driver's message. The
// application's event loop shows it; no caller checks lastError() by hand.
class DatabaseError : public std::runtime_error
{
public:
    DatabaseError(const QString& statement, const QString& driverMessage);
    QString statement() const { return m_statement; }
    QString driverMessage() const { return m_driverMessage; }

private:
    QString m_statement;
    QString m_driverMessage;
};

// Named parameters as in ":DATA_AID"; values are always bound, never pasted into SQL text.
using SqlParams = QList<std::pair<QString, QVariant>>;

namespace Sql {

// Prepares a forward-only statement once; run it with exec(query, params).
QSqlQuery prepare(const QSqlDatabase& db, const QString& text);
// Binds the parameters by name and runs a prepared statement.
void exec(QSqlQuery& query, const SqlParams& params = {});
// Prepares, binds and runs in one step; the returned query is positioned before the first row.
QSqlQuery exec(const QSqlDatabase& db, const QString& text, const SqlParams& params = {});
// The first column of the first row, or an invalid QVariant when there is no row.
QVariant scalar(const QSqlDatabase& db, const QString& text, const SqlParams& params = {});

// The value a parameter is bound with: a null QString becomes '' (the program's text columns
// hold '' rather than NULL); every other value as it stands.
QVariant boundValue(const QVariant& value);

// The connection's own SQLite handle, or nullptr when db is not an open SQLite connection.
sqlite3* sqliteHandle(const QSqlDatabase& db);

// One row of a statement read through SQLite directly, without a QVariant per cell. Its views
// are valid until the callback returns.
class RawRow
{
public:
    explicit RawRow(sqlite3_stmt* statement) : m_statement(statement) {}
    int columnCount() const;
    bool isNull(int column) const;
    // The cell as text, as SQLite converts it (a number as its decimal digits; NULL as empty).
    QStringView text(int column) const;
    // The cell as a number, as SQLite converts it (NULL and non-numeric text as 0).
    qint64 integer(int column) const;

private:
    sqlite3_stmt* m_statement;
};

// Runs a statement on the connection's SQLite handle, binding the parameters by name as exec
// does, and calls onRow for every row. Throws DatabaseError when the statement fails or names
// a parameter it does not have.
void readRows(const QSqlDatabase& db, const QString& text, const SqlParams& params,
              const std::function<void(const RawRow&)>& onRow);

// A transaction that rolls back unless commit() was called: a store lands whole or not at all.
class Transaction
{
public:
    explicit Transaction(const QSqlDatabase& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    QSqlDatabase m_db;
    bool m_open = false;
};

} // namespace Sql
