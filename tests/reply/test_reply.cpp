// The reply composer on a real database under the main window: its openers, the transaction
// and message list, templates with their expansion, footer and errors, the log, the editing
// aids (quoting, dates, font sizes, wheel), its settings section and the close question.
#include "FixtureDb.h"
#include "MainWindowFixture.h"
#include "SelectionChecks.h"
#include "SitePages.h"
#include "common/CommonDefine.h"
#include "common/CommonRoutines.h"
#include "app/UnitNavi.h"
#include "compose/DateFormats.h"
#include "compose/KeywordError.h"
#include "compose/ReplyFontSizes.h"
#include "compose/ReplyLog.h"
#include "compose/TemplateStore.h"
#include "compose/UnitEvaluation.h"
#include "compose/UnitReply.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"
#include "site/html.h"
#include "views/ListingTab.h"
#include "views/NaviFolderList.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/MemoText.h"
#include "views/NaviListItem.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QWheelEvent>

#include <memory>

namespace {

const QString seller = QStringLiteral("seller");
const QString winner = QStringLiteral("buyer01");

void turnWheel(QWidget* target, int distance, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF at(10, 10);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, distance), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

QStringList columnTexts(QTreeWidget* list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

QAction* itemOf(QMenu* menu, const QString& text)
{
    for (QAction* item : menu->actions())
        if (item->text() == text || item->toolTip() == text)
            return item;
    return nullptr;
}

QTreeWidgetItem* treeNode(QTreeWidget* tree, const QString& group, const QString& text)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = tree->topLevelItem(i);
        if (top->text(0) != group)
            continue;
        for (int j = 0; j < top->childCount(); ++j)
            if (top->child(j)->text(0) == text)
                return top->child(j);
    }
    return nullptr;
}

// A double click as the mouse makes it: a click, then the second press.
void doubleClick(QWidget* viewport, const QPoint& at)
{
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
}

void placeCaret(QPlainTextEdit* memo, int start, int end)
{
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    memo->setTextCursor(cursor);
}

} // namespace

class TestReply : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;

    QSqlDatabase db() const { return navi->connection; }
    IniFile ini() const { return IniFile(CommonDefine::settingIniPath()); }

    void addTemplate(const QString& name, int subject, const QString& message, int sortNumber = 0,
                     const QVariantMap& flags = {})
    {
        QVariantMap columns = {{"SaveName", name},
                               {"Subject", subject},
                               {"Message", message},
                               {"SortNumber", sortNumber}};
        for (auto it = flags.begin(); it != flags.end(); ++it)
            columns.insert(it.key(), it.value());
        FixtureDb::insert(db(), "T_NaviTemplate", columns);
    }

    // The transaction that the templates are expanded for.
    void addListing(const QString& aid = "a1")
    {
        FixtureDb::addListing(db(), {.aid = aid, .bidId = winner, .title = "時計"});
    }

    TFormReply* open(const QString& aid, bool reply = false, int number = -1,
                     const QString& bidId = winner, const QString& title = "時計")
    {
        ReplyTarget target;
        target.title = title;
        target.aid = aid;
        target.bidId = bidId;
        target.loginId = navi->loginId;
        target.isReply = reply;
        target.replyNumber = number;
        TFormReply* form = navi->openReplyComposer(target);
        if (!QTest::qWaitForWindowExposed(form))
            qWarning("composer not exposed");
        if (!reply)
            form->setNewMessageCaption();
        return form;
    }

    QList<TFormReply*> composers() const
    {
        QList<TFormReply*> found;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<TFormReply*>(widget))
                found << form;
        return found;
    }

    QString messageText(TFormReply* form) const { return MemoText::get(form->MemoMessage); }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        html::setDefaultTimeout(5000);
        SitePages::serveAccount(app->site(), seller);
        navi = app->startProgram();
        QTRY_COMPARE(navi->loginId, seller);
    }
    void cleanup()
    {
        for (TFormReply* form : composers()) {
            form->sending = false;
            form->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        app.reset();
    }

    // ---- Openers ----

    void newMessageOpenerFillsTheComposerFromTheListingRow()
    {
        FixtureDb::addListing(db(), {.aid = "a1", .bidId = winner, .title = "時計"});
        FixtureDb::addBidder(db(), {.id = winner, .name = "山田"});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        QCOMPARE(navi->ListViewBid->topLevelItemCount(), 1);
        QVERIFY(navi->ActionNaviMake->isEnabled());
        QVERIFY(navi->ActionNaviMake->property("wired").toBool());
        navi->ActionNaviMake->trigger();
        QVERIFY(composers().isEmpty()); // no row selected

        navi->ListViewBid->topLevelItem(0)->setSelected(true);
        navi->ActionNaviMake->trigger();
        QCOMPARE(composers().size(), 1);
        TFormReply* form = composers().first();
        QCOMPARE(form->windowTitle(), QString("投稿：時計"));
        QVERIFY(!form->isReply);
        QCOMPARE(form->replyNumber, -1);
        QCOMPARE(form->loginId, seller);
        QCOMPARE(form->EditAid->text(), QString("a1"));
        QCOMPARE(form->EditTitle->text(), QString("時計"));
        QCOMPARE(form->EditBidId->text(), winner);
        QCOMPARE(form->EditBidName->text(), QString("山田"));
        QVERIFY(!form->parentWidget());
        QVERIFY(form->testAttribute(Qt::WA_DeleteOnClose));
    }

    void replyOpenerTakesTheWholeMessageFromTheFolderList()
    {
        const QString longText = QString("長い本文").repeated(100) + "\r\n最後の行";
        FixtureDb::addListing(db(), {.aid = "a1", .bidId = winner, .title = "時計"});
        FixtureDb::addBidder(db(), {.id = winner, .name = "山田"});
        FixtureDb::addMessage(db(),
                              {.aid = "a1", .bidId = winner, .number = 4, .message = longText});
        navi->PageControlMain->setCurrentIndex(1);
        navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "000"));
        QCOMPARE(navi->ListViewNavi->rowCount(), 1);
        navi->ListViewNavi->setRowSelected(0, true);
        QAction* reply = navi->action("ActionNaviReply");
        QVERIFY(reply->isEnabled());
        reply->trigger();

        QCOMPARE(composers().size(), 1);
        TFormReply* form = composers().first();
        QCOMPARE(form->windowTitle(), QString("返信：時計"));
        QVERIFY(form->isReply);
        QCOMPARE(form->replyNumber, 4);
        QCOMPARE(form->EditAid->text(), QString("a1"));
        QCOMPARE(form->EditBidId->text(), winner);
        QCOMPARE(form->EditBidName->text(), QString("山田"));
        QCOMPARE(MemoText::get(form->MemoReplyMessage), longText);
        NaviListItem* selected = NaviListItem::of(form->ListViewNavi->currentItem());
        QVERIFY(selected && selected->isSelected());
        QCOMPARE(selected->row().number, QString("4"));
    }

    void replyOpenerOnTheListingTabTakesTheWriterAndTheListingRow()
    {
        FixtureDb::addListing(db(), {.aid = "a1", .bidId = winner, .title = "時計"});
        FixtureDb::addBidder(db(), {.id = winner, .name = "山田"});
        FixtureDb::addMessage(db(),
                              {.aid = "a1", .bidId = winner, .number = 2, .message = "本文2"});
        navi->listingTab().ToolButtonBidSearchSearchClick();
        navi->PanelBidNavi->show();
        navi->ListViewBid->setCurrentItem(navi->ListViewBid->topLevelItem(0));
        QTRY_COMPARE(navi->ListViewBidNavi->topLevelItemCount(), 1);
        navi->ListViewBidNavi->setCurrentItem(navi->ListViewBidNavi->topLevelItem(0));
        QVERIFY(navi->action("ActionNaviReply")->isEnabled());
        navi->action("ActionNaviReply")->trigger();
        QCOMPARE(composers().size(), 1);
        TFormReply* form = composers().first();
        QCOMPARE(form->windowTitle(), QString("返信：時計"));
        QCOMPARE(form->bidId, winner);
        QCOMPARE(form->EditBidName->text(), QString("山田"));
        QCOMPARE(form->replyNumber, 2);
        QCOMPARE(MemoText::get(form->MemoReplyMessage), QString("本文2"));
    }

    // ---- Transaction and message list ----

    void replyToAMessageThatSortsToTheMiddle()
    {
        QList<FixtureDb::Message> messages;
        for (int n = 1; n <= 60; ++n)
            messages << FixtureDb::Message{.aid = "a1",
                                           .bidId = winner,
                                           .number = n,
                                           .received = n % 3 != 0,
                                           .message = QString("本文%1\r\n二行目").arg(n)};
        messages << FixtureDb::Message{.aid = "a1", .bidId = "other", .number = 1};
        messages << FixtureDb::Message{
            .aid = "a1", .bidId = winner, .number = 61, .loginId = "another"};
        messages << FixtureDb::Message{.aid = "a2", .bidId = winner, .number = 62};
        FixtureDb::addMessages(db(), messages);
        {
            IniFile file = ini();
            file.writeInteger("ReplyWindow", "SortColumnBidNavi", 2);
            file.writeInteger("ReplyWindow", "NaviPanel", 1);
        }
        TFormReply* form = open("a1", true, 30);
        QCOMPARE(form->ListViewNavi->topLevelItemCount(), 61);
        NaviListItem* selected = NaviListItem::of(form->ListViewNavi->currentItem());
        QVERIFY(selected && selected->isSelected());
        QCOMPARE(selected->row().number, QString("30"));
        QCOMPARE(form->ListViewNavi->selectedItems().size(), 1);
        QCOMPARE(form->ListViewNavi->indexOfTopLevelItem(selected), 30); // "other" has No 1 too
        QTRY_VERIFY(form->ListViewNavi->viewport()->rect().intersects(
            form->ListViewNavi->visualItemRect(selected)));
        QCOMPARE(MemoText::get(form->MemoReplyMessage), QString("本文30\r\n二行目"));
        QCOMPARE(selected->picture(), NaviPicture::sentTransaction);
    }

    void newMessageOnAListingWithoutMessages()
    {
        FixtureDb::addMessage(db(), {.aid = "other", .bidId = winner});
        TFormReply* form = open("a1");
        QCOMPARE(form->windowTitle(), QString("投稿：時計"));
        QCOMPARE(form->ListViewNavi->topLevelItemCount(), 0);
        QVERIFY(form->ListViewNavi->selectedItems().isEmpty());
        QVERIFY(form->MemoReplyMessage->toPlainText().isEmpty());
        // A new message keeps the message panel hidden unless asked for.
        QVERIFY(!form->PanelNaviList->isVisible());
        QVERIFY(!form->ToolButtonMainBidNaviFontSize->isEnabled());
        QVERIFY(!form->MainMenuBidNaviFontSize->isEnabled());
        form->ActionShowNaviPanel->setChecked(true);
        QVERIFY(form->PanelNaviList->isVisible());
        QVERIFY(form->MainMenuBidNaviFontSize->isEnabled());
    }

    void newMessageSelectsTheFirstRow()
    {
        FixtureDb::addMessage(db(), {.aid = "a1", .bidId = winner, .number = 5, .message = "五"});
        FixtureDb::addMessage(db(), {.aid = "a1", .bidId = winner, .number = 7, .message = "七"});
        ini().writeInteger("ReplyWindow", "SortColumnBidNavi", 2);
        ini().writeInteger("ReplyWindow", "SortTypeNavi", 1);
        TFormReply* form = open("a1");
        QCOMPARE(columnTexts(form->ListViewNavi, 2), QStringList({"7", "5"}));
        QVERIFY(form->ListViewNavi->topLevelItem(0)->isSelected());
        QCOMPARE(MemoText::get(form->MemoReplyMessage), QString("七"));
    }

    void flagPanelsAndPriceComeFromTheTransactionRow()
    {
        // The auction id holds a quote: the values are bound, not pasted into the statement.
        FixtureDb::addListing(
            db(), {.aid = "a'1",
                   .bidId = winner,
                   .price = "12,000",
                   .extra = {{"FirstFlg", "●"}, {"PaymentFlg", "12/01"}, {"EvaluationFlg", "x"}}});
        FixtureDb::addListing(db(), {.aid = "a'1", .bidId = "other", .extra = {{"EndFlg", "●"}}});
        TFormReply* form = open("a'1");
        QCOMPARE(form->EditPrice->text(), QString("12,000"));
        const QStringList expected = {"住所：●", "入金：●", "発送：", "評価：●", "終了："};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(form->statusPanels[i + 1]->text(), expected[i]);
        QVERIFY(form->statusPanels[6]->text().isEmpty());
    }

    void sortingByNumberComparesNumbers()
    {
        for (const QString& number : {"10", "2", ""})
            FixtureDb::insert(db(), "T_Navi",
                              {{"Aid", "a1"},
                               {"BidId", winner},
                               {"LoginId", seller},
                               {"Number", number},
                               {"RecFlg", 1}});
        ini().writeInteger("ReplyWindow", "NaviPanel", 1);
        TFormReply* form = open("a1", true, 2);
        form->ListViewNaviColumnClick(2);
        QCOMPARE(form->sortType, 0);
        QCOMPARE(columnTexts(form->ListViewNavi, 2), QStringList({"", "2", "10"}));
        form->ListViewNavi->header()->sectionClicked(2);
        QCOMPARE(form->sortType, 1);
        QCOMPARE(columnTexts(form->ListViewNavi, 2), QStringList({"10", "2", ""}));
        form->close();
        QCOMPARE(ini().readInteger("ReplyWindow", "SortColumnBidNavi", -1), 2);
        QCOMPARE(ini().readInteger("ReplyWindow", "SortTypeNavi", -1), 1);
    }

    // ---- Templates ----

    void applyingATemplateFillsSubjectTextAndFlags()
    {
        ini().writeBool("Setting", "PrInsert", false);
        FixtureDb::addListing(db(), {.aid = "a1", .bidId = winner, .title = "時計"});
        addTemplate("お礼", 3, "%id% 様\r\n%title% を発送しました", 0,
                    {{"FirstFlg", 1}, {"ReceiptFlg", 1}});
        TFormReply* form = open("a1");
        form->MemoMessage->setPlainText("書きかけ");
        form->RadioButtonSubjectFirst->setChecked(true);
        form->CheckBoxFlgEnd->setChecked(true);
        form->CheckBoxFlgPluralUpdate->setChecked(true);
        form->addLog("古い行");

        QAction* item = itemOf(form->MainMenuTemplate, "お礼");
        QVERIFY(item);
        item->trigger();
        QCOMPARE(messageText(form), winner + " 様\r\n時計 を発送しました");
        QVERIFY(form->RadioButtonSubjectReceipt->isChecked());
        QVERIFY(!form->RadioButtonSubjectFirst->isChecked());
        QCOMPARE(form->subject(), 3);
        const bool expected[5] = {true, false, true, false, false};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(form->flagBox(i)->isChecked(), expected[i]);
        QVERIFY(form->CheckBoxFlgPluralUpdate->isChecked());
        QCOMPARE(form->ListBoxMessage->count(), 0);
        QVERIFY(!form->templates()->queryTemplateByName.isActive());
        QCOMPARE(form->statusPanels[0]->text(),
                 QString("文字数：%1").arg(countChars(messageText(form))));
    }

    void footerRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("prInsert");
        QTest::addColumn<bool>("footer");
        QTest::newRow("700 single-byte") << QString(700, 'a') << true << true;
        QTest::newRow("700 double-byte") << QString("あ").repeated(700) << true << true;
        QTest::newRow("698 and a line break")
            << QString(349, 'a') + "\r\n" + QString(349, 'b') << true << true;
        QTest::newRow("701") << QString(701, 'a') << true << false;
        QTest::newRow("699 and a line break") << QString(699, 'a') + "\r\n" << true << false;
        QTest::newRow("700 without PrInsert") << QString(700, 'a') << false << false;
    }
    void footerRule()
    {
        QFETCH(QString, text);
        QFETCH(bool, prInsert);
        QFETCH(bool, footer);
        ini().writeBool("Setting", "PrInsert", prInsert);
        addListing();
        addTemplate("T", 1, text);
        TFormReply* form = open("a1");
        form->applyTemplate("T");
        QCOMPARE(messageText(form), footer ? text + CommonDefine::prFooterText() : text);
    }

    void unfillablePlaceholdersGoToTheLog_data()
    {
        QTest::addColumn<bool>("box");
        QTest::newRow("log only") << false;
        QTest::newRow("log and box") << true;
    }
    void unfillablePlaceholdersGoToTheLog()
    {
        QFETCH(bool, box);
        ini().writeBool("Setting", "PrInsert", false);
        navi->options.naviKeywordErrorMsg = box;
        FixtureDb::addListing(db(), {.aid = "a1", .bidId = winner});
        addTemplate("送料", 1, "送料は%carriage%円です。\r\n再掲：%carriage%");
        TFormReply* form = open("a1");
        app->dialogs().clear();
        form->applyTemplate("送料");
        const QString line = QStringLiteral("%carriage%(送料)が変換できませんでした。");
        QCOMPARE(form->logLines(), QStringList({line}));
        QCOMPARE(messageText(form), QString("送料は%carriage%円です。\r\n再掲：%carriage%"));
        QCOMPARE(app->dialogs().requests().size(), box ? 1 : 0);
        if (box) {
            QCOMPARE(app->dialogs().requests().first().kind, Dialogs::Kind::Error);
            QCOMPARE(app->dialogs().requests().first().caption, QString("キーワード変換エラー"));
            QCOMPARE(app->dialogs().requests().first().text, line + "\n\r");
        }

        // Double clicks on the line walk the places of the placeholder and wrap once.
        const int first = int(form->MemoMessage->toPlainText().indexOf("%carriage%"));
        const int second = int(form->MemoMessage->toPlainText().lastIndexOf("%carriage%"));
        QListWidgetItem* item = form->ListBoxMessage->item(0);
        form->ListBoxMessage->setCurrentItem(item);
        const QList<int> expected = {first, second, first};
        for (int at : expected) {
            const QRect rect = form->ListBoxMessage->visualItemRect(item);
            doubleClick(form->ListBoxMessage->viewport(), rect.center());
            const QTextCursor cursor = form->MemoMessage->textCursor();
            QCOMPARE(cursor.selectionStart(), at);
            QCOMPARE(cursor.selectedText(), QString("%carriage%"));
        }
    }

    void anExpansionErrorChangesNothing()
    {
        addListing();
        addTemplate("計算", 2, "合計%CALC%1/0%/CALC%円", 0, {{"EndFlg", 1}});
        TFormReply* form = open("a1");
        form->MemoMessage->setPlainText("書きかけ");
        form->RadioButtonSubjectOthers->setChecked(true);
        form->CheckBoxFlgFirst->setChecked(true);
        form->addLog("前の行");
        QVERIFY_THROWS_EXCEPTION(KeywordError, form->applyTemplate("計算"));
        QCOMPARE(messageText(form), QString("書きかけ"));
        QVERIFY(form->RadioButtonSubjectOthers->isChecked());
        QVERIFY(form->CheckBoxFlgFirst->isChecked());
        QVERIFY(!form->CheckBoxFlgEnd->isChecked());
        QCOMPARE(form->logLines(), QStringList({"前の行"}));
        QVERIFY(!form->templates()->queryTemplateByName.isActive());
        QVERIFY_THROWS_EXCEPTION(KeywordError, form->insertTemplate("計算"));
        QCOMPARE(messageText(form), QString("書きかけ"));
        QVERIFY(!form->templates()->queryTemplateByName.isActive());
    }

    void itemsAreInsertedAtTheCaret_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("inserted");
        QTest::newRow("template insert") << "template" << QString("ID:") + winner + "\r\n次";
        QTest::newRow("seller menu") << "sellerMenu" << QString("東京都千代田区");
        QTest::newRow("seller node") << "sellerNode" << QString("はなこ");
        QTest::newRow("winner node") << "winnerNode" << QString("山田 太郎");
        QTest::newRow("winner id") << "winnerId" << winner;
    }
    void itemsAreInsertedAtTheCaret()
    {
        QFETCH(QString, how);
        QFETCH(QString, inserted);
        FixtureDb::insert(
            db(), "T_PersonalData",
            {{"Name", "花子"}, {"NamePhonetic", "はなこ"}, {"Address1", "東京都千代田区"}});
        FixtureDb::addBidder(db(), {.id = winner, .name = "山田 太郎"});
        addListing();
        addTemplate("挿入", 4, "ID:%id%\r\n次", 0, {{"EndFlg", 1}});
        TFormReply* form = open("a1");
        form->MemoMessage->setPlainText("前XX後");
        placeCaret(form->MemoMessage, 1, 3);
        if (how == "template") {
            itemOf(form->MainMenuTemplateInsert, "挿入")->trigger();
        } else if (how == "sellerMenu") {
            itemOf(form->MainMenuPersonal, "住所(&A)")->trigger();
        } else {
            const QString group = how == "sellerNode" ? "個人設定" : "落札者情報";
            const QString label = how == "sellerNode"   ? "なまえ"
                                  : how == "winnerNode" ? "氏名"
                                                        : "ID";
            QTreeWidgetItem* node = treeNode(form->TreeViewTemplate, group, label);
            QVERIFY(node);
            form->TreeViewTemplate->scrollToItem(node);
            doubleClick(form->TreeViewTemplate->viewport(),
                        form->TreeViewTemplate->visualItemRect(node).center());
        }
        QCOMPARE(messageText(form), "前" + inserted + "後");
        QCOMPARE(form->subject(), 0);
        QVERIFY(!form->CheckBoxFlgEnd->isChecked());
    }

    void treeActivation_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("singleApplies");
        QTest::newRow("single click") << 0 << true;
        QTest::newRow("double click") << 1 << false;
    }
    void treeActivation()
    {
        QFETCH(int, operation);
        QFETCH(bool, singleApplies);
        ini().writeBool("Setting", "PrInsert", false);
        navi->options.operationNaviTemplateTree = operation;
        addListing();
        addTemplate("A", 1, "テンプレートA");
        TFormReply* form = open("a1");
        QTreeWidgetItem* node = treeNode(form->TreeViewTemplate, "テンプレート", "A");
        QVERIFY(node);
        const QPoint at = form->TreeViewTemplate->visualItemRect(node).center();
        QTest::mouseClick(form->TreeViewTemplate->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(messageText(form), singleApplies ? QString("テンプレートA") : QString());
        form->MemoMessage->clear();
        doubleClick(form->TreeViewTemplate->viewport(), at);
        QCOMPARE(messageText(form), QString("テンプレートA"));
        // A group node does nothing.
        form->MemoMessage->clear();
        QTreeWidgetItem* group = form->TreeViewTemplate->topLevelItem(1);
        doubleClick(form->TreeViewTemplate->viewport(),
                    form->TreeViewTemplate->visualItemRect(group).center());
        QVERIFY(messageText(form).isEmpty());
    }

    void templateMenusAndTreeListTheTemplatesInOrder()
    {
        addTemplate("二番", 1, "x", 1);
        addTemplate("一番", 1, "x", 0);
        TFormReply* form = open("a1");
        QStringList names;
        for (QAction* item : form->MainMenuTemplate->actions())
            names << item->toolTip();
        QCOMPARE(names, QStringList({"一番", "二番"}));
        QCOMPARE(form->MainMenuTemplateInsert->actions().size(), 2);
        QStringList groups;
        for (int i = 0; i < form->TreeViewTemplate->topLevelItemCount(); ++i)
            groups << form->TreeViewTemplate->topLevelItem(i)->text(0) + ":" +
                          QString::number(form->TreeViewTemplate->topLevelItem(i)->childCount());
        QCOMPARE(groups, QStringList({"テンプレート:2", "個人設定:6", "落札者情報:6"}));
        QCOMPARE(form->TreeViewTemplate->currentItem(), form->TreeViewTemplate->topLevelItem(0));
        QVERIFY(form->TreeViewTemplate->topLevelItem(2)->isExpanded());
    }

    // ---- Log ----

    void logTextsBecomeLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("one line") << "送信しました" << QStringList{"送信しました"};
        QTest::newRow("plain text keeps blanks") << "a b,c" << QStringList{"a b,c"};
        QTest::newRow("error lines")
            << "%a%(x)が変換できませんでした。\n\r%b%(y)が変換できませんでした。\n\r"
            << QStringList{"%a%(x)が変換できませんでした。", "%b%(y)が変換できませんでした。"};
        QTest::newRow("commas and blanks")
            << "a,b c\n\r,d,,e," << QStringList{"a", "b", "c", "d", "", "e", ""};
        QTest::newRow("quoted part") << "\"x, y\"\"z\" w\n\r" << QStringList{"x, y\"z", "w"};
    }
    void logTextsBecomeLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(ReplyLog::lines(text), lines);
        TFormReply* form = open("a1");
        form->addLog(text);
        QCOMPARE(form->logLines(), lines);
    }

    void placeholderSearch_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("found");
        const QString text = "ab%x%cd%x%";
        QTest::newRow("from the start") << "%x%(x)" << 0 << 2;
        QTest::newRow("after the first") << "%x%(x)" << 5 << 7;
        QTest::newRow("wraps once") << "%x%(x)" << 10 << 2;
        QTest::newRow("not there") << "%y%(y)" << 3 << -1;
        QTest::newRow("no percent sign") << "送信しました" << 0 << -1;
    }
    void placeholderSearch()
    {
        QFETCH(QString, line);
        QFETCH(int, from);
        QFETCH(int, found);
        const QString placeholder = ReplyLog::placeholderOf(line);
        QCOMPARE(ReplyLog::findPlaceholder("ab%x%cd%x%", placeholder, from), found);
    }

    // ---- Settings ----

    void messagePanelHeightAndTheSectionWrittenBack()
    {
        {
            IniFile file = ini();
            file.writeInteger("ReplyWindow", "ReplyMessageHeight", 30);
            file.writeBool("ReplyWindow", "FlgPluralUpdate", true);
            file.writeBool("ReplyWindow", "TreeViewTemplate", false);
            file.writeInteger("ReplyWindow", "DateFormat", 4);
            file.writeInteger("ReplyWindow", "Width", 800);
        }
        TFormReply* form = open("a1", true, -1);
        QTRY_COMPARE(form->PanelNaviList->height(), 50);
        QVERIFY(form->CheckBoxFlgPluralUpdate->isChecked());
        QVERIFY(!form->PanelBottomLeft->isVisible());
        QVERIFY(!form->ActionShowTemplateTree->isChecked());
        QCOMPARE(form->DateTimePicker->displayFormat(), QString("yyyy/M/d"));
        form->CheckBoxFlgPluralUpdate->setChecked(false);
        form->ActionShowTemplateTree->setChecked(true);
        QPointer<TFormReply> guard(form);
        const int saves = IniFile::saveCount();
        form->ActionClose->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
        // The whole section is one write of the file.
        QCOMPARE(IniFile::saveCount() - saves, 1);

        const IniFile file = ini();
        QCOMPARE(file.readInteger("ReplyWindow", "ReplyMessageHeight", -1), 50);
        QCOMPARE(file.readBool("ReplyWindow", "FlgPluralUpdate", true), false);
        QCOMPARE(file.readBool("ReplyWindow", "TreeViewTemplate", false), true);
        QCOMPARE(file.readInteger("ReplyWindow", "DateFormat", -1), 4);
        QCOMPARE(file.readInteger("ReplyWindow", "Width", -1), 800);
        QCOMPARE(file.readInteger("ReplyWindow", "WindowState", -1), 0);
        for (const char* key :
             {"TreeViewTemplateWidht", "CoolBarIndex0", "CoolBarIndex1", "CoolBarBreak0",
              "CoolBarWidth1", "NaviPanel", "ListViewNaviColWidth5", "ListViewNaviWidth",
              "SortColumnBidNavi", "SortTypeNavi"})
            QVERIFY2(file.valueExists("ReplyWindow", key), key);
        QCOMPARE(file.readInteger("ReplyWindow", "CoolBarIndex0", -1), 0);
        QCOMPARE(file.readInteger("ReplyWindow", "CoolBarIndex1", -1), 1);
    }

    void bandsFollowTheirStoredPositions()
    {
        {
            IniFile file = ini();
            file.writeInteger("ReplyWindow", "CoolBarIndex0", 1);
            file.writeInteger("ReplyWindow", "CoolBarIndex1", 0);
            file.writeBool("ReplyWindow", "CoolBarBreak0", true);
        }
        TFormReply* form = open("a1");
        QTRY_VERIFY(form->ToolBarMain->geometry().top() > form->ToolBarDate->geometry().top());
        QVERIFY(form->toolBarBreak(form->ToolBarMain));
        form->close();
        const IniFile file = ini();
        QCOMPARE(file.readInteger("ReplyWindow", "CoolBarIndex0", -1), 1);
        QCOMPARE(file.readInteger("ReplyWindow", "CoolBarIndex1", -1), 0);
        QCOMPARE(file.readBool("ReplyWindow", "CoolBarBreak0", false), true);
    }

    // ---- Editing aids ----

    void quoting_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("expected");
        // The replied text "一行目\r\n二行目\r\n三行目"; the message "前XX後", "XX" selected.
        QTest::newRow("two lines") << "quote" << 0 << 7 << "前＞ 一行目\r\n＞ 二行目後";
        QTest::newRow("nothing selected") << "quote" << 2 << 2 << "前＞ 後";
        QTest::newRow("without marks") << "plain" << 4 << 11 << "前二行目\r\n三行目後";
    }
    void quoting()
    {
        QFETCH(QString, command);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, expected);
        TFormReply* form = open("a1");
        MemoText::set(form->MemoReplyMessage, "一行目\r\n二行目\r\n三行目");
        placeCaret(form->MemoReplyMessage, start, end);
        form->MemoMessage->setPlainText("前XX後");
        placeCaret(form->MemoMessage, 1, 3);
        (command == "quote" ? form->PopupMenuQuote : form->PopupMenuQuoteNoMark)->trigger();
        QCOMPARE(messageText(form), expected);
    }

    void copyAndSelectAllOfTheRepliedText()
    {
        TFormReply* form = open("a1");
        MemoText::set(form->MemoReplyMessage, "一行目\r\n二行目");
        placeCaret(form->MemoReplyMessage, 0, 7);
        form->PopupMenuCopy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("一行目\n二行目"));
        QCOMPARE(form->PopupMenuReplyMessage->actions().size(), 5);
        form->PopupMenuAllSelect->trigger();
        QCOMPARE(form->MemoReplyMessage->textCursor().selectedText().size(), 7);
    }

    void dateCaptionsOfAFixedDay_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << "5/9";
        QTest::newRow("1") << 1 << "5/9（土）";
        QTest::newRow("2") << 2 << "5月9日";
        QTest::newRow("3") << 3 << "5月9日（土）";
        QTest::newRow("4") << 4 << "2009/5/9";
        QTest::newRow("5") << 5 << "2009年5月9日（土）";
    }
    void dateCaptionsOfAFixedDay()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        const QDate day(2009, 5, 9);
        QCOMPARE(DateFormats::format(day, index), text);
        QCOMPARE(DateFormats::caption(day, index), text + "\t(&" + QString::number(index) + ")");
    }

    void dateFormatMenuAndInsert()
    {
        ini().writeInteger("ReplyWindow", "DateFormat", 1);
        TFormReply* form = open("a1");
        const QList<QAction*> items = form->PopupMenuDateFormat->actions();
        QCOMPARE(items.size(), 6);
        QCOMPARE(form->DateTimePicker->date(), QDate::currentDate());
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(items[i]->toolTip(), DateFormats::patterns()[i]);
            QCOMPARE(items[i]->isChecked(), i == 1);
        }
        items[3]->trigger();
        for (int i = 0; i < 6; ++i)
            QCOMPARE(items[i]->isChecked(), i == 3);
        form->DateTimePicker->setDate(QDate(2009, 5, 9));
        form->MemoMessage->setPlainText("日付：");
        form->MemoMessage->moveCursor(QTextCursor::End);
        form->ActionDateInsert->trigger();
        QCOMPARE(messageText(form), QString("日付：5月9日（土）"));
        form->close();
        QCOMPARE(ini().readInteger("ReplyWindow", "DateFormat", -1), 3);
    }

    void calendarCloseUp_data()
    {
        QTest::addColumn<QDate>("chosen");
        QTest::addColumn<QString>("expected");
        QTest::newRow("another day") << QDate(2009, 5, 9) << "5月9日（土）";
        QTest::newRow("the same day") << QDate(2009, 5, 1) << "";
    }
    void calendarCloseUp()
    {
        QFETCH(QDate, chosen);
        QFETCH(QString, expected);
        ini().writeInteger("ReplyWindow", "DateFormat", 3);
        TFormReply* form = open("a1");
        QDateEdit* picker = form->DateTimePicker;
        picker->setDate(QDate(2009, 5, 1));
        QCalendarWidget* calendar = picker->calendarWidget();
        QWidget* popup = calendar->window();
        QTest::mouseClick(picker, Qt::LeftButton, {},
                          QPoint(picker->width() - 6, picker->height() / 2));
        QTRY_VERIFY(popup->isVisible());
        calendar->setSelectedDate(chosen);
        QTest::keyClick(calendar->findChild<QAbstractItemView*>(), Qt::Key_Return);
        QTRY_VERIFY(!popup->isVisible());
        QCOMPARE(picker->date(), chosen);
        QCOMPARE(messageText(form), expected);
    }

    void fontSizeMenus()
    {
        navi->setMessageFontSize(14);
        TFormReply* form = open("a1");
        QCOMPARE(form->MemoMessage->font().pointSize(), 14);
        QCOMPARE(form->MemoReplyMessage->font().pointSize(), 14);
        for (QMenu* menu : {form->MainMenuNaviFontSize, form->MainMenuBidNaviFontSize,
                            form->PopupMenuNaviFontSize, form->PopupMenuBidNaviFontSize}) {
            QCOMPARE(menu->actions().size(), 16);
            QCOMPARE(menu->actions().first()->text(), QString("8\t(&0)"));
            QCOMPARE(menu->actions().last()->text(), QString("72\t(&f)"));
            QCOMPARE(menu->actions().last()->toolTip(), QString("72"));
        }
        itemOf(form->MainMenuNaviFontSize, "72")->trigger();
        QCOMPARE(form->MemoMessage->font().pointSize(), 72);
        QCOMPARE(form->MemoReplyMessage->font().pointSize(), 14);
        itemOf(form->PopupMenuBidNaviFontSize, "9")->trigger();
        QCOMPARE(form->MemoReplyMessage->font().pointSize(), 9);
        QCOMPARE(form->MemoMessage->font().pointSize(), 72);
        QCOMPARE(form->ToolButtonMainNaviFontSize->menu(), form->PopupMenuNaviFontSize);
        QCOMPARE(form->ToolButtonMainNaviFontSize->popupMode(), QToolButton::InstantPopup);

        TFormReply* later = open("a1");
        QCOMPARE(later->MemoMessage->font().pointSize(), 14);
    }

    void mouseWheel()
    {
        TFormReply* form = open("a1");
        itemOf(form->MainMenuNaviFontSize, "72")->trigger();
        turnWheel(form->MemoMessage->viewport(), -120, Qt::ControlModifier);
        QCOMPARE(form->MemoMessage->font().pointSize(), 72);
        turnWheel(form->MemoMessage->viewport(), 120, Qt::ControlModifier);
        QCOMPARE(form->MemoMessage->font().pointSize(), 70);
        itemOf(form->MainMenuBidNaviFontSize, "8")->trigger();
        turnWheel(form->MemoReplyMessage->viewport(), 120, Qt::ControlModifier);
        turnWheel(form->MemoReplyMessage->viewport(), 120, Qt::ControlModifier);
        QCOMPARE(form->MemoReplyMessage->font().pointSize(), 4);
        turnWheel(form->MemoReplyMessage->viewport(), 120, Qt::ControlModifier);
        QCOMPARE(form->MemoReplyMessage->font().pointSize(), 4);

        // Without Ctrl, and with Ctrl over the tree, the control scrolls three lines.
        form->resize(900, 600);
        QStringList many;
        for (int i = 0; i < 200; ++i)
            many << QString("行%1").arg(i);
        addTemplate("x", 1, "x");
        form->MemoMessage->setPlainText(many.join("\n"));
        QScrollBar* bar = form->MemoMessage->verticalScrollBar();
        bar->setValue(0);
        turnWheel(form->MemoMessage->viewport(), -120);
        QCOMPARE(bar->value(), 3 * bar->singleStep());
        for (int i = 0; i < 30; ++i)
            new QTreeWidgetItem(form->TreeViewTemplate->topLevelItem(0), {QString::number(i)});
        form->TreeViewTemplate->expandAll();
        QScrollBar* treeBar = form->TreeViewTemplate->verticalScrollBar();
        QTRY_VERIFY(treeBar->maximum() > 3);
        treeBar->setValue(0);
        const int fontBefore = form->TreeViewTemplate->font().pointSize();
        turnWheel(form->TreeViewTemplate->viewport(), -120, Qt::ControlModifier);
        QCOMPARE(treeBar->value(), 3 * treeBar->singleStep());
        QCOMPARE(form->TreeViewTemplate->font().pointSize(), fontBefore);

        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(form->TreeViewTemplate, &enter);
        QCOMPARE(form->hoverHandle(), static_cast<QWidget*>(form->TreeViewTemplate));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(form->TreeViewTemplate, &leave);
        QVERIFY(!form->hoverHandle());
    }

    void wheelStepAndFontCaptions_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("towardsUser");
        QTest::addColumn<int>("next");
        QTest::newRow("larger") << 12 << true << 14;
        QTest::newRow("at 72") << 72 << true << 72;
        QTest::newRow("above 72") << 73 << true << 73;
        QTest::newRow("smaller") << 12 << false << 10;
        QTest::newRow("at 4") << 4 << false << 4;
        QTest::newRow("5 gives 3") << 5 << false << 3;
    }
    void wheelStepAndFontCaptions()
    {
        QFETCH(int, points);
        QFETCH(bool, towardsUser);
        QFETCH(int, next);
        QCOMPARE(ReplyFontSizes::wheelStep(points, towardsUser), next);
    }

    void informationFieldsSelectAllOnCtrlClick()
    {
        TFormReply* form = open("a1");
        form->EditTitle->setText("長い商品名");
        QTest::mouseClick(form->EditTitle, Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
        QCOMPARE(form->EditTitle->selectedText(), QString("長い商品名"));
    }


    void everyInformationFieldSelectsAllOnCtrlClickAndCtrlASelectsTheFocusedText()
    {
        TFormReply* form = open("a1");
        SelectionChecks::ctrlClickSelectsEach({form->EditAid, form->EditTitle, form->EditPrice,
                                               form->EditBidId, form->EditBidName});
        SelectionChecks::selectAllActsOnTheFocusedText(form, form->ActionAllSelect,
                                                       form->EditPrice, form->MemoMessage);
    }

    // ---- Send and close ----

    void sendCommandsAndTheCloseQuestion_data()
    {
        QTest::addColumn<bool>("sending");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("closes");
        QTest::newRow("idle") << false << int(Dialogs::Answer::Cancel) << false << true;
        QTest::newRow("sending, OK") << true << int(Dialogs::Answer::Ok) << true << true;
        QTest::newRow("sending, Cancel") << true << int(Dialogs::Answer::Cancel) << true << false;
    }
    void sendCommandsAndTheCloseQuestion()
    {
        QFETCH(bool, sending);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, closes);
        TFormReply* form = open("a1");
        QCOMPARE(form->ActionSend->text(), QString("送信(&N)"));
        QCOMPARE(form->ActionSend->shortcut(), QKeySequence("Ctrl+Shift+G"));
        QVERIFY(form->ActionSend->isEnabled());
        QVERIFY(!form->ActionSendStop->isEnabled());
        QCOMPARE(form->ActionSendStop->shortcut(), QKeySequence(Qt::Key_Escape));
        QVERIFY(form->MainMenuFile->actions().contains(form->ActionSendStop));
        QVERIFY(form->ToolBarMain->actions().contains(form->ActionSend));
        QVERIFY(!form->sending);

        form->sending = sending;
        app->dialogs().clear();
        app->dialogs().queue(Dialogs::Answer(answer));
        QPointer<TFormReply> guard(form);
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(app->dialogs().requests().size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(app->dialogs().requests().first().kind, Dialogs::Kind::OkCancel);
            QCOMPARE(app->dialogs().requests().first().caption, QString("確認"));
            QCOMPARE(
                app->dialogs().requests().first().text,
                QString(
                    "フォームを閉じますか？\n\r送信／送信データ受信に失敗する可能性があります。"));
        }
        QCOMPARE(guard.isNull(), closes);
        if (!closes)
            QVERIFY(form->isVisible());
    }

    // ---- The target and the session ----

    void targetFillsTheInformationRowCaptionAndRepliedText_data()
    {
        QTest::addColumn<bool>("reply");
        QTest::addColumn<QString>("replied"); // null: the target holds no replied text
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shownText");
        QTest::newRow("reply with its whole text")
            << true << QStringLiteral("全文\r\n二行目") << QStringLiteral("返信：時計")
            << QStringLiteral("全文\n二行目");
        QTest::newRow("reply without a text: the chosen row's")
            << true << QString() << QStringLiteral("返信：時計") << QStringLiteral("振り込みました");
        QTest::newRow("new message") << false << QString() << QStringLiteral("投稿：時計")
                                     << QStringLiteral("振り込みました");
    }
    void targetFillsTheInformationRowCaptionAndRepliedText()
    {
        QFETCH(bool, reply);
        QFETCH(QString, replied);
        QFETCH(QString, caption);
        QFETCH(QString, shownText);
        addListing();
        FixtureDb::addMessage(db(), {.aid = "a1",
                                     .bidId = winner,
                                     .number = 2,
                                     .loginId = seller,
                                     .message = QStringLiteral("振り込みました")});
        ReplyTarget target;
        target.aid = "a1";
        target.title = "時計";
        target.bidId = winner;
        target.bidName = "山田";
        target.loginId = seller;
        target.isReply = reply;
        target.replyNumber = reply ? 2 : -1;
        if (!replied.isNull())
            target.repliedMessage = replied;
        auto* form = new TFormReply(navi->session, target);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QCOMPARE(form->windowTitle(), caption);
        QCOMPARE(form->EditAid->text(), QString("a1"));
        QCOMPARE(form->EditTitle->text(), QString("時計"));
        QCOMPARE(form->EditBidId->text(), winner);
        QCOMPARE(form->EditBidName->text(), QString("山田"));
        QCOMPARE(form->ListViewNavi->topLevelItemCount(), 1);
        QCOMPARE(form->MemoReplyMessage->toPlainText(), shownText);
    }

    void composersEndWithTheirSession_data()
    {
        QTest::addColumn<bool>("feedback");
        QTest::newRow("reply") << false;
        QTest::newRow("feedback") << true;
    }
    // A composer works on its session's connection: it goes with the session, whoever owns it.
    void composersEndWithTheirSession()
    {
        QFETCH(bool, feedback);
        addListing();
        auto session = std::make_unique<NaviSession>();
        session->connection = db();
        session->loginId = seller;
        QPointer<ComposerWindowBase> form;
        if (feedback) {
            FeedbackTarget target;
            target.aid = "a1";
            target.bidId = winner;
            target.loginId = seller;
            form = new TFormEvaluation(*session, target);
        } else {
            ReplyTarget target;
            target.aid = "a1";
            target.bidId = winner;
            target.loginId = seller;
            form = new TFormReply(*session, target);
        }
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QVERIFY(form->templates());
        session.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
        QVERIFY(navi->isVisible());
    }

    void severalComposersAtOnce()
    {
        TFormReply* first = open("a1");
        TFormReply* second = open("a2");
        QCOMPARE(composers().size(), 2);
        QVERIFY(first->isVisible() && second->isVisible());
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(composers(), QList<TFormReply*>{second});
    }
};

QTEST_MAIN(TestReply)
#include "test_reply.moc"
