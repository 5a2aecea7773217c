// Times the closed-listing store: 40 pages of 50 listings into a database that already holds
// 20,000 listings of the account, as a full run and as a new-only run. Also times the run that
// reads those 40 pages from memory (scanning only, no network).
#include "platform/Database.h"
#include "platform/Sql.h"
#include "site/ClosedListingRun.h"
#include "site/ListingStore.h"
#include "support/FixtureDb.h"
#include "support/ListingPages.h"
#include "support/TestDataFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>

#include <cstdio>

namespace {

const QString seller = QStringLiteral("seller");
constexpr int storedListings = 20000;
constexpr int pages = 40;
constexpr int perPage = 50;

void fillDatabase(const QSqlDatabase& db)
{
    Sql::Transaction transaction(db);
    for (int i = 1; i <= storedListings; ++i)
        FixtureDb::addListing(db,
                              {QStringLiteral("s%1").arg(i), QStringLiteral("b%1").arg(i), seller,
                               QStringLiteral("商品%1").arg(i), QStringLiteral("1000"), i});
    transaction.commit();
}

// Half the downloaded listings are already stored, half are new.
ClosedListingResult download(bool newOnly)
{
    ClosedListingResult result;
    result.total = result.done = pages * perPage;
    if (newOnly)
        result.stopAid = QStringLiteral("s1");
    for (int i = 1; i <= pages * perPage; ++i) {
        const QString aid =
            newOnly || i % 2 == 0 ? QStringLiteral("n%1").arg(i) : QStringLiteral("s%1").arg(i);
        const QString bidId =
            aid.startsWith('s') ? QStringLiteral("b%1").arg(i) : QStringLiteral("w%1").arg(i);
        result.rows.append({i, aid, QStringLiteral("http://page/") + aid,
                            QStringLiteral("商品%1").arg(i), QStringLiteral("1,500"), bidId,
                            QString()});
    }
    return result;
}

double timeStore(const ClosedListingResult& rows)
{
    TestDataFolder folder;
    const QString name = Database::uniqueConnectionName(QStringLiteral("bench"));
    double ms = 0;
    {
        QSqlDatabase db = Database::open(name);
        fillDatabase(db);
        QElapsedTimer timer;
        timer.start();
        const ListingStoreSummary summary = ListingStore(db).storeClosedListings(seller, rows);
        ms = timer.nsecsElapsed() / 1e6;
        std::printf("  inserted %lld, updated %lld, marked deleted %lld\n",
                    static_cast<long long>(summary.inserted.size()),
                    static_cast<long long>(summary.updated.size()),
                    static_cast<long long>(summary.markedDeleted.size()));
    }
    Database::close(name);
    return ms;
}

double timeRun()
{
    const ListingEndpoints endpoints;
    QHash<QString, QString> site;
    for (int p = 1; p <= pages; ++p) {
        QList<ListingPages::Listing> listings;
        for (int i = 1; i <= perPage; ++i) {
            const int n = (p - 1) * perPage + i;
            listings.append({QStringLiteral("x%1").arg(n), QStringLiteral("商品%1").arg(n),
                             QStringLiteral("1,000"), QStringLiteral("b%1").arg(n)});
        }
        site[endpoints.closedListUrl(p)] = ListingPages::closedListPage(pages * perPage, listings);
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
    QCoreApplication app(argc, argv);
    std::printf("full store of %d rows into %d stored listings:\n", pages * perPage,
                storedListings);
    const double full = timeStore(download(false));
    std::printf("  %.1f ms\n", full);
    std::printf("new-only store of %d rows into %d stored listings:\n", pages * perPage,
                storedListings);
    const double newOnly = timeStore(download(true));
    std::printf("  %.1f ms\n", newOnly);
    std::printf("run over %d in-memory pages of %d listings:\n", pages, perPage);
    std::printf("  %.1f ms\n", timeRun());
    return 0;
}
