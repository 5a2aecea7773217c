#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"

#include "platform/Database.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"
#include "views/BidListColumns.h"
#include "views/BidListQuery.h"
#include "views/BidListSort.h"
#include "views/BidListView.h"
#include "views/BidSearchPanel.h"
#include "site/EndTimeQueue.h"
#include "views/RadioButtonGroup.h"
#include "views/WindowsColor.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace BidListColumns;

namespace {

QStringList aidsOf(const QList<BidListQuery::Row>& rows)
{
    QStringList aids;
    for (const BidListQuery::Row& row : rows)
        aids << row.aid();
    return aids;
}

QStringList columnOf(const BidListView& view, int column)
{
    QStringList texts;
    for (int r = 0; r < view.topLevelItemCount(); ++r)
        texts << view.topLevelItem(r)->text(column);
    return texts;
}

// Listing-list cells with the caption and the given cells set.
QStringList cellsWith(std::initializer_list<std::pair<int, QString>> columns)
{
    QStringList cells;
    for (int c = 0; c < ColumnCount; ++c)
        cells << QString();
    for (const auto& [column, text] : columns)
        cells[column] = text;
    return cells;
}

} // namespace

class TestListView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsOnlyTheAccountsListingsThatAreNotDeleted();
    void filtersByFlagChoice_data();
    void filtersByFlagChoice();
    void filtersBySearchTexts_data();
    void filtersBySearchTexts();
    void fillsEveryCellInLayoutOrder();
    void countCellShowsTotalAndUnread_data();
    void countCellShowsTotalAndUnread();
    void queuesListingsWithoutEndTimeInRowOrder();

    void rowWithUnreadMessagesIsBold();
    void lineBreaksKeepEveryRowOneLineTall();
    void sortsByColumnKind_data();
    void sortsByColumnKind();
    void sortFollowsCellsChangedAfterTheRowWasMade_data();
    void sortFollowsCellsChangedAfterTheRowWasMade();
    void headerClickTogglesDirectionOnlyOnSameColumn_data();
    void headerClickTogglesDirectionOnlyOnSameColumn();
    void clickingCurrentColumnTwiceRestoresOrder();
    void sortKeepsSelectionAndCurrentRow_data();
    void sortKeepsSelectionAndCurrentRow();
    void equalKeysKeepTheirOrderInBothDirections_data();
    void equalKeysKeepTheirOrderInBothDirections();
    void tintFollowsRowPositions();
    void windowsColourIsBlueGreenRed();
    void statusTextCountsRows();
    void findsRowByExactAuctionAndWinner();
    void lookupForgetsRemovedRows();

    void searchPanelKeepsItsSettings();
    void searchPanelDefaultsWithoutSettings();
    void searchPanelClearResetsCriteria();
    void searchPanelCollapsesAndExpands();
    void collapsedStripTurnsSilverUnderPointer();
    void searchPanelSearchesOnEnterOnlyWhenEnabled();
    void doubleClickOnCollapsedStripExpandsAndSearches();

private:
    std::unique_ptr<TestDataFolder> m_folder;
    QString m_connection;
    QSqlDatabase m_db;
};

void TestListView::init()
{
    m_folder = std::make_unique<TestDataFolder>();
    m_connection = Database::uniqueConnectionName(QStringLiteral("test"));
    m_db = Database::open(m_connection);
}

void TestListView::cleanup()
{
    m_db = QSqlDatabase();
    Database::close(m_connection);
    m_folder.reset();
}

void TestListView::showsOnlyTheAccountsListingsThatAreNotDeleted()
{
    FixtureDb::addListing(m_db, {.aid = "a1", .bidId = "winner"});
    FixtureDb::addListing(m_db, {.aid = "a2", .bidId = "winner", .loginId = "other"});
    FixtureDb::addListing(m_db, {.aid = "a3", .bidId = "winner", .deleted = true});
    FixtureDb::addListing(m_db, {.aid = "a4", .bidId = "winner2"});

    BidListQuery::Criteria criteria;
    criteria.loginId = "seller";
    QCOMPARE(aidsOf(BidListQuery::run(m_db, criteria)), QStringList({"a1", "a4"}));
    criteria.loginId = "other";
    QCOMPARE(aidsOf(BidListQuery::run(m_db, criteria)), QStringList({"a2"}));
}

void TestListView::filtersByFlagChoice_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QStringList>("expected");

    for (const char* flag : {"FirstFlg", "PaymentFlg", "ReceiptFlg", "EvaluationFlg", "EndFlg"}) {
        QTest::addRow("%s 済", flag) << QString(flag) << 0 << QStringList{"set"};
        QTest::addRow("%s 未", flag) << QString(flag) << 1 << QStringList{"unset"};
        QTest::addRow("%s 両方", flag) << QString(flag) << 2 << QStringList{"set", "unset"};
    }
}

void TestListView::filtersByFlagChoice()
{
    QFETCH(QString, flag);
    QFETCH(int, choice);
    QFETCH(QStringList, expected);

    // The other flags are set on both rows, so only the flag under test tells them apart.
    QVariantMap setFlags;
    for (const char* f : {"FirstFlg", "PaymentFlg", "ReceiptFlg", "EvaluationFlg", "EndFlg"})
        setFlags.insert(f, "●");
    QVariantMap unsetFlags = setFlags;
    unsetFlags.insert(flag, "");
    FixtureDb::addListing(m_db, {.aid = "set", .bidId = "b", .extra = setFlags});
    FixtureDb::addListing(m_db, {.aid = "unset", .bidId = "b", .extra = unsetFlags});

    BidListQuery::Criteria criteria;
    criteria.loginId = "seller";
    int* member = flag == "FirstFlg"        ? &criteria.first
                  : flag == "PaymentFlg"    ? &criteria.payment
                  : flag == "ReceiptFlg"    ? &criteria.receipt
                  : flag == "EvaluationFlg" ? &criteria.evaluation
                                            : &criteria.end;
    *member = choice;
    QCOMPARE(aidsOf(BidListQuery::run(m_db, criteria)), expected);
}

void TestListView::filtersBySearchTexts_data()
{
    QTest::addColumn<QString>("auctionId");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("bidder");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("auction id is whole") << "x100"
                                         << ""
                                         << "" << QStringList{"x100"};
    QTest::newRow("auction id part finds nothing") << "x10"
                                                   << ""
                                                   << "" << QStringList{};
    QTest::newRow("auction id ignores ASCII case") << "X100"
                                                   << ""
                                                   << "" << QStringList{"x100"};
    QTest::newRow("auction id in capitals is still whole") << "X10"
                                                           << ""
                                                           << "" << QStringList{};
    QTest::newRow("title part") << ""
                                << "Neil"
                                << "" << QStringList{"x100"};
    QTest::newRow("title with quote") << ""
                                      << "O'Neil"
                                      << "" << QStringList{"x100"};
    QTest::newRow("title percent wildcard") << ""
                                            << "本%箱"
                                            << "" << QStringList{"x1000"};
    QTest::newRow("title underscore wildcard") << ""
                                               << "本_箱"
                                               << "" << QStringList{"x1000"};
    QTest::newRow("title without match") << ""
                                         << "'; DROP TABLE T_BidData; --"
                                         << "" << QStringList{};
    QTest::newRow("bidder part") << ""
                                 << ""
                                 << "ice" << QStringList{"x1000"};
    QTest::newRow("bidder ignores ASCII case") << ""
                                               << ""
                                               << "ALICE" << QStringList{"x1000"};
    QTest::newRow("all three") << "x1000"
                               << "箱"
                               << "alice" << QStringList{"x1000"};
    QTest::newRow("all three, one fails") << "x1000"
                                          << "箱"
                                          << "bob" << QStringList{};
}

void TestListView::filtersBySearchTexts()
{
    QFETCH(QString, auctionId);
    QFETCH(QString, title);
    QFETCH(QString, bidder);
    QFETCH(QStringList, expected);

    FixtureDb::addListing(m_db, {.aid = "x100", .bidId = "bob", .title = "O'Neil Records"});
    FixtureDb::addListing(m_db, {.aid = "x1000", .bidId = "alice", .title = "古い本の箱"});

    BidListQuery::Criteria criteria;
    criteria.loginId = "seller";
    criteria.auctionId = auctionId;
    criteria.title = title;
    criteria.bidderId = bidder;
    QCOMPARE(aidsOf(BidListQuery::run(m_db, criteria)), expected);
    QCOMPARE(Sql::scalar(m_db, "SELECT COUNT(*) FROM T_BidData").toInt(), 2);
}

void TestListView::fillsEveryCellInLayoutOrder()
{
    FixtureDb::addBidder(
        m_db,
        {.id = "alice", .name = "山田花子", .mail = "", .post = "", .address = "", .tel = ""});
    FixtureDb::addListing(m_db, {.aid = "a1",
                                 .bidId = "alice",
                                 .title = "本",
                                 .price = "1500",
                                 .index = 7,
                                 .quantity = "2",
                                 .extra = {{"EndDataTime", "12月01日 21時05分"},
                                           {"FirstFlg", "F"},
                                           {"PaymentFlg", "P"},
                                           {"ReceiptFlg", "R"},
                                           {"EvaluationFlg", "E"},
                                           {"EndFlg", "D"},
                                           {"ContactMethod", "C"},
                                           {"Carriage", "800"},
                                           {"Forwarding", "123"},
                                           {"EvaluationUnnecessary", "U"},
                                           {"Remarks", "memo"},
                                           {"Url", "http://x/a1"}}});
    FixtureDb::addListing(m_db, {.aid = "a2", .bidId = "nobody"});
    FixtureDb::addMessage(m_db, {.aid = "a1", .bidId = "alice"});

    BidListQuery::Criteria criteria;
    criteria.loginId = "seller";
    const QList<BidListQuery::Row> rows = BidListQuery::run(m_db, criteria);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).cells,
             QStringList(
                 {"7",    "a1", "本",   "alice",      "山田花子", "2", "1500", "12月01日 21時05分",
                  "1(1)", "F",  "P",    "R",          "E",        "D", "C",    "800",
                  "123",  "U",  "memo", "http://x/a1"}));
    QCOMPARE(rows.at(1).cells.size(), ColumnCount);
    QCOMPARE(rows.at(1).cells.at(column(Name)), QString());
    QCOMPARE(rows.at(1).cells.at(column(NaviCount)), QString());
}

void TestListView::countCellShowsTotalAndUnread_data()
{
    QTest::addColumn<int>("unreadReceived");
    QTest::addColumn<int>("readReceived");
    QTest::addColumn<int>("sent");
    QTest::addColumn<QString>("cell");

    QTest::newRow("none") << 0 << 0 << 0 << "";
    QTest::newRow("5 with 2 unread") << 2 << 1 << 2 << "5(2)";
    QTest::newRow("all read") << 0 << 2 << 1 << "3";
    QTest::newRow("only sent") << 0 << 0 << 2 << "2";
}

void TestListView::countCellShowsTotalAndUnread()
{
    QFETCH(int, unreadReceived);
    QFETCH(int, readReceived);
    QFETCH(int, sent);
    QFETCH(QString, cell);

    FixtureDb::addListing(m_db, {.aid = "a1", .bidId = "alice"});
    FixtureDb::addListing(m_db, {.aid = "a1", .bidId = "bob"});
    int number = 1;
    for (int i = 0; i < unreadReceived; ++i)
        FixtureDb::addMessage(m_db, {.aid = "a1", .bidId = "alice", .number = number++});
    for (int i = 0; i < readReceived; ++i)
        FixtureDb::addMessage(m_db,
                              {.aid = "a1", .bidId = "alice", .number = number++, .read = true});
    for (int i = 0; i < sent; ++i)
        FixtureDb::addMessage(
            m_db, {.aid = "a1", .bidId = "alice", .number = number++, .received = false});
    // Messages of another account and of another winner of the same auction do not count.
    FixtureDb::addMessage(m_db, {.aid = "a1", .bidId = "alice", .number = 99, .loginId = "other"});
    FixtureDb::addMessage(m_db, {.aid = "a1", .bidId = "bob", .number = 98});

    BidListQuery::Criteria criteria;
    criteria.loginId = "seller";
    const QList<BidListQuery::Row> rows = BidListQuery::run(m_db, criteria);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).bidId(), QString("alice"));
    QCOMPARE(rows.at(0).cells.at(column(NaviCount)), cell);
    QCOMPARE(rows.at(0).unreadCount, unreadReceived);
    QCOMPARE(rows.at(1).cells.at(column(NaviCount)), QString("1(1)"));
}

void TestListView::queuesListingsWithoutEndTimeInRowOrder()
{
    FixtureDb::addListing(m_db, {.aid = "a1", .bidId = "b"});
    FixtureDb::addListing(m_db, {.aid = "a2", .bidId = "b", .extra = {{"EndDataTime", "x"}}});
    FixtureDb::addListing(m_db, {.aid = "a3", .bidId = "b"});

    EndTimeQueue queue;
    queue.enqueue("stale");
    queue.clear();
    BidListQuery::Criteria criteria;
    criteria.loginId = "seller";
    const QList<BidListQuery::Row> rows = BidListQuery::run(m_db, criteria, &queue);
    QStringList withoutEndTime;
    for (const BidListQuery::Row& row : rows)
        if (row.endDataTime().isEmpty())
            withoutEndTime << row.aid();
    QCOMPARE(queue.ids(), withoutEndTime);
    QCOMPARE(queue.pendingCount(), 2);
    QCOMPARE(queue.dequeue(), withoutEndTime.first());
    QCOMPARE(queue.pendingCount(), 1);

    criteria.loginId = "nobody";
    queue.clear();
    QVERIFY(BidListQuery::run(m_db, criteria, &queue).isEmpty());
    QVERIFY(queue.isEmpty());
}

void TestListView::rowWithUnreadMessagesIsBold()
{
    BidListView view;
    BidListQuery::Row unread{cellsWith({{column(Aid), "a1"}, {column(NaviCount), "5(2)"}}), 5, 2};
    BidListQuery::Row read{cellsWith({{column(Aid), "a2"}, {column(NaviCount), "5"}}), 5, 0};
    view.fill({unread, read});
    QCOMPARE(view.topLevelItemCount(), 2);
    BidRow unreadItem = view.findBidItem("a1", "");
    BidRow readItem = view.findBidItem("a2", "");
    QVERIFY(unreadItem && readItem);
    QVERIFY(unreadItem->font(column(Title)).bold());
    QVERIFY(!readItem->font(column(Title)).bold());

    // A store operation that writes the cell changes the weight with it.
    readItem->setSubItem(NaviCount, "6(1)");
    QVERIFY(readItem->font(0).bold());
    unreadItem->setSubItem(NaviCount, "5");
    QVERIFY(!unreadItem->font(0).bold());
}

void TestListView::lineBreaksKeepEveryRowOneLineTall()
{
    const QString title = QStringLiteral("カメラ\r\n付属品つき");
    const QString memo = QStringLiteral("要連絡\n再送\r済み");
    BidListView view;
    view.resize(900, 300);
    view.fill(
        {{cellsWith({{column(Aid), "a1"}, {column(Title), title}, {column(Remarks), memo}}), 0, 0},
         {cellsWith({{column(Aid), "a2"}, {column(Title), "皿"}}), 0, 0}});
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QAbstractItemModel* model = view.model();
    QCOMPARE(view.bidItem(0)->text(column(Aid)), QString("a1"));
    QCOMPARE(model->index(0, column(Title)).data().toString(), QString("カメラ 付属品つき"));
    QCOMPARE(model->index(0, column(Remarks)).data().toString(), QString("要連絡 再送 済み"));
    // What copies, exports and finds read keeps the line breaks.
    QCOMPARE(view.bidItem(0)->text(column(Title)), title);
    QCOMPARE(model->index(0, column(Remarks)).data(Qt::EditRole).toString(), memo);
    const int oneLine = view.sizeHintForRow(1);
    QCOMPARE(view.sizeHintForRow(0), oneLine);
    QCOMPARE(view.visualRect(model->index(0, 0)).height(), oneLine);
    QCOMPARE(view.visualRect(model->index(1, column(Title))).height(), oneLine);
}

void TestListView::sortsByColumnKind_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("ascending");

    QTest::newRow("index numeric, empty first")
        << CaptionColumn << QStringList{"10", "", "9", "0"} << QStringList{"", "0", "9", "10"};
    QTest::newRow("price numeric, empty first")
        << column(Price) << QStringList{"1000", "", "200", "0"}
        << QStringList{"", "0", "200", "1000"};
    QTest::newRow("message count by total")
        << column(NaviCount) << QStringList{"10", "3(1)", "", "2(2)"}
        << QStringList{"", "2(2)", "3(1)", "10"};
    QTest::newRow("quantity as text")
        << column(Quantity) << QStringList{"9", "10", "", "2"} << QStringList{"", "10", "2", "9"};
    QTest::newRow("title ignores ASCII case")
        << column(Title) << QStringList{"b", "A", "", "a2"} << QStringList{"", "A", "a2", "b"};
    QTest::newRow("winner ignores ASCII case")
        << column(BidId) << QStringList{"Zed", "adam", "Bob", "carl"}
        << QStringList{"adam", "Bob", "carl", "Zed"};
    // Lower-case letters compare as upper case (so before "_"), and other characters by their
    // UTF-16 code units (a surrogate pair before a full-width letter).
    QTest::newRow("name by UTF-16 code with ASCII upper case")
        << column(Name) << QStringList{"Ａ", "_", "😀", "a"} << QStringList{"a", "_", "😀", "Ａ"};
}

void TestListView::sortFollowsCellsChangedAfterTheRowWasMade_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<int>("changedRow");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QStringList>("ascending");

    QTest::newRow("title through the sub-item")
        << column(Title) << QStringList{"b", "c", "d"} << 2 << "subItem"
        << "A" << QStringList{"A", "b", "c"};
    QTest::newRow("winner through the list's model")
        << column(BidId) << QStringList{"adam", "bob", "carl"} << 0 << "model"
        << "Zed" << QStringList{"bob", "carl", "Zed"};
    QTest::newRow("memo emptied through the cell text")
        << column(Remarks) << QStringList{"x", "y", "z"} << 2 << "text"
        << "" << QStringList{"", "x", "y"};
    QTest::newRow("index through the cell text")
        << CaptionColumn << QStringList{"5", "6", "7"} << 2 << "text"
        << "1" << QStringList{"1", "5", "6"};
    QTest::newRow("price emptied through the sub-item")
        << column(Price) << QStringList{"100", "200", "300"} << 1 << "subItem"
        << "" << QStringList{"", "100", "300"};
    QTest::newRow("price no longer a number")
        << column(Price) << QStringList{"100", "200", "300"} << 2 << "model"
        << "abc" << QStringList{"abc", "100", "200"};
    QTest::newRow("message count gains messages")
        << column(NaviCount) << QStringList{"1", "2(1)", "3"} << 0 << "subItem"
        << "9(2)" << QStringList{"2(1)", "3", "9(2)"};
}

void TestListView::sortFollowsCellsChangedAfterTheRowWasMade()
{
    QFETCH(int, column);
    QFETCH(QStringList, cells);
    QFETCH(int, changedRow);
    QFETCH(QString, how);
    QFETCH(QString, newText);
    QFETCH(QStringList, ascending);

    QList<BidListQuery::Row> rows;
    for (int i = 0; i < cells.size(); ++i) {
        BidListQuery::Row row;
        row.cells = cellsWith({{BidListColumns::column(Aid), QString("a%1").arg(i)}});
        row.cells[column] = cells.at(i);
        rows << row;
    }
    BidListView view;
    view.setSortState({column, 0});
    view.fill(rows);
    QCOMPARE(columnOf(view, column), cells);

    BidRow item = nullptr;
    for (int r = 0; r < view.topLevelItemCount(); ++r) {
        if (view.bidItem(r)->subItem(Aid) == QString("a%1").arg(changedRow))
            item = view.bidItem(r);
    }
    QVERIFY(item);
    if (how == "subItem") {
        item->setSubItem(BidListColumns::subItem(column), newText);
    } else if (how == "text") {
        item->setText(column, newText);
    } else {
        QAbstractItemModel* model = view.model();
        QVERIFY(model->setData(model->index(view.indexOfTopLevelItem(item), column), newText));
    }
    view.sortList();
    QCOMPARE(columnOf(view, column), ascending);

    view.setSortState({column, 1});
    view.sortList();
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(columnOf(view, column), descending);
}

void TestListView::sortsByColumnKind()
{
    QFETCH(int, column);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, ascending);

    QList<BidListQuery::Row> rows;
    for (int i = 0; i < cells.size(); ++i) {
        BidListQuery::Row row;
        row.cells = cellsWith({{BidListColumns::column(Aid), QString("a%1").arg(i)}});
        row.cells[column] = cells.at(i);
        rows << row;
    }
    BidListView view;
    view.setSortState({column, 0});
    view.fill(rows);
    QCOMPARE(columnOf(view, column), ascending);

    view.setSortState({column, 1});
    view.sortList();
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(columnOf(view, column), descending);
}

void TestListView::headerClickTogglesDirectionOnlyOnSameColumn_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<int>("expectedType");

    QTest::newRow("same column ascending") << 3 << 0 << 3 << 1;
    QTest::newRow("same column descending") << 3 << 1 << 3 << 0;
    QTest::newRow("same column odd value") << 3 << 7 << 3 << 1;
    QTest::newRow("other column keeps ascending") << 3 << 0 << 5 << 0;
    QTest::newRow("other column keeps descending") << 3 << 1 << 0 << 1;
}

void TestListView::headerClickTogglesDirectionOnlyOnSameColumn()
{
    QFETCH(int, column);
    QFETCH(int, type);
    QFETCH(int, clicked);
    QFETCH(int, expectedType);

    const BidListSort::State next = BidListSort::afterHeaderClick({column, type}, clicked);
    QCOMPARE(next.column, clicked);
    QCOMPARE(next.type, expectedType);
}

void TestListView::clickingCurrentColumnTwiceRestoresOrder()
{
    QList<BidListQuery::Row> rows;
    for (const char* price : {"300", "100", "200"})
        rows << BidListQuery::Row{cellsWith({{column(Aid), price}, {column(Price), price}})};
    BidListView view;
    view.setSortState({column(Title), 0});
    view.fill(rows);
    QSignalSpy spy(&view, &BidListView::sortStateChanged);

    view.ListViewBidColumnClick(column(Price));
    QCOMPARE(view.sortState(), (BidListSort::State{column(Price), 0}));
    QCOMPARE(columnOf(view, column(Price)), QStringList({"100", "200", "300"}));
    view.ListViewBidColumnClick(column(Price));
    QCOMPARE(columnOf(view, column(Price)), QStringList({"300", "200", "100"}));
    view.ListViewBidColumnClick(column(Price));
    QCOMPARE(view.sortState(), (BidListSort::State{column(Price), 0}));
    QCOMPARE(columnOf(view, column(Price)), QStringList({"100", "200", "300"}));
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.last().at(0).toInt(), column(Price));
}

void TestListView::sortKeepsSelectionAndCurrentRow_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("current");
    // Rows a0 … a9 with prices 9 … 0: a sort by the price turns the list round.
    QTest::newRow("nothing selected") << QStringList() << "a3";
    QTest::newRow("one row") << QStringList{"a2"} << "a2";
    QTest::newRow("rows apart, current elsewhere") << QStringList{"a0", "a4", "a5", "a9"} << "a7";
    QTest::newRow("every row") << QStringList{"a0", "a1", "a2", "a3", "a4",
                                              "a5", "a6", "a7", "a8", "a9"}
                               << "a6";
}

void TestListView::sortKeepsSelectionAndCurrentRow()
{
    QFETCH(QStringList, selected);
    QFETCH(QString, current);
    QList<BidListQuery::Row> rows;
    for (int i = 0; i < 10; ++i)
        rows << BidListQuery::Row{cellsWith(
            {{column(Aid), QString("a%1").arg(i)}, {column(Price), QString::number(9 - i)}})};
    BidListView view;
    view.setSortState({column(Aid), 0});
    view.fill(rows);
    view.resize(500, 120);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setCurrentItem(view.findBidItem(current, ""), 0, QItemSelectionModel::NoUpdate);
    for (const QString& aid : selected)
        view.findBidItem(aid, "")->setSelected(true);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    const int scrolled = view.verticalScrollBar()->value();
    QSignalSpy selectionSpy(&view, &BidListView::itemSelectionChanged);
    QSignalSpy currentSpy(&view, &BidListView::currentItemChanged);

    view.setSortState({column(Price), 0});
    view.sortList();

    QCOMPARE(columnOf(view, column(Aid)).first(), QString("a9"));
    QCOMPARE(view.currentItem(), view.findBidItem(current, ""));
    QStringList nowSelected;
    for (int r = 0; r < view.topLevelItemCount(); ++r) {
        BidRow item = view.bidItem(r);
        QCOMPARE(item->isSelected(), selected.contains(item->subItem(Aid)));
        if (view.selectionModel()->isRowSelected(r, {}))
            nowSelected << item->subItem(Aid);
    }
    nowSelected.sort();
    QCOMPARE(nowSelected, selected);
    QCOMPARE(view.header()->sortIndicatorSection(), column(Price));
    QCOMPARE(view.verticalScrollBar()->value(), scrolled);
    QCOMPARE(selectionSpy.count(), 0);
    QCOMPARE(currentSpy.count(), 0);
    // The selection still answers the keyboard: a step down moves from the current row.
    const int currentRow = view.indexOfTopLevelItem(view.currentItem());
    QTest::keyClick(view.viewport(), Qt::Key_Down);
    QCOMPARE(view.indexOfTopLevelItem(view.currentItem()), currentRow + 1);
}

void TestListView::equalKeysKeepTheirOrderInBothDirections_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("ascendingAids");
    QTest::addColumn<QStringList>("descendingAids");
    // Rows a0 … a4 in that order before each sort.
    QTest::newRow("price") << column(Price) << QStringList{"5", "", "5", "abc", "1"}
                           << QStringList{"a1", "a3", "a4", "a0", "a2"}
                           << QStringList{"a0", "a2", "a4", "a1", "a3"};
    QTest::newRow("title without case")
        << column(Title) << QStringList{"b", "A", "B", "a", "b"}
        << QStringList{"a1", "a3", "a0", "a2", "a4"} << QStringList{"a0", "a2", "a4", "a1", "a3"};
    QTest::newRow("message count by total")
        << column(NaviCount) << QStringList{"2(1)", "", "2", "0", "1(1)"}
        << QStringList{"a1", "a3", "a4", "a0", "a2"} << QStringList{"a0", "a2", "a4", "a1", "a3"};
}

void TestListView::equalKeysKeepTheirOrderInBothDirections()
{
    QFETCH(int, column);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, ascendingAids);
    QFETCH(QStringList, descendingAids);
    QList<BidListQuery::Row> rows;
    for (int i = 0; i < cells.size(); ++i) {
        BidListQuery::Row row{cellsWith({{BidListColumns::column(Aid), QString("a%1").arg(i)}})};
        row.cells[column] = cells.at(i);
        rows << row;
    }
    BidListView view;
    view.setSortState({BidListColumns::column(Aid), 0});
    view.fill(rows);
    view.setSortState({column, 0});
    view.sortList();
    QCOMPARE(columnOf(view, BidListColumns::column(Aid)), ascendingAids);

    view.setSortState({BidListColumns::column(Aid), 0});
    view.sortList();
    view.setSortState({column, 1});
    view.sortList();
    QCOMPARE(columnOf(view, BidListColumns::column(Aid)), descendingAids);
}

void TestListView::tintFollowsRowPositions()
{
    QList<BidListQuery::Row> rows;
    for (const char* index : {"3", "1", "2"})
        rows << BidListQuery::Row{cellsWith({{CaptionColumn, index}, {column(Aid), index}})};
    BidListView view;
    view.setBackColorValue("16772829");
    view.resize(600, 300);
    view.fill(rows);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    const QColor tint(221, 238, 255);
    const auto colourOfRow = [&view](int row) {
        // The style marks the current row; only the list's own tint is under test.
        view.selectionModel()->clearCurrentIndex();
        const QRect rect = view.visualItemRect(view.topLevelItem(row));
        const QImage image = view.viewport()->grab().toImage();
        return QColor(image.pixel(rect.left() + 100, rect.center().y()));
    };
    QCOMPARE(columnOf(view, CaptionColumn), QStringList({"1", "2", "3"}));
    QCOMPARE(colourOfRow(0), tint);
    QVERIFY(colourOfRow(1) != tint);
    QCOMPARE(colourOfRow(2), tint);

    view.setSortState({CaptionColumn, 1});
    view.sortList();
    QCOMPARE(columnOf(view, CaptionColumn), QStringList({"3", "2", "1"}));
    QCOMPARE(colourOfRow(0), tint);
    QVERIFY(colourOfRow(1) != tint);
}

void TestListView::windowsColourIsBlueGreenRed()
{
    QCOMPARE(colorFromWindowsText("16772829"), QColor(221, 238, 255));
    QCOMPARE(colorFromWindowsText("255"), QColor(255, 0, 0));
    QVERIFY(!colorFromWindowsText("red").isValid());

    BidListView view;
    view.setBackColorValue("not a colour");
    QCOMPARE(view.backColor(), QColor(221, 238, 255));
    view.setBackColorValue("14544639");
    QCOMPARE(view.backColor(), QColor(0xFF, 0xEE, 0xDD));
}

void TestListView::statusTextCountsRows()
{
    BidListView view;
    QCOMPARE(view.rowCountText(), QString("0件"));
    view.fill({BidListQuery::Row{cellsWith({{column(Aid), "a"}})},
               BidListQuery::Row{cellsWith({{column(Aid), "b"}})}});
    QCOMPARE(view.rowCountText(), QString("2件"));
}

void TestListView::findsRowByExactAuctionAndWinner()
{
    BidListView view;
    view.fill({BidListQuery::Row{cellsWith({{column(Aid), "x1000"}, {column(BidId), "bob"}})},
               BidListQuery::Row{cellsWith({{column(Aid), "x100"}, {column(BidId), "bob"}})},
               BidListQuery::Row{cellsWith({{column(Aid), "x100"}, {column(BidId), "bobby"}})}});

    BidRow item = view.findBidItem("x100", "bob");
    QVERIFY(item);
    QCOMPARE(item->subItem(Aid), QString("x100"));
    QCOMPARE(item->subItem(BidId), QString("bob"));
    QCOMPARE(view.findBidItem("x100", "BOB"), item);
    QCOMPARE(view.findBidItem("x10", "bob"), nullptr);
    QCOMPARE(view.findBidItem("x100", "bo"), nullptr);
    QCOMPARE(view.findBidItem("X100", "bob"), nullptr);

    BidRow added = view.addBidItem(cellsWith({{column(Aid), "x2"}, {column(BidId), "eve"}}));
    QCOMPARE(view.findBidItem("x2", "eve"), added);
}

void TestListView::lookupForgetsRemovedRows()
{
    BidListView view;
    view.fill({BidListQuery::Row{cellsWith({{column(Aid), "a1"}, {column(BidId), "b"}})},
               BidListQuery::Row{cellsWith({{column(Aid), "a2"}, {column(BidId), "b"}})}});
    view.removeRows({view.findBidItem("a1", "b")});
    QCOMPARE(view.findBidItem("a1", "b"), nullptr);
    QCOMPARE(view.topLevelItemCount(), 1);

    view.removeRows({view.bidItem(0)});
    QCOMPARE(view.findBidItem("a2", "b"), nullptr);

    view.fill({BidListQuery::Row{cellsWith({{column(Aid), "a3"}, {column(BidId), "b"}})}});
    view.fill({});
    QCOMPARE(view.findBidItem("a3", "b"), nullptr);
}

void TestListView::searchPanelKeepsItsSettings()
{
    IniFile ini(m_folder->filePath("setting.ini"));
    {
        BidSearchPanel panel;
        BidListQuery::Criteria c;
        c.auctionId = "x100";
        c.title = "O'Neil";
        c.bidderId = "alice";
        c.first = 0;
        c.payment = 1;
        c.receipt = 2;
        c.evaluation = 1;
        c.end = 0;
        panel.setCriteria(c);
        panel.expandBidSearchPanel(false);
        panel.writeSettings(ini);
    }
    QCOMPARE(ini.readString("Main", "SearchBidAuctionId", ""), QString("x100"));
    QCOMPARE(ini.readString("Main", "SearchBidTitle", ""), QString("O'Neil"));
    QCOMPARE(ini.readString("Main", "SearchBidName", ""), QString("alice"));
    QCOMPARE(ini.readInteger("Main", "SearchFirstMail", -1), 0);
    QCOMPARE(ini.readInteger("Main", "SearchPaymentMail", -1), 1);
    QCOMPARE(ini.readInteger("Main", "SearchSendingMail", -1), 2);
    QCOMPARE(ini.readInteger("Main", "SearchEvaluationFlg", -1), 1);
    QCOMPARE(ini.readInteger("Main", "SearchEndFlg", -1), 0);
    QCOMPARE(ini.readBool("Main", "BidSearchPanel", true), false);

    BidSearchPanel restored;
    restored.readSettings(IniFile(ini.path()));
    const BidListQuery::Criteria c = restored.criteria();
    QCOMPARE(c.auctionId, QString("x100"));
    QCOMPARE(c.title, QString("O'Neil"));
    QCOMPARE(c.bidderId, QString("alice"));
    QCOMPARE(QList<int>({c.first, c.payment, c.receipt, c.evaluation, c.end}),
             QList<int>({0, 1, 2, 1, 0}));
    QVERIFY(!restored.isExpanded());
    QCOMPARE(restored.height(), BidSearchPanel::CollapsedHeight);
}

void TestListView::searchPanelDefaultsWithoutSettings()
{
    BidSearchPanel panel;
    panel.readSettings(IniFile(m_folder->filePath("setting.ini")));
    const BidListQuery::Criteria c = panel.criteria();
    QVERIFY(c.auctionId.isEmpty() && c.title.isEmpty() && c.bidderId.isEmpty());
    QCOMPARE(QList<int>({c.first, c.payment, c.receipt, c.evaluation, c.end}),
             QList<int>({2, 2, 2, 2, 2}));
    QVERIFY(panel.isExpanded());
    auto* group = panel.findChild<RadioButtonGroup*>("RadioGroupBidPayment");
    QVERIFY(group);
    QCOMPARE(group->title(), QString("入金確認"));
    QCOMPARE(group->count(), 3);
}

void TestListView::searchPanelClearResetsCriteria()
{
    BidSearchPanel panel;
    QSignalSpy search(&panel, &BidSearchPanel::searchRequested);
    panel.findChild<QLineEdit*>("EditBidSearchTitle")->setText("本");
    panel.RadioGroupBidEnd->setItemIndex(0);
    panel.ToolButtonBidSearchClear->click();
    const BidListQuery::Criteria c = panel.criteria();
    QVERIFY(c.title.isEmpty());
    QCOMPARE(c.end, 2);
    QCOMPARE(search.count(), 0);
}

void TestListView::searchPanelCollapsesAndExpands()
{
    QWidget window;
    auto* panel = new BidSearchPanel(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(panel->height(), BidSearchPanel::ExpandedHeight);
    QVERIFY(panel->EditBidSearchName->isVisible());

    panel->ToolButtonBidSearchClose->click();
    QCOMPARE(panel->height(), BidSearchPanel::CollapsedHeight);
    QVERIFY(!panel->EditBidSearchName->isVisible());
    QVERIFY(!panel->RadioGroupBidFirst->isVisible());

    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(20, 4));
    QCOMPARE(panel->height(), BidSearchPanel::ExpandedHeight);
    QVERIFY(panel->EditBidSearchName->isVisible());
}

void TestListView::collapsedStripTurnsSilverUnderPointer()
{
    BidSearchPanel panel;
    const QColor silver(0xC0, 0xC0, 0xC0);
    const auto enter = [&panel] {
        QEnterEvent event(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
        QApplication::sendEvent(&panel, &event);
    };
    const auto leave = [&panel] {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&panel, &event);
    };
    enter();
    QVERIFY(panel.palette().color(QPalette::Window) != silver);
    leave();
    panel.expandBidSearchPanel(false);
    enter();
    QCOMPARE(panel.palette().color(QPalette::Window), silver);
    leave();
    QVERIFY(panel.palette().color(QPalette::Window) != silver);
}

void TestListView::searchPanelSearchesOnEnterOnlyWhenEnabled()
{
    QWidget window;
    auto* panel = new BidSearchPanel(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy search(panel, &BidSearchPanel::searchRequested);

    QTest::keyClick(panel->EditBidSearchId, Qt::Key_Return);
    QCOMPARE(search.count(), 1);
    panel->setSearchEnabled(false);
    QTest::keyClick(panel->EditBidSearchTitle, Qt::Key_Return);
    panel->PopupMenuPanelBidSearch->actions().first()->trigger();
    QCOMPARE(search.count(), 1);
    panel->setSearchEnabled(true);
    panel->PopupMenuPanelBidSearch->actions().first()->trigger();
    QCOMPARE(search.count(), 2);
}

void TestListView::doubleClickOnCollapsedStripExpandsAndSearches()
{
    QWidget window;
    auto* panel = new BidSearchPanel(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    panel->expandBidSearchPanel(false);
    QSignalSpy search(panel, &BidSearchPanel::searchRequested);

    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(20, 4));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(20, 4));
    QTest::mouseDClick(panel, Qt::LeftButton, {}, QPoint(20, 4));
    QVERIFY(panel->isExpanded());
    QCOMPARE(search.count(), 1);
}

QTEST_MAIN(TestListView)
#include "test_listview.moc"
