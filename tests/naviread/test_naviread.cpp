// Marking many selected messages read or unread: the database and every view that shows the
// read state or a count of it end as a fresh load of each would show them.

#include "support/FixtureDb.h"
#include "support/StatementLog.h"
#include "support/TestDataFolder.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "views/BidListQuery.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviReadState.h"
#include "views/NaviRows.h"

#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller");

// The views of the main window that follow the read state, loaded from the database.
struct Views
{
    QTreeWidget tree;
    NaviFolderList listViewNavi;
    QTreeWidget listViewBidNavi;
    BidListView listViewBid;

    void load(const QSqlDatabase& db, const QString& folderId, const QString& aid,
              const QString& bidId)
    {
        FolderTree::setup(&tree, {});
        FolderTree::load(&tree, db, seller);
        listViewNavi.load(db, folderId, 0, seller, 5, 0);
        NaviListView::setupListViewBidNavi(&listViewBidNavi);
        NaviListView::loadTransactionList(&listViewBidNavi, db, aid, bidId, seller, 2, 0);
        BidListQuery::Criteria criteria;
        criteria.loginId = seller;
        listViewBid.fillRecords(BidListQuery::read(db, criteria));
    }

    NaviReadState::Views marked(QAbstractItemView* active)
    {
        return {active, &listViewNavi, &listViewBidNavi, &listViewBid, &tree};
    }
};

QList<int> pictures(QAbstractItemView* list)
{
    const NaviRows rows(list);
    QList<int> shown;
    for (int i = 0; i < rows.count(); ++i)
        shown << rows.picture(i);
    return shown;
}

QMap<QString, int> treeCounts(QTreeWidget* tree)
{
    QMap<QString, int> counts;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        counts.insert(FolderTree::folderId(*it), (*it)->data(0, FolderTree::UnreadCountRole).toInt());
    return counts;
}

QStringList countCells(const BidListView& list)
{
    QStringList cells;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        cells << list.bidItem(i).text(NaviReadState::listingAidColumn) + ' ' +
                     list.bidItem(i).text(NaviReadState::listingCountColumn);
    return cells;
}

// Every stored message's read flag, by rowid.
QMap<qint64, int> readFlags(const QSqlDatabase& db)
{
    QMap<qint64, int> flags;
    QSqlQuery query = Sql::exec(db, "SELECT rowid, UnsealingFlg FROM T_Navi");
    while (query.next())
        flags.insert(query.value(0).toLongLong(), query.value(1).toInt());
    return flags;
}

// What the mark should leave: every stored copy of a selected received message in the other
// state (winner ids without case) takes the new state; every other message keeps its flag.
QMap<qint64, int> expectedFlags(const QSqlDatabase& db, QAbstractItemView* active, bool read)
{
    const NaviRows rows(active);
    QSet<QString> turned;
    for (int row : rows.selected()) {
        if (rows.isReceived(row) && rows.isRead(row) != read) {
            const NaviKey key = rows.key(row);
            turned.insert(key.aid + '/' + key.bidId.toLower() + '/' + key.number);
        }
    }
    QMap<qint64, int> flags = readFlags(db);
    QSqlQuery query = Sql::exec(db, "SELECT rowid, Aid, BidId, [Number] FROM T_Navi");
    while (query.next()) {
        const QString key = query.value(1).toString() + '/' +
                            query.value(2).toString().toLower() + '/' + query.value(3).toString();
        if (turned.contains(key))
            flags[query.value(0).toLongLong()] = read ? 1 : 0;
    }
    return flags;
}

void selectAll(QAbstractItemView* list)
{
    list->selectAll();
}

void selectRows(QAbstractItemView* list, const QList<int>& rows)
{
    list->clearSelection();
    for (int row : rows)
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

} // namespace

class TestNaviRead : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void markingASelectionShowsWhatAFreshLoadShows_data();
    void markingASelectionShowsWhatAFreshLoadShows();
    void markingManyMessagesRunsNoStatementPerMessage_data();
    void markingManyMessagesRunsNoStatementPerMessage();

private:
    void addTransactions(bool otherAccountAlike);

    std::unique_ptr<TestDataFolder> m_folder;
    QString m_connection;
    QSqlDatabase m_db;
};

void TestNaviRead::init()
{
    m_folder = std::make_unique<TestDataFolder>();
    m_connection = Database::uniqueConnectionName(QStringLiteral("test"));
    m_db = Database::open(m_connection);
}

void TestNaviRead::cleanup()
{
    m_db = QSqlDatabase();
    Database::close(m_connection);
    m_folder.reset();
}

// Four listings over the received folder 000, its subfolder 000-001 and the sent folder 001:
// a1/b1 has messages in all three and its unread No 1 stored twice (000 and 000-001); the
// winner of a2 is stored as "B2" in the listing and as "b2" with its messages; a4 is never
// selected; the other account's copy of a1/b1 No 3 shares its key. With otherAccountAlike, the
// other account's copies are in the seller's read state: No 3 unread and a copy of No 2 read.
void TestNaviRead::addTransactions(bool otherAccountAlike)
{
    FixtureDb::addFolder(m_db, "000", "受信", 0);
    FixtureDb::addFolder(m_db, "001", "送信", 1);
    FixtureDb::addFolder(m_db, "000-001", "保管", 0);
    for (const char* aid : {"a1", "a3", "a4"})
        FixtureDb::addListing(m_db, {.aid = aid, .bidId = QString(aid).replace('a', 'b')});
    FixtureDb::addListing(m_db, {.aid = "a2", .bidId = "B2"});
    FixtureDb::addMessages(
        m_db, {{.aid = "a1", .bidId = "b1", .number = 1},
               {.aid = "a1", .bidId = "b1", .number = 1, .folderId = "000-001"},
               {.aid = "a1", .bidId = "b1", .number = 2, .read = true},
               {.aid = "a1", .bidId = "b1", .number = 3},
               {.aid = "a1", .bidId = "b1", .number = 4, .received = false},
               {.aid = "a1", .bidId = "b1", .number = 5, .folderId = "000-001"},
               {.aid = "a1", .bidId = "b1", .number = 6, .read = true, .folderId = "000-001"},
               {.aid = "a2", .bidId = "b2", .number = 1},
               {.aid = "a2", .bidId = "b2", .number = 2, .read = true},
               {.aid = "a3", .bidId = "b3", .number = 1, .read = true},
               {.aid = "a3", .bidId = "b3", .number = 2},
               {.aid = "a4", .bidId = "b4", .number = 1},
               {.aid = "a4", .bidId = "b4", .number = 2, .read = true},
               {.aid = "a1",
                .bidId = "b1",
                .number = 3,
                .read = !otherAccountAlike,
                .loginId = "other"}});
    if (otherAccountAlike)
        FixtureDb::addMessages(
            m_db, {{.aid = "a1", .bidId = "b1", .number = 2, .read = true, .loginId = "other"}});
}

void TestNaviRead::markingASelectionShowsWhatAFreshLoadShows_data()
{
    QTest::addColumn<bool>("listingTab"); // the listing tab's message list, else the folder's
    QTest::addColumn<QList<int>>("rows"); // selected rows; none: all
    QTest::addColumn<bool>("read");
    QTest::addColumn<bool>("otherAccountAlike"); // see addTransactions
    const QList<int> all;
    // The folder list of 000 in the order of No: a1 1, a2 1, a3 1, a4 1, a1 2, a2 2, a3 2, a4 2,
    // a1 3.
    const QList<int> notA4{0, 1, 2, 4, 5, 6, 8};
    QTest::newRow("folder, all, read") << false << all << true << false;
    QTest::newRow("folder, all, unread") << false << all << false << false;
    QTest::newRow("folder, a1 to a3, read") << false << notA4 << true << false;
    QTest::newRow("folder, a1 to a3, unread") << false << notA4 << false << false;
    // The other account's copies share the keys, and their state is not the seller's to count.
    QTest::newRow("folder, all, unread, other account alike") << false << all << false << true;
    // The listing tab's list of a1/b1 (one row at a time) in the order of No: 1 (000), 1 (000-001),
    // 2, 3, 4 (sent), 5 and 6 (000-001).
    QTest::newRow("listing tab, No 1, read") << true << QList<int>{0} << true << false;
    QTest::newRow("listing tab, No 5, read") << true << QList<int>{5} << true << false;
    QTest::newRow("listing tab, No 6, unread") << true << QList<int>{6} << false << false;
    QTest::newRow("listing tab, No 3, read, other account alike")
        << true << QList<int>{3} << true << true;
}

void TestNaviRead::markingASelectionShowsWhatAFreshLoadShows()
{
    QFETCH(bool, listingTab);
    QFETCH(QList<int>, rows);
    QFETCH(bool, read);
    QFETCH(bool, otherAccountAlike);
    addTransactions(otherAccountAlike);
    Views views;
    views.load(m_db, "000", "a1", "b1");
    QAbstractItemView* active =
        listingTab ? static_cast<QAbstractItemView*>(&views.listViewBidNavi) : &views.listViewNavi;
    if (rows.isEmpty())
        selectAll(active);
    else
        selectRows(active, rows);
    const QMap<qint64, int> expected = expectedFlags(m_db, active, read);
    QVERIFY(expected != readFlags(m_db));

    const NaviReadState::Result result =
        NaviReadState::setMessagesOpened(m_db, seller, views.marked(active), read);

    QCOMPARE(readFlags(m_db), expected);
    Views fresh;
    fresh.load(m_db, "000", "a1", "b1");
    QCOMPARE(pictures(&views.listViewNavi), pictures(&fresh.listViewNavi));
    QCOMPARE(pictures(&views.listViewBidNavi), pictures(&fresh.listViewBidNavi));
    QCOMPARE(treeCounts(&views.tree), treeCounts(&fresh.tree));
    QCOMPARE(countCells(views.listViewBid), countCells(fresh.listViewBid));
    QCOMPARE(result.shownUnreadCount, fresh.listViewNavi.countUnread());
    QVERIFY(result.changedRows > 0);
}

void TestNaviRead::markingManyMessagesRunsNoStatementPerMessage_data()
{
    QTest::addColumn<bool>("read");
    QTest::newRow("read") << true;
    QTest::newRow("unread") << false;
}

// One message is marked, then the eleven others of six transactions: with as many statements.
void TestNaviRead::markingManyMessagesRunsNoStatementPerMessage()
{
    QFETCH(bool, read);
    FixtureDb::addFolder(m_db, "000", "受信", 0);
    QList<FixtureDb::Message> messages;
    for (int t = 1; t <= 6; ++t) {
        const QString aid = QStringLiteral("a%1").arg(t);
        const QString bidId = QStringLiteral("b%1").arg(t);
        FixtureDb::addListing(m_db, {.aid = aid, .bidId = bidId});
        for (int number : {1, 2})
            messages.append({.aid = aid, .bidId = bidId, .number = number, .read = !read});
    }
    FixtureDb::addMessages(m_db, messages);
    Views views;
    views.load(m_db, "000", "a1", "b1");
    QList<int> changed;
    const auto statementsToMark = [&](const QList<int>& rows) {
        selectRows(&views.listViewNavi, rows);
        StatementLog log(m_db);
        changed << NaviReadState::setMessagesOpened(m_db, seller,
                                                    views.marked(&views.listViewNavi), read)
                       .changedRows;
        return log.statements();
    };
    const QStringList one = statementsToMark({0});
    const QStringList eleven = statementsToMark({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    QCOMPARE(changed, QList<int>({1, 11}));
    QCOMPARE(eleven.filter(QRegularExpression("^UPDATE ")).size(), 1);
    QCOMPARE(eleven.size(), one.size());
}

QTEST_MAIN(TestNaviRead)
#include "test_naviread.moc"
