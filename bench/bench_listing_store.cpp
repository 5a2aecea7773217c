// Times the closed-listing store: 40 pages of 50 listings (2,000 rows) into a database that
// already holds 20,000 listings of the account, both sizes times the scale factor (argument or
// TESSALY_BENCH_SCALE: 1, 2, 4). Full runs:
//   first     - every stored listing shown; half the rows are stored ones at a new price, half
//               are new, the other stored listings vanish;
//   steady    - the newest 2,000 listings shown, the older ones gone from the site before;
//               1/20 of the rows are new listings on top, the shown ones move down by as many
//               places and as many drop off the end;
//   unchanged - the steady database, downloaded again exactly as stored.
// Then the new-only run of 2,000 new rows, and the run that reads those 40 pages from memory
// (scanning only, no network). Each store runs five times on a fresh database; the figures are
// the median and the fastest run, with the rows the store wrote. Beside each store, the bare
// cost of those rows: the same rows written by a plain loop of prepared INSERTs and UPDATEs by
// rowid in one transaction, on a fresh database.
#include "BenchScale.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "site/ClosedListingRun.h"
#include "site/ListingStore.h"
#include "support/ListingPages.h"
#include "support/TestDataFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

const QString seller = QStringLiteral("seller");
constexpr int repeats = 5;

struct Sizes
{
    int stored = 20000;
    int pages = 40;
    int perPage = 50;
    int rows() const { return pages * perPage; }
};

QString storedAid(int i)
{
    return QStringLiteral("s%1").arg(i);
}

QString storedBidId(int i)
{
    return QStringLiteral("b%1").arg(i);
}

// Stored listings s1.. of the account with indexes 1..; those after `shown` are marked deleted.
void fillDatabase(const QSqlDatabase& db, int stored, int shown)
{
    Sql::Transaction transaction(db);
    QSqlQuery insert = Sql::prepare(
        db, QStringLiteral("INSERT INTO T_BidData (Aid,Title,BidId,Price,Url,[Index],Quantity,"
                           "UpdateFlg,DeleteFlg,LoginId) VALUES(:AID,:TITLE,:BID,'1000',:URL,"
                           ":INDEX,'1',1,:DELETED,:LOGIN)"));
    for (int i = 1; i <= stored; ++i)
        Sql::exec(insert, {{":AID", storedAid(i)},
                           {":TITLE", QStringLiteral("商品%1").arg(i)},
                           {":BID", storedBidId(i)},
                           {":URL", QStringLiteral("http://page/") + storedAid(i)},
                           {":INDEX", i},
                           {":DELETED", i > shown ? 1 : 0},
                           {":LOGIN", seller}});
    transaction.commit();
}

ClosedListingRow storedRow(int index, int i, const QString& price)
{
    return {index,
            storedAid(i),
            QStringLiteral("http://page/") + storedAid(i),
            QStringLiteral("商品%1").arg(i),
            price,
            storedBidId(i),
            QString()};
}

ClosedListingRow newRow(int index, const QString& prefix)
{
    const QString aid = prefix + QString::number(index);
    return {index,
            aid,
            QStringLiteral("http://page/") + aid,
            QStringLiteral("新商品%1").arg(index),
            QStringLiteral("1,500"),
            QStringLiteral("w%1").arg(index),
            QString()};
}

ClosedListingResult firstDownload(const Sizes& sizes)
{
    ClosedListingResult result;
    result.total = result.done = sizes.rows();
    for (int i = 1; i <= sizes.rows(); ++i)
        result.rows.append(i % 2 == 0 ? newRow(i, QStringLiteral("n"))
                                      : storedRow(i, i, QStringLiteral("1,500")));
    return result;
}

ClosedListingResult steadyDownload(const Sizes& sizes, int added)
{
    ClosedListingResult result;
    result.total = result.done = sizes.rows();
    for (int i = 1; i <= added; ++i)
        result.rows.append(newRow(i, QStringLiteral("n")));
    for (int i = 1; i <= sizes.rows() - added; ++i)
        result.rows.append(storedRow(added + i, i, QStringLiteral("1000")));
    return result;
}

ClosedListingResult newOnlyDownload(const Sizes& sizes)
{
    ClosedListingResult result;
    result.total = result.done = sizes.rows();
    result.stopAid = storedAid(1);
    for (int i = 1; i <= sizes.rows(); ++i)
        result.rows.append(newRow(i, QStringLiteral("n")));
    return result;
}

qint64 totalChanges(const QSqlDatabase& db)
{
    return Sql::scalar(db, QStringLiteral("SELECT total_changes()")).toLongLong();
}

struct Timing
{
    double medianMs = 0;
    double fastestMs = 0;
    qint64 written = 0;
    ListingStoreSummary summary;
    double bareMedianMs = 0;
};

// T_BidData by rowid: the columns a store writes.
using Snapshot = QHash<qint64, QVariantList>;

Snapshot snapshot(const QSqlDatabase& db)
{
    Snapshot rows;
    QSqlQuery query = Sql::exec(db, QStringLiteral("SELECT rowid,[Index],BidId,Price,Quantity,"
                                                   "UpdateFlg,DeleteFlg,Aid,Title,Url,LoginId "
                                                   "FROM T_BidData"));
    while (query.next()) {
        QVariantList values;
        for (int c = 1; c <= 10; ++c)
            values << query.value(c);
        rows.insert(query.value(0).toLongLong(), values);
    }
    return rows;
}

// The rows a store changed and inserted, as the statements of a plain loop would write them.
struct Writes
{
    QList<QVariantList> updates; // six values, then the rowid
    QList<QVariantList> inserts; // Aid,Title,BidId,Price,Url,[Index],Quantity,LoginId
};

Writes writesBetween(const Snapshot& before, const Snapshot& after)
{
    Writes writes;
    QList<qint64> rowids = after.keys();
    std::sort(rowids.begin(), rowids.end());
    for (const qint64 rowid : rowids) {
        const QVariantList& now = after[rowid];
        const auto was = before.constFind(rowid);
        if (was == before.constEnd()) {
            writes.inserts.append({now[6], now[7], now[1], now[2], now[8], now[0], now[3], now[9]});
        } else if (*was != now) {
            QVariantList update = now.mid(0, 6);
            update << rowid;
            writes.updates.append(update);
        }
    }
    return writes;
}

void writeBare(const QSqlDatabase& db, const Writes& writes)
{
    Sql::Transaction transaction(db);
    QSqlQuery update = Sql::prepare(
        db, QStringLiteral("UPDATE T_BidData SET [Index]=?,BidId=?,Price=?,Quantity=?,"
                           "UpdateFlg=?,DeleteFlg=? WHERE rowid=?"));
    QSqlQuery insert = Sql::prepare(
        db, QStringLiteral("INSERT INTO T_BidData (Aid,[Title],BidId,Price,Url,[Index],"
                           "Quantity,UpdateFlg,LoginId) VALUES(?,?,?,?,?,?,?,1,?)"));
    const auto run = [](QSqlQuery& query, const QVariantList& values) {
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values[i]);
        if (!query.exec())
            std::abort();
    };
    for (const QVariantList& values : writes.updates)
        run(update, values);
    for (const QVariantList& values : writes.inserts)
        run(insert, values);
    transaction.commit();
}

Timing timeStore(int stored, int shown, const ClosedListingResult& download)
{
    QList<double> times;
    QList<double> bareTimes;
    Timing timing;
    Writes writes;
    for (int r = 0; r < repeats; ++r) {
        TestDataFolder folder;
        const QString name = Database::uniqueConnectionName(QStringLiteral("bench"));
        {
            QSqlDatabase db = Database::open(name);
            fillDatabase(db, stored, shown);
            const Snapshot before = r == 0 ? snapshot(db) : Snapshot();
            const qint64 changesBefore = totalChanges(db);
            QElapsedTimer timer;
            timer.start();
            timing.summary = ListingStore(db).storeClosedListings(seller, download);
            times << timer.nsecsElapsed() / 1e6;
            timing.written = totalChanges(db) - changesBefore;
            if (r == 0)
                writes = writesBetween(before, snapshot(db));
        }
        Database::close(name);
    }
    for (int r = 0; r < repeats; ++r) {
        TestDataFolder folder;
        const QString name = Database::uniqueConnectionName(QStringLiteral("bare"));
        {
            QSqlDatabase db = Database::open(name);
            fillDatabase(db, stored, shown);
            QElapsedTimer timer;
            timer.start();
            writeBare(db, writes);
            bareTimes << timer.nsecsElapsed() / 1e6;
        }
        Database::close(name);
    }
    std::sort(times.begin(), times.end());
    std::sort(bareTimes.begin(), bareTimes.end());
    timing.medianMs = times[times.size() / 2];
    timing.fastestMs = times.first();
    timing.bareMedianMs = bareTimes[bareTimes.size() / 2];
    return timing;
}

void report(const char* what, const Sizes& sizes, int shown, const Timing& timing)
{
    std::printf("%s: %d rows into %d stored listings (%d shown)\n", what, sizes.rows(),
                sizes.stored, shown);
    std::printf("  inserted %lld, updated %lld, marked deleted %lld; rows written %lld\n",
                static_cast<long long>(timing.summary.inserted.size()),
                static_cast<long long>(timing.summary.updated.size()),
                static_cast<long long>(timing.summary.markedDeleted.size()),
                static_cast<long long>(timing.written));
    std::printf("  %.1f ms median, %.1f ms fastest of %d\n", timing.medianMs, timing.fastestMs,
                repeats);
    std::printf("  the same rows written by a bare loop: %.1f ms median (store %.2fx)\n",
                timing.bareMedianMs,
                timing.bareMedianMs > 0 ? timing.medianMs / timing.bareMedianMs : 0.0);
}

double timeRun(const Sizes& sizes)
{
    const ListingEndpoints endpoints;
    QHash<QString, QString> site;
    for (int p = 1; p <= sizes.pages; ++p) {
        QList<ListingPages::Listing> listings;
        for (int i = 1; i <= sizes.perPage; ++i) {
            const int n = (p - 1) * sizes.perPage + i;
            listings.append({QStringLiteral("x%1").arg(n), QStringLiteral("商品%1").arg(n),
                             QStringLiteral("1,000"), QStringLiteral("b%1").arg(n)});
        }
        site[endpoints.closedListUrl(p)] = ListingPages::closedListPage(sizes.rows(), listings);
    }
    ClosedListingRun run(endpoints, [&](const QString& url) { return site.value(url); }, {});
    QElapsedTimer timer;
    timer.start();
    const ClosedListingResult result = run.run({});
    const double ms = timer.nsecsElapsed() / 1e6;
    std::printf("  result %d, rows %lld\n", result.result,
                static_cast<long long>(result.rows.size()));
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    const int scale = BenchScale::factor(argc, argv);
    QCoreApplication app(argc, argv);
    Sizes sizes;
    sizes.stored *= scale;
    sizes.pages *= scale;
    std::printf("scale %d\n", scale);

    report("full store, first", sizes, sizes.stored,
           timeStore(sizes.stored, sizes.stored, firstDownload(sizes)));
    const int added = sizes.rows() / 20;
    report("full store, steady", sizes, sizes.rows(),
           timeStore(sizes.stored, sizes.rows(), steadyDownload(sizes, added)));
    report("full store, unchanged", sizes, sizes.rows(),
           timeStore(sizes.stored, sizes.rows(), steadyDownload(sizes, 0)));
    report("new-only store", sizes, sizes.stored,
           timeStore(sizes.stored, sizes.stored, newOnlyDownload(sizes)));

    std::printf("run over %d in-memory pages of %d listings:\n", sizes.pages, sizes.perPage);
    std::printf("  %.1f ms\n", timeRun(sizes));
    return 0;
}
