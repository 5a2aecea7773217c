// The SQL helper: binding, errors that carry the statement, and transactions that land whole.
#include "TestDataFolder.h"
#include "platform/Database.h"
#include "platform/Sql.h"

#include <QTest>

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    void nullTextIsStoredAsEmptyText()
    {
        TestDataFolder folder;
        Database::ScopedConnection db;
        Sql::exec(db.db(), "INSERT INTO T_BidMaster (Id, Name) VALUES (:ID, :NAME)",
                  {{":ID", "bidder"}, {":NAME", QString()}});
        QCOMPARE(Sql::scalar(db.db(), "SELECT COUNT(*) FROM T_BidMaster WHERE Name=''").toInt(),
                 1);
    }

    void valuesWithQuotesAreBoundNotPasted()
    {
        TestDataFolder folder;
        Database::ScopedConnection db;
        const QString title = QStringLiteral("O'Neil'); DROP TABLE T_BidData; --");
        Sql::exec(db.db(), "INSERT INTO T_BidData (Aid, Title) VALUES ('a', :TITLE)",
                  {{":TITLE", title}});
        QCOMPARE(Sql::scalar(db.db(), "SELECT Title FROM T_BidData").toString(), title);
    }

    void failedStatementThrowsWithItsText()
    {
        TestDataFolder folder;
        Database::ScopedConnection db;
        try {
            Sql::exec(db.db(), "SELECT Nothing FROM T_Missing");
            QFAIL("no error");
        } catch (const DatabaseError& error) {
            QVERIFY(error.statement().contains("T_Missing"));
            QVERIFY(!error.driverMessage().isEmpty());
        }
    }

    void transactionWithoutCommitLeavesNothing()
    {
        TestDataFolder folder;
        Database::ScopedConnection db;
        {
            Sql::Transaction transaction(db.db());
            Sql::exec(db.db(), "INSERT INTO T_BidData (Aid) VALUES ('a')");
        }
        QCOMPARE(Sql::scalar(db.db(), "SELECT COUNT(*) FROM T_BidData").toInt(), 0);
        {
            Sql::Transaction transaction(db.db());
            Sql::exec(db.db(), "INSERT INTO T_BidData (Aid) VALUES ('b')");
            transaction.commit();
        }
        QCOMPARE(Sql::scalar(db.db(), "SELECT COUNT(*) FROM T_BidData").toInt(), 1);
    }

    void messageNumbersCompareAsNumbers()
    {
        TestDataFolder folder;
        Database::ScopedConnection db;
        for (const char* number : {"9", "10"})
            Sql::exec(db.db(), "INSERT INTO T_Navi (Aid, [Number]) VALUES ('a', :N)",
                      {{":N", QString::fromLatin1(number)}});
        QCOMPARE(Sql::scalar(db.db(), "SELECT MAX([Number]) FROM T_Navi").toInt(), 10);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "test_database.moc"
