// Stores 200 downloaded boards of 20 messages each into a database that already holds 100,000
// messages, and prints the time of the stores and of recomputing their message-count cells.
// Boards and stored messages grow with the scale factor (argument or TESSALY_BENCH_SCALE).
#include "BenchScale.h"

#include "support/TestDataFolder.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "site/NaviStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

const QString seller = QStringLiteral("seller");

void fillExisting(const QSqlDatabase& db, int transactions, int perTransaction)
{
    Sql::Transaction transaction(db);
    QSqlQuery insert = Sql::prepare(
        db, QStringLiteral("INSERT INTO T_Navi (Aid,WriteId,[Number],Subject,Message,WriteDate,"
                           "RecFlg,NewFlg,FolderID,LoginId,BidId,UnsealingFlg) VALUES(:AID,:WID,"
                           ":NO,:SUBJ,:MSG,:DATE,:REC,:REC,:FOLDER,:LOGIN,:BID,1)"));
    for (int t = 0; t < transactions; ++t) {
        const QString aid = QStringLiteral("o%1").arg(t, 9, 10, QChar(u'0'));
        const QString bidId = QStringLiteral("bidder%1").arg(t);
        for (int n = 1; n <= perTransaction; ++n) {
            const bool received = n % 2 == 1;
            Sql::exec(insert,
                      {{":AID", aid},
                       {":WID", received ? bidId : seller},
                       {":NO", n},
                       {":SUBJ", QStringLiteral("件名")},
                       {":MSG", QStringLiteral("これまでのメッセージの本文です。\r\n二行目")},
                       {":DATE", QStringLiteral("2026/11/01 10:00")},
                       {":REC", received ? 1 : 0},
                       {":FOLDER", received ? "000" : "001"},
                       {":LOGIN", seller},
                       {":BID", bidId}});
        }
    }
    transaction.commit();
}

QList<NaviBoard> downloadedBoards(int boards, int perBoard)
{
    QList<NaviBoard> result;
    for (int b = 0; b < boards; ++b) {
        NaviBoard board;
        board.aid = QStringLiteral("n%1").arg(b, 9, 10, QChar(u'0'));
        board.bidId = QStringLiteral("winner%1").arg(b);
        for (int n = perBoard; n >= 1; --n) {
            const bool received = n % 2 == 0;
            board.messages << NaviMessage{board.aid,
                                          QString::number(n),
                                          n,
                                          QStringLiteral("ご連絡"),
                                          received ? board.bidId : seller,
                                          QStringLiteral("12月08日 09時03分"),
                                          QStringLiteral("お世話になります。\r\n入金しました。"),
                                          board.bidId,
                                          received};
        }
        result << board;
    }
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    const int scale = BenchScale::factor(argc, argv);
    const int boardCount = 200 * scale;
    QCoreApplication app(argc, argv);
    TestDataFolder folder;
    QTextStream out(stdout);
    int failures = 0;
    {
        Database::ScopedConnection connection(QStringLiteral("bench"));
        const QSqlDatabase& db = connection.db();
        fillExisting(db, 5000 * scale, 20);
        out << "scale " << scale << ", existing messages: "
            << Sql::scalar(db, QStringLiteral("SELECT COUNT(*) FROM T_Navi")).toInt() << '\n';

        const QList<NaviBoard> boards = downloadedBoards(boardCount, 20);
        NaviStore store(db, seller, false, QDate(2026, 12, 10));
        QElapsedTimer timer;
        timer.start();
        for (const NaviBoard& board : boards)
            failures += store.storeBoard(board).ok ? 0 : 1;
        const qint64 storeMs = timer.elapsed();

        timer.restart();
        for (const stNaviReDownload& key : store.storedTransactions())
            store.messageCountCell(key.aid, key.bidId);
        const qint64 cellMs = timer.elapsed();

        out << "stored " << boardCount << " boards of 20 messages in " << storeMs << " ms"
            << " (failed stores: " << failures << ")\n";
        out << "recomputed " << store.storedTransactions().size() << " message-count cells in "
            << cellMs << " ms\n";
    }
    return failures == 0 ? 0 : 1;
}
