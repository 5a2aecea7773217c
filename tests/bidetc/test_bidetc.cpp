// The deleted-listings and bidder-transactions window: its two lists over a real database, the
// sort, the details of a selection, the search, the font, the export, its settings and its
// openers in the main window.
#include "FixtureDb.h"
#include "MainWindowFixture.h"
#include "ProgressBarState.h"
#include "SitePages.h"
#include "common/CommonDefine.h"
#include "app/CsvListExport.h"
#include "app/UnitNavi.h"
#include "platform/Database.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"
#include "site/html.h"
#include "views/ListingTab.h"
#include "views/MessageTab.h"
#include "views/NaviFolderList.h"
#include "views/BidDataEtcColumns.h"
#include "views/BidDataEtcQuery.h"
#include "views/BidDataEtcSort.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/NaviListItem.h"
#include "views/UnitBidDataEtc.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlRecord>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>

#include <memory>

using Answer = Dialogs::Answer;
using namespace BidDataEtcColumns;

namespace {

void turnWheel(QWidget* target, int distance, Qt::KeyboardModifiers modifiers)
{
    const QPointF at(10, 10);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, distance), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

QStringList column(const QTreeWidget* list, int headerIndex)
{
    QStringList cells;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        cells << list->topLevelItem(i)->text(headerIndex);
    return cells;
}

// The whole of a table, to show that nothing was written.
QStringList dump(const QSqlDatabase& db, const QString& table)
{
    QSqlQuery query = Sql::exec(db, "SELECT * FROM " + table);
    QStringList rows;
    while (query.next()) {
        QStringList cells;
        for (int i = 0; i < query.record().count(); ++i)
            cells << query.value(i).toString();
        rows << cells.join('|');
    }
    rows.sort();
    return rows;
}

} // namespace

class TestBidDataEtc : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    std::unique_ptr<Database::ScopedConnection> db;

    // Opens the window as its openers do and waits for its list.
    TFormBidDataEtc* open(int mode, const QString& bidder = QString(),
                          const QString& login = QStringLiteral("seller"))
    {
        auto* form = new TFormBidDataEtc(db->db(), 12);
        form->exportList = [](QTreeWidget* list, QString* message, const QString& defaultName) {
            return exportListViewCsv(list, message, defaultName);
        };
        form->loginId = login;
        form->bidId = bidder;
        form->listMode = mode;
        form->captionText = mode == 0 ? QStringLiteral("出品終了削除済みデータ")
                                      : bidder + QStringLiteral(" 取引一覧");
        form->show();
        if (!QTest::qWaitFor([form] { return form->loaded(); }, 5000))
            qWarning("the list did not load");
        return form;
    }
    // The main window started on the site, logged in as "seller".
    TFormNavi* startMainWindow()
    {
        html::setDefaultTimeout(5000);
        SitePages::serveAccount(app->site(), "seller");
        return app->start();
    }
    // The deleted-listings or transactions window shown last, if any.
    static TFormBidDataEtc* shownList()
    {
        TFormBidDataEtc* list = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<TFormBidDataEtc*>(window))
                list = form;
        return list;
    }
    void closeAll()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<TFormBidDataEtc*>(window))
                window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void selectRow(TFormBidDataEtc* form, int row)
    {
        QTreeWidgetItem* item = form->ListViewBid->topLevelItem(row);
        form->ListViewBid->clearSelection();
        form->ListViewBid->setCurrentItem(item);
        item->setSelected(true);
    }
    static int rowOf(TFormBidDataEtc* form, const QString& aid)
    {
        return column(form->ListViewBid, column(Aid)).indexOf(aid);
    }
    void writeSetting(const QString& key, int value)
    {
        IniFile ini(CommonDefine::settingIniPath());
        ini.writeInteger("BidDataEtc", key, value);
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        db = std::make_unique<Database::ScopedConnection>();
        const QSqlDatabase& d = db->db();
        using FixtureDb::addListing;
        addListing(d,
                   {.aid = "a1", .bidId = "buyer", .price = "1000", .index = 1, .deleted = true});
        addListing(d, {.aid = "a2", .bidId = "buyer", .price = "900", .index = 2, .deleted = true});
        addListing(d, {.aid = "a3", .bidId = "buyer", .price = "", .index = 3});
        addListing(d, {.aid = "a4", .bidId = "o'neil", .price = "50", .index = 4, .deleted = true});
        addListing(
            d, {.aid = "a5", .bidId = "buyer", .loginId = "second", .index = 5, .deleted = true});
        addListing(d,
                   {.aid = "a6", .bidId = "BUYER", .price = "20000", .index = 10, .deleted = true});
        using FixtureDb::addMessage;
        addMessage(d, {.aid = "a1",
                       .bidId = "buyer",
                       .number = 1,
                       .read = true,
                       .message = "一通目\r\n二行目",
                       .writeDate = "2026/12/01 10:00"});
        addMessage(d, {.aid = "a1",
                       .bidId = "buyer",
                       .number = 3,
                       .read = false,
                       .message = "三通目",
                       .writeDate = "2026/12/03 10:00"});
        addMessage(d, {.aid = "a1",
                       .bidId = "buyer",
                       .number = 2,
                       .received = false,
                       .message = "返信",
                       .writeDate = "2026/12/02 10:00"});
        addMessage(
            d, {.aid = "a1", .bidId = "buyer", .number = 1, .read = false, .loginId = "second"});
        addMessage(d, {.aid = "a4", .bidId = "o'neil", .number = 1, .read = true});
        FixtureDb::addBidder(d, {.id = "buyer",
                                 .name = "表の名前",
                                 .mail = "b@example.jp",
                                 .post = "100-0001",
                                 .address = "東京都",
                                 .tel = "03-1111"});
    }
    void cleanup()
    {
        app->closeWindow();
        closeAll();
        db.reset();
        app.reset();
    }

    void statementOfEachModeAndColumn_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("sortColumn");
        QTest::addColumn<int>("sortType");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("order");
        QTest::newRow("deleted by index")
            << 0 << 0 << 0 << " WHERE DeleteFlg=TRUE AND T_BidData.LoginId=:DATA_LOGINID"
            << " ORDER BY T_BidData.[Index] ASC";
        QTest::newRow("bidder by name desc")
            << 1 << 4 << 1
            << " WHERE T_BidData.LoginId=:DATA_LOGINID AND T_BidData.BidId=:DATA_BID_ID"
            << " ORDER BY T_BidMaster.Name COLLATE NOCASE DESC";
        QTest::newRow("count") << 0 << 7 << 0 << " WHERE DeleteFlg"
                               << " ORDER BY COALESCE(T_NAVI_COUNT.NAVI_COUNT,-1) ASC";
        QTest::newRow("url") << 0 << 18 << 2 << " WHERE DeleteFlg"
                             << " ORDER BY T_BidData.Url COLLATE NOCASE DESC";
        QTest::newRow("past the last") << 0 << 19 << 0 << " WHERE DeleteFlg"
                                       << " ORDER BY T_BidData.[Index] ASC";
        QTest::newRow("negative") << 1 << -1 << 1 << " AND T_BidData.BidId=:DATA_BID_ID"
                                  << " ORDER BY T_BidData.[Index] DESC";
    }
    void statementOfEachModeAndColumn()
    {
        QFETCH(int, mode);
        QFETCH(int, sortColumn);
        QFETCH(int, sortType);
        QFETCH(QString, condition);
        QFETCH(QString, order);
        const QString text = BidDataEtcQuery::statement(mode, sortColumn, sortType);
        QVERIFY2(text.contains(condition), qPrintable(text));
        QVERIFY2(text.endsWith(order), qPrintable(text));
        QVERIFY(!text.contains('\''));
    }

    void comparatorOfEachColumn_data()
    {
        QTest::addColumn<int>("headerIndex");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("index as integers") << 0 << "9"
                                           << "10" << -1;
        QTest::newRow("price as integers") << column(Price) << "900"
                                           << "1000" << -1;
        QTest::newRow("empty price first") << column(Price) << ""
                                           << "0" << -1;
        QTest::newRow("count by total") << column(NaviCount) << "3(2)"
                                        << "10" << -1;
        QTest::newRow("count total equal") << column(NaviCount) << "3(2)"
                                           << "3" << 0;
        QTest::newRow("empty count below one") << column(NaviCount) << ""
                                               << "1" << -1;
        QTest::newRow("end time is text") << column(EndDataTime) << "9"
                                          << "10" << 1;
        QTest::newRow("text ignores ascii case") << column(BidId) << "Abc"
                                                 << "aBC" << 0;
        QTest::newRow("text order") << column(Title) << "b"
                                    << "A" << 1;
    }
    void comparatorOfEachColumn()
    {
        QFETCH(int, headerIndex);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        const int result = BidDataEtcSort::compareCells(headerIndex, a, b);
        QCOMPARE((result > 0) - (result < 0), sign);
    }

    void listsTheRowsOfItsMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("bidder");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QStringList>("aids");
        QTest::addColumn<QString>("caption");
        QTest::newRow("deleted of the account")
            << 0 << ""
            << "seller" << QStringList{"a1", "a2", "a4", "a6"} << "出品終了削除済みデータ(seller)";
        QTest::newRow("deleted of the second account")
            << 0 << ""
            << "second" << QStringList{"a5"} << "出品終了削除済みデータ(second)";
        QTest::newRow("one bidder, deleted or not")
            << 1 << "buyer"
            << "seller" << QStringList{"a1", "a2", "a3", "a6"} << "buyer 取引一覧(seller)";
        QTest::newRow("bidder id with a quote")
            << 1 << "o'neil"
            << "seller" << QStringList{"a4"} << "o'neil 取引一覧(seller)";
        QTest::newRow("unknown bidder") << 1 << "nobody"
                                        << "seller" << QStringList{} << "nobody 取引一覧(seller)";
    }
    void listsTheRowsOfItsMode()
    {
        QFETCH(int, mode);
        QFETCH(QString, bidder);
        QFETCH(QString, login);
        QFETCH(QStringList, aids);
        QFETCH(QString, caption);
        TFormBidDataEtc* form = open(mode, bidder, login);
        QVERIFY(form->loaded());
        QCOMPARE(column(form->ListViewBid, column(Aid)), aids);
        QCOMPARE(form->windowTitle(), caption);
        QCOMPARE(form->statusPanels[0]->text(), QString("件数：%1").arg(aids.size()));
        VERIFY_IDLE_BAR(form->ProgressBar);
        QCOMPARE(form->ListViewBid->columnCount(), 19);
        QCOMPARE(form->ListViewBid->headerItem()->text(column(Price)), QString("現在価格"));
    }

    void progressBarStandsStillWhileIdle()
    {
        auto* form = new TFormBidDataEtc(db->db(), 12);
        form->loginId = QStringLiteral("seller");
        form->captionText = QStringLiteral("出品終了削除済みデータ");
        VERIFY_IDLE_BAR(form->ProgressBar);
        int largestMaximum = 0;
        const QMetaObject::Connection watch =
            connect(form->ProgressBar, &QProgressBar::valueChanged, form,
                    [&] { largestMaximum = qMax(largestMaximum, form->ProgressBar->maximum()); });
        form->show();
        QVERIFY(QTest::qWaitFor([form] { return form->loaded(); }, 5000));
        disconnect(watch);
        // It counted the rows while loading, and stands empty and still once done.
        QVERIFY(largestMaximum >= 1);
        VERIFY_IDLE_BAR(form->ProgressBar);
    }

    void countCellsAndRowCells()
    {
        TFormBidDataEtc* form = open(0);
        QTreeWidgetItem* a1 = form->ListViewBid->topLevelItem(rowOf(form, "a1"));
        QCOMPARE(a1->text(column(NaviCount)), QString("3(1)"));
        QCOMPARE(a1->text(CaptionColumn), QString("1"));
        QCOMPARE(a1->text(column(Name)), QString("表の名前"));
        QCOMPARE(a1->text(column(Price)), QString("1000"));
        QCOMPARE(form->ListViewBid->topLevelItem(rowOf(form, "a2"))->text(column(NaviCount)),
                 QString());
        QCOMPARE(form->ListViewBid->topLevelItem(rowOf(form, "a4"))->text(column(NaviCount)),
                 QString("1"));
        // The second account's unread message of a1 counts only in its own window.
        TFormBidDataEtc* second = open(0, QString(), "second");
        QCOMPARE(second->ListViewBid->topLevelItem(0)->text(column(NaviCount)), QString());
    }

    void priceHeaderSortsBothWays()
    {
        TFormBidDataEtc* form = open(0);
        form->ListViewBidColumnClick(column(Price));
        QCOMPARE(column(form->ListViewBid, column(Price)),
                 QStringList({"50", "900", "1000", "20000"}));
        form->ListViewBidColumnClick(column(Price));
        QCOMPARE(column(form->ListViewBid, column(Price)),
                 QStringList({"20000", "1000", "900", "50"}));
        QCOMPARE(form->bidSortType, 1);
    }

    void storedSortOrdersTheOpenedList_data()
    {
        QTest::addColumn<int>("sortColumn");
        QTest::addColumn<int>("sortType");
        QTest::addColumn<QStringList>("aids");
        QTest::newRow("price ascending")
            << column(Price) << 0 << QStringList{"a4", "a2", "a1", "a6"};
        QTest::newRow("price descending")
            << column(Price) << 1 << QStringList{"a6", "a1", "a2", "a4"};
        QTest::newRow("index descending") << 0 << 1 << QStringList{"a6", "a4", "a2", "a1"};
        QTest::newRow("count descending")
            << column(NaviCount) << 1 << QStringList{"a1", "a4", "a2", "a6"};
        QTest::newRow("out of range") << 42 << 0 << QStringList{"a1", "a2", "a4", "a6"};
        QTest::newRow("negative") << -3 << 0 << QStringList{"a1", "a2", "a4", "a6"};
    }
    void storedSortOrdersTheOpenedList()
    {
        QFETCH(int, sortColumn);
        QFETCH(int, sortType);
        QFETCH(QStringList, aids);
        writeSetting("SortColumnBid", sortColumn);
        writeSetting("SortTypeBid", sortType);
        TFormBidDataEtc* form = open(0);
        QCOMPARE(column(form->ListViewBid, column(Aid)), aids);
        // A header click on the shown sort keeps the rows where the opening put them.
        if (sortColumn >= 0 && sortColumn <= 18) {
            form->ListViewBidColumnClick(sortColumn);
            form->ListViewBidColumnClick(sortColumn);
            QCOMPARE(column(form->ListViewBid, column(Aid)), aids);
        }
    }

    // A price that is no plain number counts as -1, as a header click sorts it.
    void storedPriceSortWithATextPrice()
    {
        FixtureDb::addListing(
            db->db(), {.aid = "a7", .bidId = "x", .price = "99999円", .index = 7, .deleted = true});
        writeSetting("SortColumnBid", column(Price));
        writeSetting("SortTypeBid", 0);
        TFormBidDataEtc* form = open(0);
        QCOMPARE(column(form->ListViewBid, column(Aid)),
                 QStringList({"a7", "a4", "a2", "a1", "a6"}));
        QCOMPARE(form->statusPanels[0]->text(), QString("件数：5"));
    }

    void selectionShowsTheTransaction()
    {
        TFormBidDataEtc* form = open(1, "buyer");
        QSignalSpy shown(form, &TFormBidDataEtc::transactionShown);
        selectRow(form, rowOf(form, "a1"));
        QVERIFY(shown.wait(2000));
        QCOMPARE(form->EditBidAid->text(), QString("a1"));
        QCOMPARE(form->EditBidTitle->text(), QString("商品"));
        // By picture: unread first, then read, then sent; the first row is selected and shown.
        QCOMPARE(column(form->ListViewNavi, 2), QStringList({"3", "1", "2"}));
        QTreeWidgetItem* first = form->ListViewNavi->topLevelItem(0);
        QVERIFY(first->isSelected());
        QCOMPARE(form->MemoNavi->toPlainText(), QString("三通目"));
        QCOMPARE(NaviListItem::of(form->ListViewNavi->topLevelItem(2))->picture(),
                 NaviPicture::sentTransaction);
        QVERIFY(first->font(1).bold());
        form->ListViewNavi->clearSelection();
        form->ListViewNavi->topLevelItem(1)->setSelected(true);
        QCOMPARE(form->MemoNavi->toPlainText(), QString("一通目\n二行目"));
        QCOMPARE(form->EditNaviDate->text(), QString("2026/12/01 10:00"));
        QStringList panel{form->EditBidId->text(),      form->EditBidName->text(),
                          form->EditBidMail->text(),    form->EditBidPost->text(),
                          form->EditBidAddress->text(), form->EditBidTel->text()};
        QCOMPARE(panel, QStringList({"buyer", "表の名前", "b@example.jp", "100-0001", "東京都",
                                     "03-1111"}));

        // The row of the shown transaction fetches nothing again.
        form->ListViewBid->clearSelection();
        selectRow(form, rowOf(form, "a1"));
        QVERIFY(!shown.wait(200));

        // A bidder with no stored information shows empty fields but the row's name.
        TFormBidDataEtc* unknown = open(1, "o'neil");
        QSignalSpy unknownShown(unknown, &TFormBidDataEtc::transactionShown);
        selectRow(unknown, 0);
        QVERIFY(unknownShown.wait(2000));
        QCOMPARE(unknown->EditBidId->text(), QString("o'neil"));
        for (QLineEdit* edit : {unknown->EditBidName, unknown->EditBidMail, unknown->EditBidPost,
                                unknown->EditBidAddress, unknown->EditBidTel})
            QCOMPARE(edit->text(), QString());
    }

    void quickSelectionsFillTheDetailsOnce()
    {
        TFormBidDataEtc* form = open(0);
        QSignalSpy shown(form, &TFormBidDataEtc::transactionShown);
        for (const char* aid : {"a1", "a2", "a4", "a6", "a2"})
            selectRow(form, rowOf(form, aid));
        QVERIFY(shown.wait(2000));
        QVERIFY(!shown.wait(200));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().at(0).toString(), QString("a2"));
    }

    void search_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selected"); // -1: none
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("found"); // -1: the selection stays
        // Rows in index order: a1 buyer, a2 buyer, a4 o'neil, a6 BUYER.
        QTest::newRow("forward to the next") << 2 << "buyer" << 0 << true << 1;
        QTest::newRow("forward wraps") << 0 << "a1" << 2 << true << 0;
        QTest::newRow("backward") << 2 << "buyer" << 1 << false << 0;
        QTest::newRow("backward wraps to the last") << 0 << "a" << 0 << false << 3;
        QTest::newRow("forward: only the selected row") << 2 << "o'neil" << 2 << true << 2;
        QTest::newRow("backward: only the selected row") << 2 << "o'neil" << 2 << false << -1;
        QTest::newRow("backward without selection reaches row 0") << 0 << "a1" << -1 << false << 0;
        QTest::newRow("case matters") << 2 << "BUYER" << 0 << true << 3;
        QTest::newRow("by name") << 3 << "表の" << 0 << true << 1;
        QTest::newRow("no match") << 1 << "無い" << 1 << true << -1;
    }
    void search()
    {
        QFETCH(int, target);
        QFETCH(QString, text);
        QFETCH(int, selected);
        QFETCH(bool, forward);
        QFETCH(int, found);
        TFormBidDataEtc* form = open(0);
        form->ActionShowSearchPanelExecute();
        QVERIFY(form->PanelBidDataFind->isVisible());
        form->ComboBoxBidDataFind->setCurrentIndex(target);
        form->EditBidDataFind->setText(text);
        if (selected >= 0)
            selectRow(form, selected);
        else
            form->ListViewBid->setCurrentItem(nullptr);
        form->ListViewBid->clearSelection();
        if (selected >= 0)
            form->ListViewBid->topLevelItem(selected)->setSelected(true);
        QTest::keyClick(form->EditBidDataFind, Qt::Key_Return,
                        forward ? Qt::NoModifier : Qt::ShiftModifier);
        const QList<QTreeWidgetItem*> rows = form->ListViewBid->selectedItems();
        const int expected = found >= 0 ? found : selected;
        if (expected < 0) {
            QVERIFY(rows.isEmpty());
            return;
        }
        QCOMPARE(rows.size(), 1);
        QCOMPARE(form->ListViewBid->indexOfTopLevelItem(rows.first()), expected);
        QCOMPARE(form->ListViewBid->currentItem(), rows.first());
    }

    void ctrlWheelStepsTheMemoFont_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("distance");
        QTest::addColumn<int>("result");
        QTest::newRow("71 grows") << 71 << -120 << 73;
        QTest::newRow("72 stays") << 72 << -120 << 72;
        QTest::newRow("5 shrinks") << 5 << 120 << 3;
        QTest::newRow("4 stays") << 4 << 120 << 4;
        QTest::newRow("12 shrinks") << 12 << 120 << 10;
    }
    void ctrlWheelStepsTheMemoFont()
    {
        QFETCH(int, start);
        QFETCH(int, distance);
        QFETCH(int, result);
        TFormBidDataEtc* form = open(0);
        form->changeFontSize(start);
        turnWheel(form->MemoNavi->viewport(), distance, Qt::ControlModifier);
        QCOMPARE(form->MemoNavi->font().pointSize(), result);
    }

    void fontMenuHasSixteenSizes()
    {
        TFormBidDataEtc* form = open(0);
        QCOMPARE(form->MemoNavi->font().pointSize(), 12);
        const QList<QAction*> items = form->MainMenuViewFontSize->actions();
        QCOMPARE(items.size(), 16);
        QCOMPARE(items.first()->text(), QString("8\t(&0)"));
        QCOMPARE(items.last()->text(), QString("72\t(&f)"));
        items.at(13)->trigger();
        QCOMPARE(form->MemoNavi->font().pointSize(), 36);
    }

    void ctrlClickAndSelectAll()
    {
        TFormBidDataEtc* form = open(0);
        form->EditBidName->setText("山田太郎");
        form->EditBidName->deselect();
        QTest::mouseClick(form->EditBidName, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(form->EditBidName->selectedText(), QString("山田太郎"));
        form->activateWindow();
        form->ListViewBid->setFocus();
        QApplication::setActiveWindow(form);
        QTRY_VERIFY(form->ListViewBid->hasFocus());
        form->action("ActionAllSelect")->trigger();
        QCOMPARE(form->ListViewBid->selectedItems().size(), 4);
    }

    void exportReportsInPanelZero()
    {
        TFormBidDataEtc* form = open(0);
        const QString path = app->folder().filePath("out.csv");
        app->dialogs().queue(Answer::Ok, path);
        form->ActionCsvExportBidListExecute();
        QVERIFY(QFile::exists(path));
        QVERIFY(!form->statusPanels[0]->text().isEmpty());
        QVERIFY(!form->statusPanels[0]->text().startsWith("件数"));
        QVERIFY(app->dialogs().requests().last().kind != Dialogs::Kind::Error);

        app->dialogs().clear();
        app->dialogs().queue(Answer::Ok, app->folder().filePath("missing/sub/out.csv"));
        form->ActionCsvExportBidListExecute();
        QCOMPARE(form->statusPanels[0]->text(), QString("エクスポート失敗('・ω・`)"));
        QCOMPARE(app->dialogs().requests().last().kind, Dialogs::Kind::Error);
        QCOMPARE(app->dialogs().requests().last().caption, QString("ファイル保存エラー"));
    }

    void settingsKeptAndRestored()
    {
        TFormBidDataEtc* form = open(0);
        form->setGeometry(130, 140, 800, 560);
        form->SplitterBid->setSizes({300, 180});
        form->PanelNavi->setSizes({260, 500});
        form->ListViewBid->setColumnWidth(column(Title), 222);
        form->ListViewNavi->setColumnWidth(4, 177);
        form->ListViewBidColumnClick(column(Price));
        form->ListViewNaviColumnClick(2);
        form->ListViewNaviColumnClick(2);
        const int naviHeight = form->PanelNavi->height();
        const int listWidth = form->PanelNaviList->width();
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        const IniFile ini(CommonDefine::settingIniPath());
        QCOMPARE(ini.readInteger("BidDataEtc", "Width", 0), 800);
        QCOMPARE(ini.readInteger("BidDataEtc", "WindowState", -1), 0);
        QCOMPARE(ini.readInteger("BidDataEtc", "NaviPanelHeight", 0), naviHeight);
        QCOMPARE(ini.readInteger("BidDataEtc", "NaviPanelList", 0), listWidth);
        QCOMPARE(ini.readInteger("BidDataEtc", "ListViewBidColWidth2", 0), 222);
        QCOMPARE(ini.readInteger("BidDataEtc", "ListViewNaviColWidth4", 0), 177);
        QCOMPARE(ini.readInteger("BidDataEtc", "SortColumnBid", -1), column(Price));
        QCOMPARE(ini.readInteger("BidDataEtc", "SortTypeBid", -1), 0);
        QCOMPARE(ini.readInteger("BidDataEtc", "SortColumnNavi", -1), 2);
        QCOMPARE(ini.readInteger("BidDataEtc", "SortTypeNavi", -1), 1);

        TFormBidDataEtc* again = open(0);
        QCOMPARE(again->size(), QSize(800, 560));
        QCOMPARE(again->PanelNavi->height(), naviHeight);
        QCOMPARE(again->PanelNaviList->width(), listWidth);
        QCOMPARE(again->ListViewBid->columnWidth(column(Title)), 222);
        QCOMPARE(again->ListViewNavi->columnWidth(4), 177);
        QCOMPARE(column(again->ListViewBid, column(Aid)), QStringList({"a4", "a2", "a1", "a6"}));
        QCOMPARE(again->naviSortType, 1);
    }

    void bidderEditsAreNeverStored()
    {
        const QStringList before = dump(db->db(), "T_BidMaster");
        const QStringList listings = dump(db->db(), "T_BidData");
        const QStringList messages = dump(db->db(), "T_Navi");
        TFormBidDataEtc* form = open(0);
        QVERIFY(!form->BitBtnBidSave->isVisible());
        QSignalSpy shown(form, &TFormBidDataEtc::transactionShown);
        selectRow(form, rowOf(form, "a1"));
        QVERIFY(shown.wait(2000));
        form->EditBidMail->setText("changed@example.jp");
        QTest::keyClick(form->EditBidMail, Qt::Key_Return);
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(dump(db->db(), "T_BidMaster"), before);
        QCOMPARE(dump(db->db(), "T_BidData"), listings);
        QCOMPARE(dump(db->db(), "T_Navi"), messages);
    }

    void closingDuringALoadEndsIt()
    {
        {
            QSqlQuery insert = Sql::prepare(
                db->db(), "INSERT INTO T_BidData (Aid,BidId,LoginId,[Index],DeleteFlg,Price) "
                          "VALUES (:AID,'many','seller',:INDEX,1,:PRICE)");
            Sql::Transaction transaction(db->db());
            for (int i = 0; i < 20000; ++i)
                Sql::exec(insert, {{":AID", QString("m%1").arg(i)},
                                   {":INDEX", 100 + i},
                                   {":PRICE", QString::number(i % 977)}});
            transaction.commit();
        }
        auto* form = new TFormBidDataEtc(db->db(), 10);
        form->loginId = "seller";
        form->listMode = 0;
        QSignalSpy finished(form, &TFormBidDataEtc::loadFinished);
        QPointer<TFormBidDataEtc> watched(form);
        form->show();
        QTRY_VERIFY_WITH_TIMEOUT(form->ListViewBid->topLevelItemCount() > 0, 5000);
        QVERIFY(form->loading());
        form->close();
        QTRY_VERIFY(watched.isNull());
        // The load's later turns find the window gone and nothing runs.
        QTest::qWait(50);
        QCOMPARE(finished.size(), 0);
    }

    void mainWindowClosesTheListBeforeItsConnectionGoes()
    {
        TFormNavi* navi = startMainWindow();
        QVERIFY(navi && navi->session.queries.ready);
        navi->findChild<QAction*>("ActionShowDeleteBidList")->trigger();
        QPointer<TFormBidDataEtc> list = shownList();
        QVERIFY(list);
        app->closeWindow();
        QVERIFY(list.isNull() || !list->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(list.isNull());
    }

    // The window exports only through what its opener gives it: the main window's opener gives
    // the program's CSV export.
    void mainWindowOpenerGivesTheCsvExport()
    {
        TFormNavi* const navi = startMainWindow();
        QVERIFY(navi && navi->session.queries.ready);
        navi->findChild<QAction*>("ActionShowDeleteBidList")->trigger();
        TFormBidDataEtc* list = shownList();
        QVERIFY(list);
        QTRY_VERIFY(list->loaded());
        const QString path = app->folder().filePath("deleted.csv");
        app->dialogs().queue(Answer::Ok, path);
        list->action("ActionCsvExportBidList")->trigger();
        QVERIFY(QFile::exists(path));
        QCOMPARE(list->statusPanels[0]->text(), QString("エクスポートしましたo(´□｀o)"));
        closeAll();
    }

    void openersOfTheMainWindow()
    {
        TFormNavi* const navi = startMainWindow();
        QVERIFY(navi && navi->session.queries.ready);
        QAction* deleted = navi->findChild<QAction*>("ActionShowDeleteBidList");
        QAction* bidder = navi->findChild<QAction*>("ActionShowSelectBidIdList");
        QVERIFY(deleted->isEnabled());
        QVERIFY(bidder->isEnabled());

        // No focused row: a log line and no window.
        navi->listingTab().currentBidItem = nullptr;
        bidder->trigger();
        QCOMPARE(navi->ListBoxMessage->item(navi->ListBoxMessage->count() - 1)->text(),
                 QString("行を選択してください"));
        QVERIFY(!navi->findChild<TFormBidDataEtc*>());
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<TFormBidDataEtc*>(window));

        deleted->trigger();
        TFormBidDataEtc* list = shownList();
        QVERIFY(list);
        QCOMPARE(list->windowTitle(), QString("出品終了削除済みデータ(seller)"));
        QTRY_VERIFY(list->loaded());
        QCOMPARE(list->ListViewBid->topLevelItemCount(), 4);
        list->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // The focused listing row gives the bidder.
        BidRow row;
        QTRY_VERIFY(bool(row = navi->ListViewBid->findBidItem("a3", "buyer")));
        navi->ListViewBid->setCurrentItem(row);
        row->setSelected(true);
        QTRY_COMPARE(navi->listingTab().currentBidItem, row);
        bidder->trigger();
        TFormBidDataEtc* transactions = shownList();
        QVERIFY(transactions);
        QCOMPARE(transactions->windowTitle(), QString("buyer 取引一覧(seller)"));
        QTRY_VERIFY(transactions->loaded());
        QCOMPARE(column(transactions->ListViewBid, column(Aid)),
                 QStringList({"a1", "a2", "a3", "a6"}));
        closeAll();

        // On the message tab the focused message row gives its transaction's bidder.
        navi->PageControlMain->setCurrentIndex(1);
        navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "000"));
        QTRY_VERIFY(navi->ListViewNavi->rowCount() > 0);
        navi->messageTab().currentNaviItem = QPersistentModelIndex();
        const int lines = navi->ListBoxMessage->count();
        bidder->trigger();
        QCOMPARE(navi->ListBoxMessage->count(), lines + 1);
        navi->ListViewNavi->selectRow(0);
        QTRY_COMPARE(navi->messageTab().currentNaviItem.row(), 0);
        bidder->trigger();
        TFormBidDataEtc* fromMessage = shownList();
        QVERIFY(fromMessage);
        QCOMPARE(fromMessage->bidId, navi->ListViewNavi->row(0).bidId);
        QCOMPARE(fromMessage->listMode, 1);
        closeAll();
    }
};

QTEST_MAIN(TestBidDataEtc)
#include "test_bidetc.moc"
