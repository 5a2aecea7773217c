// One end-time lookup tick over a listing list of 20,000 listings (times the scale factor)
// against a fake item web service on 127.0.0.1. Times the whole tick, the web-service request
// alone, and the tick's own work: the UPDATE and the walk over the list's rows.
#include "support/FakeSite.h"
#include "support/SitePages.h"
#include "support/TestDataFolder.h"
#include "support/TestDialogs.h"

#include "BenchScale.h"

#include "app/UnitNavi.h"
#include "platform/Sql.h"
#include "site/EndTimeControl.h"
#include "site/EndTimeLookup.h"
#include "site/LoginControl.h"
#include "site/htmlYahoo.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/ListingTab.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Rounds = 21;

void fillDatabase(const QSqlDatabase& db, int listings)
{
    Sql::Transaction transaction(db);
    QSqlQuery listing = Sql::prepare(
        db, "INSERT INTO T_BidData (Aid, Title, BidId, Price, [Index], Quantity, LoginId,"
            " EndDataTime) VALUES (:AID, :TITLE, :BID_ID, :PRICE, :INDEX, 1, :LOGIN_ID, :END)");
    for (int i = 0; i < listings; ++i) {
        const QString aid = QString("x%1").arg(100000000 + i);
        // Every tenth listing has no end time; every fifth of those has two winners.
        const bool pending = i % 10 == 0;
        const int winners = pending && i % 50 == 0 ? 2 : 1;
        for (int w = 0; w < winners; ++w)
            Sql::exec(listing, {{":AID", aid},
                                {":TITLE", QString("商品 %1").arg(i)},
                                {":BID_ID", QString("bidder%1_%2").arg(i).arg(w)},
                                {":PRICE", QString::number(1000 + i)},
                                {":INDEX", i},
                                {":LOGIN_ID", "seller"},
                                {":END", pending ? QString() : QString("12月01日 21時05分")}});
    }
    transaction.commit();
}

double medianMs(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double timeMs(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int listings = 20000 * BenchScale::factor(argc, argv);
    QApplication app(argc, argv);

    TestDataFolder folder;
    FakeSite site;
    if (!site.start())
        return 1;
    site.useAsSite();
    SitePages::serveAccount(site, "seller");
    FakeSite::Response answer;
    answer.contentType = "text/xml; charset=utf-8";
    answer.body = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ResultSet><Result>"
                                 "<endtime>1月  5日  5時 5分</endtime></Result></ResultSet>\n")
                      .toUtf8();
    site.setRoute("GET", "/AuctionWebService/V1/AuctionItem", answer);
    TestDialogs dialogs;

    TFormNavi navi;
    navi.FormShow();
    while (!navi.session.queries.ready)
        app.processEvents();
    fillDatabase(navi.connection, listings);
    if (!navi.loginControl().checkLoginStatus())
        return 1;
    navi.listingTab().ToolButtonBidSearchSearchClick();
    app.processEvents();
    std::printf("rows: %d, pending end times: %d\n", navi.ListViewBid->topLevelItemCount(),
                navi.endTimeControl().endTimePendingCount());

    std::vector<double> ticks, requests, own;
    for (int r = 0; r < Rounds; ++r)
        ticks.push_back(timeMs([&] { navi.endTimeControl().TimerEndDateTimeTimer(); }));
    for (int r = 0; r < Rounds; ++r) {
        const QString aid = navi.endTimeControl().endTimeQueue.dequeue();
        requests.push_back(timeMs([&] { htmlYahoo().getEndTime(aid); }));
    }
    // The tick's work after the answer, as the tick does it: the UPDATE, then the row walk.
    BidListView* list = navi.ListViewBid;
    const QString endTime = QStringLiteral("01月05日 05時05分");
    std::vector<double> updates, walks;
    for (int r = 0; r < Rounds; ++r) {
        const QString aid = navi.endTimeControl().endTimeQueue.dequeue();
        const double update =
            timeMs([&] { EndTimeLookup::store(navi.connection, aid, navi.loginId, endTime); });
        const double walk = timeMs([&] {
            const QList<int> rows = EndTimeLookup::rowsOfListing(
                list->topLevelItemCount(),
                [list](int row) {
                    return list->topLevelItem(row)->text(
                        BidListColumns::column(BidListColumns::Aid));
                },
                aid);
            for (int row : rows)
                list->topLevelItem(row)->setText(
                    BidListColumns::column(BidListColumns::EndDataTime), endTime);
        });
        updates.push_back(update);
        walks.push_back(walk);
        own.push_back(update + walk);
    }
    std::printf("whole tick (median of %d):       %8.2f ms\n", Rounds, medianMs(ticks));
    std::printf("web-service request alone:       %8.2f ms\n", medianMs(requests));
    std::printf("UPDATE alone:                    %8.2f ms\n", medianMs(updates));
    std::printf("row walk alone:                  %8.2f ms\n", medianMs(walks));
    std::printf("UPDATE + row walk (tick's own):  %8.2f ms\n", medianMs(own));
    navi.close();
    return 0;
}
