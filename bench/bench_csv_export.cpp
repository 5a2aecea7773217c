// The CSV exports of a full listing list: ListViewBid of 20,000 listings written whole, and the
// bidder information of 20,000 selected rows (all rows, then every other row). The save dialog
// and the overwrite question are answered by the test hook. The first argument (or
// TESSALY_BENCH_SCALE) multiplies the sizes.
#include "support/TestDataFolder.h"
#include "support/TestDialogs.h"

#include "BenchScale.h"
#include "BenchTiming.h"
#include "app/CsvListExport.h"
#include "platform/Database.h"
#include "platform/Sql.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using BenchTiming::medianMs;

void fillBidders(const QSqlDatabase& db, int bidders)
{
    Sql::Transaction transaction(db);
    QSqlQuery bidder = Sql::prepare(db, "INSERT INTO T_BidMaster (Id, Name, MailMain, Post, "
                                        "Address1, Tel) VALUES (:ID, :NAME, :MAIL, :POST, "
                                        ":ADDRESS, :TEL)");
    for (int b = 0; b < bidders; ++b)
        Sql::exec(bidder, {{":ID", QString("bidder%1").arg(b)},
                           {":NAME", QString("氏名 %1").arg(b)},
                           {":MAIL", QString("bidder%1@example.jp").arg(b)},
                           {":POST", "100-0001"},
                           {":ADDRESS", QString("東京都千代田区千代田1-%1").arg(b)},
                           {":TEL", "03-0000-0000"}});
    transaction.commit();
}

void fillList(BidListView& view, int listings, int bidders)
{
    QRandomGenerator random(20261224);
    using namespace BidListColumns;
    for (int i = 0; i < listings; ++i) {
        QStringList cells(ColumnCount);
        const QString aid = QString("x%1").arg(100000000 + i);
        cells[CaptionColumn] = QString::number(random.bounded(500));
        cells[column(Aid)] = aid;
        cells[column(Title)] = QString("商品 Title %1, 説明〜付き").arg(random.bounded(100000));
        cells[column(BidId)] = QString("bidder%1").arg(random.bounded(bidders + bidders / 4));
        cells[column(Name)] = QString("氏名 %1").arg(i);
        cells[column(Quantity)] = QString::number(1 + random.bounded(5));
        cells[column(Price)] = QString::number(random.bounded(200000));
        cells[column(EndDataTime)] = QString("12月%1日 21時05分").arg(1 + i % 28);
        cells[column(NaviCount)] = i % 3 ? QString("%1(1)").arg(2 + i % 5) : QString();
        cells[column(FirstFlg)] = i % 3 == 0 ? "●" : "";
        cells[column(Remarks)] = i % 7 == 0 ? "メモ \"あり\"" : "";
        cells[column(Url)] = "https://page.auctions.yahoo.co.jp/jp/auction/" + aid;
        view.addBidItem(cells);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int scale = BenchScale::factor(argc, argv);
    QApplication app(argc, argv);

    const int listings = 20000 * scale;
    const int bidders = 8000 * scale;
    TestDataFolder folder;
    TestDialogs dialogs;
    {
        Database::ScopedConnection db;
        fillBidders(db.db(), bidders);
    }
    BidListView view;
    fillList(view, listings, bidders);
    view.sortList();
    const QString path = folder.filePath("export.csv");
    QString message;

    const double list = medianMs([&] {
        dialogs.queue(Dialogs::Answer::Ok, path);
        exportListViewCsv(&view, &message, "出品終了データ");
    });
    std::printf("list export, %d rows (%lld bytes):        %8.1f ms  %s\n", listings,
                QFileInfo(path).size(), list, qPrintable(message));

    view.selectAll();
    const double all = medianMs([&] {
        dialogs.queue(Dialogs::Answer::Ok, path);
        exportBidderInfoCsv(&view, BidListColumns::BidId, &message, "落札者情報");
    });
    std::printf("bidder export, %d selected rows:          %8.1f ms  %s\n", listings, all,
                qPrintable(message));

    view.clearSelection();
    for (int row = 0; row < view.topLevelItemCount(); row += 2)
        view.topLevelItem(row)->setSelected(true);
    const double alternate = medianMs([&] {
        dialogs.queue(Dialogs::Answer::Ok, path);
        exportBidderInfoCsv(&view, BidListColumns::BidId, &message, "落札者情報");
    });
    std::printf("bidder export, every other row (%d rows): %8.1f ms\n", listings / 2, alternate);
    return 0;
}
