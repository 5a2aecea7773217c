// Filing 1,000 selected messages out of a folder of 50,000 into another folder: the keys, the
// update, the rows removed from the list, the status text and the folder tree's counts.
// Run: build-rel/bench/bench_navi_move [scale] (prints the figures; QT_QPA_PLATFORM defaults to
// offscreen).

#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"

#include "BenchScale.h"
#include "platform/Database.h"
#include "platform/Sql.h"
#include "views/FolderTree.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviMove.h"
#include "views/TableNaviFolderMaster.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

const QString seller = QStringLiteral("seller");
constexpr int messagesPerTransaction = 10;
constexpr int movedRows = 1000;

void buildDataSet(const QSqlDatabase& db, int messages)
{
    QSet<QString> known;
    createDefaultFolders(db, seller, &known);
    const QString text = QStringLiteral("お世話になっております。\r\n入金いたしました。\r\n");
    QList<FixtureDb::Message> rows;
    rows.reserve(messages);
    for (int i = 0; i < messages; ++i) {
        const int t = i / messagesPerTransaction;
        rows.append({.aid = QStringLiteral("x%1").arg(1000000000 + t),
                     .bidId = QStringLiteral("bidder%1").arg(t % 3000),
                     .number = i % messagesPerTransaction + 1,
                     .read = i % 3 != 0,
                     .folderId = "000",
                     .subject = QStringLiteral("件名 %1").arg(i),
                     .message = text.repeated(1 + i % 4)});
    }
    FixtureDb::addMessages(db, rows);
}

double ms(const std::function<void()>& step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e6;
}

void report(const char* what, QList<double> figures)
{
    std::sort(figures.begin(), figures.end());
    std::printf("%-56s median %8.1f ms   max %8.1f ms   (%lld runs)\n", what,
                figures.at(figures.size() / 2), figures.last(), qlonglong(figures.size()));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int scale = BenchScale::factor(argc, argv);
    QApplication app(argc, argv);
    TestDataFolder folder;
    const QString name = Database::uniqueConnectionName(QStringLiteral("bench"));
    {
        QSqlDatabase db = Database::open(name);
        const int messages = 50000 * scale;
        const double build = ms([&] { buildDataSet(db, messages); });
        std::printf("data set: %d messages in folder 000 (%.0f ms)\n", messages, build);

        QTreeWidget tree;
        FolderTree::setup(&tree, {});
        FolderTree::load(&tree, db, seller);
        NaviFolderList list;
        list.resize(1000, 700);
        list.show();
        QApplication::processEvents();

        constexpr int runs = 7;
        QList<double> keysWrite, rows, counts, whole;
        const int step = messages / movedRows;
        for (int r = 0; r < runs; ++r) {
            list.load(db, "000", 0, seller, 0, 0);
            list.clearSelection();
            for (int i = r; i < messages; i += step)
                list.setRowSelected(i, true);
            QApplication::processEvents();
            QString status;
            whole << ms([&] {
                keysWrite << ms(
                    [&] { NaviMove::write(db, "000-000", NaviMove::selectedKeys(&list)); });
                rows << ms([&] {
                    const NaviMove::Removal removal = NaviMove::removeSelectedRows(&list);
                    if (removal.next >= 0)
                        list.selectRow(removal.next);
                });
                counts << ms([&] {
                    status = NaviListView::statusText(list.rowCount(), list.countUnread());
                    FolderTree::loadUnreadCounts(&tree, db, seller);
                });
                list.repaint();
                tree.repaint();
            });
            if (list.rowCount() != messages - movedRows)
                std::printf("unexpected row count %d\n", list.rowCount());
            Sql::exec(db, "UPDATE T_Navi SET FolderID='000' WHERE FolderID='000-000'");
        }
        report("keys and update of 1,000 messages (one transaction)", keysWrite);
        report("remove 1,000 of the listed rows, select the next", rows);
        report("status text and folder tree counts", counts);
        report("whole move of 1,000 rows (+ repaint of list and tree)", whole);
    }
    Database::close(name);
    return 0;
}
