// Listing a folder of 50,000 messages times the scale factor and switching between folders.
// Run: build/bench/bench_navi_list [scale] (or TESSALY_BENCH_SCALE: 1, 2, 4; prints the figures;
// QT_QPA_PLATFORM defaults to offscreen).

#include "BenchScale.h"
#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "views/FolderTree.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviReadState.h"
#include "views/TableNaviFolderMaster.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

const QString seller = QStringLiteral("seller");
constexpr int messagesPerTransaction = 10;
// A folder of long messages (bank details, quoted earlier messages): about 1,400 characters each.
constexpr int longFolderMessages = 10000;

// bigFolderMessages messages in folder 000, of transactions whose winners are bidders bidders.
void buildDataSet(const QSqlDatabase& db, int bigFolderMessages, int bidders)
{
    QSet<QString> known;
    createDefaultFolders(db, seller, &known);
    const int transactions = bigFolderMessages / messagesPerTransaction;
    {
        Sql::Transaction transaction(db);
        for (int t = 0; t < transactions; ++t) {
            const QString aid = QStringLiteral("x%1").arg(1000000000 + t);
            const QString bidder = QStringLiteral("bidder%1").arg(t % bidders);
            FixtureDb::addListing(
                db, {.aid = aid, .bidId = bidder, .title = QStringLiteral("商品 %1 番").arg(t)});
            if (t < bidders)
                FixtureDb::addBidder(db, {.id = bidder,
                                          .name = QStringLiteral("氏名%1").arg(t),
                                          .mail = "",
                                          .post = "",
                                          .address = "",
                                          .tel = ""});
        }
        transaction.commit();
    }
    const QString text = QStringLiteral("お世話になっております。\r\n入金いたしました。\r\n"
                                        "ご確認のほどよろしくお願いいたします。\r\n");
    QList<FixtureDb::Message> messages;
    messages.reserve(bigFolderMessages);
    for (int i = 0; i < bigFolderMessages; ++i) {
        const int t = i / messagesPerTransaction;
        messages.append({.aid = QStringLiteral("x%1").arg(1000000000 + t),
                         .bidId = QStringLiteral("bidder%1").arg(t % bidders),
                         .number = i % messagesPerTransaction + 1,
                         .read = i % 3 != 0,
                         .folderId = "000",
                         .subject = QStringLiteral("件名 %1").arg(i),
                         .message = text.repeated(1 + i % 4),
                         .writeDate = QStringLiteral("2026/%1/%2 10:%3")
                                          .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                                          .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                                          .arg(i % 60, 2, 10, QLatin1Char('0'))});
    }
    for (int i = 0; i < 2000; ++i)
        messages.append(
            {.aid = "x1000000001", .bidId = "bidder1", .number = 100 + i, .folderId = "000-000"});
    for (int i = 0; i < 1000; ++i)
        messages.append(
            {.aid = "x1000000002", .bidId = "bidder2", .number = 200 + i, .received = false});
    for (int i = 0; i < longFolderMessages; ++i) {
        const int t = i / messagesPerTransaction;
        messages.append({.aid = QStringLiteral("x%1").arg(1000000000 + t),
                         .bidId = QStringLiteral("bidder%1").arg(t % 3000),
                         .number = 1000 + i % messagesPerTransaction,
                         .read = i % 3 != 0,
                         .folderId = "000-001",
                         .subject = QStringLiteral("件名 %1").arg(i),
                         .message = QString::number(i) + text.repeated(30)});
    }
    FixtureDb::addMessages(db, messages);
}

// Messages of one folder whose first 300 characters are the same.
void addFormLetters(const QSqlDatabase& db, const QString& folderId, int count)
{
    const QString letter = QStringLiteral("このたびはお取引いただき誠にありがとうございます。\r\n"
                                          "お支払い方法と発送についてご案内いたします。\r\n")
                               .repeated(8);
    QList<FixtureDb::Message> messages;
    messages.reserve(count);
    for (int i = 0; i < count; ++i)
        messages.append({.aid = QStringLiteral("x%1").arg(1000000000 + i / messagesPerTransaction),
                         .bidId = QStringLiteral("bidder%1").arg(i % 3000),
                         .number = 5000 + i,
                         .folderId = folderId,
                         .message = letter + QString::number(count - i)});
    FixtureDb::addMessages(db, messages);
}

double ms(const std::function<void()>& step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e6;
}

void report(const QString& what, QList<double> figures)
{
    std::sort(figures.begin(), figures.end());
    std::printf("%-56s median %8.1f ms   max %8.1f ms   (%lld runs)\n", qPrintable(what),
                figures.at(figures.size() / 2), figures.last(), qlonglong(figures.size()));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int scale = BenchScale::factor(argc, argv);
    const int bigFolderMessages = 50000 * scale;
    const QString big = QLocale::c().toString(bigFolderMessages);
    TestDataFolder folder;
    const QString name = Database::uniqueConnectionName(QStringLiteral("bench"));
    {
        QSqlDatabase db = Database::open(name);
        const double build = ms([&] { buildDataSet(db, bigFolderMessages, 3000 * scale); });
        std::printf("scale %d, data set: %d messages in folder 000, 2000 in 000-000, %d long ones"
                    " in 000-001, 1000 sent (%.0f ms)\n",
                    scale, bigFolderMessages, longFolderMessages, build);

        QTreeWidget tree;
        FolderTree::setup(&tree, {});
        QTreeWidget list;
        NaviListView::setupListViewNavi(&list);
        list.resize(1000, 700);
        list.show();
        QApplication::processEvents();

        constexpr int runs = 7;
        QList<double> query, firstFill, refill, paint, switching, smallSwitch, treeLoad, longFill;
        for (int r = 0; r < runs; ++r) {
            treeLoad << ms([&] { FolderTree::load(&tree, db, seller); });
            query << ms([&] { NaviListQuery::folderMessages(db, "000", 0, seller, 0, 0); });
            list.clear();
            firstFill << ms(
                [&] { NaviListView::loadMessageList(&list, db, "000", 0, seller, 0, 0); });
            refill << ms([&] { NaviListView::loadMessageList(&list, db, "000", 0, seller, 5, 1); });
            paint << ms([&] { list.repaint(); });
            smallSwitch << ms([&] {
                NaviListView::loadMessageList(&list, db, "000-000", 0, seller, 0, 0);
                NaviListView::loadMessageList(&list, db, "001", 1, seller, 0, 0);
            });
            switching << ms([&] {
                NaviListView::loadMessageList(&list, db, "000", 0, seller, 0, 0);
                NaviListView::loadMessageList(&list, db, "000-000", 0, seller, 0, 0);
                list.repaint();
            });
            longFill << ms(
                [&] { NaviListView::loadMessageList(&list, db, "000-001", 0, seller, 0, 0); });
        }
        report("folder tree load (6 folders, counts)", treeLoad);
        report("query of " + big + " messages (joins, order)", query);
        report("fill " + big + " into an empty list (query included)", firstFill);
        report("fill " + big + " replacing " + big + " (query included)", refill);
        report("repaint of the shown rows", paint);
        report("switch 000-000 -> 001 (2,000 and 1,000 rows)", smallSwitch);
        report("switch 000 (" + big + ") -> 000-000 (2,000) + repaint", switching);
        report("fill 10,000 long messages (query included)", longFill);

        NaviListView::loadMessageList(&list, db, "000", 0, seller, 0, 0);
        const char* const captions[] = {"picture", "Aid",     "title",   "winner", "name",
                                        "No",      "subject", "message", "date"};
        for (int column = 0; column < 9; ++column) {
            QList<double> sorts;
            for (int type : {0, 1, 0}) {
                // Each sort starts from the order of the message numbers.
                NaviListView::sort(&list, 5, 0);
                sorts << ms([&] { NaviListView::sort(&list, column, type); });
            }
            report(QStringLiteral("sort %1 rows by %2 (asc, desc, asc)").arg(big, captions[column]),
                   sorts);
        }
        QList<double> counting{ms([&] { NaviListView::countUnread(&list); })};
        report("count unread rows of " + big, counting);

        for (int i = 0; i < 1000; ++i)
            list.topLevelItem(i)->setSelected(true);
        QList<double> marking{ms([&] {
            NaviReadState::setMessagesOpened(db, seller, {&list, &list, nullptr, nullptr, &tree},
                                             true);
        })};
        report("mark 1,000 selected rows read (+ tree counts)", marking);
        QList<double> unmarking{ms([&] {
            NaviReadState::setMessagesOpened(db, seller, {&list, &list, nullptr, nullptr, &tree},
                                             false);
        })};
        report("mark the same 1,000 rows unread", unmarking);
        list.clear();

        // The same folder in the column model under a QTreeView.
        NaviFolderList model;
        model.resize(1000, 700);
        model.show();
        QApplication::processEvents();
        QList<double> modelFill, modelRefill, modelPaint;
        for (int r = 0; r < runs; ++r) {
            model.rows()->clear();
            modelFill << ms([&] {
                model.load(db, "000", 0, seller, 0, 0);
                model.repaint();
            });
            modelRefill << ms([&] { model.load(db, "000", 0, seller, 5, 1); });
            modelPaint << ms([&] { model.repaint(); });
        }
        report("model: fill " + big + " into an empty list + paint (query incl.)", modelFill);
        report("model: fill " + big + " replacing " + big + " (query included)", modelRefill);
        report("model: repaint of the shown rows", modelPaint);
        QList<double> modelSortedByMessage{ms([&] { model.load(db, "000", 0, seller, 7, 0); })};
        report("model: fill " + big + " sorted by message (query included)", modelSortedByMessage);
        for (int column = 0; column < 9; ++column) {
            QList<double> sorts;
            // The first sort of the message column reads every head.
            model.load(db, "000", 0, seller, 0, 0);
            for (int type : {0, 1, 0}) {
                model.sort(5, 0);
                sorts << ms([&] { model.sort(column, type); });
            }
            report(QStringLiteral("model: sort %1 rows by %2 (asc, desc, asc)")
                       .arg(big, captions[column]),
                   sorts);
        }

        // A folder of one long form letter sent to many, each ending differently: every head is
        // the same, so a sort by the message reads the whole texts.
        const int formLetters = 5000 * scale;
        addFormLetters(db, "000-002", formLetters);
        const QString letters = QLocale::c().toString(formLetters);
        QList<double> lettersLoaded{ms([&] { model.load(db, "000-002", 0, seller, 7, 0); })};
        report("model: fill " + letters + " equal heads sorted by message", lettersLoaded);
        QList<double> lettersSorted;
        for (int type : {0, 1, 0}) {
            model.sort(5, 0);
            lettersSorted << ms([&] { model.sort(7, type); });
        }
        report("model: sort " + letters + " equal heads by message (asc, desc, asc)",
               lettersSorted);
        tree.clear();
    }
    Database::close(name);
    return 0;
}
