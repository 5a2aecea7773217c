// Marking selected messages of the folder list read and unread, with every view that follows the
// read state: the folder list itself, the listing tab's message list, the listing list's
// message-count cells and the folder tree's unread counts. A data folder of 20,000 listings and
// 100,000 messages (a year of sales) times the scale factor; 80,000 and 1,000 selected messages.
// Run: build/bench/bench_navi_read [scale] (or TESSALY_BENCH_SCALE: 1, 2, 4; prints the figures;
// QT_QPA_PLATFORM defaults to offscreen).

#include "BenchScale.h"
#include "BenchTiming.h"
#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "views/BidListQuery.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviReadState.h"
#include "views/TableNaviFolderMaster.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QTreeWidget>

#include <cstdio>

namespace {

const QString seller = QStringLiteral("seller");
constexpr int messagesPerListing = 5;

QString aidOf(int listing)
{
    return QStringLiteral("x%1").arg(1000000000 + listing);
}

QString bidderOf(int listing, int bidders)
{
    return QStringLiteral("bidder%1").arg(listing % bidders);
}

// Four of each listing's five messages are received (folder 000, one in three unread), the fifth
// is sent (folder 001).
void buildDataSet(const QSqlDatabase& db, int listings, int bidders)
{
    QSet<QString> known;
    createDefaultFolders(db, seller, &known);
    {
        Sql::Transaction transaction(db);
        for (int t = 0; t < listings; ++t) {
            FixtureDb::addListing(db, {.aid = aidOf(t),
                                       .bidId = bidderOf(t, bidders),
                                       .title = QStringLiteral("商品 %1 番").arg(t)});
            if (t < bidders)
                FixtureDb::addBidder(db, {.id = bidderOf(t, bidders),
                                          .name = QStringLiteral("氏名%1").arg(t),
                                          .mail = "",
                                          .post = "",
                                          .address = "",
                                          .tel = ""});
        }
        transaction.commit();
    }
    QList<FixtureDb::Message> messages;
    messages.reserve(listings * messagesPerListing);
    const QString text = QStringLiteral("お世話になっております。\r\n入金いたしました。\r\n");
    for (int i = 0; i < listings * messagesPerListing; ++i) {
        const int t = i / messagesPerListing;
        const int number = i % messagesPerListing + 1;
        const bool received = number != messagesPerListing;
        messages.append({.aid = aidOf(t),
                         .bidId = bidderOf(t, bidders),
                         .number = number,
                         .received = received,
                         .read = i % 3 != 0,
                         .subject = QStringLiteral("件名 %1").arg(i),
                         .message = text});
    }
    FixtureDb::addMessages(db, messages);
}

void selectFirstRows(NaviFolderList& list, int count)
{
    QAbstractItemModel* model = list.model();
    list.selectionModel()->select(
        QItemSelection(model->index(0, 0), model->index(count - 1, model->columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int scale = BenchScale::factor(argc, argv);
    const int listings = 20000 * scale;
    TestDataFolder folder;
    const QString name = Database::uniqueConnectionName(QStringLiteral("bench"));
    {
        QSqlDatabase db = Database::open(name);
        QElapsedTimer build;
        build.start();
        buildDataSet(db, listings, 8000 * scale);
        std::printf("scale %d, data folder: %d listings, %d messages (%d received in 000) in "
                    "%.0f ms\n",
                    scale, listings, listings * messagesPerListing,
                    listings * (messagesPerListing - 1), build.nsecsElapsed() / 1e6);

        QTreeWidget tree;
        FolderTree::setup(&tree, {});
        FolderTree::load(&tree, db, seller);
        BidListView listViewBid;
        BidListQuery::Criteria criteria;
        criteria.loginId = seller;
        listViewBid.fillRecords(BidListQuery::read(db, criteria));
        QTreeWidget listViewBidNavi;
        NaviListView::setupListViewBidNavi(&listViewBidNavi);
        NaviListView::loadTransactionList(&listViewBidNavi, db, aidOf(0), bidderOf(0, 8000 * scale),
                                          seller, 2, 0);
        NaviFolderList list;
        list.load(db, "000", 0, seller, 5, 0);
        list.resize(1000, 700);
        list.show();
        listViewBid.resize(1000, 700);
        listViewBid.show();
        QApplication::processEvents();

        const NaviReadState::Views views{&list, &list, &listViewBidNavi, &listViewBid, &tree};
        const auto mark = [&](bool read) {
            NaviReadState::runCommand(nullptr, false, db, seller, views, read);
            QApplication::processEvents();
        };
        for (int selected : {80000, 1000}) {
            const int count = qMin(selected, list.rowCount());
            selectFirstRows(list, count);
            mark(false);
            const double read = BenchTiming::medianMs([&] { mark(true); }, [&] { mark(false); });
            mark(true);
            const double unread = BenchTiming::medianMs([&] { mark(false); }, [&] { mark(true); });
            std::printf("mark %6d selected of %d rows read:   %8.1f ms\n", count, list.rowCount(),
                        read);
            std::printf("mark %6d selected of %d rows unread: %8.1f ms\n", count, list.rowCount(),
                        unread);
        }
    }
    Database::close(name);
    return 0;
}
