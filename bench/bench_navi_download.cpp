// Downloads the message boards of 200 shown listings (20 messages each) from a fake site on
// 127.0.0.1 into a database that already holds 100,000 messages, through the main window's
// shown-rows command, and prints the wall time and the time the GUI thread was busy (the
// stores, with the log and progress hand-overs). Boards and stored messages grow with the scale
// factor (argument or TESSALY_BENCH_SCALE: 1, 2, 4).
#include "BenchScale.h"

#include "support/FakeSite.h"
#include "support/FixtureDb.h"
#include "support/NaviBoardSite.h"
#include "support/TestDataFolder.h"
#include "support/TestDialogs.h"

#include "app/UnitNavi.h"
#include "views/ListingTab.h"
#include "platform/Sql.h"
#include "site/LoginControl.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTextStream>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller01");
int boardCount = 200;
constexpr int messagesPerBoard = 20;
int existingMessages = 100000;

QList<NaviTestPages::Message> boardMessages(const QString& bidId)
{
    QList<NaviTestPages::Message> messages;
    for (int n = messagesPerBoard; n >= 1; --n)
        messages.append({QString::number(n), n % 2 == 0 ? bidId : seller,
                         QStringLiteral("ご連絡 %1").arg(n), QStringLiteral("12月08日 09時03分"),
                         QStringLiteral("お世話になります。<br>入金しました。")});
    return messages;
}

// Times the hand-overs of the download thread: the calls it queues to the main window.
class TimingApplication : public QApplication
{
public:
    using QApplication::QApplication;
    QObject* target = nullptr;
    qint64 handOverNs = 0;
    int handOvers = 0;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (receiver != target || event->type() != QEvent::MetaCall)
            return QApplication::notify(receiver, event);
        QElapsedTimer timer;
        timer.start();
        const bool result = QApplication::notify(receiver, event);
        handOverNs += timer.nsecsElapsed();
        ++handOvers;
        return result;
    }
};

} // namespace

int main(int argc, char** argv)
{
    const int scale = BenchScale::factor(argc, argv);
    boardCount *= scale;
    existingMessages *= scale;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TimingApplication app(argc, argv);
    QTextStream out(stdout);

    TestDataFolder folder;
    FakeSite site;
    if (!site.start())
        return 1;
    NaviBoardSite boards(site, seller);
    boards.useAsSite();
    TestDialogs dialogs;

    auto navi = std::make_unique<TFormNavi>();
    navi->FormShow();
    if (!QTest::qWaitFor([&] { return navi->session.queries.ready; }, 10000))
        return 1;
    navi->loginControl().updateLoginId();

    QList<FixtureDb::Message> existing;
    existing.reserve(existingMessages);
    for (int i = 0; i < existingMessages; ++i) {
        const int transaction = i / 20;
        existing.append({.aid = QStringLiteral("o%1").arg(transaction, 9, 10, QChar(u'0')),
                         .bidId = QStringLiteral("old%1").arg(transaction),
                         .number = i % 20 + 1,
                         .received = i % 2 == 0,
                         .read = true,
                         .loginId = seller});
    }
    FixtureDb::addMessages(navi->connection, existing);
    for (int b = 0; b < boardCount; ++b) {
        const QString aid = QStringLiteral("n%1").arg(b, 9, 10, QChar(u'0'));
        const QString bidId = QStringLiteral("winner%1").arg(b);
        FixtureDb::addListing(navi->connection,
                              {.aid = aid, .bidId = bidId, .loginId = seller, .index = b + 1});
        boards.addBoard(aid, bidId, boardMessages(bidId));
    }
    navi->listingTab().ToolButtonBidSearchSearchClick();

    app.target = navi.get();
    QElapsedTimer wall;
    wall.start();
    navi->ActionNaviDownloadShow->trigger();
    const bool ended = QTest::qWaitFor([&] { return navi->downloadKind == 0; }, 120000);
    const qint64 wallMs = wall.elapsed();

    const QVariant stored = Sql::scalar(
        navi->connection, QStringLiteral("SELECT COUNT(*) FROM T_Navi WHERE Aid LIKE 'n%'"), {});
    out << "scale " << scale << ": boards " << boardCount << " x " << messagesPerBoard
        << " messages, " << existingMessages << " stored before\n";
    out << "ended: " << (ended ? "yes" : "no") << ", messages stored: " << stored.toInt() << "\n";
    out << "wall: " << wallMs << " ms\n";
    out << "hand-overs on the GUI thread (stores, log, progress, end): " << app.handOvers
        << " calls, " << app.handOverNs / 1000000 << " ms\n";
    return ended ? 0 : 1;
}
