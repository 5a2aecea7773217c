// The main window's commands: every item of its menus, popup menus and tool bars runs
// something, and the openers hand the chosen row over to the windows they open.
#include "support/FixtureDb.h"
#include "support/MainWindowFixture.h"

#include "app/UnitNavi.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/UnitAuctionNaviList.h"
#include "views/UnitFindNavi.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidgetAction>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller01");

// The mail submenus hold one item per message template, each run by the mail hand-over.
bool isTemplateMenu(const QMenu* menu)
{
    return menu->objectName() == QLatin1String("MainMenuToolMailerSend") ||
           menu->objectName() == QLatin1String("PopupMenuBidListMailerSend");
}

template <typename T> QList<T*> openWindows()
{
    QList<T*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<T*>(widget); window && window->isVisible())
            windows << window;
    return windows;
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;

    QSqlDatabase db() const { return navi->connection; }

    bool isRegistered(const QAction* item) const
    {
        return !item->objectName().isEmpty() && navi->action(item->objectName()) == item;
    }
    static bool isWired(const QAction* item) { return item->property("wired").toBool(); }

    // A wired command whose triggered signal fired while run() ran, or an empty name.
    QString wiredCommandRunBy(const std::function<void()>& run)
    {
        QList<std::pair<QAction*, std::shared_ptr<QSignalSpy>>> spies;
        for (QAction* command : std::as_const(navi->actions))
            spies.append({command, std::make_shared<QSignalSpy>(command, &QAction::triggered)});
        run();
        for (const auto& [command, spy] : spies)
            if (!spy->isEmpty() && isWired(command))
                return command->objectName();
        return QString();
    }

    // Every item of a menu and its submenus that is neither a separator nor a submenu, each
    // with the path of captions that leads to it.
    static void collect(const QMenu* menu, const QString& path,
                        QList<std::pair<QString, QAction*>>& items)
    {
        if (isTemplateMenu(menu))
            return;
        for (QAction* item : menu->actions()) {
            if (item->isSeparator())
                continue;
            const QString where = path + " / " + item->text();
            if (item->menu())
                collect(item->menu(), where, items);
            else
                items.append({where, item});
        }
    }

    // Every wired command enabled, so that an item or button reaches the command it runs.
    void enableWiredCommands()
    {
        for (QAction* command : std::as_const(navi->actions))
            if (isWired(command))
                command->setEnabled(true);
    }

    // Items that are not commands of their own must run one.
    void verifyItems(const QList<std::pair<QString, QAction*>>& items)
    {
        enableWiredCommands();
        QStringList unwired;
        for (const auto& [where, item] : items) {
            if (isRegistered(item)) {
                if (!isWired(item))
                    unwired << where;
                continue;
            }
            item->setEnabled(true);
            if (wiredCommandRunBy([item] { item->trigger(); }).isEmpty())
                unwired << where;
        }
        QVERIFY2(unwired.isEmpty(), qPrintable(unwired.join('\n')));
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        navi = app->start();
        navi->loginId = seller;
    }
    void cleanup() { app.reset(); }

    void everyMenuItemIsWired()
    {
        QList<std::pair<QString, QAction*>> items;
        for (QAction* top : navi->menuBar()->actions())
            if (top->menu())
                collect(top->menu(), top->text(), items);
        QVERIFY(items.size() > 50);
        verifyItems(items);
    }

    void everyPopupMenuItemIsWired_data()
    {
        QTest::addColumn<QString>("menu");
        for (const char* name :
             {"PopupMenuBidList", "PopupMenuNaviList", "PopupMenuListBoxMessage"})
            QTest::newRow(name) << name;
    }
    void everyPopupMenuItemIsWired()
    {
        QFETCH(QString, menu);
        const auto* popup = navi->findChild<QMenu*>(menu);
        QVERIFY(popup);
        QList<std::pair<QString, QAction*>> items;
        collect(popup, menu, items);
        QVERIFY(!items.isEmpty());
        verifyItems(items);
    }

    void everyToolBarItemIsWired()
    {
        QList<std::pair<QString, QAction*>> items;
        QStringList unwired;
        enableWiredCommands();
        // The main window's own bands; the panes' small bars hold no commands.
        const QList<QToolBar*> bars = navi->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly);
        QStringList names;
        for (const QToolBar* bar : bars)
            names << bar->objectName();
        names.sort();
        QCOMPARE(names, (QStringList{"PanelLogin", "ToolBarFlg", "ToolBarMain", "ToolBarNavi"}));
        for (QToolBar* bar : bars) {
            for (QAction* item : bar->actions()) {
                if (item->isSeparator())
                    continue;
                const QString where = bar->windowTitle() + " / " + item->iconText();
                auto* widgetItem = qobject_cast<QWidgetAction*>(item);
                if (!widgetItem) {
                    items.append({where, item});
                    continue;
                }
                auto* button = qobject_cast<QToolButton*>(widgetItem->defaultWidget());
                if (!button)
                    continue; // the login bar's fields
                if (button->menu())
                    continue; // drops its menu, walked with the menus
                button->setEnabled(true);
                if (wiredCommandRunBy([button] { button->click(); }).isEmpty())
                    unwired << bar->windowTitle() + " / " + button->text();
            }
        }
        QVERIFY(items.size() > 20);
        verifyItems(items);
        QVERIFY2(unwired.isEmpty(), qPrintable(unwired.join('\n')));
    }

    void mailSubmenusAreBuiltAtTheFirstShow()
    {
        for (const char* name : {"MainMenuToolMailerSend", "PopupMenuBidListMailerSend"}) {
            const auto* menu = navi->findChild<QMenu*>(name);
            QVERIFY(menu);
            QTRY_VERIFY2(menu->isEnabled(), name);
        }
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
