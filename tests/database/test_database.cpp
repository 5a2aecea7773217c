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

    // A direct read gives what a QSqlQuery of the same statement gives, bound by the same rules.
    void directReadMatchesTheQueryRead_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("text beyond U+FFFF") << QVariant(QString::fromUtf8("𠮷野家 ｱｲｳ 'x'"));
        QTest::newRow("null text binds as empty") << QVariant(QString());
        QTest::newRow("integer") << QVariant(qlonglong(-9007199254740993LL));
        QTest::newRow("bool") << QVariant(true);
        QTest::newRow("no value") << QVariant();
    }
    void directReadMatchesTheQueryRead()
    {
        QFETCH(QVariant, value);
        TestDataFolder folder;
        Database::ScopedConnection db;
        Sql::exec(db.db(), "CREATE TABLE T_Probe (Text, Number INTEGER)");
        Sql::exec(db.db(), "INSERT INTO T_Probe VALUES (:V, :V2)", {{":V", value}, {":V2", value}});
        QSqlQuery query = Sql::exec(db.db(), "SELECT Text, Number FROM T_Probe WHERE Text IS :V",
                                    {{":V", value}});
        QVERIFY(query.next());
        int rows = 0;
        Sql::readRows(db.db(), "SELECT Text, Number FROM T_Probe WHERE Text IS :V", {{":V", value}},
                      [&](const Sql::RawRow& row) {
                          ++rows;
                          QCOMPARE(row.columnCount(), 2);
                          QCOMPARE(row.isNull(0), query.value(0).isNull());
                          QCOMPARE(row.text(0).toString(), query.value(0).toString());
                          QCOMPARE(row.text(1).toString(), query.value(1).toString());
                          QCOMPARE(row.integer(1), query.value(1).toLongLong());
                      });
        QCOMPARE(rows, 1);
    }

    void directReadThrowsWithItsText()
    {
        TestDataFolder folder;
        Database::ScopedConnection db;
        const auto ignore = [](const Sql::RawRow&) {};
        for (const auto& [text, params] :
             {std::pair<QString, SqlParams>{"SELECT Nothing FROM T_Missing", {}},
              {"SELECT Aid FROM T_BidData WHERE Aid=:AID", {{":AD", "typo"}}}}) {
            try {
                Sql::readRows(db.db(), text, params, ignore);
                QFAIL("no error");
            } catch (const DatabaseError& error) {
                QCOMPARE(error.statement(), text);
                QVERIFY(!error.driverMessage().isEmpty());
            }
        }
        QVERIFY_THROWS_EXCEPTION(DatabaseError,
                                 Sql::readRows(QSqlDatabase(), "SELECT 1", {}, ignore));
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "test_database.moc"
