#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <stdexcept>
#include <utility>

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
