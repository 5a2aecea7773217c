#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "views/ListSearchView.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviRows.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller");

NaviRow row(const QString& number, bool received, bool read, const QString& subject,
            const QString& aid = QStringLiteral("a1"))
{
    NaviRow r;
    r.aid = aid;
    r.bidId = QStringLiteral("b1");
    r.number = number;
    r.received = received;
    r.read = read;
    r.subject = subject;
    r.message = subject + QStringLiteral("\r\n本文");
    return r;
}

// Rows whose cells repeat, differ in case, hold signs between the upper and lower case letters,
// full-width forms and characters beyond U+FFFF.
QList<NaviRow> mixedRows()
{
    const QStringList texts{"b", "B",  "_x", "a",  "Ａ", "\U0001F600", "\uFF5E",
                            "",  "ab", "Zz", "zZ", "[",  "\uE000",     "b"};
    QList<NaviRow> rows;
    for (int i = 0; i < 40; ++i) {
        NaviRow r = row(i % 5 == 4 ? QString() : QString::number(i % 7 - 1), i % 4 != 1, i % 3 == 0,
                        texts.at(i * 3 % texts.size()), texts.at(i * 5 % texts.size()));
        r.title = texts.at(i % texts.size());
        r.name = texts.at(i * 7 % texts.size());
        r.bidId = texts.at((i + 3) % texts.size());
        r.writeDate = texts.at(i * 11 % texts.size());
        r.message = texts.at(i * 2 % texts.size()) + QStringLiteral("\r\n") + r.subject;
        rows << r;
    }
    return rows;
}

QStringList cells(const NaviFolderList& list, int column)
{
    QStringList result;
    for (int r = 0; r < list.rowCount(); ++r)
        result << list.text(r, column);
    return result;
}

// Every cell of every row, so that two orders compare whole rows.
QStringList rowsOf(const NaviFolderList& list)
{
    QStringList result;
    for (int r = 0; r < list.rowCount(); ++r) {
        QStringList line{QString::number(list.picture(r))};
        for (int c = 1; c < 9; ++c)
            line << list.text(r, c);
        result << line.join('|');
    }
    return result;
}

QStringList rowsOf(const QTreeWidget& list)
{
    QStringList result;
    for (int r = 0; r < list.topLevelItemCount(); ++r) {
        const NaviListItem* item = NaviListItem::of(list.topLevelItem(r));
        QStringList line{QString::number(item->picture())};
        for (int c = 1; c < 9; ++c)
            line << item->columnText(c);
        result << line.join('|');
    }
    return result;
}

void append(NaviFolderList& list, const QList<NaviRow>& rows)
{
    for (const NaviRow& r : rows)
        list.rows()->appendRow(r);
}

} // namespace

class TestNaviModel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sortsAsTheItemListSorts_data();
    void sortsAsTheItemListSorts();
    void loadShowsTheFolderQuerysRows_data();
    void loadShowsTheFolderQuerysRows();
    void headsAreReadForShownRowsOnly();
    void selectionFollowsItsRowsAcrossSortsAndNewRows();
    void readStateWriteRedrawsAndResorts();
    void removedRowsLeaveTheRestInOrder();
    void writerCaptionFollowsTheFolderKind();
    void messageSortOrdersByTheWholeText_data();
    void messageSortOrdersByTheWholeText();
    void lineBreaksKeepEveryRowOneLineTall();

private:
    std::unique_ptr<TestDataFolder> m_folder;
    QString m_connection;
    QSqlDatabase m_db;
};

void TestNaviModel::init()
{
    m_folder = std::make_unique<TestDataFolder>();
    m_connection = Database::uniqueConnectionName(QStringLiteral("test"));
    m_db = Database::open(m_connection);
}

void TestNaviModel::cleanup()
{
    m_db = QSqlDatabase();
    Database::close(m_connection);
    m_folder.reset();
}

void TestNaviModel::sortsAsTheItemListSorts_data()
{
    QTest::addColumn<QList<int>>("columns");
    QTest::addColumn<QList<int>>("types");
    for (int column = 0; column < 9; ++column) {
        QTest::addRow("column %d ascending", column) << QList<int>{column} << QList<int>{0};
        QTest::addRow("column %d descending", column) << QList<int>{column} << QList<int>{1};
    }
    // Each sort starts from the order the one before left, ties included.
    QTest::newRow("subject, then picture, then No descending")
        << QList<int>{6, 0, 5} << QList<int>{0, 0, 1};
    QTest::newRow("title descending, then name, then message")
        << QList<int>{2, 4, 7} << QList<int>{1, 0, 0};
}

void TestNaviModel::sortsAsTheItemListSorts()
{
    QFETCH(QList<int>, columns);
    QFETCH(QList<int>, types);
    QTreeWidget items;
    NaviListView::setupListViewNavi(&items);
    NaviListView::fill(&items, NaviList::Folder, mixedRows());
    NaviFolderList list;
    append(list, mixedRows());
    QCOMPARE(rowsOf(list), rowsOf(items));
    for (int i = 0; i < columns.size(); ++i) {
        NaviListView::sort(&items, columns.at(i), types.at(i));
        list.sort(columns.at(i), types.at(i));
        QCOMPARE(rowsOf(list), rowsOf(items));
    }
}

void TestNaviModel::loadShowsTheFolderQuerysRows_data()
{
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<int>("sortType");
    QTest::addColumn<int>("kind");
    for (int column = 0; column < 9; ++column) {
        for (int type : {0, 1})
            QTest::addRow("column %d type %d", column, type) << column << type << (column % 2);
    }
}

void TestNaviModel::loadShowsTheFolderQuerysRows()
{
    QFETCH(int, sortColumn);
    QFETCH(int, sortType);
    QFETCH(int, kind);
    FixtureDb::addListing(m_db, {.aid = "a1", .bidId = "b1", .title = "壺"});
    FixtureDb::addListing(m_db, {.aid = "a2", .bidId = "B2", .title = "皿"});
    FixtureDb::addBidder(
        m_db, {.id = "b1", .name = "山田", .mail = "", .post = "", .address = "", .tel = ""});
    QList<FixtureDb::Message> messages;
    for (int i = 0; i < 30; ++i)
        messages.append({.aid = QString("a%1").arg(i % 3),
                         .bidId = QString("b%1").arg(i % 3),
                         .number = i % 4,
                         .received = i % 5 != 0,
                         .read = i % 2 == 0,
                         .folderId = "000-001",
                         .subject = QString(i % 3 ? "s%1" : "S%1").arg(i % 4),
                         .message = QString("本文%1\r\n").arg(i % 2).repeated(1 + i % 40 * 4)});
    FixtureDb::addMessages(m_db, messages);
    NaviFolderList list;
    const auto result = list.load(m_db, "000-001", kind, seller, sortColumn, sortType);
    QVERIFY(result.listed);
    QCOMPARE(result.rows, 30);
    QStringList expected;
    int unread = 0;
    for (const NaviRow& r :
         NaviListQuery::folderMessages(m_db, "000-001", kind, seller, sortColumn, sortType)) {
        NaviRow shown = r;
        NaviListQuery::MessageHeads(m_connection, "000-001", seller).readHead(shown);
        const int picture = r.received ? (r.read ? 1 : 0) : 2;
        unread += picture == 0 ? 1 : 0;
        expected << QStringList{QString::number(picture),
                                r.aid,
                                r.title,
                                r.bidId,
                                r.name,
                                r.number,
                                r.subject,
                                shown.message,
                                r.writeDate}
                        .join('|');
    }
    QCOMPARE(rowsOf(list), expected);
    QCOMPARE(result.unread, unread);
    QCOMPARE(list.countUnread(), unread);
}

void TestNaviModel::headsAreReadForShownRowsOnly()
{
    const QString whole = QStringLiteral("一行目\r\n").repeated(100);
    FixtureDb::addMessages(m_db, {{.aid = "a1", .bidId = "b1", .number = 1, .message = "短い"},
                                  {.aid = "a1", .bidId = "b1", .number = 2, .message = whole}});
    NaviFolderList list;
    list.load(m_db, "000", 0, seller, 5, 0);
    // The stored texts change behind the list: a head is read when its row first shows it.
    Sql::exec(m_db, "UPDATE T_Navi SET Message='後から' WHERE [Number]=1");
    const QModelIndex first = list.model()->index(0, NaviFolderModel::MessageColumn);
    QCOMPARE(first.data().toString(), QString("後から"));
    QCOMPARE(first.data(ListSearchView::FullTextRole).toString(), QString("後から"));
    const QModelIndex second = list.model()->index(1, NaviFolderModel::MessageColumn);
    QVERIFY(!second.data(ListSearchView::FullTextRole).isValid());
    const NaviRow head = list.row(1);
    QVERIFY(!head.wholeMessage);
    QCOMPARE(head.message, whole.left(NaviListQuery::messageHeadLength));
    QCOMPARE(NaviListQuery::wholeMessage(m_db, seller, head), whole);
    list.rows()->setWholeMessage(1, whole);
    QCOMPARE(second.data(ListSearchView::FullTextRole).toString(), whole);
    QCOMPARE(list.row(1).message, whole);

    // A sort by the message column reads every head at once.
    NaviFolderList sorted;
    sorted.load(m_db, "000", 0, seller, 5, 0);
    sorted.sort(NaviFolderModel::MessageColumn, 0);
    QCOMPARE(cells(sorted, 5), QStringList({"2", "1"}));
}

void TestNaviModel::selectionFollowsItsRowsAcrossSortsAndNewRows()
{
    QList<NaviRow> rows;
    for (int i = 0; i < 300; ++i)
        rows << row(QString::number(i), true, i % 2, QString("s%1").arg(i % 17, 2, 10, QChar('0')));
    NaviFolderList list;
    append(list, rows);
    list.resize(500, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    for (int r : {3, 150, 299})
        list.setRowSelected(r, true);
    list.setCurrentRowNumber(150);
    QSignalSpy selectionSpy(list.selectionModel(), &QItemSelectionModel::selectionChanged);
    const auto selectedNumbers = [&list] {
        QStringList numbers;
        for (int r : list.selectedRowNumbers())
            numbers << list.text(r, 5);
        numbers.sort();
        return numbers;
    };
    const QStringList selected = selectedNumbers();
    QCOMPARE(selected, QStringList({"150", "299", "3"}));

    list.sort(6, 1);
    QCOMPARE(selectedNumbers(), selected);
    QCOMPARE(list.text(list.currentRowNumber(), 5), QString("150"));
    QVERIFY(list.visualRect(list.model()->index(list.currentRowNumber(), 0))
                .intersects(list.viewport()->rect()));

    // New messages arrive and the list is sorted again, as the message store does.
    append(list, {row("1000", true, false, "s00"), row("1001", false, false, "s99")});
    list.sort(0, 0);
    QCOMPARE(list.rowCount(), 302);
    QCOMPARE(selectedNumbers(), selected);
    QCOMPARE(list.text(list.currentRowNumber(), 5), QString("150"));
    QCOMPARE(selectionSpy.count(), 0);
}

void TestNaviModel::readStateWriteRedrawsAndResorts()
{
    NaviFolderList list;
    append(list,
           {row("1", true, false, "a"), row("2", true, true, "b"), row("3", false, false, "c")});
    list.sort(0, 0);
    QCOMPARE(cells(list, 5), QStringList({"1", "2", "3"}));
    QSignalSpy changed(list.model(), &QAbstractItemModel::dataChanged);
    QVERIFY(list.rows()->setRead(0, true));
    QVERIFY(!list.rows()->setRead(0, true));
    QVERIFY(!list.rows()->setRead(2, true)); // a sent row has no read state
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toModelIndex().row(), 0);
    QCOMPARE(changed.first().at(1).toModelIndex().column(), 8);
    QCOMPARE(list.picture(0), 1);
    QVERIFY(list.rows()->setRead(1, false));
    QCOMPARE(list.model()->index(1, 2).data(Qt::FontRole).value<QFont>().bold(), true);
    QCOMPARE(list.model()->index(0, 2).data(Qt::FontRole).isValid(), false);
    list.sort(0, 0);
    QCOMPARE(cells(list, 5), QStringList({"2", "1", "3"}));
}

void TestNaviModel::removedRowsLeaveTheRestInOrder()
{
    NaviFolderList list;
    QList<NaviRow> rows;
    for (int i = 0; i < 10; ++i)
        rows << row(QString::number(i), true, false, QString("s%1").arg(9 - i));
    append(list, rows);
    list.setRowSelected(8, true);
    list.rows()->removeRowsAt({1, 2, 3, 7, 9});
    QCOMPARE(cells(list, 5), QStringList({"0", "4", "5", "6", "8"}));
    QCOMPARE(list.selectedRowNumbers(), QList<int>({4}));
    list.sort(6, 0);
    QCOMPARE(cells(list, 5), QStringList({"8", "6", "5", "4", "0"}));
    QCOMPARE(list.selectedRowNumbers(), QList<int>({0}));
    append(list, {row("10", true, false, "s5")});
    list.sort(6, 0);
    QCOMPARE(cells(list, 5), QStringList({"8", "6", "5", "4", "10", "0"}));
}

void TestNaviModel::writerCaptionFollowsTheFolderKind()
{
    NaviFolderList list;
    QCOMPARE(list.model()->headerData(3, Qt::Horizontal).toString(), QString("投稿者"));
    list.load(m_db, "001", 1, seller, 0, 0);
    QCOMPARE(list.model()->headerData(3, Qt::Horizontal).toString(), QString("送信先"));
    QCOMPARE(list.model()->headerData(7, Qt::Horizontal).toString(), QString("メッセージ"));
    QTreeWidget items;
    NaviListView::setupListViewNavi(&items);
    QCOMPARE(list.header()->sectionSize(0), items.header()->sectionSize(0));
    QCOMPARE(list.selectionMode(), QAbstractItemView::ExtendedSelection);
}

void TestNaviModel::messageSortOrdersByTheWholeText_data()
{
    QTest::addColumn<int>("sortType");
    QTest::addColumn<bool>("oneReadWhole");
    QTest::addColumn<QStringList>("numbers");
    // Messages 1, 2, 3, 5 and 6 share their first 300 characters; 2 and 5 are the same text, and
    // 6 differs from the others in its 257th character. Equal texts stay in the order before.
    const QStringList ascending{"4", "6", "2", "5", "1", "3"};
    const QStringList descending{"3", "1", "2", "5", "6", "4"};
    QTest::newRow("ascending") << 0 << false << ascending;
    QTest::newRow("descending") << 1 << false << descending;
    QTest::newRow("ascending, one row's whole text read") << 0 << true << ascending;
    QTest::newRow("descending, one row's whole text read") << 1 << true << descending;
}

void TestNaviModel::messageSortOrdersByTheWholeText()
{
    QFETCH(int, sortType);
    QFETCH(bool, oneReadWhole);
    QFETCH(QStringList, numbers);
    const QString common = QStringLiteral("お取引ありがとうございます。\r\n").repeated(20);
    QVERIFY(common.size() >= 300);
    const QString at256 = common.left(NaviListQuery::messageHeadLength);
    const QStringList texts{common + "b", common + "a", common + "c",
                            "ABC",        common + "a", at256 + "0" + common.mid(257)};
    QList<FixtureDb::Message> messages;
    for (int i = 0; i < texts.size(); ++i)
        messages.append({.aid = "a1", .bidId = "b1", .number = i + 1, .message = texts.at(i)});
    FixtureDb::addMessages(m_db, messages);

    NaviFolderList loaded;
    loaded.load(m_db, "000", 0, seller, NaviFolderModel::MessageColumn, sortType);
    QCOMPARE(cells(loaded, NaviFolderModel::NumberColumn), numbers);

    NaviFolderList clicked;
    clicked.load(m_db, "000", 0, seller, NaviFolderModel::NumberColumn, 0);
    if (oneReadWhole) {
        // The detail pane has read the whole text of message 3 into its row.
        clicked.rows()->setWholeMessage(2, texts.at(2));
    }
    clicked.sort(NaviFolderModel::MessageColumn, sortType);
    QCOMPARE(cells(clicked, NaviFolderModel::NumberColumn), numbers);
    // The rows still show their heads.
    const int first = numbers.indexOf("1");
    QCOMPARE(clicked.row(first).message, at256);
}

void TestNaviModel::lineBreaksKeepEveryRowOneLineTall()
{
    const QString title = QStringLiteral("カメラ\r\n付属品つき");
    const QString subject = QStringLiteral("ご連絡\r\nお願い");
    FixtureDb::addListing(m_db, {.aid = "a1", .bidId = "b1", .title = title});
    FixtureDb::addListing(m_db, {.aid = "a2", .bidId = "b2", .title = "皿"});
    FixtureDb::addMessages(m_db, {{.aid = "a1",
                                   .bidId = "b1",
                                   .number = 1,
                                   .subject = subject,
                                   .message = "一行目\r\n二行目"},
                                  {.aid = "a2", .bidId = "b2", .number = 2}});
    NaviFolderList list;
    list.resize(800, 300);
    list.load(m_db, "000", 0, seller, NaviFolderModel::NumberColumn, 0);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const QAbstractItemModel* model = list.model();
    QCOMPARE(model->index(0, 2).data().toString(), QString("カメラ 付属品つき"));
    QCOMPARE(model->index(0, 6).data().toString(), QString("ご連絡 お願い"));
    // Raw access keeps the line breaks: the cell text, its edit role and the row value.
    QCOMPARE(list.text(0, 2), title);
    QCOMPARE(model->index(0, 2).data(Qt::EditRole).toString(), title);
    QCOMPARE(list.row(0).subject, subject);
    const int oneLine = list.sizeHintForRow(1);
    QCOMPARE(list.sizeHintForRow(0), oneLine);
    QCOMPARE(list.visualRect(model->index(0, 0)).height(),
             list.visualRect(model->index(1, 0)).height());
    QCOMPARE(list.visualRect(model->index(1, 2)).height(), oneLine);

    // The listing tab's message list and the side windows' lists draw their cells alike.
    QTreeWidget items;
    NaviListView::setupListViewNavi(&items);
    items.resize(800, 300);
    NaviListView::fill(&items, NaviList::Search, {list.row(0), row("2", true, false, "件名")});
    items.show();
    QVERIFY(QTest::qWaitForWindowExposed(&items));
    const QTreeWidgetItem* item = items.topLevelItem(0);
    QCOMPARE(item->text(2), QString("カメラ 付属品つき"));
    QCOMPARE(item->data(2, Qt::EditRole).toString(), title);
    QCOMPARE(NaviRows(&items).text(0, 6), subject);
    const int itemLine = items.sizeHintForRow(1);
    QCOMPARE(items.sizeHintForRow(0), itemLine);
    QCOMPARE(items.visualItemRect(items.topLevelItem(1)).height(), itemLine);
}

QTEST_MAIN(TestNaviModel)
#include "test_navimodel.moc"
