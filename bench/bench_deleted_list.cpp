// The deleted-listings window over a full data folder: 20,000 deleted listings of the account and
// 100,000 messages times the scale factor (argument or TESSALY_BENCH_SCALE: 1, 2, 4). Times from
// showing the window to its first rows and to the whole list, and the longest time the event
// loop did not run meanwhile.
#include "BenchScale.h"
#include "support/TestDataFolder.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "views/UnitBidDataEtc.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

constexpr int Rounds = 5;

void fillDatabase(const QSqlDatabase& db, int listings, int messages)
{
    QRandomGenerator random(20261210);
    Sql::Transaction transaction(db);
    QSqlQuery bidder = Sql::prepare(db, "INSERT INTO T_BidMaster (Id, Name) VALUES (:ID, :NAME)");
    for (int b = 0; b < listings / 3; ++b)
        Sql::exec(bidder,
                  {{":ID", QString("bidder%1").arg(b)}, {":NAME", QString("氏名%1").arg(b)}});
    QSqlQuery listing = Sql::prepare(
        db, "INSERT INTO T_BidData (Aid, Title, BidId, Price, Url, [Index], LoginId, DeleteFlg,"
            " EndDataTime) VALUES (:AID, :TITLE, :BID_ID, :PRICE, :URL, :INDEX, :LOGIN_ID, 1,"
            " :END_TIME)");
    std::vector<std::array<QString, 2>> transactions;
    for (int i = 0; i < listings; ++i) {
        const QString aid = QString("x%1").arg(100000000 + i);
        const QString bidId = QString("bidder%1").arg(random.bounded(listings / 3 + 500));
        transactions.push_back({aid, bidId});
        Sql::exec(listing, {{":AID", aid},
                            {":TITLE", QString("商品 Title %1 の説明").arg(random.bounded(100000))},
                            {":BID_ID", bidId},
                            {":PRICE", QString::number(random.bounded(200000))},
                            {":URL", "https://page.auctions.yahoo.co.jp/jp/auction/" + aid},
                            {":INDEX", i},
                            {":LOGIN_ID", "seller"},
                            {":END_TIME", QString("12月%1日 21時05分").arg(1 + i % 28)}});
    }
    QSqlQuery message = Sql::prepare(
        db, "INSERT INTO T_Navi (Aid, BidId, [Number], RecFlg, UnsealingFlg, LoginId, FolderID,"
            " WriteId, Subject, Message, WriteDate) VALUES (:AID, :BID_ID, :NUMBER, :REC, :READ,"
            " 'seller', '000', :BID_ID, '件名', '本文です。', '2026/12/01 10:00')");
    for (int m = 0; m < messages; ++m) {
        const auto& t = transactions[random.bounded(int(transactions.size()))];
        Sql::exec(message, {{":AID", t[0]},
                            {":BID_ID", t[1]},
                            {":NUMBER", m},
                            {":REC", random.bounded(2)},
                            {":READ", random.bounded(3) != 0}});
    }
    transaction.commit();
}

struct Round
{
    double firstRowsMs = 0;
    double wholeMs = 0;
    double longestGapMs = 0;
};

Round openOnce(const QSqlDatabase& db, int sortColumn)
{
    Round round;
    auto* form = new TFormBidDataEtc(db, 10);
    form->loginId = "seller";
    form->captionText = "出品終了削除済みデータ";
    form->listMode = 0;
    form->bidSortColumn = sortColumn;
    QElapsedTimer clock;
    qint64 lastTick = 0;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        round.longestGapMs = std::max(round.longestGapMs, (now - lastTick) / 1e6);
        lastTick = now;
        if (round.firstRowsMs == 0 && form->ListViewBid->topLevelItemCount() > 0)
            round.firstRowsMs = now / 1e6;
    });
    QEventLoop loop;
    QObject::connect(form, &TFormBidDataEtc::loadFinished, &loop, &QEventLoop::quit);
    clock.start();
    ticker.start();
    form->show();
    loop.exec();
    round.wholeMs = clock.nsecsElapsed() / 1e6;
    ticker.stop();
    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return round;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int scale = BenchScale::factor(argc, argv);
    const int listings = 20000 * scale;
    const int messages = 100000 * scale;

    TestDataFolder folder;
    const QString connection = Database::uniqueConnectionName("bench");
    {
        QSqlDatabase db = Database::open(connection);
        QElapsedTimer setup;
        setup.start();
        fillDatabase(db, listings, messages);
        std::printf("scale %d: %d deleted listings, %d messages in %.0f ms\n", scale, listings,
                    messages, setup.nsecsElapsed() / 1e6);
        for (const auto& [name, column] :
             std::vector<std::pair<const char*, int>>{{"index", 0}, {"price", 5}, {"title", 2}}) {
            std::vector<double> first, whole, gap;
            for (int r = 0; r < Rounds; ++r) {
                const Round round = openOnce(db, column);
                first.push_back(round.firstRowsMs);
                whole.push_back(round.wholeMs);
                gap.push_back(round.longestGapMs);
            }
            std::printf("sorted by %-5s  first rows %7.1f ms  whole list %7.1f ms  "
                        "longest loop gap %6.1f ms (medians of %d)\n",
                        name, median(first), median(whole), median(gap), Rounds);
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return 0;
}
