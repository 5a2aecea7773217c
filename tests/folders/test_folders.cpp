#include "support/FixtureDb.h"
#include "support/TestDataFolder.h"
#include "support/TestDialogs.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "views/FolderId.h"
#include "views/FolderTree.h"
#include "views/TableNaviFolderMaster.h"

#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller");

// The tree as "id{child,child}" texts, siblings in display order.
QString shape(QTreeWidgetItem* item)
{
    QString text = FolderTree::folderId(item);
    if (item->childCount() == 0)
        return text;
    QStringList children;
    for (int i = 0; i < item->childCount(); ++i)
        children << shape(item->child(i));
    return text + '{' + children.join(',') + '}';
}

QString shape(QTreeWidget* tree)
{
    QStringList roots;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        roots << shape(tree->topLevelItem(i));
    return roots.join(',');
}

// The rightmost column of a row image that holds anything but the row's background, or -1.
int inkRight(const QImage& row)
{
    const QColor background = row.pixelColor(row.width() - 1, row.height() / 2);
    for (int x = row.width() - 1; x >= 0; --x)
        for (int y = 0; y < row.height(); ++y)
            if (row.pixelColor(x, y) != background)
                return x;
    return -1;
}

// A node's row as the tree draws it with the given unread count.
QImage nodeImage(QTreeWidget* tree, QTreeWidgetItem* node, int unread)
{
    node->setData(0, FolderTree::UnreadCountRole, unread);
    return tree->viewport()->grab(tree->visualItemRect(node)).toImage();
}

} // namespace

class TestFolders : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void folderIdHelpers_data();
    void folderIdHelpers();

    void defaultFoldersHaveEveryColumn();
    void defaultFoldersCreatedOncePerAccount();
    void accountWithAnyFolderGetsNoDefaults();
    void uniqueNamesDrawnAgainWhenTaken();

    void createChildIdTakesLowestFreeGroup_data();
    void createChildIdTakesLowestFreeGroup();
    void createFolderNameCountsSameDepthAndKind();
    void existsFolderNameComparesSiblings_data();
    void existsFolderNameComparesSiblings();
    void renameWithoutAccountChangesNothing();
    void deleteFolderLeavesMessages();

    void treeNestsByIds();
    void treeShowsUnreadCounts();
    void treeLoadSelectsFirstFolder();
    void treeWithoutAccountIsEmpty();

    void newFolderUnderReceivedRoot();
    void quickNewFoldersGetDistinctIds();
    void newFolderWithoutRoomAddsNothing();
    void renameRefusals_data();
    void renameRefusals();
    void renameThroughEditor();
    void deleteRefusals_data();
    void deleteRefusals();
    void deleteEmptyLeafAfterQuestion();
    void commandsDoNothingWithoutAccount();

private:
    QStringList folderIds(const QString& loginId = seller) const;
    QString folderName(const QString& id) const;
    void addDefaults(const QString& loginId = seller);

    std::unique_ptr<TestDataFolder> m_folder;
    QString m_connection;
    QSqlDatabase m_db;
};

void TestFolders::init()
{
    m_folder = std::make_unique<TestDataFolder>();
    m_connection = Database::uniqueConnectionName(QStringLiteral("test"));
    m_db = Database::open(m_connection);
}

void TestFolders::cleanup()
{
    m_db = QSqlDatabase();
    Database::close(m_connection);
    m_folder.reset();
}

QStringList TestFolders::folderIds(const QString& loginId) const
{
    QSqlQuery query =
        Sql::exec(m_db, "SELECT [ID] FROM T_NaviFolderMaster WHERE LoginId=:L ORDER BY [ID]",
                  {{":L", loginId}});
    QStringList ids;
    while (query.next())
        ids << query.value(0).toString();
    return ids;
}

QString TestFolders::folderName(const QString& id) const
{
    return Sql::scalar(m_db, "SELECT Name FROM T_NaviFolderMaster WHERE [ID]=:ID AND LoginId=:L",
                       {{":ID", id}, {":L", seller}})
        .toString();
}

void TestFolders::addDefaults(const QString& loginId)
{
    QSet<QString> known;
    createDefaultFolders(m_db, loginId, &known);
}

void TestFolders::folderIdHelpers_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("depth");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("root") << "000" << 1 << ""
                          << "";
    QTest::newRow("child") << "000-001" << 2 << "000"
                           << "000-";
    QTest::newRow("grandchild") << "001-000-012" << 3 << "001-000"
                                << "001-000-";
}

void TestFolders::folderIdHelpers()
{
    QFETCH(QString, id);
    QFETCH(int, depth);
    QFETCH(QString, parent);
    QFETCH(QString, prefix);
    QCOMPARE(FolderId::depth(id), depth);
    QCOMPARE(FolderId::parentId(id), parent);
    QCOMPARE(FolderId::siblingPrefix(id), prefix);
    QCOMPARE(FolderId::isRoot(id), depth == 1);
    QCOMPARE(FolderId::childId(id, 7), id + "-007");
}

void TestFolders::defaultFoldersHaveEveryColumn()
{
    addDefaults();
    QSqlQuery query =
        Sql::exec(m_db,
                  "SELECT [ID],Name,ImageIndex,SelectImageIndex,StateIndex,SortNumber,"
                  "ExpandFlg,UniqueIdName FROM T_NaviFolderMaster WHERE LoginId=:L "
                  "ORDER BY SortNumber",
                  {{":L", seller}});
    const QStringList expected{
        "000|受信|0|0|0|1|1", "000-000|受信_その他1|1|2|0|2|0", "000-001|受信_その他2|1|2|0|3|0",
        "001|送信|3|3|1|4|1", "001-000|送信_その他1|1|2|1|5|0", "001-001|送信_その他2|1|2|1|6|0"};
    QStringList rows;
    QSet<QString> uniqueNames;
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < 7; ++i)
            values << query.value(i).toString();
        rows << values.join('|');
        const QString unique = query.value(7).toString();
        QCOMPARE(unique.size(), 10);
        QVERIFY(std::all_of(unique.cbegin(), unique.cend(),
                            [](QChar c) { return c >= '0' && c <= '9'; }));
        uniqueNames.insert(unique);
    }
    QCOMPARE(rows, expected);
    QCOMPARE(uniqueNames.size(), 6);
}

void TestFolders::defaultFoldersCreatedOncePerAccount()
{
    QSet<QString> known;
    int draws = 0;
    auto digits = [&draws](int n) {
        ++draws;
        return localRandomDigits(n);
    };
    createDefaultFolders(m_db, seller, &known, digits);
    QCOMPARE(folderIds().size(), 6);
    QVERIFY(known.contains(seller));

    // The same run: known at once, nothing asked or drawn.
    const int drawsAfterFirst = draws;
    createDefaultFolders(m_db, seller, &known, digits);
    QCOMPARE(draws, drawsAfterFirst);
    // A later run (a new set): the database has the folders, so none are added.
    QSet<QString> nextRun;
    createDefaultFolders(m_db, seller, &nextRun, digits);
    QCOMPARE(folderIds().size(), 6);
    QVERIFY(!nextRun.contains(seller));

    createDefaultFolders(m_db, "other", &known, digits);
    QCOMPARE(folderIds("other").size(), 6);
    const int distinct =
        Sql::scalar(m_db, "SELECT COUNT(DISTINCT UniqueIdName) FROM T_NaviFolderMaster").toInt();
    QCOMPARE(distinct, 12);
}

void TestFolders::accountWithAnyFolderGetsNoDefaults()
{
    FixtureDb::addFolder(m_db, "005", "独自", 0);
    QSet<QString> known;
    createDefaultFolders(m_db, seller, &known);
    QCOMPARE(folderIds(), QStringList{"005"});
    QVERIFY(!known.contains(seller));
}

void TestFolders::uniqueNamesDrawnAgainWhenTaken()
{
    FixtureDb::insert(m_db, "T_NaviFolderMaster",
                      {{"ID", "000"}, {"LoginId", "other"}, {"UniqueIdName", "1111111111"}});
    // The source repeats itself as a clock-seeded generator does within one second.
    const QStringList script{"1111111111", "2222222222", "2222222222", "3333333333", "1111111111",
                             "4444444444", "5555555555", "6666666666", "7777777777"};
    int next = 0;
    TableNaviFolderMaster table(m_db, seller, [&](int) { return script.at(next++); });
    QVERIFY(table.createDefaultFolders());
    const int distinct =
        Sql::scalar(m_db, "SELECT COUNT(DISTINCT UniqueIdName) FROM T_NaviFolderMaster").toInt();
    QCOMPARE(distinct, 7);
}

void TestFolders::createChildIdTakesLowestFreeGroup_data()
{
    QTest::addColumn<QStringList>("children");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QStringList() << "000-000";
    QTest::newRow("gap") << QStringList{"000-000", "000-002"} << "000-001";
    QStringList all;
    for (int i = 0; i < 999; ++i)
        all << FolderId::childId("000", i);
    QTest::newRow("full") << all << "";
    QTest::newRow("grandchildren do not count")
        << QStringList{"000-000", "000-000-001"} << "000-001";
}

void TestFolders::createChildIdTakesLowestFreeGroup()
{
    QFETCH(QStringList, children);
    QFETCH(QString, expected);
    FixtureDb::addFolder(m_db, "000", "受信", 0);
    Sql::Transaction transaction(m_db);
    for (const QString& id : children)
        FixtureDb::addFolder(m_db, id, id, 0);
    FixtureDb::addFolder(m_db, "000-001", "x", 0, "other");
    transaction.commit();
    QCOMPARE(TableNaviFolderMaster(m_db, seller).createChildId("000"), expected);
}

void TestFolders::createFolderNameCountsSameDepthAndKind()
{
    addDefaults();
    TableNaviFolderMaster table(m_db, seller);
    QCOMPARE(table.createFolderName("000-002", 0), QString("新規作成0"));
    FixtureDb::addFolder(m_db, "001-002", "新規作成0", 1);
    QCOMPARE(table.createFolderName("000-002", 0), QString("新規作成0"));
    FixtureDb::addFolder(m_db, "000-000-000", "新規作成0", 0);
    QCOMPARE(table.createFolderName("000-002", 0), QString("新規作成0"));
    FixtureDb::addFolder(m_db, "000-001", "新規作成0", 0);
    QCOMPARE(table.createFolderName("000-002", 0), QString("新規作成1"));
}

void TestFolders::existsFolderNameComparesSiblings_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exists");
    QTest::newRow("roots across kinds") << "000"
                                        << "送信" << true;
    QTest::newRow("sibling") << "000-000"
                             << "受信_その他2" << true;
    QTest::newRow("sibling, other case") << "000-000"
                                         << "abc" << true;
    QTest::newRow("under another parent") << "000-000"
                                          << "送信_その他1" << false;
    QTest::newRow("its own name") << "000-000"
                                  << "受信_その他1" << false;
    QTest::newRow("parent's name") << "000-000"
                                   << "受信" << false;
}

void TestFolders::existsFolderNameComparesSiblings()
{
    QFETCH(QString, id);
    QFETCH(QString, name);
    QFETCH(bool, exists);
    addDefaults();
    FixtureDb::addFolder(m_db, "000-002", "ABC", 0);
    QCOMPARE(TableNaviFolderMaster(m_db, seller).existsFolderName(id, name), exists);
}

void TestFolders::renameWithoutAccountChangesNothing()
{
    addDefaults();
    TableNaviFolderMaster table(m_db, QString());
    QVERIFY(!table.renameFolder("000-000", "x"));
    QCOMPARE(folderName("000-000"), QString("受信_その他1"));
    QVERIFY(TableNaviFolderMaster(m_db, seller).renameFolder("000-000", "x'; DROP TABLE T_Navi"));
    QCOMPARE(folderName("000-000"), QString("x'; DROP TABLE T_Navi"));
}

void TestFolders::deleteFolderLeavesMessages()
{
    addDefaults();
    FixtureDb::addMessage(m_db, {.aid = "a1", .bidId = "b1", .folderId = "000-001"});
    TableNaviFolderMaster(m_db, seller).deleteFolder("000-001");
    QVERIFY(!folderIds().contains("000-001"));
    QCOMPARE(Sql::scalar(m_db, "SELECT FolderID FROM T_Navi").toString(), QString("000-001"));
}

void TestFolders::treeNestsByIds()
{
    for (const QString& id : {"000", "000-000", "000-000-000", "000-001", "001"})
        FixtureDb::addFolder(m_db, id, "f" + id, id.startsWith("001") ? 1 : 0);
    QTreeWidget tree;
    FolderTree::setup(&tree, {});
    FolderTree::load(&tree, m_db, seller);
    QCOMPARE(shape(&tree), QString("000{000-000{000-000-000},000-001},001"));
    for (QTreeWidgetItemIterator it(&tree); *it; ++it)
        QVERIFY((*it)->isExpanded() || (*it)->childCount() == 0);
}

void TestFolders::treeShowsUnreadCounts()
{
    addDefaults();
    QList<FixtureDb::Message> messages;
    for (int n = 1; n <= 3; ++n)
        messages.append({.aid = "a1", .bidId = "b1", .number = n, .folderId = "000"});
    messages.append({.aid = "a1", .bidId = "b1", .number = 4, .read = true, .folderId = "000"});
    for (int n = 5; n <= 6; ++n)
        messages.append({.aid = "a2", .bidId = "b2", .number = n, .folderId = "000-000"});
    messages.append({.aid = "a2", .bidId = "b2", .number = 7, .received = false});
    messages.append({.aid = "a3", .bidId = "b3", .number = 1, .loginId = "other"});
    FixtureDb::addMessages(m_db, messages);

    QTreeWidget tree;
    FolderTree::setup(&tree, {});
    FolderTree::load(&tree, m_db, seller);
    const auto count = [&](const QString& id) {
        return FolderTree::findFolder(&tree, id)->data(0, FolderTree::UnreadCountRole).toInt();
    };
    QCOMPARE(count("000"), 3);
    QCOMPARE(count("000-000"), 2);
    QCOMPARE(count("001"), 0);
    QCOMPARE(FolderTree::unreadCountText(3), QString("(3)"));
    QCOMPARE(FolderTree::unreadCountText(0), QString());
    // A folder with unread messages is drawn with "(2)" after its name, and its name bold.
    tree.resize(300, 200);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    QTreeWidgetItem* other = FolderTree::findFolder(&tree, "000-000");
    const QImage withCount = nodeImage(&tree, other, 2);
    const QImage without = nodeImage(&tree, other, 0);
    QCOMPARE(nodeImage(&tree, other, 0), without);
    const int nameEnd = inkRight(without);
    QVERIFY(nameEnd > 0);
    const int countWidth = QFontMetrics(tree.font()).horizontalAdvance(QStringLiteral("(2)"));
    QVERIFY2(inkRight(withCount) > nameEnd + countWidth / 2, "no count drawn after the name");
    QVERIFY2(withCount.copy(0, 0, nameEnd + 1, withCount.height()) !=
                 without.copy(0, 0, nameEnd + 1, without.height()),
             "the name is drawn the same with and without unread messages");
    other->setData(0, FolderTree::UnreadCountRole, 2);

    Sql::exec(m_db, "UPDATE T_Navi SET UnsealingFlg=1 WHERE FolderID='000-000'");
    FolderTree::loadUnreadCounts(&tree, m_db, seller);
    QCOMPARE(count("000-000"), 0);
}

void TestFolders::treeLoadSelectsFirstFolder()
{
    addDefaults();
    QTreeWidget tree;
    FolderTree::setup(&tree, {});
    QSignalSpy spy(&tree, &QTreeWidget::currentItemChanged);
    FolderTree::load(&tree, m_db, seller);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(FolderTree::folderId(tree.currentItem()), QString("000"));
    QCOMPARE(FolderTree::folderKind(FolderTree::findFolder(&tree, "001-000")), 1);
    // Sorted by name: 受信 before 送信 in the locale's order; children sorted as well.
    QCOMPARE(shape(&tree), QString("000{000-000,000-001},001{001-000,001-001}"));
}

void TestFolders::treeWithoutAccountIsEmpty()
{
    addDefaults();
    QTreeWidget tree;
    FolderTree::setup(&tree, {});
    FolderTree::load(&tree, m_db, seller);
    FolderTree::load(&tree, m_db, QString());
    QCOMPARE(tree.topLevelItemCount(), 0);
}

void TestFolders::newFolderUnderReceivedRoot()
{
    addDefaults();
    QTreeWidget tree;
    FolderTree::setup(&tree, {});
    tree.show();
    FolderTree::load(&tree, m_db, seller);
    QTreeWidgetItem* item = FolderTree::newFolder(&tree, m_db, seller);
    QVERIFY(item);
    QCOMPARE(FolderTree::folderId(item), QString("000-002"));
    QCOMPARE(item->text(0), QString("新規作成0"));
    QCOMPARE(item->data(0, FolderTree::ImageIndexRole).toInt(), 1);
    QCOMPARE(item->data(0, FolderTree::SelectImageIndexRole).toInt(), 2);
    QCOMPARE(FolderTree::folderKind(item), 0);
    QCOMPARE(tree.currentItem(), item);
    QVERIFY(tree.findChild<QLineEdit*>());
    QSqlQuery row = Sql::exec(m_db, "SELECT Name,ImageIndex,SelectImageIndex,StateIndex,SortNumber,"
                                    "ExpandFlg,LENGTH(UniqueIdName) FROM T_NaviFolderMaster "
                                    "WHERE [ID]='000-002'");
    QVERIFY(row.next());
    QCOMPARE(row.value(0).toString(), QString("新規作成0"));
    QCOMPARE(row.value(1).toInt(), 1);
    QCOMPARE(row.value(2).toInt(), 2);
    QCOMPARE(row.value(3).toInt(), 0);
    QCOMPARE(row.value(4).toInt(), 0);
    QCOMPARE(row.value(5).toInt(), 1);
    QCOMPARE(row.value(6).toInt(), 10);
}

void TestFolders::quickNewFoldersGetDistinctIds()
{
    addDefaults();
    QTreeWidget tree;
    FolderTree::setup(&tree, {});
    FolderTree::load(&tree, m_db, seller);
    QTreeWidgetItem* root = FolderTree::findFolder(&tree, "001");
    tree.setCurrentItem(root);
    QTreeWidgetItem* first = FolderTree::newFolder(&tree, m_db, seller);
    tree.setCurrentItem(root);
    QTreeWidgetItem* second = FolderTree::newFolder(&tree, m_db, seller);
    QCOMPARE(FolderTree::folderId(first), QString("001-002"));
    QCOMPARE(FolderTree::folderId(second), QString("001-003"));
    QCOMPARE(second->text(0), QString("新規作成1"));
    QCOMPARE(FolderTree::folderKind(second), 1);
    QCOMPARE(Sql::scalar(m_db, "SELECT COUNT(*) - COUNT(DISTINCT [ID]) FROM T_NaviFolderMaster "
                               "WHERE LoginId='seller'")
                 .toInt(),
             0);
}

void TestFolders::newFolderWithoutRoomAddsNothing()
{
    FixtureDb::addFolder(m_db, "000", "受信", 0);
    Sql::Transaction transaction(m_db);
    for (int i = 0; i < 999; ++i)
        FixtureDb::addFolder(m_db, FolderId::childId("000", i), QString::number(i), 0);
    transaction.commit();
    QTreeWidget tree;
    FolderTree::setup(&tree, {});
    FolderTree::load(&tree, m_db, seller);
    tree.setCurrentItem(FolderTree::findFolder(&tree, "000"));
    QVERIFY(!FolderTree::newFolder(&tree, m_db, seller));
    QCOMPARE(folderIds().size(), 1000);
    QVERIFY(!folderIds().contains(QString()));
}

void TestFolders::renameRefusals_data()
{
    QTest::addColumn<QString>("newName");
    QTest::addColumn<bool>("renamed");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("own name") << "受信_その他1" << false;
    QTest::newRow("sibling's name") << "受信_その他2" << false;
    QTest::newRow("name under another parent") << "送信_その他1" << true;
    QTest::newRow("new name") << "お客様" << true;
}

void TestFolders::renameRefusals()
{
    QFETCH(QString, newName);
    QFETCH(bool, renamed);
    addDefaults();
    QCOMPARE(FolderTree::renameFolderEdited(m_db, seller, "000-000", "受信_その他1", newName),
             renamed);
    QCOMPARE(folderName("000-000"), renamed ? newName : QString("受信_その他1"));
}

void TestFolders::renameThroughEditor()
{
    addDefaults();
    QTreeWidget tree;
    FolderTree::setup(&tree,
                      [this](const QString& id, const QString& oldName, const QString& newName) {
                          return FolderTree::renameFolderEdited(m_db, seller, id, oldName, newName);
                      });
    FolderTree::load(&tree, m_db, seller);
    auto edit = [&](const QString& id, const QString& text) {
        const QModelIndexList found =
            tree.model()->match(tree.model()->index(0, 0), FolderTree::FolderIdRole, id, 1,
                                Qt::MatchExactly | Qt::MatchRecursive);
        QLineEdit editor;
        editor.setText(text);
        tree.itemDelegate()->setModelData(&editor, tree.model(), found.value(0));
    };
    edit("000-001", "受信_その他1");
    QCOMPARE(FolderTree::findFolder(&tree, "000-001")->text(0), QString("受信_その他2"));
    edit("000-001", "あ");
    QCOMPARE(FolderTree::findFolder(&tree, "000-001")->text(0), QString("あ"));
    QCOMPARE(folderName("000-001"), QString("あ"));
}

void TestFolders::deleteRefusals_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("listed");
    QTest::addColumn<bool>("storedMessage");
    QTest::addColumn<QString>("message");
    QTest::newRow("root") << "000" << 0 << false << "";
    QTest::newRow("with a child")
        << "000-000" << 0 << false
        << "現在のバージョンでは子フォルダが存在するフォルダは削除できません。";
    QTest::newRow("listed messages")
        << "000-001" << 2 << false
        << "現在のバージョンではフォルダにメッセージが存在する場合は削除できません。";
    QTest::newRow("stored messages")
        << "000-001" << 0 << true
        << "現在のバージョンではフォルダにメッセージが存在する場合は削除できません。";
}

void TestFolders::deleteRefusals()
{
    QFETCH(QString, id);
    QFETCH(int, listed);
    QFETCH(bool, storedMessage);
    QFETCH(QString, message);
    addDefaults();
    FixtureDb::addFolder(m_db, "000-000-000", "孫", 0);
    if (storedMessage)
        FixtureDb::addMessage(m_db, {.aid = "a1", .bidId = "b1", .folderId = id});
    QTreeWidget tree;
    FolderTree::setup(&tree, {});
    FolderTree::load(&tree, m_db, seller);
    tree.setCurrentItem(FolderTree::findFolder(&tree, id));
    TestDialogs dialogs;
    QVERIFY(!FolderTree::deleteFolder(&tree, m_db, seller, listed));
    QCOMPARE(dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QCOMPARE(dialogs.requests().first().caption, QString("削除"));
        QCOMPARE(dialogs.requests().first().kind, Dialogs::Kind::Warning);
    }
    QVERIFY(folderIds().contains(id));
    QVERIFY(FolderTree::findFolder(&tree, id));
}

void TestFolders::deleteEmptyLeafAfterQuestion()
{
    addDefaults();
    QTreeWidget tree;
    FolderTree::setup(&tree, {});
    FolderTree::load(&tree, m_db, seller);
    tree.setCurrentItem(FolderTree::findFolder(&tree, "001-001"));
    TestDialogs dialogs;
    dialogs.queue(Dialogs::Answer::Cancel);
    QVERIFY(!FolderTree::deleteFolder(&tree, m_db, seller, 0));
    QVERIFY(folderIds().contains("001-001"));
    QVERIFY(FolderTree::deleteFolder(&tree, m_db, seller, 0));
    QCOMPARE(dialogs.texts(),
             QStringList({"フォルダを削除しますか？", "フォルダを削除しますか？"}));
    QCOMPARE(dialogs.requests().first().caption, QString("確認"));
    QCOMPARE(dialogs.requests().first().kind, Dialogs::Kind::OkCancel);
    QVERIFY(!folderIds().contains("001-001"));
    QVERIFY(!FolderTree::findFolder(&tree, "001-001"));
}

void TestFolders::commandsDoNothingWithoutAccount()
{
    addDefaults();
    QTreeWidget tree;
    FolderTree::setup(&tree, {});
    FolderTree::load(&tree, m_db, seller);
    tree.setCurrentItem(FolderTree::findFolder(&tree, "000-001"));
    TestDialogs dialogs;
    QVERIFY(!FolderTree::newFolder(&tree, m_db, QString()));
    QVERIFY(!FolderTree::deleteFolder(&tree, m_db, QString(), 0));
    QVERIFY(!FolderTree::renameFolderEdited(m_db, QString(), "000-001", "受信_その他2", "x"));
    FolderTree::startRename(&tree, QString());
    QVERIFY(!tree.findChild<QLineEdit*>());
    QVERIFY(dialogs.texts().isEmpty());
    QCOMPARE(folderIds().size(), 6);
}

QTEST_MAIN(TestFolders)
#include "test_folders.moc"
