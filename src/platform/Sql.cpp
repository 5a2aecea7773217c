#include "platform/Sql.h"

#include <QSqlError>

DatabaseError::DatabaseError(const QString& statement, const QString& driverMessage)
    : std::runtime_error(
          QStringLiteral("データベースエラー: %1\n%2").arg(driverMessage, statement).toStdString()),
      m_statement(statement), m_driverMessage(driverMessage)
{
}

namespace Sql {

QSqlQuery prepare(const QSqlDatabase& db, const QString& text)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(text))
        throw DatabaseError(text, query.lastError().text());
    return query;
}

void exec(QSqlQuery& query, const SqlParams& params)
{
    for (const auto& [name, value] : params) {
        // A null QString binds as SQL NULL; the program's text columns hold '' instead.
        if (value.metaType().id() == QMetaType::QString && value.toString().isNull())
            query.bindValue(name, QStringLiteral(""));
        else
            query.bindValue(name, value);
    }
    if (!query.exec())
        throw DatabaseError(query.lastQuery(), query.lastError().text());
}

QSqlQuery exec(const QSqlDatabase& db, const QString& text, const SqlParams& params)
{
    QSqlQuery query = prepare(db, text);
    exec(query, params);
    return query;
}

QVariant scalar(const QSqlDatabase& db, const QString& text, const SqlParams& params)
{
    QSqlQuery query = exec(db, text, params);
    return query.next() ? query.value(0) : QVariant();
}

Transaction::Transaction(const QSqlDatabase& db) : m_db(db)
{
    if (!m_db.transaction())
        throw DatabaseError(QStringLiteral("BEGIN"), m_db.lastError().text());
    m_open = true;
}

Transaction::~Transaction()
{
    if (m_open)
        m_db.rollback();
}

void Transaction::commit()
{
    if (!m_db.commit())
        throw DatabaseError(QStringLiteral("COMMIT"), m_db.lastError().text());
    m_open = false;
}

} // namespace Sql
