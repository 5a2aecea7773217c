// The database file of the data folder: made whole or not at all, a file without a schema taken
// for a missing one, and any other file left as it is for the open to fail on.
#include "SmallFileSystem.h"
#include "TestDataFolder.h"
#include "platform/Database.h"
#include "platform/Sql.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Runs the statements on the SQLite file at path with a connection of the test's own.
void runOnFile(const QString& path, const QStringList& statements)
{
    const QString name = QStringLiteral("fixture-file");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        for (const QString& statement : statements) {
            QSqlQuery query(db);
            QVERIFY2(query.exec(statement),
                     qPrintable(statement + ": " + query.lastError().text()));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// The data folder's files besides setting.ini.
QStringList databaseFiles(const TestDataFolder& folder)
{
    QStringList files = filesIn(folder.path());
    files.removeAll(QStringLiteral("setting.ini"));
    return files;
}

// A connection that works on the whole schema: a listing and a message are stored and counted.
void verifyWorkingDatabase()
{
    {
        Database::ScopedConnection db;
        Sql::exec(db.db(), "INSERT INTO T_BidData (Aid, BidId, LoginId) VALUES ('a1', 'b1', 'me')");
        Sql::exec(db.db(), "INSERT INTO T_Navi (Aid, BidId, LoginId, [Number], RecFlg)"
                           " VALUES ('a1', 'b1', 'me', 1, 1)");
    }
    Database::ScopedConnection again;
    QCOMPARE(Sql::scalar(again.db(), "SELECT COUNT(*) FROM T_BidData").toInt(), 1);
    QCOMPARE(Sql::scalar(again.db(), "SELECT NaviCount FROM T_NaviCount").toInt(), 1);
}

// TESSALY_HOME points at another folder while the object lives.
class DataFolderAt
{
public:
    explicit DataFolderAt(const QString& path) : m_previous(qgetenv("TESSALY_HOME"))
    {
        qputenv("TESSALY_HOME", path.toUtf8());
    }
    ~DataFolderAt() { qputenv("TESSALY_HOME", m_previous); }
    DataFolderAt(const DataFolderAt&) = delete;
    DataFolderAt& operator=(const DataFolderAt&) = delete;

private:
    QByteArray m_previous;
};

} // namespace

class TestDatabaseFile : public QObject
{
    Q_OBJECT

private slots:
    // What a first start that was killed, or ran out of space, leaves; and files that were
    // opened as such by later starts.
    void fileWithoutASchemaBecomesAWorkingDatabase_data()
    {
        QTest::addColumn<QStringList>("statements"); // made with these; none: 0 bytes
        QTest::newRow("0 bytes") << QStringList();
        QTest::newRow("an empty database switched to WAL")
            << QStringList{"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL"};
        QTest::newRow("every table dropped again")
            << QStringList{"CREATE TABLE T_BidData (Aid TEXT)", "DROP TABLE T_BidData"};
    }
    void fileWithoutASchemaBecomesAWorkingDatabase()
    {
        QFETCH(QStringList, statements);
        TestDataFolder folder;
        const QString path = folder.filePath("Tessaly.db");
        writeFile(path, {});
        if (!statements.isEmpty())
            runOnFile(path, statements);
        verifyWorkingDatabase();
        QCOMPARE(databaseFiles(folder), QStringList{"Tessaly.db"});
        QCOMPARE(QFile::permissions(path) & 0x0077, QFile::Permissions());
    }

    // The open fails as it always has, and the file and the folder stay as they were.
    void fileHoldingAnythingElseIsLeftAsItIs_data()
    {
        QTest::addColumn<QByteArray>("bytes");       // the file's bytes, when no statements
        QTest::addColumn<QStringList>("statements"); // an SQLite file made with these
        QTest::newRow("bytes that are no database") << QByteArray(4096, 'x') << QStringList();
        QTest::newRow("a line of text") << QByteArray("Tessaly\n") << QStringList();
        QTest::newRow("a database of other tables")
            << QByteArray()
            << QStringList{"CREATE TABLE Other (Aid TEXT)", "INSERT INTO Other VALUES ('kept')"};
    }
    void fileHoldingAnythingElseIsLeftAsItIs()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, statements);
        TestDataFolder folder;
        const QString path = folder.filePath("Tessaly.db");
        writeFile(path, bytes);
        if (!statements.isEmpty())
            runOnFile(path, statements);
        const QByteArray before = fileBytes(path);
        for (int open = 0; open < 2; ++open)
            QVERIFY_THROWS_EXCEPTION(DatabaseError, Database::ScopedConnection());
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(databaseFiles(folder), QStringList{"Tessaly.db"});
    }

    void temporariesOfABuildThatWasCutShortAreRemoved_data()
    {
        QTest::addColumn<bool>("withFile"); // a Tessaly.db without a schema beside them
        QTest::newRow("no database file") << false;
        QTest::newRow("a 0-byte database file") << true;
    }
    void temporariesOfABuildThatWasCutShortAreRemoved()
    {
        QFETCH(bool, withFile);
        TestDataFolder folder;
        if (withFile)
            writeFile(folder.filePath("Tessaly.db"), {});
        writeFile(folder.filePath("Tessaly.db.new-a1B2c3"), QByteArray(8192, '\0'));
        writeFile(folder.filePath("Tessaly.db.new-a1B2c3-journal"), QByteArray(512, 'j'));
        verifyWorkingDatabase();
        QCOMPARE(databaseFiles(folder), QStringList{"Tessaly.db"});
    }

    // A disk too full for the schema: the open fails and leaves nothing; once there is room
    // again, the next open makes the database.
    void fullDiskAtTheFirstOpenLeavesNothingBehind()
    {
        SmallFileSystem disk(1024);
        if (!disk.isMounted())
            QSKIP("no small file system can be mounted here");
        DataFolderAt home(disk.path());
        const QString filler = disk.filePath("filler");
        {
            QFile file(filler);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'f');
            while (file.write(block) == block.size() && file.flush()) {
            }
        }
        // Room for a few pages: the file itself can be made, its schema not.
        QVERIFY(QFile::resize(filler, QFileInfo(filler).size() - 4 * 4096));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, Database::ScopedConnection());
        QCOMPARE(filesIn(disk.path()), QStringList{"filler"});
        QVERIFY(QFile::remove(filler));
        {
            Database::ScopedConnection db;
            Sql::exec(db.db(), "INSERT INTO T_BidData (Aid) VALUES ('a1')");
        }
        Database::ScopedConnection db;
        QCOMPARE(Sql::scalar(db.db(), "SELECT COUNT(*) FROM T_BidData").toInt(), 1);
        QCOMPARE(Sql::scalar(db.db(), "SELECT COUNT(*) FROM T_NaviCount").toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDatabaseFile)
#include "test_database_file.moc"
