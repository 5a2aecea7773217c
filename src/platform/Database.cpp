#include "platform/Database.h"

#include "platform/DataFolder.h"
#include "platform/SchemaUpgrade.h"
#include "platform/Sql.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

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

// A database is built under this prefix beside its final name and renamed into place once its
// schema is whole, so a start that is cut short leaves no file that looks like a database. What
// a killed build leaves (the file and its journal) carries the prefix and is removed by the next
// build.
QString temporaryPrefix(const QString& path)
{
    return QFileInfo(path).fileName() + QStringLiteral(".new-");
}

// The files SQLite keeps beside a database while it is open or after a crash.
const QStringList sideFileSuffixes{QStringLiteral("-journal"), QStringLiteral("-wal"),
                                   QStringLiteral("-shm")};

// Only one connection of the process looks at the file and builds it at a time.
QMutex& buildMutex()
{
    static QMutex mutex;
    return mutex;
}

[[noreturn]] void throwFileError(const QString& what, const QString& path)
{
    throw DatabaseError(what + QLatin1Char(' ') + path, QString::fromLocal8Bit(strerror(errno)));
}

void removeStaleTemporaries(const QString& path)
{
    const QFileInfo info(path);
    QDir folder = info.dir();
    const QStringList stale = folder.entryList({temporaryPrefix(path) + QLatin1Char('*')},
                                               QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : stale)
        folder.remove(name);
}

// A file with no schema at all: 0 bytes, or a database without a single table (what a first
// start that was killed or ran out of space leaves). A file SQLite cannot read, or one that
// holds anything, is not; it is opened as it is and fails there.
bool holdsNoSchema(QSqlDatabase& db)
{
    QSqlQuery probe(db);
    return probe.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) && probe.next() &&
           probe.value(0).toLongLong() == 0;
}

// Renames temporary to path, in one step. Without replace, a file that another process put at
// path meanwhile is kept, and the result is false.
bool moveIntoPlace(const QString& temporary, const QString& path, bool replace)
{
    const QByteArray from = QFile::encodeName(temporary);
    const QByteArray to = QFile::encodeName(path);
    if (!replace) {
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) ==
            0)
            return true;
        if (errno == EEXIST)
            return false;
        // A file system that cannot refuse to replace is left to the plain rename.
        if (errno != EINVAL && errno != ENOSYS)
            throwFileError(QStringLiteral("rename"), temporary);
    }
    if (::rename(from.constData(), to.constData()) != 0)
        throwFileError(QStringLiteral("rename"), temporary);
    return true;
}

// Creates a whole database at path: built under a temporary name with a rollback journal (no
// side files once it is closed), then renamed over what is there. replace: path holds a file
// without a schema, which the new one takes the place of.
void build(const QString& path, bool replace)
{
    removeStaleTemporaries(path);
    const QString folder = QFileInfo(path).absolutePath();
    QByteArray pattern =
        QFile::encodeName(folder + QLatin1Char('/') + temporaryPrefix(path) + "XXXXXX");
    const int handle = ::mkstemp(pattern.data()); // owner-only from the start
    if (handle < 0)
        throwFileError(QStringLiteral("create"), QFile::decodeName(pattern));
    ::close(handle);
    const QString temporary = QFile::decodeName(pattern);
    const QString name = uniqueConnectionName(QStringLiteral("build"));
    try {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(temporary);
            if (!db.open())
                throw DatabaseError(QStringLiteral("open ") + temporary, db.lastError().text());
            Sql::exec(db, QStringLiteral("PRAGMA journal_mode=DELETE"));
            Sql::exec(db, QStringLiteral("PRAGMA synchronous=FULL"));
            createSchema(db);
            SchemaUpgrade::apply(db);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        // Side files left beside the old name belong to no database the new file could use.
        for (const QString& suffix : sideFileSuffixes)
            QFile::remove(path + suffix);
        if (!moveIntoPlace(temporary, path, replace))
            QFile::remove(temporary);
    } catch (...) {
        QSqlDatabase::removeDatabase(name);
        QFile::remove(temporary);
        for (const QString& suffix : sideFileSuffixes)
            QFile::remove(temporary + suffix);
        throw;
    }
    // The rename itself reaches the disk.
    const int folderHandle = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (folderHandle >= 0) {
        ::fsync(folderHandle);
        ::close(folderHandle);
    }
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
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    const auto openFile = [&] {
        if (!db.open())
            throw DatabaseError(QStringLiteral("open ") + path, db.lastError().text());
    };
    try {
        {
            QMutexLocker lock(&buildMutex());
            if (!QFileInfo::exists(path))
                build(path, false);
            openFile();
            if (holdsNoSchema(db)) {
                db.close();
                build(path, true);
                openFile();
            }
        }
        // A file that is not a database, or one without our tables, fails here and not later,
        // before anything is written to it.
        Sql::exec(db, QStringLiteral("SELECT COUNT(*) FROM T_BidData"));
        Sql::exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        Sql::exec(db, QStringLiteral("PRAGMA synchronous=NORMAL"));
        SchemaUpgrade::apply(db);
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
