// Files are written whole or not at all: a full disk keeps the old file and reports the error.
#include "SmallFileSystem.h"
#include "platform/SafeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestFiles : public QObject
{
    Q_OBJECT

private:
    static QByteArray readAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    static void writePlain(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

private slots:
    void cleanup() { SafeFileWriter::simulateDiskFullAfter(-1); }

    void replacesTheFileWhole_data()
    {
        QTest::addColumn<int>("access");
        QTest::addColumn<int>("expectedMode");
        QTest::newRow("owner only") << int(SafeFileWriter::Access::OwnerOnly) << 0600;
        QTest::newRow("kept from the old file") << int(SafeFileWriter::Access::Keep) << 0640;
    }
    void replacesTheFileWhole()
    {
        QFETCH(int, access);
        QFETCH(int, expectedMode);
        QTemporaryDir dir;
        const QString path = dir.filePath("a.txt");
        writePlain(path, "old");
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                | QFileDevice::ReadGroup));
        QString error;
        QVERIFY(SafeFileWriter::writeWholeFile(path, "new contents", &error,
                                               SafeFileWriter::Access(access)));
        QCOMPARE(readAll(path), QByteArray("new contents"));
        QFileInfo info(path);
        const int mode = (info.permissions() & QFileDevice::ReadOwner ? 0400 : 0)
                         | (info.permissions() & QFileDevice::WriteOwner ? 0200 : 0)
                         | (info.permissions() & QFileDevice::ReadGroup ? 0040 : 0)
                         | (info.permissions() & QFileDevice::ReadOther ? 0004 : 0);
        QCOMPARE(mode, expectedMode);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.txt"});
    }

    void keepsTheOldFileWhenTheDiskIsFull_data()
    {
        QTest::addColumn<qint64>("space");
        QTest::addColumn<int>("chunks");
        QTest::newRow("nothing fits, one write") << qint64(0) << 1;
        QTest::newRow("half fits, one write") << qint64(500) << 1;
        QTest::newRow("full at the third of ten chunks") << qint64(250) << 10;
    }
    void keepsTheOldFileWhenTheDiskIsFull()
    {
        QFETCH(qint64, space);
        QFETCH(int, chunks);
        QTemporaryDir dir;
        const QString path = dir.filePath("setting.ini");
        const QByteArray old = "[Main]\nWidth=900\n";
        writePlain(path, old);
        SafeFileWriter::simulateDiskFullAfter(space);
        SafeFileWriter writer(path, SafeFileWriter::Access::OwnerOnly);
        QVERIFY(writer.open());
        bool allWritten = true;
        for (int i = 0; i < chunks; ++i)
            allWritten = writer.write(QByteArray(1000 / chunks, 'x')) && allWritten;
        QVERIFY(!allWritten);
        QVERIFY(!writer.commit());
        QVERIFY(!writer.errorString().isEmpty());
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"setting.ini"});
    }

    void anUncommittedWriterLeavesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("new.txt");
        {
            SafeFileWriter writer(path);
            QVERIFY(writer.open());
            QVERIFY(writer.write("partial"));
        }
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    // The same on a real file system that fills up, where this test may mount one.
    void keepsTheOldFileOnARealFullFileSystem()
    {
        SmallFileSystem disk(64);
        if (!disk.isMounted())
            QSKIP("no small file system can be mounted here");
        const QString path = disk.filePath("cookies.txt");
        const QByteArray old(8 * 1024, 'o');
        writePlain(path, old);
        QString error;
        QVERIFY(!SafeFileWriter::writeWholeFile(path, QByteArray(100 * 1024, 'n'), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files), QStringList{"cookies.txt"});
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "test_files.moc"
