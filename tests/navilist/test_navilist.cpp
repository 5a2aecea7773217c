#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"
#include "support/TestDialogs.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "views/FolderTree.h"
#include "views/MemoText.h"
#include "views/ListSearchView.h"
#include "views/NaviListActivation.h"
#include "views/NaviListItem.h"
#include "site/MessageCountCell.h"
#include "views/BidListView.h"
#include "views/NaviReadState.h"
#include "views/NaviSelectionDelay.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QItemSelectionModel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <tuple>

namespace {

const QString seller = QStringLiteral("seller");

QList<int> pictures(const QTreeWidget* list)
{
    QList<int> result;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        result << list->topLevelItem(i)->data(0, NaviListItem::PictureRole).toInt();
    return result;
}

QStringList column(const QTreeWidget* list, int c)
{
    QStringList result;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        result << list->topLevelItem(i)->text(c);
    return result;
}

NaviRow row(const QString& number, bool received, bool read, const QString& subject = {})
{
    NaviRow r;
    r.aid = "a1";
    r.bidId = "b1";
    r.number = number;
    r.received = received;
    r.read = read;
    r.subject = subject;
    return r;
}

void select(QTreeWidget* list, const QList<int>& rows)
{
    list->clearSelection();
    for (int r : rows)
        list->topLevelItem(r)->setSelected(true);
}

// A listing-list row with the auction id, winner and message-count cells.
BidRow listingRow(BidListView* listViewBid, const QString& aid, const QString& bidId,
                  const QString& cell)
{
    QStringList cells(BidListColumns::ColumnCount);
    cells[NaviReadState::listingAidColumn] = aid;
    cells[NaviReadState::listingBidIdColumn] = bidId;
    cells[NaviReadState::listingCountColumn] = cell;
    return listViewBid->addBidItem(cells);
}

// A message of n characters over several lines, numbered so that every head differs from its tail.
QString longMessage(int n)
{
    QString text;
    for (int line = 0; text.size() < n; ++line)
        text += QStringLiteral("%1行目 お振込みを確認いたしました。\r\n").arg(line);
    return text.left(n);
}

QString oneLine(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String(" "));
}

// The image of one cell as the list draws it.
QImage cellImage(QTreeWidget* list, int row, int column)
{
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    const int left = list->header()->sectionViewportPosition(column);
    const QRect cell(left, rect.top(), list->header()->sectionSize(column), rect.height());
    return list->viewport()->grab(cell).toImage();
}

} // namespace

class TestNaviList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void folderListOfThreeRows();
    void listShowsJoinedTitleAndName();
    void sentFolderShowsSentPictures();
    void kindWithoutMessagesListsNothing();
    void queryOrder_data();
    void queryOrder();
    void folderOrderIsTheJoinedQuerysOrder_data();
    void folderOrderIsTheJoinedQuerysOrder();
    void olderFileGetsTheFolderIndex();
    void listingStoredTwiceListsItsMessageOnce();
    void listSort_data();
    void listSort();
    void sortKeepsSelectedRowsAndShowsThem();
    void sortFollowsTextsChangedAfterASort_data();
    void sortFollowsTextsChangedAfterASort();
    void nextSortType_data();
    void nextSortType();
    void transactionListPictures();
    void drawingBoldAndBackground();
    void statusAndCountTextsNeverNegative_data();
    void statusAndCountTextsNeverNegative();

    void markReadChangesOneRowAndEveryCount();
    void markUnreadRaisesEveryCount();
    void markFromListingTabFollowsFolderList();
    void messageStoredTwiceFollowsTheDatabase();
    void sentFolderIgnoresReadCommands();
    void confirmationAsksBeforeMarking();

    void folderListReadsHeadsAndShowsTheSameColumn_data();
    void folderListReadsHeadsAndShowsTheSameColumn();
    void selectedRowShowsItsWholeMessage();
    void wholeMessageIsReadForTheRowsAccount();
    void selectionDelayFillsMemoOnce();
    void ctrlClickKeepsCurrentRow();
    void memoTextConvertsLineBreaks();
    void enterAndDoubleClickRunChosenOperation();

private:
    void addThreeMessages();

    std::unique_ptr<TestDataFolder> m_folder;
    QString m_connection;
    QSqlDatabase m_db;
};

void TestNaviList::init()
{
    m_folder = std::make_unique<TestDataFolder>();
    m_connection = Database::uniqueConnectionName(QStringLiteral("test"));
    m_db = Database::open(m_connection);
}

void TestNaviList::cleanup()
{
    m_db = QSqlDatabase();
    Database::close(m_connection);
    m_folder.reset();
}

// Folder 000: a1/b1 No 1 unread, No 2 read, No 3 unread; a sent reply in 001.
void TestNaviList::addThreeMessages()
{
    FixtureDb::addListing(m_db, {.aid = "a1", .bidId = "b1", .title = "壺"});
    FixtureDb::addBidder(
        m_db, {.id = "b1", .name = "山田", .mail = "", .post = "", .address = "", .tel = ""});
    FixtureDb::addMessages(m_db, {{.aid = "a1", .bidId = "b1", .number = 1},
                                  {.aid = "a1", .bidId = "b1", .number = 2, .read = true},
                                  {.aid = "a1", .bidId = "b1", .number = 3},
                                  {.aid = "a1", .bidId = "b1", .number = 4, .received = false}});
}

void TestNaviList::folderListOfThreeRows()
{
    addThreeMessages();
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    const auto result = NaviListView::loadMessageList(&list, m_db, "000", 0, seller, 5, 0);
    QVERIFY(result.listed);
    QCOMPARE(pictures(&list), QList<int>({0, 1, 0}));
    QCOMPARE(NaviListView::statusText(result.rows, result.unread), QString("件数：3（未開封：2）"));
    QCOMPARE(list.headerItem()->text(3), QString("投稿者"));
    QCOMPARE(NaviListView::writerLabel(0), QString("投稿者："));
}

void TestNaviList::listShowsJoinedTitleAndName()
{
    addThreeMessages();
    FixtureDb::addMessage(m_db,
                          {.aid = "a9", .bidId = "b9", .number = 1, .message = "一行目\r\n二行目"});
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    NaviListView::loadMessageList(&list, m_db, "000", 0, seller, 1, 0);
    QCOMPARE(column(&list, 1), QStringList({"a1", "a1", "a1", "a9"}));
    QCOMPARE(column(&list, 2), QStringList({"壺", "壺", "壺", ""}));
    QCOMPARE(column(&list, 3).last(), QString("b9"));
    QCOMPARE(column(&list, 4), QStringList({"山田", "山田", "山田", ""}));
    auto* last = NaviListItem::of(list.topLevelItem(3));
    QCOMPARE(last->row().message, QString("一行目\r\n二行目"));
    QCOMPARE(last->text(7), QString("一行目 二行目"));
    QCOMPARE(last->text(8), QString("2026/12/01 10:00"));
}

void TestNaviList::sentFolderShowsSentPictures()
{
    addThreeMessages();
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    const auto result = NaviListView::loadMessageList(&list, m_db, "001", 1, seller, 0, 0);
    QCOMPARE(pictures(&list), QList<int>({2}));
    QCOMPARE(result.unread, 0);
    QCOMPARE(list.headerItem()->text(3), QString("送信先"));
    QCOMPARE(NaviListView::writerLabel(1), QString("送信先："));
}

void TestNaviList::kindWithoutMessagesListsNothing()
{
    addThreeMessages();
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    NaviListView::loadMessageList(&list, m_db, "000", 0, seller, 0, 0);
    const auto result = NaviListView::loadMessageList(&list, m_db, "000", 10, seller, 0, 0);
    QVERIFY(!result.listed);
    QCOMPARE(list.topLevelItemCount(), 0);
}

void TestNaviList::queryOrder_data()
{
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<int>("sortType");
    QTest::addColumn<QStringList>("numbers");
    // Folder 000-001: No 10 read, No 2 unread, No 7 unread, No 9 sent (filed here by hand).
    QTest::newRow("unread first") << 0 << 0 << QStringList{"2", "7", "10", "9"};
    QTest::newRow("read first") << 0 << 1 << QStringList{"9", "10", "2", "7"};
    QTest::newRow("numbers ascending") << 5 << 0 << QStringList{"2", "7", "9", "10"};
    QTest::newRow("numbers descending") << 5 << 1 << QStringList{"10", "9", "7", "2"};
    QTest::newRow("subject without case") << 6 << 0 << QStringList{"7", "2", "10", "9"};
}

void TestNaviList::queryOrder()
{
    QFETCH(int, sortColumn);
    QFETCH(int, sortType);
    QFETCH(QStringList, numbers);
    FixtureDb::addMessages(
        m_db, {{.aid = "a1",
                .bidId = "b1",
                .number = 10,
                .read = true,
                .folderId = "000-001",
                .subject = "c"},
               {.aid = "a1", .bidId = "b1", .number = 2, .folderId = "000-001", .subject = "B"},
               {.aid = "a1", .bidId = "b1", .number = 7, .folderId = "000-001", .subject = "a"},
               {.aid = "a1",
                .bidId = "b1",
                .number = 9,
                .received = false,
                .folderId = "000-001",
                .subject = "D"}});
    const QList<NaviRow> rows =
        NaviListQuery::folderMessages(m_db, "000-001", 0, seller, sortColumn, sortType);
    QStringList got;
    for (const NaviRow& r : rows)
        got << r.number;
    if (sortColumn == 0) {
        // Rows of one picture may come in any order; compare the pictures' sequence.
        QStringList pics;
        for (const NaviRow& r : rows)
            pics << QString::number(r.received ? (r.read ? 1 : 0) : 2);
        QStringList expected;
        for (const QString& n : numbers)
            expected << (n == "9" ? "2" : n == "10" ? "1" : "0");
        QCOMPARE(pics, expected);
    } else {
        QCOMPARE(got, numbers);
    }
}

namespace {

// The folder list's query as a join sorted by the database, scanning the folder in the order of
// the table's rows: the reference for the order.
QStringList joinedQueryOrder(const QSqlDatabase& db, const QString& folderId, int kind,
                             int sortColumn, int sortType)
{
    Sql::exec(db, "CREATE INDEX IF NOT EXISTS IX_Navi_Folder ON T_Navi (LoginId, FolderID)");
    const QStringList expressions{
        "(CASE WHEN T_Navi.RecFlg<>0 THEN (CASE WHEN T_Navi.UnsealingFlg<>0 THEN 1 ELSE 0 END) "
        "ELSE 2 END)",
        "T_Navi.Aid COLLATE NOCASE",
        "T_BidData.Title COLLATE NOCASE",
        kind == 1 ? "T_Navi.BidId COLLATE NOCASE" : "T_Navi.WriteId COLLATE NOCASE",
        "T_BidMaster.Name COLLATE NOCASE",
        "T_Navi.[Number]",
        "T_Navi.Subject COLLATE NOCASE",
        "T_Navi.Message COLLATE NOCASE",
        "T_Navi.WriteDate COLLATE NOCASE"};
    QSqlQuery query = Sql::exec(
        db,
        "SELECT T_Navi.Aid,T_Navi.BidId,T_Navi.[Number],T_BidData.Title,T_BidMaster.Name FROM "
        "(T_Navi INDEXED BY IX_Navi_Folder LEFT JOIN T_BidData ON (T_Navi.Aid = T_BidData.Aid AND "
        "T_Navi.BidId = T_BidData.BidId)) LEFT JOIN T_BidMaster ON T_Navi.BidId = T_BidMaster.Id "
        "WHERE T_Navi.FolderID=:FOLDER_ID AND T_Navi.LoginId=:LOGINID ORDER BY " +
            expressions.at(sortColumn) + (sortType == 0 ? " ASC" : " DESC"),
        {{":FOLDER_ID", folderId}, {":LOGINID", seller}});
    QStringList rows;
    while (query.next())
        rows << QStringList{query.value(0).toString(), query.value(1).toString(),
                            query.value(2).toString(), query.value(3).toString(),
                            query.value(4).toString()}
                    .join('|');
    return rows;
}

} // namespace

void TestNaviList::folderOrderIsTheJoinedQuerysOrder_data()
{
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<int>("sortType");
    QTest::addColumn<int>("kind");
    const char* const names[] = {"picture", "aid",     "title",   "writer", "name",
                                 "number",  "subject", "message", "date"};
    for (int column = 0; column < 9; ++column) {
        for (int type : {0, 1}) {
            for (int kind : {0, 1})
                QTest::addRow("%s %s kind %d", names[column], type == 0 ? "asc" : "desc", kind)
                    << column << type << kind;
        }
    }
}

void TestNaviList::folderOrderIsTheJoinedQuerysOrder()
{
    QFETCH(int, sortColumn);
    QFETCH(int, sortType);
    QFETCH(int, kind);
    // Texts that repeat (ties keep the table's order), differ only in case, hold the signs
    // between the upper and the lower case letters, full-width forms and characters beyond
    // U+FFFF; listings and bidders that are missing, or stored with the winner in another case.
    const QStringList texts{"b",  "B",        "_x", "a",  "Ａ", "\U0001F600", "\uFF5E", "",
                            "ab", "ab\u0000", "Zz", "zZ", "[",  "\uE000",     "b"};
    for (int t = 0; t < 6; ++t)
        FixtureDb::addListing(m_db, {.aid = QString("a%1").arg(t % 4),
                                     .bidId = QString(t == 2 ? "B%1" : "b%1").arg(t),
                                     .title = texts.at(t * 2 % texts.size())});
    for (int b = 0; b < 5; ++b)
        FixtureDb::addBidder(m_db, {.id = QString("b%1").arg(b),
                                    .name = texts.at((b * 3 + 1) % texts.size()),
                                    .mail = "",
                                    .post = "",
                                    .address = "",
                                    .tel = ""});
    QList<FixtureDb::Message> messages;
    for (int i = 0; i < 60; ++i) {
        const QString text = texts.at(i * 7 % texts.size());
        messages.append({.aid = QString("a%1").arg(i % 4),
                         .bidId = QString(i % 5 == 3 ? "B%1" : "b%1").arg(i % 7),
                         .number = i % 6 - 1,
                         .received = i % 4 != 1,
                         .read = i % 3 == 0,
                         .folderId = "000-001",
                         .writeId = texts.at(i % texts.size()),
                         .subject = text,
                         .message = i % 2 ? text : text + longMessage(300 + i % 3),
                         .writeDate = texts.at(i * 5 % texts.size())});
    }
    messages.append({.aid = "a1", .bidId = "b1", .number = 1, .folderId = "000"});
    messages.append({.aid = "a1", .bidId = "b1", .loginId = "other", .folderId = "000-001"});
    FixtureDb::addMessages(m_db, messages);

    QStringList got;
    for (const NaviRow& r :
         NaviListQuery::folderMessages(m_db, "000-001", kind, seller, sortColumn, sortType))
        got << QStringList{r.aid, r.bidId, r.number, r.title, r.name}.join('|');
    QCOMPARE(got, joinedQueryOrder(m_db, "000-001", kind, sortColumn, sortType));
}

void TestNaviList::olderFileGetsTheFolderIndex()
{
    Sql::exec(m_db, "DROP INDEX IX_Navi_FolderList");
    Sql::exec(m_db, "CREATE INDEX IX_Navi_Folder ON T_Navi (LoginId, FolderID)");
    m_db = QSqlDatabase();
    Database::close(m_connection);
    m_db = Database::open(m_connection);
    const auto indexes = [this] {
        QStringList names;
        QSqlQuery query = Sql::exec(m_db, "SELECT name FROM sqlite_master WHERE type='index' AND "
                                          "tbl_name='T_Navi' ORDER BY name");
        while (query.next())
            names << query.value(0).toString();
        return names;
    };
    QVERIFY(indexes().contains("IX_Navi_FolderList"));
    QVERIFY(!indexes().contains("IX_Navi_Folder"));
    QSqlQuery plan = Sql::exec(
        m_db, "EXPLAIN QUERY PLAN SELECT rowid,Aid,BidId,WriteId,[Number],Subject,WriteDate,"
              "RecFlg,UnsealingFlg FROM T_Navi WHERE LoginId='seller' AND FolderID='000'");
    QVERIFY(plan.next());
    QVERIFY2(plan.value(3).toString().contains("COVERING INDEX IX_Navi_FolderList"),
             qPrintable(plan.value(3).toString()));
}

void TestNaviList::listingStoredTwiceListsItsMessageOnce()
{
    // One transaction stored twice in the listings: its message is still one row, with the
    // title of the listing stored first; the winner joins without regard to case.
    FixtureDb::addListing(m_db, {.aid = "a1", .bidId = "B1", .title = "先"});
    FixtureDb::addListing(m_db, {.aid = "a1", .bidId = "b1", .title = "後"});
    FixtureDb::addMessage(m_db, {.aid = "a1", .bidId = "b1", .number = 1});
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    const auto result = NaviListView::loadMessageList(&list, m_db, "000", 0, seller, 2, 0);
    QCOMPARE(result.rows, 1);
    QCOMPARE(column(&list, 2), QStringList({"先"}));
}

void TestNaviList::listSort_data()
{
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<int>("sortType");
    QTest::addColumn<QStringList>("subjects");
    // Rows: (No, received, read, subject): 10 read "b", 2 sent "C", "" unread "a", 0 unread "D".
    QTest::newRow("pictures ascending") << 0 << 0 << QStringList{"a", "D", "b", "C"};
    QTest::newRow("pictures descending") << 0 << 1 << QStringList{"C", "b", "a", "D"};
    QTest::newRow("numbers, empty first") << 5 << 0 << QStringList{"a", "D", "C", "b"};
    QTest::newRow("numbers descending") << 5 << 1 << QStringList{"b", "C", "D", "a"};
    QTest::newRow("text without case") << 6 << 0 << QStringList{"a", "b", "C", "D"};
}

void TestNaviList::listSort()
{
    QFETCH(int, sortColumn);
    QFETCH(int, sortType);
    QFETCH(QStringList, subjects);
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    NaviListView::fill(&list, NaviList::Folder,
                       {row("10", true, true, "b"), row("2", false, false, "C"),
                        row("", true, false, "a"), row("0", true, false, "D")});
    NaviListView::sort(&list, sortColumn, sortType);
    QCOMPARE(column(&list, 6), subjects);
}

void TestNaviList::sortKeepsSelectedRowsAndShowsThem()
{
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    QList<NaviRow> rows;
    for (int i = 0; i < 200; ++i)
        rows << row(QString::number(i), true, true, QString("s%1").arg(i, 3, 10, QChar('0')));
    NaviListView::fill(&list, NaviList::Folder, rows);
    list.resize(500, 150);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QTreeWidgetItem* first = list.topLevelItem(0);
    QTreeWidgetItem* second = list.topLevelItem(5);
    list.setCurrentItem(first);
    second->setSelected(true);
    QSignalSpy selectionSpy(&list, &QTreeWidget::itemSelectionChanged);

    // Descending numbers: the selected rows go to the end and the current one is shown.
    NaviListView::sort(&list, 5, 1);
    QCOMPARE(list.topLevelItem(199), first);
    QCOMPARE(list.currentItem(), first);
    QVERIFY(first->isSelected() && second->isSelected());
    QCOMPARE(list.selectedItems().size(), 2);
    QVERIFY(list.viewport()->rect().intersects(list.visualItemRect(first)));
    QCOMPARE(selectionSpy.count(), 0);
}

void TestNaviList::sortFollowsTextsChangedAfterASort_data()
{
    QTest::addColumn<bool>("transaction");
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<int>("changedColumn");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QStringList>("subjects");
    // Rows (No, subject, message): 1 "b" "x", 2 "c" "y", 3 "d" "z"; the third row changes.
    QTest::newRow("subject") << false << 6 << 6 << "A" << QStringList{"A", "b", "c"};
    QTest::newRow("number emptied") << false << 5 << 5 << "" << QStringList{"d", "b", "c"};
    QTest::newRow("message") << false << 7 << 7 << "a\r\nb" << QStringList{"d", "b", "c"};
    QTest::newRow("another column keeps the order")
        << false << 6 << 2 << "A" << QStringList{"b", "c", "d"};
    QTest::newRow("transaction list subject")
        << true << 3 << 3 << "a" << QStringList{"a", "b", "c"};
    QTest::newRow("transaction list number") << true << 2 << 2 << "0" << QStringList{"d", "b", "c"};
}

void TestNaviList::sortFollowsTextsChangedAfterASort()
{
    QFETCH(bool, transaction);
    QFETCH(int, sortColumn);
    QFETCH(int, changedColumn);
    QFETCH(QString, newText);
    QFETCH(QStringList, subjects);
    const NaviList kind = transaction ? NaviList::Transaction : NaviList::Folder;
    QTreeWidget list;
    if (transaction)
        NaviListView::setupListViewBidNavi(&list);
    else
        NaviListView::setupListViewNavi(&list);
    QList<NaviRow> rows;
    for (const auto& [number, subject, message] :
         {std::tuple{"1", "b", "x"}, std::tuple{"2", "c", "y"}, std::tuple{"3", "d", "z"}}) {
        NaviRow r = row(number, true, true, subject);
        r.message = message;
        rows << r;
    }
    NaviListView::fill(&list, kind, rows);
    const int subjectColumn = transaction ? 3 : 6;
    QTreeWidgetItem* changed = list.topLevelItem(2);
    // A first sort by the column, then the change, then the same sort again.
    NaviListView::sort(&list, sortColumn, 0);
    QCOMPARE(column(&list, subjectColumn), QStringList({"b", "c", "d"}));
    changed->setText(changedColumn, newText);
    NaviListView::sort(&list, sortColumn, 0);
    QCOMPARE(column(&list, subjectColumn), subjects);
}

void TestNaviList::nextSortType_data()
{
    QTest::addColumn<int>("clicked");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("next");
    QTest::newRow("same column, 1") << 3 << 3 << 1 << 0;
    QTest::newRow("same column, 0") << 3 << 3 << 0 << 1;
    QTest::newRow("same column, other value") << 3 << 3 << 7 << 1;
    QTest::newRow("other column keeps") << 2 << 3 << 1 << 1;
}

void TestNaviList::nextSortType()
{
    QFETCH(int, clicked);
    QFETCH(int, column);
    QFETCH(int, type);
    QFETCH(int, next);
    QCOMPARE(NaviListView::nextSortType(clicked, column, type), next);
}

void TestNaviList::transactionListPictures()
{
    addThreeMessages();
    QTreeWidget list;
    NaviListView::setupListViewBidNavi(&list);
    const int rows = NaviListView::loadTransactionList(&list, m_db, "a1", "b1", seller, 2, 1);
    QCOMPARE(rows, 4);
    QCOMPARE(column(&list, 2), QStringList({"4", "3", "2", "1"}));
    QCOMPARE(pictures(&list), QList<int>({3, 0, 1, 0}));
    QCOMPARE(column(&list, 1).first(), seller);
    NaviListView::sort(&list, 0, 0);
    QCOMPARE(pictures(&list), QList<int>({0, 0, 1, 3}));
}

void TestNaviList::drawingBoldAndBackground()
{
    QTreeWidget list;
    NaviListView::setupListViewBidNavi(&list);
    NaviListView::fill(&list, NaviList::Transaction,
                       {row("1", true, false, "件名"), row("2", true, true, "件名"),
                        row("3", false, false, "件名"), row("4", true, true, "件名")});
    QVERIFY(list.topLevelItem(0)->font(1).bold());
    QVERIFY(!list.topLevelItem(1)->font(1).bold());
    QCOMPARE(list.topLevelItem(2)->background(1).color(), QColor(0xFF, 0xEE, 0xDD));
    QCOMPARE(list.topLevelItem(0)->background(1).style(), Qt::NoBrush);

    // As drawn: the same subject looks the same in two read rows and differs in the unread one;
    // the sent row is filled with its colour.
    list.resize(400, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    constexpr int subject = 3;
    QCOMPARE(cellImage(&list, 1, subject), cellImage(&list, 3, subject));
    QVERIFY(cellImage(&list, 0, subject) != cellImage(&list, 1, subject));
    const QImage sent = cellImage(&list, 2, subject);
    QCOMPARE(sent.pixelColor(sent.width() - 2, sent.height() / 2), QColor(0xFF, 0xEE, 0xDD));
    const QImage read = cellImage(&list, 1, subject);
    QVERIFY(read.pixelColor(read.width() - 2, read.height() / 2) != QColor(0xFF, 0xEE, 0xDD));
}

void TestNaviList::statusAndCountTextsNeverNegative_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("unread");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("cell");
    QTest::newRow("plain") << 5 << 1 << "件数：5（未開封：1）"
                           << "5(1)";
    QTest::newRow("no unread") << 5 << 0 << "件数：5（未開封：0）"
                               << "5";
    QTest::newRow("below zero") << 5 << -1 << "件数：5（未開封：0）"
                                << "5";
    QTest::newRow("no messages") << 0 << 0 << "件数：0（未開封：0）"
                                 << "";
}

void TestNaviList::statusAndCountTextsNeverNegative()
{
    QFETCH(int, total);
    QFETCH(int, unread);
    QFETCH(QString, status);
    QFETCH(QString, cell);
    QCOMPARE(NaviListView::statusText(total, unread), status);
    QCOMPARE(MessageCountCell::text(total, unread), cell);
}

void TestNaviList::markReadChangesOneRowAndEveryCount()
{
    addThreeMessages();
    FixtureDb::addFolder(m_db, "000", "受信", 0);
    FixtureDb::addFolder(m_db, "001", "送信", 1);
    QTreeWidget tree, listViewNavi, listViewBidNavi;
    BidListView listViewBid;
    FolderTree::setup(&tree, {});
    FolderTree::load(&tree, m_db, seller);
    NaviListView::setupListViewNavi(&listViewNavi);
    NaviListView::setupListViewBidNavi(&listViewBidNavi);
    NaviListView::loadMessageList(&listViewNavi, m_db, "000", 0, seller, 5, 0);
    NaviListView::loadTransactionList(&listViewBidNavi, m_db, "a1", "b1", seller, 2, 0);
    listingRow(&listViewBid, "a1", "b1", "4(2)");
    const BidRow otherListing = listingRow(&listViewBid, "a2", "b1", "1(1)");

    const auto snapshot = [this] {
        QStringList rows;
        QSqlQuery q = Sql::exec(m_db, "SELECT [Number],UnsealingFlg FROM T_Navi ORDER BY [Number]");
        while (q.next())
            rows << q.value(0).toString() + ':' + q.value(1).toString();
        return rows;
    };
    const QStringList before = snapshot();

    select(&listViewNavi, {0, 1}); // No 1 unread, No 2 read
    const NaviReadState::Views views{&listViewNavi, &listViewNavi, &listViewBidNavi, &listViewBid,
                                     &tree};
    const auto result = NaviReadState::setMessagesOpened(m_db, seller, views, true);

    const QStringList after = snapshot();
    int differing = 0;
    for (int i = 0; i < before.size(); ++i)
        differing += before[i] != after[i];
    QCOMPARE(differing, 1);
    QCOMPARE(after.first(), QString("1:1"));
    QCOMPARE(result.changedRows, 1);
    QCOMPARE(result.shownUnreadCount, 1);
    QCOMPARE(pictures(&listViewNavi), QList<int>({1, 1, 0}));
    QCOMPARE(pictures(&listViewBidNavi), QList<int>({1, 1, 0, 3}));
    QCOMPARE(FolderTree::findFolder(&tree, "000")->data(0, FolderTree::UnreadCountRole).toInt(), 1);
    QCOMPARE(listViewBid.topLevelItem(0)->text(NaviReadState::listingCountColumn), QString("4(1)"));
    QCOMPARE(otherListing->text(NaviReadState::listingCountColumn), QString("1(1)"));
}

void TestNaviList::markUnreadRaisesEveryCount()
{
    addThreeMessages();
    FixtureDb::addFolder(m_db, "000", "受信", 0);
    QTreeWidget tree, listViewNavi;
    BidListView listViewBid;
    FolderTree::setup(&tree, {});
    FolderTree::load(&tree, m_db, seller);
    NaviListView::setupListViewNavi(&listViewNavi);
    NaviListView::loadMessageList(&listViewNavi, m_db, "000", 0, seller, 5, 0);
    listingRow(&listViewBid, "a1", "b1", "4(2)");
    select(&listViewNavi, {0, 1, 2});
    const auto result = NaviReadState::setMessagesOpened(
        m_db, seller, {&listViewNavi, &listViewNavi, nullptr, &listViewBid, &tree}, false);
    QCOMPARE(result.changedRows, 1);
    QCOMPARE(result.shownUnreadCount, 3);
    QCOMPARE(FolderTree::findFolder(&tree, "000")->data(0, FolderTree::UnreadCountRole).toInt(), 3);
    QCOMPARE(listViewBid.topLevelItem(0)->text(NaviReadState::listingCountColumn), QString("4(3)"));
    QCOMPARE(Sql::scalar(m_db, "SELECT COUNT(*) FROM T_Navi WHERE UnsealingFlg=1").toInt(), 0);
}

void TestNaviList::markFromListingTabFollowsFolderList()
{
    FixtureDb::addMessages(m_db, {{.aid = "a1", .bidId = "b1", .number = 1, .read = true},
                                  {.aid = "a1", .bidId = "b1", .number = 2, .read = true},
                                  {.aid = "a1", .bidId = "b1", .number = 3},
                                  {.aid = "a1", .bidId = "b1", .number = 4, .received = false},
                                  {.aid = "a1", .bidId = "b1", .number = 5, .received = false}});
    QTreeWidget listViewNavi, listViewBidNavi;
    BidListView listViewBid;
    NaviListView::setupListViewNavi(&listViewNavi);
    NaviListView::setupListViewBidNavi(&listViewBidNavi);
    NaviListView::loadMessageList(&listViewNavi, m_db, "000", 0, seller, 5, 0);
    NaviListView::loadTransactionList(&listViewBidNavi, m_db, "a1", "b1", seller, 2, 0);
    listingRow(&listViewBid, "a1", "b1", "5(1)");
    select(&listViewBidNavi, {2});
    const auto result = NaviReadState::setMessagesOpened(
        m_db, seller, {&listViewBidNavi, &listViewNavi, &listViewBidNavi, &listViewBid, nullptr},
        true);
    QCOMPARE(result.changedRows, 1);
    QCOMPARE(result.shownUnreadCount, 0);
    QCOMPARE(pictures(&listViewNavi), QList<int>({1, 1, 1}));
    QCOMPARE(listViewBid.topLevelItem(0)->text(NaviReadState::listingCountColumn), QString("5"));
}

void TestNaviList::messageStoredTwiceFollowsTheDatabase()
{
    FixtureDb::addMessages(m_db, {{.aid = "a1", .bidId = "b1", .number = 1},
                                  {.aid = "a1", .bidId = "b1", .number = 1}});
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    NaviListView::loadMessageList(&list, m_db, "000", 0, seller, 5, 0);
    select(&list, {0});
    const auto result = NaviReadState::setMessagesOpened(
        m_db, seller, {&list, &list, nullptr, nullptr, nullptr}, true);
    QCOMPARE(pictures(&list), QList<int>({1, 1}));
    QCOMPARE(result.shownUnreadCount, 0);
    QCOMPARE(Sql::scalar(m_db, "SELECT COUNT(*) FROM T_Navi WHERE UnsealingFlg=0").toInt(), 0);
}

void TestNaviList::sentFolderIgnoresReadCommands()
{
    addThreeMessages();
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    NaviListView::loadMessageList(&list, m_db, "001", 1, seller, 0, 0);
    select(&list, {0});
    TestDialogs dialogs;
    for (bool read : {true, false}) {
        const auto result = NaviReadState::runCommand(
            nullptr, true, m_db, seller, {&list, &list, nullptr, nullptr, nullptr}, read);
        QCOMPARE(result.changedRows, 0);
    }
    QVERIFY(dialogs.texts().isEmpty());
    QCOMPARE(pictures(&list), QList<int>({2}));
    QCOMPARE(Sql::scalar(m_db, "SELECT UnsealingFlg FROM T_Navi WHERE RecFlg=0").toInt(), 0);
}

void TestNaviList::confirmationAsksBeforeMarking()
{
    addThreeMessages();
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    NaviListView::loadMessageList(&list, m_db, "000", 0, seller, 5, 0);
    select(&list, {0});
    const NaviReadState::Views views{&list, &list, nullptr, nullptr, nullptr};
    TestDialogs dialogs;
    dialogs.queue(Dialogs::Answer::Cancel);
    QCOMPARE(NaviReadState::runCommand(nullptr, true, m_db, seller, views, true).changedRows, 0);
    QCOMPARE(NaviReadState::runCommand(nullptr, true, m_db, seller, views, true).changedRows, 1);
    QCOMPARE(dialogs.texts(), QStringList({"開封しますか？", "開封しますか？"}));
    QCOMPARE(dialogs.requests().first().caption, QString("確認"));
    QCOMPARE(dialogs.requests().first().kind, Dialogs::Kind::OkCancel);
    dialogs.clear();
    QCOMPARE(NaviReadState::runCommand(nullptr, true, m_db, seller, views, false).changedRows, 1);
    QCOMPARE(dialogs.texts(), QStringList({"未開封にしますか？"}));
    dialogs.clear();
    QCOMPARE(NaviReadState::runCommand(nullptr, false, m_db, seller, views, true).changedRows, 1);
    QVERIFY(dialogs.texts().isEmpty());
}

void TestNaviList::folderListReadsHeadsAndShowsTheSameColumn_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("whole");
    QTest::newRow("short") << 40 << true;
    QTest::newRow("one less than the head") << NaviListQuery::messageHeadLength - 1 << true;
    QTest::newRow("just over the head") << NaviListQuery::messageHeadLength + 1 << false;
    QTest::newRow("long") << 3000 << false;
}

void TestNaviList::folderListReadsHeadsAndShowsTheSameColumn()
{
    QFETCH(int, length);
    QFETCH(bool, whole);
    const QString message = longMessage(length);
    FixtureDb::addMessage(m_db, {.aid = "a1", .bidId = "b1", .number = 1, .message = message});
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    NaviListView::loadMessageList(&list, m_db, "000", 0, seller, 0, 0);
    auto* item = NaviListItem::of(list.topLevelItem(0));
    QCOMPARE(item->row().wholeMessage, whole);
    QCOMPARE(item->row().message, whole ? message : message.left(NaviListQuery::messageHeadLength));
    // A row gives its whole text to the body search only when it holds it.
    QCOMPARE(item->data(7, ListSearchView::FullTextRole).isValid(), whole);
    // What the column draws on one line is the same as from the whole text, even when wide.
    const QFontMetrics metrics(item->font(7));
    for (int width : {120, 2000}) {
        QCOMPARE(metrics.elidedText(item->text(7), Qt::ElideRight, width),
                 metrics.elidedText(oneLine(message), Qt::ElideRight, width));
    }
}

void TestNaviList::selectedRowShowsItsWholeMessage()
{
    const QString message = longMessage(1200);
    FixtureDb::addListing(m_db, {.aid = "a1", .bidId = "b1", .title = "壺"});
    FixtureDb::addMessages(m_db, {{.aid = "a1",
                                   .bidId = "b1",
                                   .number = 1,
                                   .subject = "ご入金",
                                   .message = message,
                                   .writeDate = "2026/01/05 09:30"},
                                  {.aid = "a1", .bidId = "b1", .number = 2}});
    QTreeWidget list;
    QPlainTextEdit memo;
    QLineEdit id, title, writer, subject, date;
    NaviListView::setupListViewNavi(&list);
    NaviListView::loadMessageList(&list, m_db, "000", 0, seller, 5, 0);
    NaviSelectionDelay delay(&list, &memo);
    delay.setDetailFields({&id, &title, &writer, &subject, &date, &memo});
    int reads = 0;
    delay.setMessageText([&](const NaviRow& row) {
        ++reads;
        return NaviListQuery::wholeMessage(m_db, seller, row);
    });
    QSignalSpy shown(&delay, &NaviSelectionDelay::detailShown);
    list.setCurrentItem(list.topLevelItem(0));
    QVERIFY(shown.wait(1000));
    QCOMPARE(MemoText::get(&memo), message);
    QCOMPARE(QStringList({id.text(), title.text(), writer.text(), subject.text(), date.text()}),
             QStringList({"a1", "壺", "b1", "ご入金", "2026/01/05 09:30"}));
    // The row keeps the text it read; the column still draws the same line.
    QCOMPARE(NaviListItem::of(list.topLevelItem(0))->row().message, message);
    QCOMPARE(list.topLevelItem(0)->text(7), oneLine(message));
    list.setCurrentItem(list.topLevelItem(1));
    QVERIFY(shown.wait(1000));
    QCOMPARE(memo.toPlainText(), QString("本文"));
    list.setCurrentItem(list.topLevelItem(0));
    QVERIFY(shown.wait(1000));
    QCOMPARE(MemoText::get(&memo), message);
    QCOMPARE(reads, 1);

    delay.clearDetail();
    for (QLineEdit* field : {&id, &title, &writer, &subject, &date})
        QVERIFY(field->text().isEmpty());
    QVERIFY(memo.toPlainText().isEmpty());
}

void TestNaviList::wholeMessageIsReadForTheRowsAccount()
{
    // The same board seen from two accounts, and a second transaction with the same number.
    const QString mine = longMessage(800);
    const QString other = QStringLiteral("別アカウント") + longMessage(800);
    const QString otherWinner = QStringLiteral("別の落札者") + longMessage(800);
    FixtureDb::addMessages(
        m_db, {{.aid = "a1", .bidId = "b1", .number = 1, .loginId = "other", .message = other},
               {.aid = "a1", .bidId = "b2", .number = 1, .message = otherWinner},
               {.aid = "a1", .bidId = "b1", .number = 1, .message = mine}});
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    NaviListView::loadMessageList(&list, m_db, "000", 0, seller, 3, 0);
    QCOMPARE(column(&list, 3), QStringList({"b1", "b2"}));
    NaviListQuery::MessageReader reader(m_db, seller);
    QCOMPARE(reader.wholeMessage(NaviListItem::of(list.topLevelItem(0))->row()), mine);
    QCOMPARE(reader.wholeMessage(NaviListItem::of(list.topLevelItem(1))->row()), otherWinner);
    // A message removed since the list was filled leaves the head that the row holds.
    Sql::exec(m_db, "DELETE FROM T_Navi WHERE BidId='b2'");
    const NaviRow& removed = NaviListItem::of(list.topLevelItem(1))->row();
    QCOMPARE(reader.wholeMessage(removed), removed.message);
}

void TestNaviList::selectionDelayFillsMemoOnce()
{
    QTreeWidget list;
    QPlainTextEdit memo;
    NaviListView::setupListViewNavi(&list);
    NaviRow first = row("1", true, false);
    first.message = "一\r\n二";
    NaviRow second = row("2", true, false);
    second.message = "三";
    NaviListView::fill(&list, NaviList::Folder, {first, second, row("3", true, true)});
    NaviSelectionDelay delay(&list, &memo);
    QSignalSpy shown(&delay, &NaviSelectionDelay::detailShown);
    list.setCurrentItem(list.topLevelItem(0));
    list.setCurrentItem(list.topLevelItem(2));
    list.setCurrentItem(list.topLevelItem(1));
    QVERIFY(memo.toPlainText().isEmpty());
    QVERIFY(delay.timer()->isActive());
    QCOMPARE(delay.timer()->interval(), 50);
    QVERIFY(shown.wait(1000));
    QCOMPARE(shown.count(), 1);
    QCOMPARE(memo.toPlainText(), QString("三"));
    QCOMPARE(delay.currentNaviRow(), 1);

    list.setCurrentItem(list.topLevelItem(0));
    QVERIFY(shown.wait(1000));
    QCOMPARE(memo.toPlainText(), QString("一\n二"));
    list.clear();
    QCOMPARE(delay.currentNaviRow(), -1);
}

void TestNaviList::ctrlClickKeepsCurrentRow()
{
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    NaviListView::fill(&list, NaviList::Folder,
                       {row("1", true, false), row("2", true, false), row("3", true, false)});
    NaviSelectionDelay delay(&list, nullptr);
    QItemSelectionModel* selection = list.selectionModel();
    const QModelIndex a = list.model()->index(0, 0);
    const QModelIndex b = list.model()->index(2, 0);
    selection->setCurrentIndex(a, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selection->setCurrentIndex(b, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(delay.currentNaviRow(), 2);
    // Ctrl-click on the second selected row deselects it and makes it the current row.
    selection->setCurrentIndex(b, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    QCOMPARE(delay.currentNaviRow(), 0);
    QVERIFY(delay.timer()->isActive());
}

void TestNaviList::memoTextConvertsLineBreaks()
{
    QPlainTextEdit memo;
    MemoText::set(&memo, "a\r\nb\r\n\r\nc");
    QCOMPARE(memo.toPlainText(), QString("a\nb\n\nc"));
    QCOMPARE(MemoText::get(&memo), QString("a\r\nb\r\n\r\nc"));
    QCOMPARE(MemoText::fromWidget(QString("x") + QChar(0x2029) + "y"), QString("x\r\ny"));
}

void TestNaviList::enterAndDoubleClickRunChosenOperation()
{
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    NaviListView::fill(&list, NaviList::Folder, {row("1", true, false)});
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    int doubleClickSetting = 1;
    int enterSetting = 0;
    QStringList ran;
    NaviListActivation activation(
        &list, [&] { return doubleClickSetting; }, [&] { return enterSetting; },
        [&] { ran << "read"; }, [&] { ran << "open"; });
    list.setCurrentItem(list.topLevelItem(0));
    QTest::keyClick(&list, Qt::Key_Return);
    const QPoint centre = list.visualItemRect(list.topLevelItem(0)).center();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre);
    enterSetting = 1;
    doubleClickSetting = 0;
    QTest::keyClick(&list, Qt::Key_Enter);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(ran, QStringList({"read", "open", "open", "read"}));
}

QTEST_MAIN(TestNaviList)
#include "test_navilist.moc"
