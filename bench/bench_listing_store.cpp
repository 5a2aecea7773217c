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
// the median and the fastest run, with the rows the store wrote.
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
};

Timing timeStore(int stored, int shown, const ClosedListingResult& download)
{
    QList<double> times;
    Timing timing;
    for (int r = 0; r < repeats; ++r) {
        TestDataFolder folder;
        const QString name = Database::uniqueConnectionName(QStringLiteral("bench"));
        {
            QSqlDatabase db = Database::open(name);
            fillDatabase(db, stored, shown);
            const qint64 before = totalChanges(db);
            QElapsedTimer timer;
            timer.start();
            timing.summary = ListingStore(db).storeClosedListings(seller, download);
            times << timer.nsecsElapsed() / 1e6;
            timing.written = totalChanges(db) - before;
        }
        Database::close(name);
    }
    std::sort(times.begin(), times.end());
    timing.medianMs = times[times.size() / 2];
    timing.fastestMs = times.first();
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
