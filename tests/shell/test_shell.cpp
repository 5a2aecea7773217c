// The main window's frame: tab switch, tray menu, log, font sizes and wheel routing.
#include "MainWindowFixture.h"
#include "ProgressBarState.h"
#include "app/AppIcon.h"
#include "app/MessageFontSize.h"
#include "app/StatusPanel.h"
#include "app/StatusPanelLayout.h"
#include "app/TrayMenu.h"
#include "app/UnitNavi.h"
#include "platform/SingleInstance.h"
#include "views/MessageTab.h"
#include "views/NaviFolderList.h"
#include "views/BidListView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QWheelEvent>

#include <memory>

Q_DECLARE_METATYPE(StatusPanelLayout::Need)

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

// Where a child widget stands in the main window's coordinates.
QRect rectInWindow(const QWidget* child, const QWidget* window)
{
    return QRect(child->mapTo(window, QPoint(0, 0)), child->size());
}

// The tool tip a panel offers when the mouse rests on it.
QString toolTipOf(QWidget* panel)
{
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), panel->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(panel, &help);
    return panel->toolTip();
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        navi = app->start();
    }
    void cleanup() { app.reset(); }

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
        // A command taken back to not wired stands for one whose behaviour is not there yet.
        navi->action("ActionShowSelectBidIdList")->setProperty("wired", false);
        for (int i = 0; i < 3; ++i)
            navi->ListViewBid->addBidItem(QStringList{QString::number(i)});
        NaviRow shownRow;
        shownRow.aid = "a";
        navi->ListViewNavi->rows()->appendRow(shownRow);
        navi->messageTab().shownUnreadCount = 1;

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
        QVERIFY(!navi->action("ActionShowSelectBidIdList")->isEnabled());
        QVERIFY(navi->ToolButtonBidSearch->isEnabled());
        QVERIFY(!navi->ToolButtonNaviFind->isEnabled());
        QVERIFY(navi->ComboBoxInputCarriage->isEnabled());
    }

    void progressBarsStandStillWhileIdle()
    {
        navi->show();
        QVERIFY(QTest::qWaitForWindowExposed(navi));
        for (int tab : {1, 0}) {
            navi->PageControlMain->setCurrentIndex(tab);
            VERIFY_IDLE_BAR(navi->ProgressBar);
            VERIFY_IDLE_BAR(navi->ProgressBar2);
        }
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

    void programIconIsDrawnForTheWindowAndTheTray()
    {
        const QIcon icon = tessalyIcon();
        QVERIFY(!icon.isNull());
        for (int size : {16, 22, 32, 48}) {
            const QImage image = icon.pixmap(size).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            // Opaque in the middle, clear in the rounded-off corner.
            QCOMPARE(qAlpha(image.pixel(size / 2, size / 3)), 255);
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        }
        QVERIFY(!navi->windowIcon().isNull());
    }

    void hidesIntoTrayOnlyWithAnIconToClick_data()
    {
        QTest::addColumn<bool>("option");
        QTest::addColumn<bool>("trayAvailable");
        QTest::addColumn<bool>("iconVisible");
        QTest::addColumn<bool>("hides");
        QTest::newRow("option on, icon shown") << true << true << true << true;
        QTest::newRow("option off") << false << true << true << false;
        QTest::newRow("no tray") << true << false << false << false;
        QTest::newRow("icon not shown") << true << true << false << false;
    }
    void hidesIntoTrayOnlyWithAnIconToClick()
    {
        QFETCH(bool, option);
        QFETCH(bool, trayAvailable);
        QFETCH(bool, iconVisible);
        QFETCH(bool, hides);
        QCOMPARE(hidesIntoTray(option, trayAvailable, iconVisible), hides);
    }

    void minimisingWithoutATrayLeavesAWindowToRestore()
    {
        // The test platform has no notification area.
        navi->options.taskTray = true;
        navi->show();
        QVERIFY(QTest::qWaitForWindowExposed(navi));
        navi->setWindowState(Qt::WindowMinimized);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QVERIFY(navi->isMinimized());
        QVERIFY(!navi->isHidden());
    }

    void restoreKeepsTheStateBeforeMinimising_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<bool>("inTray");
        QTest::addColumn<bool>("bySecondStart");
        QTest::newRow("maximised, tray menu") << true << true << false;
        QTest::newRow("maximised, minimised, tray menu") << true << false << false;
        QTest::newRow("normal, tray menu") << false << true << false;
        QTest::newRow("maximised in tray, second start") << true << true << true;
        QTest::newRow("maximised, minimised, second start") << true << false << true;
        QTest::newRow("normal, minimised, second start") << false << false << true;
    }
    void restoreKeepsTheStateBeforeMinimising()
    {
        QFETCH(bool, maximised);
        QFETCH(bool, inTray);
        QFETCH(bool, bySecondStart);
        if (maximised)
            navi->showMaximized();
        else
            navi->showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(navi));
        QCOMPARE(navi->isMaximized(), maximised);
        // A window manager minimises to the minimised state alone, dropping the maximised one.
        navi->setWindowState(Qt::WindowMinimized);
        if (inTray)
            navi->hide();

        if (bySecondStart) {
            SingleInstance running(app->folder().path());
            QCOMPARE(running.acquire(), SingleInstance::Outcome::First);
            running.listen();
            connect(&running, &SingleInstance::raiseRequested, navi, &TFormNavi::raiseFromOutside);
            SingleInstance second(app->folder().path());
            QCOMPARE(second.acquire(), SingleInstance::Outcome::RaisedOther);
            QTRY_VERIFY(!navi->isMinimized());
        } else {
            navi->findChild<QAction*>("PopupMenuTrayRestore")->trigger();
        }
        QVERIFY(navi->isVisible());
        QVERIFY(!navi->isMinimized());
        QCOMPARE(navi->isMaximized(), maximised);
    }

    void statusPanelWidthsShareAShortRow_data()
    {
        using Need = StatusPanelLayout::Need;
        QTest::addColumn<int>("available");
        QTest::addColumn<QList<Need>>("needs");
        QTest::addColumn<QList<int>>("widths");
        const Need result{320, 148, 80}, count{180, 20, 20}, account{50, 113, 113},
            progress{100, 100, 100}, longResult{320, 600, 80};
        QTest::newRow("room: the last takes the rest")
            << 1000 << QList<Need>{result, count, account} << QList<int>{320, 180, 500};
        QTest::newRow("spare room goes first, evenly")
            << 500 << QList<Need>{result, count, account} << QList<int>{263, 124, 113};
        QTest::newRow("a long text gives way once the spare room is gone")
            << 400 << QList<Need>{longResult, count, account} << QList<int>{267, 20, 113};
        QTest::newRow("a progress bar keeps its width")
            << 500 << QList<Need>{longResult, progress, account} << QList<int>{287, 100, 113};
        QTest::newRow("too short: the whole text still stays whole")
            << 100 << QList<Need>{longResult, account} << QList<int>{80, 113};
    }
    void statusPanelWidthsShareAShortRow()
    {
        QFETCH(int, available);
        QFETCH(QList<StatusPanelLayout::Need>, needs);
        QFETCH(QList<int>, widths);
        QCOMPARE(StatusPanelLayout::widths(available, needs), widths);
    }

    void accountTextIsWholeAtTheDefaultSize_data()
    {
        QTest::addColumn<QString>("account");
        QTest::newRow("logged in") << QString("ログインID：seller1");
        QTest::newRow("not logged in") << QString("ログインしていません");
    }
    void accountTextIsWholeAtTheDefaultSize()
    {
        QFETCH(QString, account);
        navi->show();
        QVERIFY(QTest::qWaitForWindowExposed(navi));
        QCOMPARE(navi->size(), QSize(900, 600));
        navi->statusPanels[0]->setText("seller1でログインしました");
        navi->statusPanels[1]->setText("件数：1234（未開封：56）");
        navi->statusPanels[2]->setText("合計価格：1234567");
        navi->statusPanels[5]->setText(account);
        auto* panel = qobject_cast<StatusPanel*>(navi->statusPanels[5]);
        QVERIFY(panel);
        const int needed = panel->fontMetrics().horizontalAdvance(account);
        QTRY_VERIFY2(panel->contentsRect().width() >= needed,
                     qPrintable(QString("%1 < %2").arg(panel->contentsRect().width()).arg(needed)));
        QCOMPARE(panel->shownText(), account);
        QVERIFY(navi->statusBar()->rect().contains(rectInWindow(panel, navi->statusBar())));
        // The other texts fit beside it as well.
        for (int i : {0, 1, 2}) {
            auto* other = qobject_cast<StatusPanel*>(navi->statusPanels[i]);
            // The bar lays its panels out again once the texts' layout requests are handled.
            QTRY_COMPARE(other->shownText(), other->text());
            QVERIFY(rectInWindow(other, navi->statusBar()).right() < panel->x());
        }
    }

    void longStatusTextsGiveWayWithTheirWholeTextInTheToolTip()
    {
        navi->show();
        QVERIFY(QTest::qWaitForWindowExposed(navi));
        const QString account = "ログインID：seller1";
        const QString longResult = QString("seller1でログインしました").repeated(4);
        navi->statusPanels[0]->setText(longResult);
        navi->statusPanels[1]->setText("0件");
        navi->statusPanels[5]->setText(account);
        auto* result = qobject_cast<StatusPanel*>(navi->statusPanels[0]);
        auto* count = qobject_cast<StatusPanel*>(navi->statusPanels[1]);
        auto* panel = qobject_cast<StatusPanel*>(navi->statusPanels[5]);
        QTRY_VERIFY(panel->contentsRect().width() >=
                    panel->fontMetrics().horizontalAdvance(account));
        QVERIFY(rectInWindow(result, navi).right() < rectInWindow(count, navi).left());

        QVERIFY(result->shownText() != longResult);
        QVERIFY(result->shownText().endsWith(QChar(0x2026)));
        QVERIFY(result->fontMetrics().horizontalAdvance(result->shownText()) <=
                result->contentsRect().width());
        QCOMPARE(toolTipOf(result), longResult);
        QCOMPARE(count->shownText(), QString("0件"));
        QCOMPARE(toolTipOf(count), QString());

        // Once it fits again the panel shows it whole and offers no tool tip.
        navi->statusPanels[0]->setText("seller1でログインしました");
        QTRY_COMPARE(result->shownText(), result->text());
        QCOMPARE(toolTipOf(result), QString());
    }

    void loginBarFieldsAreOnScreenAtTheDefaultSize()
    {
        navi->ComboBoxLoginId->addItems({"seller1", "seller2"});
        navi->show();
        QVERIFY(QTest::qWaitForWindowExposed(navi));
        QCOMPARE(navi->size(), QSize(900, 600));
        const QRect bar = rectInWindow(navi->PanelLogin, navi);
        QVERIFY(navi->rect().contains(bar));
        for (QWidget* field : {static_cast<QWidget*>(navi->ComboBoxLoginId),
                               static_cast<QWidget*>(navi->EditLoginPassword),
                               static_cast<QWidget*>(navi->ToolButtonLogin)}) {
            // A field pushed into the bar's overflow is hidden until the overflow opens.
            QTRY_VERIFY2(field->isVisible(), qPrintable(field->objectName()));
            QVERIFY2(bar.contains(rectInWindow(field, navi)), qPrintable(field->objectName()));
        }
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
            navi->ListViewBid->addBidItem(QStringList{QString::number(i)});
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
            navi->ListViewBid->addBidItem(QStringList{QString::number(i)});
        navi->activateWindow();
        navi->ListViewBid->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(navi->ListViewBid));
        navi->ActionAllSelect->trigger();
        QCOMPARE(navi->ListViewBid->selectedItems().size(), 3);
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
