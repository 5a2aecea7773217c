// The main window's start with a full data folder (20,000 listings and 100,000 messages times
// the scale factor: argument or TESSALY_BENCH_SCALE) against a fake site whose account page
// answers late (300 ms and 2 s). Prints, for each, the time from the window's creation to its
// first paint, and to the end of the start-up steps that wait on the site.
#include "BenchScale.h"
#include "support/FakeSite.h"
#include "support/FixtureDb.h"
#include "support/SitePages.h"
#include "support/TestDataFolder.h"

#include "app/UnitNavi.h"
#include "platform/Database.h"
#include "platform/GuiThreadWait.h"
#include "platform/Sql.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

const QString seller = QStringLiteral("seller");

void fillDataFolder(int listings, int messages)
{
    Database::ScopedConnection db;
    {
        Sql::Transaction transaction(db.db());
        for (int i = 0; i < listings; ++i)
            FixtureDb::addListing(db.db(), {.aid = QString("x%1").arg(100000000 + i),
                                            .bidId = QString("bidder%1").arg(i % 8000),
                                            .loginId = seller,
                                            .title = QString("商品 %1 の説明").arg(i),
                                            .price = QString::number(1000 + i % 5000),
                                            .index = 1 + i % 500});
        transaction.commit();
    }
    QList<FixtureDb::Message> rows;
    rows.reserve(messages);
    for (int m = 0; m < messages; ++m) {
        const int listing = m % listings;
        rows.append({.aid = QString("x%1").arg(100000000 + listing),
                     .bidId = QString("bidder%1").arg(listing % 8000),
                     .number = 1 + m / listings,
                     .received = m % 2 == 0,
                     .read = m % 3 != 0,
                     .loginId = seller,
                     .message = QStringLiteral("本文です。\r\nよろしくお願いします。")});
    }
    FixtureDb::addMessages(db.db(), rows);
}

// Records when the watched window is first painted.
class FirstPaintClock : public QObject
{
public:
    FirstPaintClock(QWidget* window, const QElapsedTimer& clock) : m_clock(clock)
    {
        window->installEventFilter(this);
    }
    qint64 paintedAtMs = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && paintedAtMs < 0)
            paintedAtMs = m_clock.elapsed();
        return false;
    }

private:
    const QElapsedTimer& m_clock;
};

void timeStart(int answerDelayMs)
{
    FakeSite site;
    if (!site.start())
        return;
    FakeSite::Response status = SitePages::page(SitePages::statusPage(seller));
    status.delayMs = answerDelayMs;
    site.setRoute("GET", "/jp/show/mystatus", status);
    site.useAsSite();

    // The window of the run before ended that run of the program.
    GuiThreadWait::clearStop();
    QElapsedTimer clock;
    clock.start();
    auto navi = std::make_unique<TFormNavi>();
    FirstPaintClock paint(navi.get(), clock);
    navi->FormShow();
    const bool ready = QTest::qWaitFor([&] { return navi->session.queries.ready; }, 60000);
    std::printf("account page after %5d ms: first paint %5lld ms, start-up steps done %5lld ms%s\n",
                answerDelayMs, static_cast<long long>(paint.paintedAtMs),
                static_cast<long long>(clock.elapsed()), ready ? "" : " (not finished)");
    navi->close();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int scale = BenchScale::factor(argc, argv);

    TestDataFolder folder;
    QElapsedTimer setup;
    setup.start();
    fillDataFolder(20000 * scale, 100000 * scale);
    std::printf("scale %d: %d listings, %d messages (%lld ms)\n", scale, 20000 * scale,
                100000 * scale, static_cast<long long>(setup.elapsed()));
    for (int delay : {300, 2000})
        timeStart(delay);
    return 0;
}
