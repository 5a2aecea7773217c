#include "platform/Database.h"

#include "platform/DataFolder.h"
#include "platform/Sql.h"

#include <QAtomicInteger>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

// The schema resource lives in the static core library; nothing else refers to it, so the
// linker would drop it unless it is registered by name.
static void registerSchemaResource()
{
    Q_INIT_RESOURCE(tessaly);
}

namespace Database {
namespace {

QStringList schemaStatements()
{
    registerSchemaResource();
    QFile file(QStringLiteral(":/schema.sql"));
    file.open(QIODevice::ReadOnly);
    // Comment lines go first: a comment may hold a ";".
    QStringList lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n'))
        if (!line.trimmed().startsWith(QLatin1String("--")))
            lines << line;
    QStringList statements;
    for (const QString& part : lines.join('\n').split(';')) {
        const QString statement = part.trimmed();
        if (!statement.isEmpty())
            statements << statement;
    }
    return statements;
}

void createSchema(const QSqlDatabase& db)
{
    Sql::Transaction transaction(db);
    for (const QString& statement : schemaStatements())
        Sql::exec(db, statement);
    transaction.commit();
}

// Brings a file made by an earlier version up to the schema: every index of the schema that the
// file lacks is made, and an index that one of them replaces is dropped.
void upgradeSchema(const QSqlDatabase& db)
{
    static const QRegularExpression createIndex(QStringLiteral("^CREATE INDEX (\\w+) ON"),
                                                QRegularExpression::CaseInsensitiveOption);
    static const QStringList replacedIndexes{QStringLiteral("IX_Navi_Folder")};
    QSet<QString> present;
    QSqlQuery query = Sql::exec(
        db,
        QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND sql IS NOT NULL"));
    while (query.next())
        present.insert(query.value(0).toString());
    query.finish();
    QStringList missing;
    for (const QString& statement : schemaStatements()) {
        const QRegularExpressionMatch match = createIndex.match(statement);
        if (match.hasMatch() && !present.contains(match.captured(1)))
            missing << statement;
    }
    bool replaced = false;
    for (const QString& name : replacedIndexes)
        replaced = replaced || present.contains(name);
    if (missing.isEmpty() && !replaced)
        return;
    Sql::Transaction transaction(db);
    for (QString statement : missing)
        Sql::exec(db, statement.replace(QRegularExpression(QStringLiteral("^CREATE INDEX ")),
                                        QStringLiteral("CREATE INDEX IF NOT EXISTS ")));
    for (const QString& name : replacedIndexes)
        Sql::exec(db, QStringLiteral("DROP INDEX IF EXISTS ") + name);
    transaction.commit();
}

} // namespace

QString fileName()
{
    return QStringLiteral("Tessaly.db");
}

QString filePath()
{
    return DataFolder::filePath(fileName());
}

QSqlDatabase open(const QString& connectionName)
{
    const QString path = filePath();
    const bool isNew = !QFile::exists(path);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        const QString message = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw DatabaseError(QStringLiteral("open ") + path, message);
    }
    try {
        if (isNew) {
            DataFolder::restrictFile(path);
            createSchema(db);
        }
        Sql::exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        Sql::exec(db, QStringLiteral("PRAGMA synchronous=NORMAL"));
        // A file that is not a database, or one without our tables, fails here and not later.
        Sql::exec(db, QStringLiteral("SELECT COUNT(*) FROM T_BidData"));
        if (!isNew)
            upgradeSchema(db);
    } catch (...) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw;
    }
    return db;
}

void close(const QString& connectionName)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

QString uniqueConnectionName(const QString& prefix)
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("%1-%2").arg(prefix).arg(++counter);
}

ScopedConnection::ScopedConnection(const QString& prefix)
    : m_name(uniqueConnectionName(prefix)), m_db(open(m_name))
{
}

ScopedConnection::~ScopedConnection()
{
    m_db = QSqlDatabase();
    close(m_name);
}

} // namespace Database
