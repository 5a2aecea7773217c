// The listing list with a full data folder: 20,000 listings and 100,000 messages (a year of
// sales) times the scale factor (argument or TESSALY_BENCH_SCALE: 1, 2, 4; 4 is four years). Times the listing
// query, the fill of the list and its first paint, a sort by each kind of column, selecting every
// row with its total and detail fill, and setting every flag of every row; ends with the peak
// memory of the process.
#include "BenchScale.h"
#include "BenchTiming.h"
#include "support/TestDataFolder.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "views/BidListColumns.h"
#include "views/BidListQuery.h"
#include "views/BidListView.h"
#include "views/BidderStore.h"
#include "site/EndTimeQueue.h"
#include "views/MarkerRows.h"
#include "views/NaviListItem.h"
#include "views/ProgressFlags.h"
#include "views/SelectionTotal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using BenchTiming::medianMs;

constexpr int Rounds = 5;

// The data folder's size at scale 1.
struct Sizes
{
    int listings = 20000;
    int messages = 100000;
    int bidders = 8000;
};

void fillDatabase(const QSqlDatabase& db, const Sizes& sizes)
{
    QRandomGenerator random(20261210);
    Sql::Transaction transaction(db);
    QSqlQuery bidder = Sql::prepare(db, "INSERT INTO T_BidMaster (Id, Name) VALUES (:ID, :NAME)");
    for (int b = 0; b < sizes.bidders; ++b)
        Sql::exec(bidder,
                  {{":ID", QString("bidder%1").arg(b)}, {":NAME", QString("氏名%1").arg(b)}});

    QSqlQuery listing = Sql::prepare(
        db, "INSERT INTO T_BidData (Aid, Title, BidId, Price, Url, [Index], Quantity, LoginId,"
            " FirstFlg, PaymentFlg, EndDataTime, Remarks)"
            " VALUES (:AID, :TITLE, :BID_ID, :PRICE, :URL, :INDEX, :QUANTITY, :LOGIN_ID, :FIRST,"
            " :PAYMENT, :END_TIME, :REMARKS)");
    for (int i = 0; i < sizes.listings; ++i) {
        const QString aid = QString("x%1").arg(100000000 + i);
        Sql::exec(
            listing,
            {{":AID", aid},
             {":TITLE", QString("商品 Title %1 の説明").arg(random.bounded(100000))},
             {":BID_ID", QString("bidder%1").arg(random.bounded(sizes.bidders + 2000))},
             {":PRICE", i % 50 == 0 ? QStringLiteral("") : QString::number(random.bounded(200000))},
             {":URL", "https://page.auctions.yahoo.co.jp/jp/auction/" + aid},
             {":INDEX", random.bounded(500)},
             {":QUANTITY", QString::number(1 + random.bounded(5))},
             {":LOGIN_ID", i % 10 == 9 ? "other" : "seller"},
             {":FIRST", i % 3 == 0 ? "●" : ""},
             {":PAYMENT", i % 4 == 0 ? "12/01" : ""},
             {":END_TIME", i % 100 == 0 ? "" : QString("12月%1日 21時05分").arg(1 + i % 28)},
             {":REMARKS", i % 7 == 0 ? "メモあり" : ""}});
    }

    QSqlQuery message = Sql::prepare(
        db, "INSERT INTO T_Navi (Aid, BidId, [Number], RecFlg, UnsealingFlg, LoginId, FolderID,"
            " WriteId, Subject, Message, WriteDate)"
            " VALUES (:AID, :BID_ID, :NUMBER, :REC, :READ, :LOGIN_ID, :FOLDER, :WRITE_ID,"
            " :SUBJECT, :MESSAGE, :DATE)");
    // The messages belong to the listings' transactions: look the winners up once.
    QSqlQuery winners = Sql::exec(db, "SELECT Aid, BidId, LoginId FROM T_BidData");
    std::vector<std::array<QString, 3>> transactions;
    while (winners.next())
        transactions.push_back({winners.value(0).toString(), winners.value(1).toString(),
                                winners.value(2).toString()});
    for (int m = 0; m < sizes.messages; ++m) {
        const auto& t = transactions[random.bounded(int(transactions.size()))];
        const bool received = random.bounded(2) == 0;
        Sql::exec(message, {{":AID", t[0]},
                            {":BID_ID", t[1]},
                            {":NUMBER", m},
                            {":REC", received},
                            {":READ", random.bounded(3) != 0},
                            {":LOGIN_ID", t[2]},
                            {":FOLDER", received ? "000" : "001"},
                            {":WRITE_ID", received ? t[1] : t[2]},
                            {":SUBJECT", "件名"},
                            {":MESSAGE", "本文です。\r\nよろしくお願いします。"},
                            {":DATE", "2026/12/01 10:00"}});
    }
    transaction.commit();
}

// A line of /proc/self/status in MB ("VmHWM" the peak, "VmRSS" the present size), or -1.
double statusMemoryMb(const QByteArray& key)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

// Gives the heap that building the data folder left back to the system and starts the peak
// memory count again from the present size.
void resetPeakMemory()
{
    malloc_trim(0);
    QFile refs("/proc/self/clear_refs");
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int scale = BenchScale::factor(argc, argv);
    Sizes sizes;
    sizes.listings *= scale;
    sizes.messages *= scale;
    sizes.bidders *= scale;

    TestDataFolder folder;
    const QString connection = Database::uniqueConnectionName("bench");
    {
        QSqlDatabase db = Database::open(connection);
        QElapsedTimer setup;
        setup.start();
        fillDatabase(db, sizes);
        std::printf("scale %d, data folder: %d listings, %d messages, %d bidders in %.0f ms\n",
                    scale, sizes.listings, sizes.messages, sizes.bidders,
                    setup.nsecsElapsed() / 1e6);

        // The peak from here on: the list's, not that of building the data folder.
        resetPeakMemory();
        const double before = statusMemoryMb("VmRSS");
        BidListView view;
        view.resize(1200, 700);
        view.show();
        app.processEvents();

        BidListQuery::Criteria criteria;
        criteria.loginId = "seller";
        EndTimeQueue queue;
        BidListRecords records;
        const double query = medianMs([&] {
            queue.clear();
            records = BidListQuery::read(db, criteria, &queue);
        });
        const double fill = medianMs([&] { view.fillRecords(records); });
        const double both = medianMs([&] {
            queue.clear();
            view.fillRecords(BidListQuery::read(db, criteria, &queue));
            view.viewport()->repaint();
            app.processEvents();
        });
        records = {};
        const double listPeak = statusMemoryMb("VmHWM");
        // What the shown list holds, without the freed heap that malloc keeps.
        malloc_trim(0);
        const double listShown = statusMemoryMb("VmRSS");
        std::printf("rows: %d, end-time queue: %d\n", view.topLevelItemCount(),
                    queue.pendingCount());
        std::printf("memory: %.1f MB before the list, %.1f MB with it shown, peak %.1f MB while "
                    "it was queried and filled\n",
                    before, listShown, listPeak);
        std::printf("listing query:                %8.1f ms\n", query);
        std::printf("list fill (incl. first sort): %8.1f ms\n", fill);
        std::printf("query + fill + first paint:   %8.1f ms\n", both);

        criteria.first = BidListQuery::FlagSet;
        criteria.title = "Title 1";
        const double filtered =
            medianMs([&] { view.fillRecords(BidListQuery::read(db, criteria, nullptr)); });
        std::printf("filtered query + fill (%5d rows): %6.1f ms\n", view.topLevelItemCount(),
                    filtered);
        criteria = BidListQuery::Criteria();
        criteria.loginId = "seller";
        view.fillRecords(BidListQuery::read(db, criteria, nullptr));

        using namespace BidListColumns;
        const struct
        {
            const char* name;
            int column;
        } sorts[] = {{"caption Index (numeric)", CaptionColumn},
                     {"Price (numeric)", column(Price)},
                     {"message count (numeric total)", column(NaviCount)},
                     {"Title (text)", column(Title)},
                     {"BidId (text)", column(BidId)},
                     {"EndDataTime (text)", column(EndDataTime)},
                     {"Remarks (text, mostly empty)", column(Remarks)}};
        for (const auto& sort : sorts) {
            for (int type : {0, 1}) {
                std::vector<double> times;
                for (int r = 0; r < Rounds; ++r) {
                    // Each round starts from the same order, that of the auction ids.
                    view.setSortState({column(Aid), 0});
                    view.sortList();
                    view.setSortState({sort.column, type});
                    QElapsedTimer timer;
                    timer.start();
                    view.sortList();
                    times.push_back(timer.nsecsElapsed() / 1e6);
                }
                std::sort(times.begin(), times.end());
                // The slowest round is the first, which makes the column's ranks.
                std::printf("sort %-30s %s: %6.1f ms (slowest %6.1f ms)\n", sort.name,
                            type ? "desc" : "asc ", times[times.size() / 2], times.back());
            }
        }
        QElapsedTimer click;
        click.start();
        view.ListViewBidColumnClick(column(Title));
        std::printf("header click (sort + scroll):       %6.1f ms\n", click.nsecsElapsed() / 1e6);

        // Select all: the selection change, the total, and the panels' fill for the last row.
        QTreeWidget bidNavi;
        NaviListView::setupListViewBidNavi(&bidNavi);
        QString totalText;
        const double selectAll = medianMs([&] {
            view.clearSelection();
            view.selectAll();
            totalText = SelectionTotal::text(SelectionTotal::of(&view));
            const BidRow last = view.bidItem(view.topLevelItemCount() - 1);
            NaviListView::loadTransactionList(&bidNavi, db, last->subItem(Aid),
                                              last->subItem(BidId), "seller", 2, 0);
            BidderStore::read(db, last->subItem(BidId));
            app.processEvents();
        });
        std::printf("select all + total + detail fill: %6.1f ms (%s)\n", selectAll,
                    qPrintable(totalText));
        const double selectOnly = medianMs([&] {
            view.clearSelection();
            view.selectAll();
        });
        const double totalOnly =
            medianMs([&] { totalText = SelectionTotal::text(SelectionTotal::of(&view)); });
        std::printf("  of which select all: %6.1f ms, total: %6.1f ms\n", selectOnly, totalOnly);
        const BidRow lastRow = view.bidItem(view.topLevelItemCount() - 1);
        const double naviOnly = medianMs([&] {
            NaviListView::loadTransactionList(&bidNavi, db, lastRow->subItem(Aid),
                                              lastRow->subItem(BidId), "seller", 2, 0);
        });
        const double bidderOnly = medianMs([&] { BidderStore::read(db, lastRow->subItem(BidId)); });
        const double repaintOnly = medianMs([&] {
            view.viewport()->update();
            app.processEvents();
        });
        std::printf("  message list: %6.1f ms, bidder read: %6.1f ms, repaint: %6.1f ms\n",
                    naviOnly, bidderOnly, repaintOnly);

        // "全てを済にする" on every row: the selection taken, one transaction, the cells.
        const std::optional<MarkerUpdate> allFlags = MarkerUpdates::progressFlags(-1, true, "●");
        const std::optional<MarkerUpdate> noFlags = MarkerUpdates::progressFlags(-1, false, "");
        int round = 0;
        QList<double> writes, cells;
        const double markAll = medianMs([&] {
            const QList<TransactionKey> keys = MarkerRows::selectedTransactions(&view);
            const MarkerUpdate& update = round++ % 2 == 0 ? *allFlags : *noFlags;
            QElapsedTimer part;
            part.start();
            MarkerRows::write(db, update, keys);
            writes << part.nsecsElapsed() / 1e6;
            part.restart();
            MarkerRows::showInCells(&view, update, keys);
            app.processEvents();
            cells << part.nsecsElapsed() / 1e6;
        });
        std::sort(writes.begin(), writes.end());
        std::sort(cells.begin(), cells.end());
        std::printf("all flags on %d rows:           %8.1f ms\n", view.topLevelItemCount(),
                    markAll);
        std::printf("  database write: %6.1f ms, cells and paint: %6.1f ms (medians)\n",
                    writes.at(writes.size() / 2), cells.at(cells.size() / 2));
        std::printf("peak memory (list shown):        %8.1f MB (%.1f MB before the list)\n",
                    statusMemoryMb("VmHWM"), before);
    }
    Database::close(connection);
    return 0;
}
