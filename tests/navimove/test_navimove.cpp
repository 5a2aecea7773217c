// Filing messages by dropping the message list's rows on the folder tree, on the main window and
// a real database. Offscreen runs no real drag: the drops come as drop events carrying the
// drag's own data.
#include "FixtureDb.h"
#include "MainWindowFixture.h"
#include "SitePages.h"
#include "app/UnitNavi.h"
#include "platform/Database.h"
#include "platform/Sql.h"
#include "site/html.h"
#include "views/MessageTab.h"
#include "views/FolderTree.h"
#include "views/NaviDropRule.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviMove.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller");
// Received folders: the root 000 with the children 000-000 and 000-001; sent: 001 and children.
const QString listed = QStringLiteral("000-000");
const QString sibling = QStringLiteral("000-001");

} // namespace

class TestNaviMove : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;

    NaviFolderList* list() const { return navi->ListViewNavi; }
    QTreeWidgetItem* node(const QString& id) const
    {
        return FolderTree::findFolder(navi->TreeViewNavi, id);
    }
    QPoint pointOf(const QString& id) const
    {
        return navi->TreeViewNavi->visualItemRect(node(id)).center();
    }
    // The row of a message by winner and number.
    // The row of a message by winner and number, or -1.
    int message(const QString& bidId, int number) const
    {
        for (int i = 0; i < list()->rowCount(); ++i) {
            const NaviRow row = list()->row(i);
            if (row.bidId == bidId && row.number == QString::number(number))
                return i;
        }
        return -1;
    }
    QString storedFolder(const QString& bidId, int number) const
    {
        return Sql::scalar(navi->connection,
                           "SELECT FolderID FROM T_Navi WHERE BidId=:B AND [Number]=:N",
                           {{":B", bidId}, {":N", number}})
            .toString();
    }
    int unreadOf(const QString& id) const
    {
        return node(id)->data(0, FolderTree::UnreadCountRole).toInt();
    }
    std::unique_ptr<QMimeData> dragOfSelection() const
    {
        auto data = std::make_unique<QMimeData>();
        data->setData(NaviDrag::mimeType, NaviDrag::encode(NaviMove::selectedKeys(list())));
        return data;
    }
    // Enter and move over the point: whether the tree takes the drop there.
    bool dragOver(const QPoint& at, const QMimeData* data)
    {
        QWidget* viewport = navi->TreeViewNavi->viewport();
        QDragEnterEvent enter(at, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        return move.isAccepted();
    }
    void drop(const QPoint& at, const QMimeData* data)
    {
        dragOver(at, data);
        QDropEvent dropped(at, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(navi->TreeViewNavi->viewport(), &dropped);
    }
    void selectMessages(const QList<std::pair<QString, int>>& messages)
    {
        list()->clearSelection();
        for (const auto& [bidId, number] : messages)
            list()->setRowSelected(message(bidId, number), true);
    }
    QString statusText() const { return navi->statusPanels[1]->text(); }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        html::setDefaultTimeout(5000);
        SitePages::serveAccount(app->site(), seller);
        {
            Database::ScopedConnection db;
            FixtureDb::addListing(db.db(), {.aid = "a1", .bidId = "b1"});
            FixtureDb::addListing(db.db(), {.aid = "a1", .bidId = "b2"});
            // In the listed folder: b1 #1 to #4 (#2 and #4 read) and b2 #3, both winners of a1.
            for (int number = 1; number <= 4; ++number)
                FixtureDb::addMessage(db.db(), {.aid = "a1",
                                                .bidId = "b1",
                                                .number = number,
                                                .read = number % 2 == 0,
                                                .folderId = listed,
                                                .subject = QStringLiteral("件名%1").arg(number)});
            FixtureDb::addMessage(db.db(), {.aid = "a1",
                                            .bidId = "b2",
                                            .number = 3,
                                            .folderId = listed,
                                            .subject = QStringLiteral("別の落札者")});
            FixtureDb::addMessage(db.db(),
                                  {.aid = "a1", .bidId = "b1", .number = 9, .folderId = sibling});
        }
        navi = app->start();
        navi->PageControlMain->setCurrentIndex(1);
        QVERIFY(node(listed));
        navi->TreeViewNavi->setCurrentItem(node(listed));
        QCOMPARE(list()->rowCount(), 5);
        QCOMPARE(statusText(), QString("件数：5（未開封：3）"));
        QCOMPARE(unreadOf(listed), 3);
        QCOMPARE(unreadOf(sibling), 1);
    }
    void cleanup() { app.reset(); }

    void dragCarriesTheSelectedRowsKeys()
    {
        selectMessages({{"b1", 1}, {"b2", 3}});
        const std::unique_ptr<QMimeData> data(
            list()->model()->mimeData(list()->selectionModel()->selectedIndexes()));
        QVERIFY(NaviDrag::isMessageRows(data.get()));
        QList<NaviKey> keys = NaviDrag::decode(data->data(NaviDrag::mimeType));
        std::sort(keys.begin(), keys.end(),
                  [](const NaviKey& a, const NaviKey& b) { return a.bidId < b.bidId; });
        QCOMPARE(keys, (QList<NaviKey>{{"a1", "b1", "1"}, {"a1", "b2", "3"}}));
    }

    void dropOnASiblingFolderMovesTheRows()
    {
        // Three rows, two of them unread.
        selectMessages({{"b1", 1}, {"b1", 2}, {"b1", 3}});
        const auto data = dragOfSelection();
        QVERIFY(dragOver(pointOf(sibling), data.get()));
        // Hovering never changes the listed folder.
        QCOMPARE(navi->TreeViewNavi->currentItem(), node(listed));
        QCOMPARE(node(sibling)->data(0, FolderTree::DropTargetRole).toInt(),
                 int(FolderTree::DropTarget::Allowed));
        drop(pointOf(sibling), data.get());

        for (int number : {1, 2, 3})
            QCOMPARE(storedFolder("b1", number), sibling);
        QCOMPARE(storedFolder("b1", 4), listed);
        QCOMPARE(storedFolder("b2", 3), listed);
        QCOMPARE(list()->rowCount(), 2);
        QVERIFY(message("b1", 4) >= 0 && message("b2", 3) >= 0);
        QCOMPARE(statusText(), QString("件数：2（未開封：1）"));
        QCOMPARE(navi->messageTab().shownUnreadCount, 1);
        QCOMPARE(unreadOf(sibling), 3);
        QCOMPARE(unreadOf(listed), 1);
        QCOMPARE(navi->TreeViewNavi->currentItem(), node(listed));
        QCOMPARE(node(sibling)->data(0, FolderTree::DropTargetRole).toInt(),
                 int(FolderTree::DropTarget::None));
        // Moved messages keep every other column.
        QCOMPARE(Sql::scalar(navi->connection,
                             "SELECT COUNT(*) FROM T_Navi WHERE FolderID=:F AND UnsealingFlg=0",
                             {{":F", sibling}})
                     .toInt(),
                 3);
    }

    void refusedDropsChangeNothing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("messageRows");
        QTest::newRow("sent root") << "001" << true;
        QTest::newRow("sent folder") << "001-000" << true;
        QTest::newRow("the listed folder") << listed << true;
        QTest::newRow("empty space") << "" << true;
        QTest::newRow("other data on an allowed folder") << sibling << false;
    }
    void refusedDropsChangeNothing()
    {
        QFETCH(QString, target);
        QFETCH(bool, messageRows);
        selectMessages({{"b1", 1}, {"b1", 2}});
        std::unique_ptr<QMimeData> data = dragOfSelection();
        if (!messageRows) {
            data = std::make_unique<QMimeData>();
            data->setText("a1\tb1\t1");
        }
        const QRect last = navi->TreeViewNavi->visualItemRect(node("001-001"));
        const QPoint at =
            target.isEmpty() ? QPoint(last.center().x(), last.bottom() + 40) : pointOf(target);
        QVERIFY(target.isEmpty() == !navi->TreeViewNavi->itemAt(at));
        QVERIFY(!dragOver(at, data.get()));
        if (!target.isEmpty() && messageRows && target != listed)
            QCOMPARE(node(target)->data(0, FolderTree::DropTargetRole).toInt(),
                     int(FolderTree::DropTarget::Refused));
        drop(at, data.get());
        QCOMPARE(Sql::scalar(navi->connection, "SELECT COUNT(*) FROM T_Navi WHERE FolderID=:F",
                             {{":F", listed}})
                     .toInt(),
                 5);
        QCOMPARE(list()->rowCount(), 5);
        QCOMPARE(statusText(), QString("件数：5（未開封：3）"));
        QCOMPARE(navi->TreeViewNavi->currentItem(), node(listed));
    }

    void dropTargetColours_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("look");
        QTest::newRow("allowed, no unread") << "000"
                                            << "highlight";
        QTest::newRow("refused, no unread") << "001"
                                            << "button";
        QTest::newRow("allowed, unread messages keep their look") << sibling << "default";
    }
    void dropTargetColours()
    {
        QFETCH(QString, target);
        QFETCH(QString, look);
        selectMessages({{"b1", 1}});
        const auto data = dragOfSelection();
        navi->messageTab().ListViewNaviStartDrag();
        dragOver(pointOf(target), data.get());
        QTreeWidget* tree = navi->TreeViewNavi;
        const QRect rect = tree->visualItemRect(node(target));
        const QImage image = tree->viewport()->grab(rect).toImage();
        const QColor background = image.pixelColor(image.width() - 3, image.height() / 2);
        const QPalette palette = QApplication::palette();
        const QColor expected =
            look == "highlight" ? palette.color(QPalette::Active, QPalette::Highlight)
            : look == "button"  ? palette.color(QPalette::Active, QPalette::Button)
                                : tree->palette().color(QPalette::Base);
        QCOMPARE(background.name(), expected.name());
        navi->messageTab().ListViewNaviEndDrag();
    }

    void bidderPanelTakesTheSameDrag()
    {
        selectMessages({{"b1", 1}});
        const auto one = dragOfSelection();
        QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, one.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(navi->PanelBid, &enter);
        QVERIFY(enter.isAccepted());
        selectMessages({{"b1", 1}, {"b1", 2}});
        const auto two = dragOfSelection();
        QDragEnterEvent refused(QPoint(5, 5), Qt::MoveAction, two.get(), Qt::LeftButton,
                                Qt::NoModifier);
        QApplication::sendEvent(navi->PanelBid, &refused);
        QVERIFY(!refused.isAccepted());
    }

    void twoWinnersWithTheSameNumber()
    {
        selectMessages({{"b1", 3}});
        const auto data = dragOfSelection();
        drop(pointOf(sibling), data.get());
        QCOMPARE(storedFolder("b1", 3), sibling);
        QCOMPARE(storedFolder("b2", 3), listed);
        QVERIFY(message("b1", 3) < 0);
        QVERIFY(message("b2", 3) >= 0);
        QCOMPARE(list()->rowCount(), 4);
    }

    void rowAfterTheMovedOnesIsSelectedWithItsText_data()
    {
        QTest::addColumn<QList<int>>("moved");
        QTest::addColumn<int>("next"); // index in the list before the move
        QTest::newRow("middle rows") << QList<int>{1, 2} << 3;
        QTest::newRow("rows apart") << QList<int>{0, 2} << 3;
        QTest::newRow("last rows") << QList<int>{3, 4} << 2;
        QTest::newRow("first row") << QList<int>{0} << 1;
    }
    void rowAfterTheMovedOnesIsSelectedWithItsText()
    {
        QFETCH(QList<int>, moved);
        QFETCH(int, next);
        list()->clearSelection();
        for (int index : moved)
            list()->setRowSelected(index, true);
        const NaviRow expected = list()->row(next);
        const auto data = dragOfSelection();
        drop(pointOf(sibling), data.get());

        const int current = list()->currentRowNumber();
        QVERIFY(current >= 0);
        QCOMPARE(list()->selectedRowNumbers(), QList<int>{current});
        QCOMPARE(list()->row(current).bidId, expected.bidId);
        QCOMPARE(list()->row(current).number, expected.number);
        QTRY_COMPARE(navi->EditNaviSubject->text(), expected.subject);
        QCOMPARE(navi->messageTab().currentNaviItem.row(), current);
    }

    void movingEveryRowLeavesAnEmptyList()
    {
        list()->selectAll();
        const auto data = dragOfSelection();
        drop(pointOf("000"), data.get());
        QCOMPARE(list()->rowCount(), 0);
        QCOMPARE(statusText(), QString("件数：0（未開封：0）"));
        QCOMPARE(unreadOf("000"), 3);
        QVERIFY(navi->EditNaviSubject->text().isEmpty());
    }

    void refusedUpdateMovesNothing()
    {
        Sql::exec(navi->connection,
                  "CREATE TRIGGER refuse BEFORE UPDATE ON T_Navi WHEN NEW.[Number]=3 "
                  "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        selectMessages({{"b1", 1}, {"b1", 3}});
        QVERIFY_THROWS_EXCEPTION(DatabaseError,
                                 navi->messageTab().moveMessagesToFolder(node(sibling)));
        QCOMPARE(storedFolder("b1", 1), listed);
        QCOMPARE(list()->rowCount(), 5);
        QCOMPARE(list()->selectedRowNumbers().size(), 2);
    }

    void dropRule_data()
    {
        QTest::addColumn<QString>("targetId");
        QTest::addColumn<int>("targetKind");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("sibling") << "000-001" << 0 << true;
        QTest::newRow("root of the kind") << "000" << 0 << true;
        QTest::newRow("other kind") << "001" << 1 << false;
        QTest::newRow("itself") << "000-000" << 0 << false;
        QTest::newRow("no folder") << "" << 0 << false;
    }
    void dropRule()
    {
        QFETCH(QString, targetId);
        QFETCH(int, targetKind);
        QFETCH(bool, accepted);
        const DropFolder target{targetId, targetKind};
        QCOMPARE(naviDropAccepted(targetId.isEmpty() ? nullptr : &target, {"000-000", 0}),
                 accepted);
    }

    void dragStateFollowsTheDrag()
    {
        navi->messageTab().ListViewNaviStartDrag();
        QVERIFY(navi->messageTab().dragging);
        FolderTree::setDropTarget(navi->TreeViewNavi, node(sibling), true);
        navi->messageTab().ListViewNaviEndDrag();
        QVERIFY(!navi->messageTab().dragging);
        QCOMPARE(node(sibling)->data(0, FolderTree::DropTargetRole).toInt(),
                 int(FolderTree::DropTarget::None));
    }
};

QTEST_MAIN(TestNaviMove)
#include "test_navimove.moc"
