#include "platform/Sql.h"

#include <QSqlDriver>
#include <QSqlError>

#include <sqlite3.h>

#include <memory>

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
    for (const auto& [name, value] : params)
        query.bindValue(name, boundValue(value));
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

QVariant boundValue(const QVariant& value)
{
    // A null QString would bind as SQL NULL.
    if (value.metaType().id() == QMetaType::QString && value.toString().isNull())
        return QStringLiteral("");
    return value;
}

sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    // The QSQLITE driver hands out its connection as a QVariant holding "sqlite3*".
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

int RawRow::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

bool RawRow::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

QStringView RawRow::text(int column) const
{
    const auto* units = static_cast<const char16_t*>(sqlite3_column_text16(m_statement, column));
    if (!units)
        return {};
    return QStringView(units, sqlite3_column_bytes16(m_statement, column) / 2);
}

qint64 RawRow::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

namespace {

void bind(sqlite3* handle, sqlite3_stmt* statement, const QString& text, const QString& name,
          const QVariant& given)
{
    const int index = sqlite3_bind_parameter_index(statement, name.toUtf8().constData());
    if (index == 0)
        throw DatabaseError(text, QStringLiteral("no parameter ") + name);
    const QVariant value = boundValue(given);
    int result = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        result = sqlite3_bind_null(statement, index);
    } else {
        switch (value.metaType().id()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Short:
            result = sqlite3_bind_int64(statement, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            result = sqlite3_bind_double(statement, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            result = sqlite3_bind_blob64(statement, index, bytes.constData(),
                                         sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QString s = value.toString();
            result = sqlite3_bind_text16(statement, index, s.utf16(), int(s.size() * 2),
                                         SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (result != SQLITE_OK)
        throw DatabaseError(text, QString::fromUtf8(sqlite3_errmsg(handle)));
}

} // namespace

void readRows(const QSqlDatabase& db, const QString& text, const SqlParams& params,
              const std::function<void(const RawRow&)>& onRow)
{
    sqlite3* handle = sqliteHandle(db);
    if (!handle)
        throw DatabaseError(text, QStringLiteral("not an open SQLite connection: ") +
                                      db.connectionName());
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare16_v2(handle, text.utf16(), int(text.size() * 2), &raw, nullptr) !=
        SQLITE_OK)
        throw DatabaseError(text, QString::fromUtf8(sqlite3_errmsg(handle)));
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
    for (const auto& [name, value] : params)
        bind(handle, raw, text, name, value);
    const RawRow row(raw);
    for (;;) {
        const int result = sqlite3_step(raw);
        if (result == SQLITE_DONE)
            return;
        if (result != SQLITE_ROW)
            throw DatabaseError(text, QString::fromUtf8(sqlite3_errmsg(handle)));
        onRow(row);
    }
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
