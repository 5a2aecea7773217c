// The message search window over 100,000 messages, 20,000 listings and 3,000 bidders (times
// the scale factor): a search that lists every message and a message-text search with about
// 1,000 hits, each until the sorted list is shown, with the longest wait between two turns of
// the event loop during the search; then the time from an Esc pressed during the text search
// to its stop question, pressed at several moments of the search.
#include "BenchScale.h"
#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"

#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Sql.h"
#include "views/UnitFindNavi.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
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

// Presses Esc this long into a message-text search and answers the stop question at once;
// returns how long the question took to come after the press was due, -1 when the search had
// ended before.
qint64 timeEscAnswer(TFormFindNavi& find, int pressAfterMs)
{
    find.EditSearchMessage->setText(QStringLiteral("至急"));
    QElapsedTimer clock;
    qint64 asked = -1;
    Dialogs::setAnswerer([&](const Dialogs::Request&) {
        asked = clock.elapsed();
        return Dialogs::Reply{Dialogs::Answer::Ok, QString()};
    });
    QTimer press;
    press.setSingleShot(true);
    QObject::connect(&press, &QTimer::timeout, [&] { QTest::keyClick(&find, Qt::Key_Escape); });
    press.start(pressAfterMs);
    clock.start();
    find.BitBtnSearchClick();
    press.stop();
    Dialogs::setAnswerer(nullptr);
    return asked < 0 ? -1 : asked - pressAfterMs;
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
        QApplication::setActiveWindow(find);
        qint64 slowest = 0;
        for (int pressAfterMs : {1, 10, 25, 40, 55, 70, 85}) {
            const qint64 answer = timeEscAnswer(*find, pressAfterMs);
            if (answer < 0)
                std::printf("Esc pressed %d ms into the text search: the search had ended\n",
                            pressAfterMs);
            else
                std::printf("Esc pressed %d ms into the text search: asked after %lld ms\n",
                            pressAfterMs, answer);
            slowest = qMax(slowest, answer);
        }
        std::printf("Esc: slowest stop question %lld ms after the press\n", slowest);
        delete find;
    }
    Database::close(name);
    return 0;
}
