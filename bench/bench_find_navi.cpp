// The message search window over 100,000 messages, 20,000 listings and 3,000 bidders (times
// the scale factor): a search that lists every message and a message-text search with about
// 1,000 hits, each until the sorted list is shown, with the longest wait between two turns of
// the event loop during the search.
#include "BenchScale.h"
#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "views/UnitFindNavi.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

namespace {

void buildDataSet(const QSqlDatabase& db, int scale)
{
    const int listings = 20000 * scale, bidders = 3000 * scale, messages = 100000 * scale;
    Sql::Transaction transaction(db);
    for (int i = 0; i < bidders; ++i)
        FixtureDb::addBidder(
            db, {.id = QStringLiteral("bidder%1").arg(i), .name = QStringLiteral("氏名%1").arg(i)});
    for (int i = 0; i < listings; ++i)
        FixtureDb::addListing(db, {.aid = QStringLiteral("x%1").arg(i),
                                   .bidId = QStringLiteral("bidder%1").arg(i % bidders),
                                   .title = QStringLiteral("商品 %1").arg(i),
                                   .index = i});
    transaction.commit();
    QList<FixtureDb::Message> rows;
    rows.reserve(messages);
    for (int i = 0; i < messages; ++i) {
        const int listing = i % listings;
        FixtureDb::Message m;
        m.aid = QStringLiteral("x%1").arg(listing);
        m.bidId = QStringLiteral("bidder%1").arg(listing % bidders);
        m.number = i / listings + 1;
        m.received = i % 3 != 0;
        m.read = i % 2 == 0;
        m.subject = QStringLiteral("件名 %1").arg(i);
        m.message = QStringLiteral("ご連絡ありがとうございます。お取引番号 %1 について。").arg(i) +
                    (i % 100 == 0 ? QStringLiteral("至急ご確認ください") : QString());
        rows.append(m);
    }
    FixtureDb::addMessages(db, rows);
}

void timeSearch(TFormFindNavi& find, const char* name, const QString& message)
{
    find.EditSearchMessage->setText(message);
    QElapsedTimer gap, total;
    qint64 longestGap = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { longestGap = qMax(longestGap, gap.restart()); });
    total.start();
    gap.start();
    tick.start();
    find.BitBtnSearchClick();
    tick.stop();
    const qint64 ms = total.elapsed();
    longestGap = qMax(longestGap, gap.elapsed());
    std::printf("%s: %d rows, sorted list shown in %lld ms, longest wait for events %lld ms\n",
                name, find.ListViewNavi->topLevelItemCount(), ms, longestGap);
}

} // namespace

int main(int argc, char** argv)
{
    const int scale = BenchScale::factor(argc, argv);
    QApplication app(argc, argv);
    TestDataFolder folder;
    const QString name = Database::uniqueConnectionName(QStringLiteral("bench"));
    {
        QSqlDatabase db = Database::open(name);
        QElapsedTimer build;
        build.start();
        buildDataSet(db, scale);
        std::printf("scale %d: data set built in %lld ms\n", scale, build.elapsed());
        auto* find = new TFormFindNavi(name, 10, [] { return false; });
        find->loginId = QStringLiteral("seller");
        find->show();
        timeSearch(*find, "every message", QString());
        timeSearch(*find, "message text", QStringLiteral("至急"));
        delete find;
    }
    Database::close(name);
    return 0;
}
