// The reply composer on a listing with 500 stored messages among 100,000 (times the scale
// factor): opening it (the show with its queries, the message list and the template tree) and
// applying a template with keywords and the footer.
#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"
#include "support/TestDialogs.h"

#include "BenchScale.h"
#include "app/UnitMain.h"
#include "app/UnitNavi.h"
#include "compose/UnitReply.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Rounds = 20;
const QString seller = QStringLiteral("seller");
const QString winner = QStringLiteral("bidder42");
const QString aid = QStringLiteral("x100000042");

void printTimes(const char* what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%s: median %.1f ms, max %.1f ms (%d rounds)\n", what, times[times.size() / 2],
                times.back(), int(times.size()));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int scale = BenchScale::factor(argc, argv);
    QApplication app(argc, argv);
    TestDataFolder folder;
    TestDialogs dialogs;

    TFormMain formMain;
    formMain.FormCreate();
    TFormNavi* navi = formMain.formNavi;
    while (!navi->session.queries.ready)
        app.processEvents();
    navi->loginId = seller;
    const QSqlDatabase& db = navi->connection;

    const int total = 100000 * scale;
    const int ours = 500 * scale;
    QList<FixtureDb::Message> messages;
    messages.reserve(total);
    const QString body = QString("いつもお世話になっております。\r\n").repeated(8);
    for (int i = 0; i < total; ++i) {
        const bool mine = i % (total / ours) == 0;
        messages << FixtureDb::Message{.aid = mine ? aid : QString("x%1").arg(200000000 + i / 5),
                                       .bidId = mine ? winner : QString("bidder%1").arg(i % 9000),
                                       .number = i + 1,
                                       .received = i % 2 == 0,
                                       .read = i % 4 == 0,
                                       .message = body};
    }
    FixtureDb::addMessages(db, messages);
    FixtureDb::addListing(db, {.aid = aid,
                               .bidId = winner,
                               .title = "時計",
                               .price = "12000",
                               .extra = {{"Carriage", "800"}, {"FirstFlg", "●"}}});
    FixtureDb::addBidder(db, {.id = winner, .name = "山田太郎"});
    FixtureDb::insert(db, "T_PersonalData", {{"Name", "佐藤花子"}, {"Address1", "東京都"}});
    for (int t = 0; t < 20; ++t)
        FixtureDb::insert(db, "T_NaviTemplate",
                          {{"SaveName", QString("テンプレート%1").arg(t)},
                           {"Subject", 1 + t % 4},
                           {"SortNumber", t},
                           {"Message", QString("%name% 様\r\n%title% %price%円 送料%carriage%円\r\n"
                                               "合計 %sum%円\r\n%myname%\r\n") +
                                           body}});

    std::vector<double> openTimes, applyTimes;
    int rows = 0;
    for (int r = 0; r < Rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        ReplyTarget target;
        target.title = "時計";
        target.aid = aid;
        target.bidId = winner;
        target.loginId = seller;
        target.isReply = true;
        target.replyNumber = 1 + (total / ours) * (ours / 2);
        TFormReply* form = navi->openReplyComposer(target);
        app.processEvents();
        openTimes.push_back(timer.nsecsElapsed() / 1e6);
        rows = form->ListViewNavi->topLevelItemCount();

        timer.restart();
        form->applyTemplate(QString("テンプレート%1").arg(r % 20));
        applyTimes.push_back(timer.nsecsElapsed() / 1e6);
        form->close();
        app.processEvents();
    }
    std::printf("messages stored: %d, listed in the composer: %d\n", total, rows);
    printTimes("open the composer", openTimes);
    printTimes("apply a template", applyTimes);
    navi->close();
    return 0;
}
