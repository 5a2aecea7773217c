// The template keyword expansion of the main window: a 40-line template with 10 item lines for
// a winner with 100 listings among the 20,000 rows of the listing list (both times the scale
// factor: argument or TESSALY_BENCH_SCALE). Times one call, with its
// queries, the scan of the list and the expansion.
#include "BenchScale.h"
#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"
#include "support/TestDialogs.h"

#include "app/UnitMain.h"
#include "app/UnitNavi.h"
#include "compose/TemplateKeywords.h"
#include "views/BidListColumns.h"
#include "views/BidListQuery.h"
#include "views/BidListView.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The list's size and the winner's listings, times the scale factor.
int Rows = 20000;
int WinnerListings = 100;
constexpr int Rounds = 50;
const QString winner = QStringLiteral("bidder42");

QString benchTemplate()
{
    QStringList lines;
    for (int i = 0; i < 40; ++i) {
        switch (i % 4) {
        case 0:
            lines << QString("%1. %aid% %title% %price%円 × %quantity% = %plural_price%円").arg(i);
            break;
        case 1:
            lines << (i % 8 == 1 ? QString("合計 %total%円 送料 %carriage%円 総計 %sum_em%円")
                                 : QString("%id% %name% 様 %myname% %mymail% %send_num%"));
            break;
        case 2:
            lines << QString("税込 %CALC%%total%*1.1%/CALC%円 %myadd% %mytel% %r%");
            break;
        default:
            lines << QString("いつもご利用ありがとうございます。よろしくお願いいたします。");
            break;
        }
    }
    return lines.join("\r\n") + "\r\n";
}

QList<BidListQuery::Row> listRows()
{
    using namespace BidListColumns;
    QList<BidListQuery::Row> rows;
    for (int i = 0; i < Rows; ++i) {
        BidListQuery::Row row;
        row.cells = QStringList(ColumnCount, QString());
        row.cells[CaptionColumn] = QString::number(i + 1);
        row.cells[column(Aid)] = QString("x%1").arg(100000000 + i);
        row.cells[column(Title)] = QString("商品 Title %1 の説明").arg(i);
        const bool ours = i % (Rows / WinnerListings) == 7;
        row.cells[column(BidId)] = ours ? winner : QString("bidder%1").arg(i % 8000);
        row.cells[column(Quantity)] = QString::number(1 + i % 3);
        row.cells[column(Price)] = QString::number(500 + i % 9000);
        rows << row;
    }
    return rows;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int scale = BenchScale::factor(argc, argv);
    Rows *= scale;
    WinnerListings *= scale;
    TestDataFolder folder;
    TestDialogs dialogs;

    TFormMain formMain;
    formMain.FormCreate();
    TFormNavi* navi = formMain.formNavi;
    while (!navi->session.queries.ready)
        app.processEvents();
    navi->loginId = QStringLiteral("seller");

    const QString aid = QString("x%1").arg(100000000 + 7);
    FixtureDb::addListing(navi->connection,
                          {.aid = aid,
                           .bidId = winner,
                           .title = "商品",
                           .price = "507",
                           .quantity = "2",
                           .extra = {{"Carriage", "800"}, {"Forwarding", "F-1"}}});
    FixtureDb::addBidder(navi->connection, {.id = winner, .name = "山田太郎"});
    FixtureDb::insert(navi->connection, "T_PersonalData",
                      {{"Name", "佐藤花子"},
                       {"Address1", "東京都"},
                       {"Tel", "03-0000-0000"},
                       {"Mail", "shop@example.jp"}});
    navi->ListViewBid->fill(listRows());

    const QString templateText = benchTemplate();
    std::vector<double> times;
    QString result;
    for (int r = 0; r < Rounds; ++r) {
        bool errorFlag = false;
        QString errorText;
        QElapsedTimer timer;
        timer.start();
        convertTemplateKeywords(result, templateText, aid, winner, errorFlag, errorText);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("list rows: %d, listings of the winner: %d, result: %lld characters, %lld lines\n",
                navi->ListViewBid->topLevelItemCount(), WinnerListings, qlonglong(result.size()),
                qlonglong(result.count(u'\n')));
    std::printf("convertTemplateKeywords: median %.2f ms, max %.2f ms (%d calls)\n",
                times[times.size() / 2], times.back(), Rounds);
    navi->close();
    return 0;
}
