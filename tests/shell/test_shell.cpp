// The main window's frame: tab switch, tray menu, log, font sizes and wheel routing.
#include "TestDataFolder.h"
#include "app/MessageFontSize.h"
#include "app/TrayMenu.h"
#include "app/UnitNavi.h"
#include "views/BidListView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QWheelEvent>

#include <memory>

namespace {

QStringList captionsOf(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* item : menu->actions())
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    return captions;
}

void turnWheel(QWidget* target, int distance, Qt::KeyboardModifiers modifiers)
{
    const QPointF at(10, 10);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, distance), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDataFolder> folder;
    std::unique_ptr<TFormNavi> navi;

private slots:
    void init()
    {
        folder = std::make_unique<TestDataFolder>();
        navi = std::make_unique<TFormNavi>();
        navi->FormShow();
        QTRY_VERIFY(navi->sharedQueriesReady);
    }
    void cleanup()
    {
        navi->close();
        navi.reset();
        folder.reset();
    }

    void menusCarryTheirCaptionsAndShortcuts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("full download") << "ActionBidDownload" << "出品終了データダウンロード(&D)"
                                       << "Ctrl+D";
        QTest::newRow("new download") << "ActionBidDownloadNow"
                                      << "新規出品終了データダウンロード(&L)" << "Ctrl+L";
        QTest::newRow("stop") << "MainMenuDataDownloadQuit" << "ダウンロード中止(&Q)" << "Esc";
        QTest::newRow("find next") << "ActionNaviFindNext" << "次候補(&N)" << "F3";
        QTest::newRow("bid tab") << "MainMenuViewShowBidTab" << "出品終了タブ(&B)" << "Ctrl+PgUp";
        QTest::newRow("unread") << "ActionNaviUnunsealing" << "未開封にする(&C)"
                                << "Ctrl+Shift+B";
        QTest::newRow("exit") << "MainMenuExit" << "アプリケーションの終了(&X)" << "";
    }
    void menusCarryTheirCaptionsAndShortcuts()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QAction* item = navi->findChild<QAction*>(name);
        QVERIFY(item);
        QCOMPARE(item->text(), caption);
        QCOMPARE(item->shortcut().toString(), shortcut);
    }

    void menuBarHasTheTenMenusInOrder()
    {
        QStringList titles;
        for (QAction* menu : navi->menuBar()->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"ファイル(&F)", "編集(&E)", "表示(&V)", "ツール(&T)",
                                      "データ(&D)", "ナビ(&N)", "フラグ(&M)", "連絡方法(&C)",
                                      "要評価(&K)", "ヘルプ(&H)"}));
        QCOMPARE(navi->PageControlMain->tabText(0), QString("　　出品終了　　"));
        QCOMPARE(navi->PageControlMain->tabText(1), QString("　　取引ナビ　　"));
    }

    void tabSwitchSetsStatusAndEnableSets()
    {
        // Commands whose behaviour is wired follow the tab's enable set.
        for (QAction* command : {navi->ActionEvaluationMake, navi->ActionCsvExportBidList,
                                 navi->ActionCsvExportBidInfo, navi->flagActions.first()})
            TFormNavi::markWired(command);
        for (int i = 0; i < 3; ++i)
            navi->ListViewBid->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::number(i)}));
        new QTreeWidgetItem(navi->ListViewNavi, {"a"});
        navi->shownUnreadCount = 1;

        navi->PageControlMain->setCurrentIndex(1);
        QCOMPARE(navi->statusPanels[1]->text(), QString("件数：1（未開封：1）"));
        QVERIFY(!navi->MainMenuFlg->isEnabled());
        QVERIFY(!navi->MainMenuContact->isEnabled());
        QVERIFY(!navi->MainMenuEvaluationFlg->isEnabled());
        QVERIFY(!navi->ActionEvaluationMake->isEnabled());
        QVERIFY(!navi->ActionCsvExportBidList->isEnabled());
        QVERIFY(!navi->flagActions.first()->isEnabled());
        QVERIFY(!navi->ToolButtonBidSearch->isEnabled());
        QVERIFY(navi->ToolButtonNaviFind->isEnabled());
        QVERIFY(!navi->ComboBoxInputCarriage->isEnabled());

        navi->action("MainMenuViewShowBidTab")->trigger();
        QCOMPARE(navi->PageControlMain->currentIndex(), 0);
        QCOMPARE(navi->statusPanels[1]->text(), QString("3件"));
        QVERIFY(navi->MainMenuFlg->isEnabled());
        QVERIFY(navi->ActionEvaluationMake->isEnabled());
        QVERIFY(navi->ActionCsvExportBidInfo->isEnabled());
        QVERIFY(navi->flagActions.first()->isEnabled());
        // A command not wired yet stays disabled on either tab.
        QVERIFY(!navi->flagActions.last()->isEnabled());
        QVERIFY(navi->ToolButtonBidSearch->isEnabled());
        QVERIFY(!navi->ToolButtonNaviFind->isEnabled());
        QVERIFY(navi->ComboBoxInputCarriage->isEnabled());
    }

    void trayMenuListsTheAccountsOnce()
    {
        navi->ComboBoxLoginId->addItems({"a", "b", "c"});
        navi->TasktrayIcon();
        navi->TasktrayIcon();
        QCOMPARE(captionsOf(navi->trayMenu()),
                 (QStringList{"a(&0)", "b(&1)", "c(&2)", "-", "元に戻す(&R)", "-",
                              "アプリケーション終了(&X)"}));
        navi->ComboBoxLoginId->clear();
        navi->TasktrayIcon();
        QCOMPARE(captionsOf(navi->trayMenu()), trayMenuFixedCaptions());
    }

    void logLineIsAppendedAndScrolledTo()
    {
        for (int i = 0; i < 200; ++i)
            navi->addLogMessage(QString("line %1").arg(i));
        QCOMPARE(navi->ListBoxMessage->count(), 200);
        QCOMPARE(navi->ListBoxMessage->item(199)->text(), QString("line 199"));
        QScrollBar* bar = navi->ListBoxMessage->verticalScrollBar();
        QTRY_COMPARE(bar->value(), bar->maximum());
        navi->action("PopupMenuListBoxMessageDelete")->trigger();
        QCOMPARE(navi->ListBoxMessage->count(), 0);
    }

    void longLogKeepsEveryLineAndShowsTheLast()
    {
        QListWidget* log = navi->ListBoxMessage;
        QVERIFY(log->isVisible());
        QVERIFY(log->viewport()->height() > 0);
        const int lines = 10000;
        for (int i = 0; i < lines; ++i)
            navi->addLogMessage(QString("line %1").arg(i));
        QCOMPARE(log->count(), lines);
        QCOMPARE(log->item(0)->text(), QString("line 0"));
        QCOMPARE(log->item(lines - 1)->text(), QString("line %1").arg(lines - 1));
        QListWidgetItem* last = log->item(lines - 1);
        QTRY_VERIFY(log->viewport()->rect().contains(log->visualItemRect(last)));
        QCOMPARE(log->itemAt(log->visualItemRect(last).center()), last);
        // A line added later is shown in its turn.
        navi->addLogMessage(QStringLiteral("one more"));
        QTRY_VERIFY(log->viewport()->rect().contains(log->visualItemRect(log->item(lines))));
        QCOMPARE(log->count(), lines + 1);
    }

    void fontStepsBetweenTheMenuSizes_data()
    {
        QTest::addColumn<int>("checked");
        QTest::addColumn<bool>("towardsUser");
        QTest::addColumn<int>("next");
        QTest::newRow("middle up") << 12 << true << 14;
        QTest::newRow("big up") << 14 << true << 16;
        QTest::newRow("biggest up stays") << 16 << true << 16;
        QTest::newRow("middle down") << 12 << false << 10;
        QTest::newRow("smallest down stays") << 8 << false << 8;
        QTest::newRow("small up") << 10 << true << 12;
        QTest::newRow("none checked") << 0 << true << 0;
    }
    void fontStepsBetweenTheMenuSizes()
    {
        QFETCH(int, checked);
        QFETCH(bool, towardsUser);
        QFETCH(int, next);
        QCOMPARE(MessageFontSize::step(checked, towardsUser), next);
    }

    void ctrlWheelOverTheMessageStepsItsFont()
    {
        navi->setMessageFontSize(12);
        turnWheel(navi->MemoNavi->viewport(), -120, Qt::ControlModifier);
        QCOMPARE(navi->MemoNavi->font().pointSize(), 14);
        QCOMPARE(navi->MemoBidNavi->font().pointSize(), 14);
        QCOMPARE(navi->checkedMessageFontSize(), 14);
        navi->setMessageFontSize(16);
        turnWheel(navi->MemoNavi->viewport(), -120, Qt::ControlModifier);
        QCOMPARE(navi->MemoNavi->font().pointSize(), 16);
        turnWheel(navi->MemoBidNavi->viewport(), 120, Qt::ControlModifier);
        QCOMPARE(navi->MemoNavi->font().pointSize(), 14);
        // A size outside the menu checks no item, and the wheel then changes nothing.
        navi->setMessageFontSize(13);
        QCOMPARE(navi->checkedMessageFontSize(), 0);
        turnWheel(navi->MemoNavi->viewport(), -120, Qt::ControlModifier);
        QCOMPARE(navi->MemoNavi->font().pointSize(), 13);
    }

    void ctrlWheelOverAListScrollsThreeRows()
    {
        for (int i = 0; i < 500; ++i)
            navi->ListViewBid->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::number(i)}));
        navi->resize(900, 600);
        QScrollBar* bar = navi->ListViewBid->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 10);
        bar->setValue(0);
        turnWheel(navi->ListViewBid->viewport(), -120, Qt::ControlModifier);
        QCOMPARE(bar->value(), 3);
        turnWheel(navi->ListViewBid->viewport(), -120, Qt::NoModifier);
        QCOMPARE(bar->value(), 6);
        turnWheel(navi->ListViewBid->viewport(), 120, Qt::NoModifier);
        QCOMPARE(bar->value(), 3);
    }

    void selectAllActsOnTheFocusedControl()
    {
        for (int i = 0; i < 3; ++i)
            navi->ListViewBid->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::number(i)}));
        navi->activateWindow();
        navi->ListViewBid->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(navi->ListViewBid));
        navi->ActionAllSelect->trigger();
        QCOMPARE(navi->ListViewBid->selectedItems().size(), 3);
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
