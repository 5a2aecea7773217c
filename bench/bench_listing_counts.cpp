// The listing query and the writes around it on a full data folder: 80,000 listings and 400,000
// messages of one account times the scale factor (argument or TESSALY_BENCH_SCALE: 1, 2, 4).
// Times the listing query alone (statement and rows, without the list), one marking of the
// listings that vanished from the site (19/20 of them, as a first full download does) under the
// login index as it is and under the former (LoginId, DeleteFlg) one, and what the message
// writes cost: storing a board, marking read and unread, moving, deleting a board.
#include "BenchScale.h"
#include "BenchTiming.h"
#include "support/TestDataFolder.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "views/BidListQuery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using BenchTiming::medianMs;

struct Sizes
{
    int listings = 80000;
    int messages = 400000;
};

QString aidOf(int i)
{
    return QStringLiteral("x%1").arg(100000000 + i);
}

void fillDatabase(const QSqlDatabase& db, const Sizes& sizes)
{
    QRandomGenerator random(20261211);
    Sql::Transaction transaction(db);
    QSqlQuery listing = Sql::prepare(
        db, "INSERT INTO T_BidData (Aid, Title, BidId, Price, [Index], Quantity, LoginId)"
            " VALUES (?, ?, ?, ?, ?, '1', 'seller')");
    for (int i = 0; i < sizes.listings; ++i) {
        listing.bindValue(0, aidOf(i));
        listing.bindValue(1, QStringLiteral("商品 %1").arg(random.bounded(100000)));
        listing.bindValue(2, QStringLiteral("bidder%1").arg(i % (sizes.listings / 3)));
        listing.bindValue(3, QString::number(random.bounded(200000)));
        listing.bindValue(4, i + 1);
        if (!listing.exec())
            std::abort();
    }
    QSqlQuery message = Sql::prepare(
        db, "INSERT INTO T_Navi (Aid, BidId, [Number], RecFlg, NewFlg, UnsealingFlg, LoginId,"
            " FolderID, WriteId, Subject, Message, WriteDate)"
            " VALUES (?, ?, ?, ?, ?, ?, 'seller', ?, ?, '件名', '本文です。', '2026/12/01 10:00')");
    for (int m = 0; m < sizes.messages; ++m) {
        const int i = random.bounded(sizes.listings);
        const bool received = random.bounded(2) == 0;
        const QString bidId = QStringLiteral("bidder%1").arg(i % (sizes.listings / 3));
        message.bindValue(0, aidOf(i));
        message.bindValue(1, bidId);
        message.bindValue(2, m);
        message.bindValue(3, received ? 1 : 0);
        message.bindValue(4, received ? 1 : 0);
        message.bindValue(5, random.bounded(3) != 0 ? 1 : 0);
        message.bindValue(6, received ? "000" : "001");
        message.bindValue(7, received ? bidId : QStringLiteral("seller"));
        if (!message.exec())
            std::abort();
    }
    transaction.commit();
}

// The vanished rows marked as the listing store marks them: by rowid, 500 to a statement.
void markVanished(const QSqlDatabase& db, const std::vector<qint64>& rowids)
{
    Sql::Transaction transaction(db);
    QSqlQuery query(db);
    qsizetype prepared = -1;
    for (size_t from = 0; from < rowids.size(); from += 500) {
        const qsizetype count = qsizetype(std::min<size_t>(500, rowids.size() - from));
        if (count != prepared) {
            QString text = QStringLiteral("UPDATE T_BidData SET DeleteFlg=1 WHERE rowid IN (?");
            for (qsizetype i = 1; i < count; ++i)
                text += QStringLiteral(",?");
            query.prepare(text + QStringLiteral(")"));
            prepared = count;
        }
        for (qsizetype i = 0; i < count; ++i)
            query.bindValue(int(i), rowids[from + size_t(i)]);
        if (!query.exec())
            std::abort();
    }
    transaction.commit();
}

double timeMarking(const QSqlDatabase& db, const std::vector<qint64>& rowids)
{
    return medianMs([&] { markVanished(db, rowids); },
                    [&] { Sql::exec(db, "UPDATE T_BidData SET DeleteFlg=0"); });
}

void timeMessageWrites(const QSqlDatabase& db)
{
    // 20 messages for each of 200 transactions, stored in one transaction; numbered below 0 to
    // be told from the filled ones.
    QSqlQuery insert = Sql::prepare(
        db, "INSERT INTO T_Navi (Aid, BidId, [Number], RecFlg, NewFlg, UnsealingFlg, LoginId,"
            " FolderID) VALUES (?, ?, ?, ?, ?, 0, 'seller', ?)");
    const auto storeBoards = [&] {
        Sql::Transaction transaction(db);
        for (int t = 0; t < 200; ++t)
            for (int n = 0; n < 20; ++n) {
                insert.bindValue(0, aidOf(t));
                insert.bindValue(1, QStringLiteral("new%1").arg(t));
                insert.bindValue(2, -1 - n);
                insert.bindValue(3, n % 2);
                insert.bindValue(4, n % 2);
                insert.bindValue(5, n % 2 ? "000" : "001");
                if (!insert.exec())
                    std::abort();
            }
        transaction.commit();
    };
    const auto deleteBoards = [&] {
        Sql::Transaction transaction(db);
        Sql::exec(db, "DELETE FROM T_Navi WHERE [Number]<0");
        transaction.commit();
    };
    std::printf("store 4,000 messages of 200 boards:     %8.1f ms\n",
                medianMs(storeBoards, deleteBoards));
    storeBoards();
    std::printf("delete those 4,000 messages:            %8.1f ms\n",
                medianMs(deleteBoards, storeBoards));
    deleteBoards();

    // 5,000 received unread messages marked read (and back), one statement a message.
    std::vector<std::array<QVariant, 3>> received;
    QSqlQuery rows = Sql::exec(db, "SELECT Aid, BidId, [Number] FROM T_Navi WHERE RecFlg=1 "
                                   "AND UnsealingFlg=0 LIMIT 5000");
    while (rows.next())
        received.push_back({rows.value(0), rows.value(1), rows.value(2)});
    QSqlQuery mark = Sql::prepare(
        db, "UPDATE T_Navi SET UnsealingFlg=? WHERE Aid=? AND BidId=? AND [Number]=?");
    const auto markAll = [&](int read) {
        Sql::Transaction transaction(db);
        for (const auto& key : received) {
            mark.bindValue(0, read);
            for (int i = 0; i < 3; ++i)
                mark.bindValue(1 + i, key[size_t(i)]);
            if (!mark.exec())
                std::abort();
        }
        transaction.commit();
    };
    std::printf("mark %zu messages read:               %8.1f ms\n", received.size(),
                medianMs([&] { markAll(1); }, [&] { markAll(0); }));
    QSqlQuery move = Sql::prepare(
        db, "UPDATE T_Navi SET FolderID=? WHERE Aid=? AND BidId=? AND [Number]=?");
    const auto moveAll = [&](const char* folder) {
        Sql::Transaction transaction(db);
        for (const auto& key : received) {
            move.bindValue(0, folder);
            for (int i = 0; i < 3; ++i)
                move.bindValue(1 + i, key[size_t(i)]);
            if (!move.exec())
                std::abort();
        }
        transaction.commit();
    };
    std::printf("move %zu messages to a folder:        %8.1f ms\n", received.size(),
                medianMs([&] { moveAll("000-000"); }, [&] { moveAll("000"); }));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int scale = BenchScale::factor(argc, argv);
    Sizes sizes;
    sizes.listings *= scale;
    sizes.messages *= scale;

    TestDataFolder folder;
    const QString connection = Database::uniqueConnectionName("bench");
    {
        QSqlDatabase db = Database::open(connection);
        QElapsedTimer setup;
        setup.start();
        fillDatabase(db, sizes);
        std::printf("scale %d: %d listings, %d messages filled in %.0f ms\n", scale,
                    sizes.listings, sizes.messages, setup.nsecsElapsed() / 1e6);

        BidListQuery::Criteria criteria;
        criteria.loginId = "seller";
        int rows = 0;
        const double query =
            medianMs([&] { rows = int(BidListQuery::run(db, criteria, nullptr).size()); });
        std::printf("listing query, %d rows:              %8.1f ms\n", rows, query);

        std::vector<qint64> vanished;
        QSqlQuery all = Sql::exec(db, "SELECT rowid FROM T_BidData ORDER BY rowid");
        for (int i = 0; all.next(); ++i)
            if (i % 20 != 0)
                vanished.push_back(all.value(0).toLongLong());
        const QString index = Sql::scalar(db, "SELECT sql FROM sqlite_master "
                                              "WHERE name='IX_BidData_Login'")
                                  .toString();
        std::printf("mark %zu vanished rows (%s): %8.1f ms\n", vanished.size(),
                    qPrintable(index.mid(index.indexOf('('))), timeMarking(db, vanished));
        Sql::exec(db, "DROP INDEX IX_BidData_Login");
        Sql::exec(db, "CREATE INDEX IX_BidData_Login ON T_BidData (LoginId, DeleteFlg)");
        std::printf("mark %zu vanished rows ((LoginId, DeleteFlg)): %8.1f ms\n", vanished.size(),
                    timeMarking(db, vanished));
        Sql::exec(db, "DROP INDEX IX_BidData_Login");
        Sql::exec(db, "CREATE INDEX IX_BidData_Login ON T_BidData (LoginId)");

        timeMessageWrites(db);
    }
    Database::close(connection);
    return 0;
}
