// The main window's commands: every item of its menus, popup menus and tool bars reaches its
// handler, seen as a user sees it (a window, a question, a log line, a changed cell or field),
// and no item is left out of the table that says what each one does.
#include "support/AnswerGate.h"
#include "support/FixtureDb.h"
#include "support/MainWindowFixture.h"

#include "app/UnitNavi.h"
#include "common/CommonDefine.h"
#include "platform/Database.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"
#include "platform/UrlOpener.h"
#include "site/LoginControl.h"
#include "views/BidListColumns.h"
#include "views/BidListFindPanel.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/ListingTab.h"
#include "views/MessageTab.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviRows.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidgetAction>

#include <algorithm>
#include <memory>

namespace {

const QString seller = QStringLiteral("seller01");
// What the chosen listing's unread message says; the bidder panel's extraction reads its name
// line.
constexpr char unreadText[] = "氏名：山田 太郎";
const QString unreadMessage = QString::fromUtf8(unreadText);

// Where the user stands when giving a command.
enum class Where {
    Listing,      // the listing tab: a2/b2 chosen, its unread message chosen in the panel below
    ListFocused,  // the same, with the listing list focused in the active window
    MemoSelected, // the same, with the shown message's text selected
    SentChosen,   // the listing tab: a2/b2 chosen, the seller's own message to it chosen below
    NoRow,        // the listing tab with no row chosen
    Messages,     // the message tab: the received folder, the read message of a2/b2 chosen
    UserFolder,   // the message tab: the received folder's empty second folder chosen
    Downloading,  // the listing tab while a message-board download waits on the site
    Minimised,    // the window minimised
};

// One command and what its handler visibly does. `seen` names what is looked at (see
// TestCommands::look); the command has reached its handler when `expected` is among what is
// seen afterwards and was not before.
struct Command
{
    const char* name; // the item's, tool button's or (for menus of like items) menu's object name
    Where where;
    const char* seen;
    const char* expected;
};

// Menus whose items are made from stored rows and run one handler: the first item stands for all.
const QStringList menusOfLikeItems = {"MainMenuToolMailerSend", "PopupMenuBidListMailerSend",
                                      "PopupMenuLogin"};

const QList<Command>& commandTable()
{
    using enum Where;
    static const QList<Command> table = {
        // File
        {"ActionCsvExportBidList", Listing, "questions", "出品終了データ"},
        {"ActionCsvExportNaviList", Listing, "questions", "ナビデータ"},
        {"ActionCsvExportBidInfo", Listing, "questions", "落札者情報"},
        {"ActionPrintPreviewNaviMessage", Listing, "windows", "TFormPrintNaviMessage"},
        {"ActionPrintNaviMessage", Listing, "questions", "print dialog"},
        {"ActionPrintNaviMessageSetting", Listing, "windows", "TFormPrintNaviMessageSetting"},
        {"MainMenuExit", Listing, "window", "closed"},
        // Edit
        {"ActionCopyAuctionId", Listing, "clipboard", "a2"},
        {"ActionCopyTitle", Listing, "clipboard", "時計"},
        {"ActionCopyBidId", Listing, "clipboard", "b2"},
        {"ActionCopyBidName", Listing, "clipboard", "山田"},
        {"ActionCopyPrice", Listing, "clipboard", "2500"},
        {"ActionCopyForwarding", Listing, "clipboard", "F-22"},
        {"ActionCopyMemo", Listing, "clipboard", "取り置き"},
        {"ActionNaviFind", Listing, "panel PanelBidListFind", "shown"},
        {"ActionNaviFindNext", Listing, "chosen listings", "a3"},
        {"ActionNaviFindPrevious", Listing, "chosen listings", "a1"},
        {"ActionFindNavi", Listing, "windows", "TFormFindNavi"},
        {"ActionAllSelect", ListFocused, "chosen listings", "a1"},
        // View
        {"MainMenuViewShowBidTab", Messages, "tab", "0"},
        {"MainMenuViewShowNaviTab", Listing, "tab", "1"},
        {"ActionShowBidInfo", Listing, "panel PanelBid", "hidden"},
        {"ActionShowMemoWrite", Listing, "panel PanelMemoWrite", "hidden"},
        {"ActionShowBidNaviPanel", Listing, "panel PanelBidNavi", "hidden"},
        {"ActionShowSelectBidIdList", Listing, "windows", "TFormBidDataEtc"},
        {"ActionShowSelectAuctionIdNaviList", Listing, "windows", "TFormAuctionNaviList"},
        {"ActionShowDeleteBidList", Listing, "windows", "TFormBidDataEtc"},
        // Tools
        {"ActionShowSetting", Listing, "windows", "TFormSetting"},
        {"ActionShowNaviTemplate", Listing, "windows", "TFormNaviTemplate"},
        {"ActionShowEvaluationTemplate", Listing, "windows", "TFormEvaluationTemplate"},
        {"MainMenuToolMailerSend", Listing, "mail programs", "mailto:b2@example.jp"},
        {"ActionMailerStart", Listing, "mail programs", "mailto:b2@example.jp"},
        // Data
        {"ActionBidDownloadNow", Listing, "questions",
         "新規出品終了データをダウンロードしますか？"},
        {"ActionBidDownload", Listing, "questions", "出品終了データをダウンロードしますか？"},
        {"ActionNaviDownloadSelect", Listing, "questions",
         "選択行ナビデータをダウンロードしますか？"},
        {"ActionNaviDownloadShow", Listing, "questions",
         "表示行ナビデータをダウンロードしますか？"},
        {"ActionBidDetailedDownload", NoRow, "log", "行を選択してください"},
        {"ActionBidPromptDecisionDownload", Listing, "questions", "オークションID入力"},
        {"MainMenuDataDownloadQuit", Downloading, "questions",
         "取引ナビダウンロードを中止しますか？"},
        {"ActionNaviMake", Listing, "windows", "TFormReply"},
        {"ActionEvaluationMake", Listing, "windows", "TFormEvaluation"},
        {"ActionShowBrowser", Listing, "windows", "TFormBrowser"},
        // Messages
        {"ActionNaviReply", Messages, "windows", "TFormReply"},
        {"ActionNaviOpenMessage", Listing, "windows", "TFormNaviMessage"},
        {"ActionNaviUnsealing", Listing, "chosen message read", "1"},
        {"ActionNaviUnunsealing", Messages, "chosen message read", "0"},
        {"MainMenuNaviFontSizeBiggest", Listing, "font", "16"},
        {"MainMenuNaviFontSizeBig", Listing, "font", "14"},
        {"MainMenuNaviFontSizeMiddle", Listing, "font", "12"},
        {"MainMenuNaviFontSizeSmall", Listing, "font", "10"},
        {"MainMenuNaviFontSizeMinimum", Listing, "font", "8"},
        // Markers
        {"ActionFlgFirstCheck", Listing, "cell FirstFlg", "●"},
        {"ActionFlgFirstCheckRemove", Listing, "cell FirstFlg", ""},
        {"ActionFlgPaymentCheck", Listing, "cell PaymentFlg", "●"},
        {"ActionFlgPaymentCheckRemove", Listing, "cell PaymentFlg", ""},
        {"ActionFlgReceiptCheck", Listing, "cell ReceiptFlg", "●"},
        {"ActionFlgReceiptCheckRemove", Listing, "cell ReceiptFlg", ""},
        {"ActionFlgEvaluationCheck", Listing, "cell EvaluationFlg", "●"},
        {"ActionFlgEvaluationCheckRemove", Listing, "cell EvaluationFlg", ""},
        {"ActionFlgEndCheck", Listing, "cell EndFlg", "●"},
        {"ActionFlgEndCheckRemove", Listing, "cell EndFlg", ""},
        {"ActionFlgAllCheck", Listing, "cell EndFlg", "●"},
        {"ActionFlgAllCheckRemove", Listing, "cell FirstFlg", ""},
        {"ActionFlgConfirm", Listing, "question before ActionFlgPaymentCheck", "asks"},
        {"MainMenuContactBlank", Listing, "cell ContactMethod", ""},
        {"MainMenuContactNavi", Listing, "cell ContactMethod", "ナビ"},
        {"MainMenuContactMail", Listing, "cell ContactMethod", "メール"},
        {"MainMenuContactConfirm", Listing, "question before MainMenuContactNavi", "asks"},
        {"ActionEvaluationFlgBlank", Listing, "cell EvaluationUnnecessary", ""},
        {"ActionEvaluationFlgNecessary", Listing, "cell EvaluationUnnecessary", "必要"},
        {"ActionEvaluationFlgUnnecessary", Listing, "cell EvaluationUnnecessary", "不要"},
        {"MainMenuEvaluationFlgConfirm", Listing, "question before ActionEvaluationFlgNecessary",
         "asks"},
        // Help
        {"MainMenuVersion", Listing, "windows", "TFormVersion"},
        // The log's popup menu
        {"PopupMenuListBoxMessageDelete", Listing, "log lines", "0"},
        // The listing list's popup menu
        {"PopupMenuBidListMailerSend", Listing, "mail programs", "mailto:b2@example.jp"},
        // The message lists' popup menu
        {"PopupMenuNaviListReply", Listing, "windows", "TFormReply"},
        {"PopupMenuNaviListMake", SentChosen, "windows", "TFormReply"},
        {"ActionGetBidInfo", Listing, "field EditBidName", "山田 太郎"},
        // The folder tree's popup menu
        {"PopupMenuTreeNaviNewFolder", UserFolder, "folders", "新規作成0"},
        {"ActionTreeNaviDeleteFolder", UserFolder, "questions", "フォルダを削除しますか？"},
        {"ActionTreeNaviReNameFolder", UserFolder, "folder tree", "editing"},
        // The message text's popup menu
        {"PopupMenuMemoNaviCopy", MemoSelected, "clipboard", unreadText},
        {"PopupMenuMemoNaviAllSelect", Listing, "memo selection", unreadText},
        {"PopupMenuMemoNaviName", MemoSelected, "field EditBidName", unreadText},
        {"PopupMenuMemoNaviMail", MemoSelected, "field EditBidMail", unreadText},
        {"PopupMenuMemoNaviPost", MemoSelected, "field EditBidPost", unreadText},
        {"PopupMenuMemoNaviAddress1", MemoSelected, "field EditBidAddress", unreadText},
        {"PopupMenuMemoNaviTel", MemoSelected, "field EditBidTel", unreadText},
        // The tray icon's menu
        {"PopupMenuTrayRestore", Minimised, "window", "shown"},
        {"PopupMenuTrayAppExit", Listing, "window", "closed"},
        // Tool bar buttons of their own
        {"ToolButtonBidSearch", Listing, "panel PanelBidListFind", "shown"},
        {"ToolButtonNaviFind", Messages, "windows", "TFormNaviFind"},
        {"ToolButtonLogin", Listing, "status", "seller01でログインしました"},
        {"PopupMenuLogin", Listing, "status", "seller01でログインしました"},
    };
    return table;
}

QStringList tableNames()
{
    QStringList names;
    for (const Command& command : commandTable())
        names << QString::fromLatin1(command.name);
    return names;
}

// The popup menus of the main window, walked with the menu bar and the tool bars.
const QStringList popupMenus = {"PopupMenuBidList",  "PopupMenuNaviList", "PopupMenuListBoxMessage",
                                "PopupMenuTreeNavi", "PopupMenuMemoNavi", "PopupMenuTray"};

} // namespace

Q_DECLARE_METATYPE(Where)

class TestCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;
    std::shared_ptr<AnswerGate> boardGate;
    QStringList modalsShown;
    QStringList openedUrls;

    BidRow listing(const QString& aid) const
    {
        return navi->ListViewBid->findBidItem(aid, QString(aid).replace('a', 'b'));
    }
    // The row of the folder list or the listing tab's message list showing message number of
    // a2/b2, or -1.
    int messageRow(QAbstractItemView* list, const QString& number) const
    {
        const NaviRows rows(list);
        for (int i = 0; i < rows.count(); ++i)
            if (rows.row(i).aid == "a2" && rows.row(i).number == number)
                return i;
        return -1;
    }

    // The listing a2/b2 and, in the panel below, its message of that number.
    void chooseListing(const QString& number = QStringLiteral("2"))
    {
        const BidRow row = listing("a2");
        QVERIFY(row);
        navi->ListViewBid->setCurrentItem(row);
        navi->ListViewBid->clearSelection();
        navi->ListViewBid->setSelected(row, true);
        QTRY_COMPARE(navi->listingTab().currentBidItem, row);
        navi->listingTab().TimerListViewBidTimer();
        QTRY_COMPARE(navi->EditBidMail->text(), QString("b2@example.jp"));
        QTRY_VERIFY(messageRow(navi->ListViewBidNavi, number) >= 0);
        navi->ListViewBidNavi->setCurrentItem(
            navi->ListViewBidNavi->topLevelItem(messageRow(navi->ListViewBidNavi, number)));
        QTRY_VERIFY(navi->action("ActionNaviOpenMessage")->isEnabled());
    }

    void chooseFolder(const QString& id)
    {
        navi->PageControlMain->setCurrentIndex(1);
        QTreeWidgetItem* folder = FolderTree::findFolder(navi->TreeViewNavi, id);
        QVERIFY(folder);
        navi->TreeViewNavi->setCurrentItem(folder);
    }

    void enter(Where where)
    {
        switch (where) {
        case Where::Listing:
            chooseListing();
            QTRY_COMPARE(navi->MemoBidNavi->toPlainText(), unreadMessage);
            break;
        case Where::SentChosen:
            chooseListing("3");
            QTRY_VERIFY(navi->PopupMenuNaviListMake->isVisible());
            break;
        case Where::ListFocused:
            chooseListing();
            navi->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(navi));
            navi->ListViewBid->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(navi->ListViewBid));
            break;
        case Where::MemoSelected:
            chooseListing();
            QTRY_COMPARE(navi->MemoBidNavi->toPlainText(), unreadMessage);
            navi->MemoBidNavi->selectAll();
            break;
        case Where::NoRow:
            navi->ListViewBid->clearSelection();
            break;
        case Where::Messages: {
            chooseFolder("000");
            const int row = messageRow(navi->ListViewNavi, "1");
            QVERIFY(row >= 0);
            navi->ListViewNavi->selectRow(row);
            QTRY_VERIFY(navi->action("ActionNaviUnunsealing")->isEnabled());
            break;
        }
        case Where::UserFolder:
            chooseFolder("000-001");
            QTRY_VERIFY(navi->action("ActionTreeNaviDeleteFolder")->isEnabled());
            break;
        case Where::Downloading: {
            chooseListing();
            boardGate = std::make_shared<AnswerGate>();
            const std::shared_ptr<AnswerGate> gate = boardGate;
            app->site().setHandler("GET", "/jp/show/contact", [gate](const FakeSite::Request&) {
                gate->pass();
                return FakeSite::Response{.status = 404};
            });
            app->dialogs().queue(Dialogs::Answer::Ok);
            navi->ActionNaviDownloadSelect->trigger();
            QTRY_COMPARE_WITH_TIMEOUT(boardGate->arrivals(), 1, 10000);
            QVERIFY(navi->MainMenuDataDownloadQuit->isEnabled());
            break;
        }
        case Where::Minimised:
            navi->showMinimized();
            QTRY_VERIFY(navi->isMinimized());
            break;
        }
        app->dialogs().clear();
    }

    // What the table's `seen` names, as a list of texts.
    QStringList look(const QString& seen)
    {
        const QString argument = seen.section(' ', 1);
        if (seen == "windows") {
            QStringList windows = modalsShown;
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget != navi && widget->isVisible() && !qobject_cast<QMenu*>(widget))
                    windows << widget->metaObject()->className();
            return windows;
        }
        if (seen == "window")
            return {!navi->isVisible() ? "closed" : navi->isMinimized() ? "minimised" : "shown"};
        if (seen == "questions") {
            QStringList asked;
            for (const Dialogs::Request& request : app->dialogs().requests()) {
                asked << request.caption << request.text << request.initialText;
                if (request.kind == Dialogs::Kind::Print)
                    asked << "print dialog";
            }
            return asked;
        }
        if (seen == "log")
            return app->log();
        if (seen == "log lines")
            return {QString::number(navi->ListBoxMessage->count())};
        if (seen == "status")
            return {navi->statusPanels[0]->text()};
        if (seen == "clipboard")
            return {QGuiApplication::clipboard()->text()};
        if (seen == "tab")
            return {QString::number(navi->PageControlMain->currentIndex())};
        if (seen == "font")
            return {QString::number(navi->MemoNavi->font().pointSize())};
        if (seen == "mail programs")
            return openedUrls;
        if (seen == "chosen listings") {
            QStringList aids;
            for (const BidRow& row : navi->ListViewBid->selectedItems())
                aids << row.subItem(BidListColumns::Aid);
            return aids;
        }
        if (seen == "chosen message read") {
            const NaviRows rows(navi->messageTab().getActiveNaviList());
            const QList<int> chosen = rows.selected();
            if (chosen.isEmpty())
                return {};
            const NaviRow row = rows.row(chosen.first());
            return {Sql::scalar(navi->connection,
                                "SELECT UnsealingFlg FROM T_Navi WHERE Aid=:A AND BidId=:B AND "
                                "[Number]=:N",
                                {{":A", row.aid}, {":B", row.bidId}, {":N", row.number}})
                        .toString()};
        }
        if (seen == "memo selection")
            return {navi->MemoBidNavi->textCursor().selectedText()};
        if (seen == "folders") {
            QStringList names;
            QSqlQuery query =
                Sql::exec(navi->connection, "SELECT Name FROM T_NaviFolderMaster WHERE LoginId=:L",
                          {{":L", seller}});
            while (query.next())
                names << query.value(0).toString();
            return names;
        }
        if (seen == "folder tree") {
            // A folder's name being edited in place has its editor over the tree.
            const QList<QLineEdit*> editors =
                navi->TreeViewNavi->viewport()->findChildren<QLineEdit*>();
            const bool editing =
                std::any_of(editors.cbegin(), editors.cend(),
                            [](const QLineEdit* edit) { return edit->isVisible(); });
            return {editing ? "editing" : "not editing"};
        }
        if (seen.startsWith("panel "))
            return {navi->findChild<QWidget*>(argument)->isVisible() ? "shown" : "hidden"};
        if (seen.startsWith("field "))
            return {navi->findChild<QLineEdit*>(argument)->text()};
        if (seen.startsWith("cell ")) {
            const QHash<QString, int> columns = {
                {"FirstFlg", BidListColumns::FirstFlg},
                {"PaymentFlg", BidListColumns::PaymentFlg},
                {"ReceiptFlg", BidListColumns::ReceiptFlg},
                {"EvaluationFlg", BidListColumns::EvaluationFlg},
                {"EndFlg", BidListColumns::EndFlg},
                {"ContactMethod", BidListColumns::ContactMethod},
                {"EvaluationUnnecessary", BidListColumns::EvaluationUnnecessary}};
            return {listing("a2").subItem(columns.value(argument))};
        }
        if (seen.startsWith("question before ")) {
            // The marker command runs on the chosen row; the question is answered Cancel.
            const qsizetype asked = app->dialogs().requests().size();
            navi->action(argument.section(' ', -1))->trigger();
            return {app->dialogs().requests().size() > asked ? "asks" : "does not ask"};
        }
        qFatal("nothing named %s is looked at", qPrintable(seen));
    }

    // Runs the item as a user does: a tool button is clicked, a menu of like items runs its
    // first item. A modal window it opens is noted and closed at once.
    void run(const QString& name)
    {
        QTimer modalCloser;
        modalCloser.setInterval(10);
        connect(&modalCloser, &QTimer::timeout, this, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modalsShown << modal->metaObject()->className();
                modal->close();
            }
        });
        modalCloser.start();
        if (auto* button = navi->findChild<QToolButton*>(name)) {
            QVERIFY2(button->isEnabled(), qPrintable(name + " is disabled"));
            button->click();
        } else if (menusOfLikeItems.contains(name)) {
            const auto* menu = navi->findChild<QMenu*>(name);
            QVERIFY(menu && menu->isEnabled() && !menu->actions().isEmpty());
            menu->actions().first()->trigger();
        } else {
            QAction* item = navi->findChild<QAction*>(name);
            QVERIFY2(item, qPrintable(name + " is not an item of the window"));
            QVERIFY2(item->isEnabled(), qPrintable(name + " is disabled"));
            item->trigger();
        }
        modalCloser.stop();
    }

    // The walk over the menus and bars: every item's table name, or its path when it has none
    // in the table.
    void walk(const QMenu* menu, const QString& path, QStringList& named, QStringList& missing)
    {
        if (menusOfLikeItems.contains(menu->objectName())) {
            named << menu->objectName();
            return;
        }
        for (QAction* item : menu->actions()) {
            if (item->isSeparator())
                continue;
            const QString where = path + " / " + item->text();
            if (item->menu())
                walk(item->menu(), where, named, missing);
            else if (tableNames().contains(item->objectName()))
                named << item->objectName();
            else
                missing << where;
        }
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        app->serveBoards(seller);
        IniFile ini(CommonDefine::settingIniPath());
        ini.writeBool(CommonDefine::Section::Main, "BidNaviPanel", true);
        {
            Database::ScopedConnection db;
            QVariantMap marked;
            for (const char* column : {"FirstFlg", "PaymentFlg", "ReceiptFlg", "EvaluationFlg",
                                       "EndFlg", "ContactMethod", "EvaluationUnnecessary"})
                marked.insert(column, "x");
            for (int i = 1; i <= 3; ++i) {
                const QString n = QString::number(i);
                QVariantMap extra = marked;
                if (i == 2)
                    extra.insert({{"Forwarding", "F-22"}, {"Remarks", "取り置き"}});
                FixtureDb::addListing(db.db(), {.aid = "a" + n,
                                                .bidId = "b" + n,
                                                .loginId = seller,
                                                .title = "時計",
                                                .price = "2500",
                                                .index = i,
                                                .extra = extra});
            }
            FixtureDb::addBidder(db.db(), {.id = "b2", .name = "山田", .mail = "b2@example.jp"});
            FixtureDb::addMessage(
                db.db(),
                {.aid = "a2", .bidId = "b2", .number = 1, .read = true, .loginId = seller});
            FixtureDb::addMessage(db.db(), {.aid = "a2",
                                            .bidId = "b2",
                                            .number = 2,
                                            .loginId = seller,
                                            .message = unreadMessage});
            FixtureDb::addMessage(
                db.db(),
                {.aid = "a2", .bidId = "b2", .number = 3, .received = false, .loginId = seller});
            FixtureDb::insert(db.db(), "T_NaviTemplate",
                              {{"SaveName", "お礼"}, {"Message", "ありがとうございました"}});
            FixtureDb::addLogin(db.db(), seller, "password");
        }
        // Started as the program starts: the template keywords read the window then.
        navi = app->startProgram();
        navi->loginControl().updateLoginId();
        QCOMPARE(navi->loginId, seller);
        // The menus of stored templates are made once the window has been drawn.
        QTRY_VERIFY(!navi->MainMenuToolMailerSend->actions().isEmpty());
        navi->options.bidFlg = 1;
        navi->options.confirmationBidDownload = true;
        navi->options.confirmationNaviDownload = true;
        navi->bidInfoKeywords.name = {"氏名："};
        navi->PanelBidListFind->EditBidListFind->setText("時計");
        navi->ComboBoxLoginId->setEditText(seller);
        navi->EditLoginPassword->setText("password");
        navi->addLogMessage("開始");
        QGuiApplication::clipboard()->clear();
        app->dialogs().setDefault(Dialogs::Answer::Cancel);
        UrlOpener::setHandler([this](const QUrl& url) {
            openedUrls << url.toString(QUrl::RemoveQuery);
            return true;
        });
    }
    void cleanup()
    {
        UrlOpener::setHandler(nullptr);
        if (boardGate)
            boardGate->open();
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget != navi && widget->isVisible())
                widget->close();
        app.reset();
        boardGate.reset();
        modalsShown.clear();
        openedUrls.clear();
    }

    void commandReachesItsHandler_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Where>("where");
        QTest::addColumn<QString>("seen");
        QTest::addColumn<QString>("expected");
        for (const Command& command : commandTable())
            QTest::newRow(command.name)
                << QString::fromLatin1(command.name) << command.where
                << QString::fromLatin1(command.seen) << QString::fromUtf8(command.expected);
    }
    void commandReachesItsHandler()
    {
        QFETCH(QString, command);
        QFETCH(Where, where);
        QFETCH(QString, seen);
        QFETCH(QString, expected);
        enter(where);
        if (QTest::currentTestFailed())
            return;
        // A font size the command does not set, so that setting it shows.
        if (seen == "font")
            navi->setMessageFontSize(expected == "8" ? 16 : 8);
        QVERIFY2(!look(seen).contains(expected),
                 qPrintable(seen + " shows " + expected + " before the command"));
        run(command);
        if (QTest::currentTestFailed())
            return;
        QTRY_VERIFY2(look(seen).contains(expected),
                     qPrintable(seen + ": " + look(seen).join(" | ")));
    }

    // The table holds every item of the menu bar, the popup menus and the tool bars and every
    // command of the window, and nothing else.
    void everyItemIsInTheTable()
    {
        QStringList named;
        QStringList missing;
        for (QAction* top : navi->menuBar()->actions())
            walk(top->menu(), top->text(), named, missing);
        for (const QString& name : popupMenus) {
            const auto* menu = navi->findChild<QMenu*>(name);
            QVERIFY2(menu, qPrintable(name));
            walk(menu, name, named, missing);
        }
        // The main window's own bands; the panes' small bars hold no commands.
        const QList<QToolBar*> bars = navi->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly);
        QStringList barNames;
        for (const QToolBar* bar : bars)
            barNames << bar->objectName();
        barNames.sort();
        QCOMPARE(barNames, (QStringList{"PanelLogin", "ToolBarFlg", "ToolBarMain", "ToolBarNavi"}));
        for (QToolBar* bar : bars) {
            for (QAction* item : bar->actions()) {
                if (item->isSeparator())
                    continue;
                const QString where = bar->windowTitle() + " / " + item->iconText();
                auto* widgetItem = qobject_cast<QWidgetAction*>(item);
                if (!widgetItem) {
                    if (tableNames().contains(item->objectName()))
                        named << item->objectName();
                    else
                        missing << where;
                    continue;
                }
                auto* button = qobject_cast<QToolButton*>(widgetItem->defaultWidget());
                if (!button)
                    continue; // the login bar's fields
                if (button->menu())
                    walk(button->menu(), where, named, missing);
                // A button whose face only drops its menu runs nothing of its own.
                if (button->popupMode() == QToolButton::InstantPopup)
                    continue;
                if (tableNames().contains(button->objectName()))
                    named << button->objectName();
                else
                    missing << where;
            }
        }
        for (const QAction* command : std::as_const(navi->actions)) {
            if (tableNames().contains(command->objectName()))
                named << command->objectName();
            else
                missing << command->objectName();
        }
        QVERIFY2(missing.isEmpty(), qPrintable("not in the table:\n" + missing.join('\n')));
        QStringList unknown;
        for (const QString& name : tableNames())
            if (!named.contains(name))
                unknown << name;
        QVERIFY2(unknown.isEmpty(), qPrintable("in no menu or bar:\n" + unknown.join('\n')));
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
