// The message counts kept per transaction: after every kind of write to T_Navi they equal a
// count of the messages themselves, and a file made before the count table gets it at open.
#include "TestDataFolder.h"
#include "platform/Database.h"
#include "platform/Sql.h"
#include "site/MessageCountCell.h"

#include <QTest>

namespace {

// (account, auction, winner) folded as SQLite's NOCASE folds, then the two counts.
using CountRows = QList<QStringList>;

CountRows rowsOf(QSqlQuery query)
{
    CountRows rows;
    while (query.next()) {
        QStringList row;
        for (int c = 0; c < 5; ++c)
            row << query.value(c).toString();
        rows << row;
    }
    return rows;
}

CountRows keptCounts(const QSqlDatabase& db)
{
    return rowsOf(Sql::exec(db, "SELECT lower(LoginId), Aid, lower(BidId), NaviCount, UnreadCount "
                                "FROM T_NaviCount ORDER BY 1, 2, 3"));
}

// The listing list's own definition of the counts, grouped from the messages.
CountRows groupedCounts(const QSqlDatabase& db)
{
    return rowsOf(Sql::exec(
        db, "SELECT lower(LoginId), Aid, lower(BidId), COUNT(Aid),"
            " SUM(CASE WHEN UnsealingFlg=FALSE AND RecFlg=TRUE THEN 1 ELSE 0 END)"
            " FROM T_Navi GROUP BY LoginId, Aid, BidId ORDER BY 1, 2, 3"));
}

void addMessage(const QSqlDatabase& db, const QString& login, const QString& aid,
                const QString& bidId, int number, bool received, bool read)
{
    Sql::exec(db,
              "INSERT INTO T_Navi (Aid, BidId, [Number], RecFlg, NewFlg, UnsealingFlg, LoginId,"
              " FolderID) VALUES (:AID, :BID, :NUMBER, :REC, :REC, :READ, :LOGIN, :FOLDER)",
              {{":AID", aid},
               {":BID", bidId},
               {":NUMBER", number},
               {":REC", received ? 1 : 0},
               {":READ", read ? 1 : 0},
               {":LOGIN", login},
               {":FOLDER", received ? "000" : "001"}});
}

// Two accounts; auction a1 has two winners; messages of every kind.
void addFixture(const QSqlDatabase& db)
{
    Sql::exec(db, "INSERT INTO T_BidData (Aid, BidId, LoginId) VALUES"
                  " ('a1', 'bidder1', 'seller'), ('a1', 'bidder2', 'seller'),"
                  " ('a2', 'bidder3', 'seller'), ('a3', 'bidder1', 'other')");
    addMessage(db, "seller", "a1", "bidder1", 1, true, false);
    addMessage(db, "seller", "a1", "bidder1", 2, false, false);
    addMessage(db, "seller", "a1", "bidder1", 3, true, true);
    addMessage(db, "seller", "a1", "bidder2", 1, true, false);
    addMessage(db, "seller", "a1", "bidder2", 3, true, false);
    addMessage(db, "seller", "a2", "bidder3", 1, false, false);
    addMessage(db, "other", "a3", "bidder1", 1, true, false);
    addMessage(db, "other", "a1", "bidder1", 1, true, false);
}

void verifyCounts(const QSqlDatabase& db)
{
    const CountRows grouped = groupedCounts(db);
    QCOMPARE(keptCounts(db), grouped);
    // The listing list's cell and the stores' cell read the same numbers.
    for (const QStringList& row : grouped)
        QCOMPARE(MessageCountCell::read(db, row[0], row[1], row[2]),
                 MessageCountCell::text(row[3].toInt(), row[4].toInt()));
}

// Takes a database back to the shape of a file written before the count table.
void makeOldShape(const QSqlDatabase& db)
{
    for (const char* trigger : {"TR_NaviCount_Insert", "TR_NaviCount_Delete",
                                "TR_NaviCount_ReadState", "TR_NaviCount_Key"})
        Sql::exec(db, QStringLiteral("DROP TRIGGER %1").arg(QLatin1String(trigger)));
    Sql::exec(db, "DROP TABLE T_NaviCount");
    Sql::exec(db, "DROP INDEX IX_BidData_Login");
    Sql::exec(db, "CREATE INDEX IX_BidData_Login ON T_BidData (LoginId, DeleteFlg)");
}

QStringList loginIndexColumns(const QSqlDatabase& db)
{
    QSqlQuery query = Sql::exec(
        db, "SELECT name FROM pragma_index_info('IX_BidData_Login') ORDER BY seqno");
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

int schemaObjects(const QSqlDatabase& db)
{
    return Sql::scalar(db, "SELECT COUNT(*) FROM sqlite_master").toInt();
}

} // namespace

class TestNaviCounts : public QObject
{
    Q_OBJECT

private slots:
    void countsFollowEveryWrite_data()
    {
        QTest::addColumn<QStringList>("statements");
        const auto row = [](const char* name, const QStringList& statements) {
            QTest::newRow(name) << statements;
        };
        row("nothing more", {});
        row("received unread inserted",
            {"INSERT INTO T_Navi (Aid, BidId, [Number], RecFlg, LoginId)"
             " VALUES ('a2', 'bidder3', 2, 1, 'seller')"});
        row("sent inserted into a new transaction",
            {"INSERT INTO T_Navi (Aid, BidId, [Number], RecFlg, LoginId)"
             " VALUES ('a9', 'bidder9', 1, 0, 'seller')"});
        row("winner and account in other cases",
            {"INSERT INTO T_Navi (Aid, BidId, [Number], RecFlg, LoginId)"
             " VALUES ('a1', 'BIDDER1', 4, 1, 'Seller')"});
        row("auction id in another case is another transaction",
            {"INSERT INTO T_Navi (Aid, BidId, [Number], RecFlg, LoginId)"
             " VALUES ('A1', 'bidder1', 4, 1, 'seller')"});
        row("one marked read",
            {"UPDATE T_Navi SET UnsealingFlg=1 WHERE Aid='a1' AND BidId='bidder2' AND [Number]=1"});
        row("one marked unread",
            {"UPDATE T_Navi SET UnsealingFlg=0 WHERE Aid='a1' AND BidId='bidder1' AND [Number]=3"});
        row("a sent one marked read",
            {"UPDATE T_Navi SET UnsealingFlg=1 WHERE Aid='a1' AND BidId='bidder1' AND [Number]=2"});
        row("marked read twice",
            {"UPDATE T_Navi SET UnsealingFlg=1 WHERE Aid='a1' AND BidId='bidder2' AND [Number]=3",
             "UPDATE T_Navi SET UnsealingFlg=1 WHERE Aid='a1' AND BidId='bidder2' AND [Number]=3"});
        row("all marked read", {"UPDATE T_Navi SET UnsealingFlg=1"});
        row("moved to another folder",
            {"UPDATE T_Navi SET FolderID='000-001' WHERE Aid='a1' AND BidId='bidder1'"});
        row("moved and marked read at once",
            {"UPDATE T_Navi SET FolderID='000-001', UnsealingFlg=1 WHERE Aid='a1'"});
        row("received flag cleared", {"UPDATE T_Navi SET RecFlg=0 WHERE Aid='a1'"});
        row("one deleted",
            {"DELETE FROM T_Navi WHERE Aid='a1' AND BidId='bidder1' AND [Number]=1"});
        row("a transaction's messages deleted",
            {"DELETE FROM T_Navi WHERE Aid='a1' AND BidId='BIDDER2' AND LoginId='seller'"});
        row("deleted and stored again",
            {"DELETE FROM T_Navi WHERE Aid='a1' AND BidId='bidder1' AND LoginId='seller'",
             "INSERT INTO T_Navi (Aid, BidId, [Number], RecFlg, LoginId)"
             " VALUES ('a1', 'bidder1', 1, 1, 'seller')"});
        row("every message deleted", {"DELETE FROM T_Navi"});
        row("the listing deleted", {"DELETE FROM T_BidData WHERE Aid='a1'"});
        row("a message given to another winner",
            {"UPDATE T_Navi SET BidId='bidder2' WHERE Aid='a1' AND BidId='bidder1' AND [Number]=1"});
        row("a message given to another account",
            {"UPDATE T_Navi SET LoginId='other' WHERE Aid='a2'"});
        row("winner rewritten in another case",
            {"UPDATE T_Navi SET BidId='Bidder1' WHERE Aid='a1' AND BidId='bidder1'"});
        row("winner and read state changed at once",
            {"UPDATE T_Navi SET BidId='bidder7', UnsealingFlg=1 WHERE Aid='a1' AND [Number]=1"});
        row("inside a transaction rolled back",
            {"SAVEPOINT s", "DELETE FROM T_Navi WHERE Aid='a1'",
             "UPDATE T_Navi SET UnsealingFlg=1", "ROLLBACK TO s", "RELEASE s"});
    }

    void countsFollowEveryWrite()
    {
        QFETCH(QStringList, statements);
        TestDataFolder folder;
        Database::ScopedConnection connection;
        const QSqlDatabase& db = connection.db();
        addFixture(db);
        for (const QString& statement : statements)
            Sql::exec(db, statement);
        verifyCounts(db);
        QCOMPARE(Sql::scalar(db, "SELECT COUNT(*) FROM T_NaviCount WHERE NaviCount<=0 "
                                 "OR UnreadCount<0 OR UnreadCount>NaviCount")
                     .toInt(),
                 0);
    }

    void fileFromBeforeTheTableIsFilledAtOpen()
    {
        TestDataFolder folder;
        const QString name = Database::uniqueConnectionName("old");
        {
            QSqlDatabase db = Database::open(name);
            makeOldShape(db);
            addFixture(db);
            Sql::exec(db, "UPDATE T_BidData SET DeleteFlg=1 WHERE Aid='a2'");
            QCOMPARE(loginIndexColumns(db), QStringList({"LoginId", "DeleteFlg"}));
        }
        Database::close(name);

        Database::ScopedConnection reopened;
        const QSqlDatabase& db = reopened.db();
        verifyCounts(db);
        QCOMPARE(keptCounts(db).size(), 5);
        QCOMPARE(loginIndexColumns(db), QStringList({"LoginId"}));
        QCOMPARE(Sql::scalar(db, "SELECT COUNT(*) FROM T_BidData WHERE LoginId='seller' "
                                 "AND DeleteFlg=1")
                     .toInt(),
                 1);
        // The triggers are in place: the counts keep following.
        addMessage(db, "seller", "a2", "bidder3", 2, true, false);
        Sql::exec(db, "UPDATE T_Navi SET UnsealingFlg=1 WHERE Aid='a1' AND BidId='bidder2'");
        verifyCounts(db);

        // A second open finds nothing to do and counts nothing twice.
        const int objects = schemaObjects(db);
        const CountRows before = keptCounts(db);
        Database::ScopedConnection again;
        QCOMPARE(keptCounts(again.db()), before);
        QCOMPARE(schemaObjects(again.db()), objects);
    }

    void halfBuiltCountsAreBuiltAgain()
    {
        TestDataFolder folder;
        const QString name = Database::uniqueConnectionName("half");
        {
            QSqlDatabase db = Database::open(name);
            addFixture(db);
            // A count table gone wrong without its read-state trigger.
            Sql::exec(db, "DROP TRIGGER TR_NaviCount_ReadState");
            Sql::exec(db, "UPDATE T_NaviCount SET NaviCount=NaviCount+5");
        }
        Database::close(name);

        Database::ScopedConnection reopened;
        verifyCounts(reopened.db());
        Sql::exec(reopened.db(), "UPDATE T_Navi SET UnsealingFlg=1 WHERE Aid='a1'");
        verifyCounts(reopened.db());
    }

    void newFileHasTheCountsAndTheLoginIndex()
    {
        TestDataFolder folder;
        Database::ScopedConnection connection;
        QCOMPARE(loginIndexColumns(connection.db()), QStringList({"LoginId"}));
        QVERIFY(keptCounts(connection.db()).isEmpty());
        addFixture(connection.db());
        verifyCounts(connection.db());
    }
};

QTEST_GUILESS_MAIN(TestNaviCounts)
#include "test_navi_counts.moc"
