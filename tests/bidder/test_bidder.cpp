// The bidder panel: the label extraction, showing a winner from the cache or the database,
// saving, the keys and clicks of its fields, the message memos' popup and the drop rule.
#include "FixtureDb.h"
#include "MainWindowFixture.h"
#include "SitePages.h"
#include "app/UnitNavi.h"
#include "platform/Database.h"
#include "platform/Sql.h"
#include "site/html.h"
#include "views/NaviFolderList.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/BidderDrop.h"
#include "views/BidderPanel.h"
#include "views/NaviDropRule.h"
#include "views/NaviMove.h"
#include "views/BidderInfoExtraction.h"
#include "views/FolderTree.h"
#include "views/MemoText.h"
#include "views/NaviListItem.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>
#include <QTreeWidget>

#include <memory>

class TestBidder : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;

    QStringList panel() const
    {
        return {navi->EditBidId->text(),   navi->EditBidName->text(),    navi->EditBidMail->text(),
                navi->EditBidPost->text(), navi->EditBidAddress->text(), navi->EditBidTel->text()};
    }
    QStringList storedBidder(const QString& id) const
    {
        QSqlQuery query = Sql::exec(
            navi->connection,
            "SELECT Name,MailMain,Post,Address1,Tel FROM T_BidMaster WHERE Id=:ID", {{":ID", id}});
        if (!query.next())
            return {};
        return {query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                query.value(3).toString(), query.value(4).toString()};
    }
    int bidderRows() const
    {
        return Sql::scalar(navi->connection, "SELECT COUNT(*) FROM T_BidMaster").toInt();
    }
    // Shows the received folder on the message tab, then returns to the listing tab.
    void listReceivedFolder()
    {
        navi->PageControlMain->setCurrentIndex(1);
        navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "000"));
        QCOMPARE(navi->ListViewNavi->rowCount(), 2);
        navi->PageControlMain->setCurrentIndex(0);
    }
    QAction* memoItem(const QString& name) const
    {
        return navi->PopupMenuMemoNavi->findChild<QAction*>(name);
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        html::setDefaultTimeout(5000);
        SitePages::serveAccount(app->site(), "seller");
        {
            Database::ScopedConnection db;
            FixtureDb::addListing(db.db(), {.aid = "a1", .bidId = "buyer"});
            FixtureDb::addListing(db.db(), {.aid = "a2", .bidId = "buyer"});
            FixtureDb::addListing(db.db(), {.aid = "a3", .bidId = "other"});
            FixtureDb::addMessage(db.db(), {.aid = "a1", .bidId = "buyer", .number = 1});
            FixtureDb::addMessage(db.db(), {.aid = "a3", .bidId = "other", .number = 1});
            FixtureDb::addBidder(db.db(), {.id = "other",
                                           .name = "他人",
                                           .mail = "o@example.jp",
                                           .post = "100-0001",
                                           .address = "東京都",
                                           .tel = "03-0000-0000"});
        }
        navi = app->start();
    }
    void cleanup() { app.reset(); }

    void extractionPicksTheBestLabel_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("name");
        const QStringList two{"氏名：", "お名前："};
        QTest::newRow("lowest position wins on a later line")
            << "お名前：山田\r\n氏名：山田 太郎" << two << true << "山田 太郎";
        QTest::newRow("first line among equals")
            << "お名前：一郎\r\nお名前：二郎" << two << true << "一郎";
        QTest::newRow("position 0 ends the search")
            << "氏名：一郎\r\n氏名：二郎" << two << true << "一郎";
        QTest::newRow("lower label in the same line wins")
            << "お名前：甲 氏名：乙" << two << true << "乙";
        QTest::newRow("blanks trimmed at both ends") << "氏名：　 山田　花子 　\r\n"
                                                     << two << true << "山田　花子";
        QTest::newRow("label with nothing after it keeps the edit")
            << "氏名：\r\n本文" << two << false << "";
        QTest::newRow("nothing after the best label blocks later ones")
            << "お名前：\r\nお名前：山田" << two << false << "";
        QTest::newRow("LF-only text") << "前文\n氏名：山田\n後文" << two << true << "山田";
        QTest::newRow("CR-only text") << "氏名：山田\r後文" << two << true << "山田";
        QTest::newRow("last line without a break") << "本文\r\n氏名：山田" << two << true << "山田";
        QTest::newRow("empty label never matches")
            << "前文\r\nお名前：山田" << QStringList{"", "お名前："} << true << "山田";
        QTest::newRow("no label") << "よろしくお願いします" << two << false << "";
        QTest::newRow("empty list") << "氏名：山田" << QStringList{} << false << "";
    }
    void extractionPicksTheBestLabel()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, labels);
        QFETCH(bool, found);
        QFETCH(QString, name);
        BidInfoKeywords keywords;
        keywords.name = labels;
        const ExtractedBidInfo result = extractBidderInfo(text, keywords);
        QCOMPARE(result.name.has_value(), found);
        if (found) {
            QCOMPARE(*result.name, name);
            QVERIFY(!result.name->contains('\r') && !result.name->contains('\n'));
        }
        QVERIFY(!result.post && !result.address && !result.tel && !result.mail);
    }

    void extractionFillsThePanelFromTheActiveMemo()
    {
        navi->bidInfoKeywords.name = {"氏名："};
        navi->bidInfoKeywords.post = {"郵便番号："};
        navi->bidInfoKeywords.address1 = {"住所："};
        navi->bidInfoKeywords.tel = {"電話番号："};
        navi->bidInfoKeywords.mail = {"メール："};
        navi->bidderPanel().showBidderInfo("buyer", "旧名");
        navi->EditBidTel->setText("そのまま");
        MemoText::set(navi->MemoBidNavi, "氏名：山田 太郎\r\n郵便番号：　123-4567　\r\n"
                                         "住所：大阪府\r\nメール：y@example.jp\r\n電話番号：");
        MemoText::set(navi->MemoNavi, "氏名：別の人");
        QCOMPARE(navi->bidderPanel().getActiveNaviMemo(), navi->MemoBidNavi);
        navi->bidderPanel().extractBidderInfo();
        QCOMPARE(panel(), (QStringList{"buyer", "山田 太郎", "y@example.jp", "123-4567", "大阪府",
                                       "そのまま"}));
        // Nothing is saved by the extraction.
        QVERIFY(storedBidder("buyer").isEmpty());

        navi->PageControlMain->setCurrentIndex(1);
        QCOMPARE(navi->bidderPanel().getActiveNaviMemo(), navi->MemoNavi);
    }

    void showingAWinnerReadsItOnceThenTheCache()
    {
        navi->bidderPanel().showBidderInfo("other", "一覧の名前");
        // The name comes from the caller; the rest from the database.
        QCOMPARE(panel(), (QStringList{"other", "一覧の名前", "o@example.jp", "100-0001", "東京都",
                                       "03-0000-0000"}));
        Sql::exec(navi->connection, "UPDATE T_BidMaster SET MailMain='new@example.jp'");
        navi->bidderPanel().clearBidderInfo();
        QCOMPARE(panel(), QStringList(6, QString()));
        navi->bidderPanel().showBidderInfo("other", "一覧の名前");
        QCOMPARE(navi->EditBidMail->text(), QString("o@example.jp"));
        // A winner without a row shows empty fields.
        navi->bidderPanel().showBidderInfo("nobody", "名");
        QCOMPARE(panel(), (QStringList{"nobody", "名", "", "", "", ""}));
    }

    void savingANewThenAKnownWinnerUpdatesEveryList()
    {
        listReceivedFolder();
        navi->bidderPanel().showBidderInfo("buyer", "");
        navi->EditBidName->setText("O'Brien 太郎");
        navi->EditBidMail->setText("ob@example.jp");
        navi->EditBidPost->setText("530-0001");
        navi->EditBidAddress->setText("大阪府 'A' 棟");
        navi->EditBidTel->setText("06-1111-2222");
        navi->BitBtnBidSave->click();
        QCOMPARE(storedBidder("buyer"), (QStringList{"O'Brien 太郎", "ob@example.jp", "530-0001",
                                                     "大阪府 'A' 棟", "06-1111-2222"}));
        QCOMPARE(bidderRows(), 2);
        const auto names = [this](const QString& id) {
            QStringList result;
            for (int i = 0; i < navi->ListViewBid->topLevelItemCount(); ++i)
                if (navi->ListViewBid->topLevelItem(i)->text(3) == id)
                    result << navi->ListViewBid->topLevelItem(i)->text(4);
            for (int i = 0; i < navi->ListViewNavi->rowCount(); ++i)
                if (navi->ListViewNavi->text(i, 3) == id)
                    result << navi->ListViewNavi->text(i, 4);
            return result;
        };
        QCOMPARE(names("buyer"), QStringList(3, "O'Brien 太郎"));
        QCOMPARE(names("other"), (QStringList{"他人", "他人"}));

        // Saved again: the row is updated, the cache follows.
        navi->EditBidName->setText("山田 花子");
        QTest::keyClick(navi->EditBidTel, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(bidderRows(), 2);
        QCOMPARE(storedBidder("buyer").first(), QString("山田 花子"));
        QCOMPARE(names("buyer"), QStringList(3, "山田 花子"));
        Sql::exec(navi->connection, "UPDATE T_BidMaster SET MailMain='db@example.jp'");
        navi->bidderPanel().showBidderInfo("buyer", "山田 花子");
        QCOMPARE(navi->EditBidMail->text(), QString("ob@example.jp"));
    }

    void saveWithoutAnIdOrFromTheIdFieldDoesNothing()
    {
        navi->bidderPanel().clearBidderInfo();
        navi->EditBidName->setText("名前");
        navi->bidderPanel().BitBtnBidSaveClick();
        QCOMPARE(bidderRows(), 1);
        navi->bidderPanel().showBidderInfo("buyer", "名前");
        QTest::keyClick(navi->EditBidId, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(bidderRows(), 1);
    }

    void failedSaveChangesNeitherCacheNorLists()
    {
        navi->bidderPanel().showBidderInfo("other", "他人");
        Sql::exec(navi->connection, "CREATE TRIGGER refuse BEFORE UPDATE ON T_BidMaster "
                                    "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        navi->EditBidName->setText("新しい名前");
        navi->EditBidMail->setText("changed@example.jp");
        QVERIFY_THROWS_EXCEPTION(DatabaseError, navi->bidderPanel().BitBtnBidSaveClick());
        QCOMPARE(navi->ListViewBid->findBidItem("a3", "other")->subItem(BidListColumns::Name),
                 QString("他人"));
        navi->bidderPanel().showBidderInfo("other", "他人");
        QCOMPARE(navi->EditBidMail->text(), QString("o@example.jp"));
    }

    void ctrlClickSelectsTheWholeField()
    {
        navi->bidderPanel().showBidderInfo("other", "他人");
        navi->EditBidAddress->setCursorPosition(1);
        QTest::mouseClick(navi->EditBidAddress, Qt::LeftButton);
        QVERIFY(navi->EditBidAddress->selectedText().isEmpty());
        QTest::mouseClick(navi->EditBidAddress, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(navi->EditBidAddress->selectedText(), QString("東京都"));
        navi->EditLoginPassword->setText("secret");
        QTest::mouseClick(navi->EditLoginPassword, Qt::LeftButton, Qt::ControlModifier);
        QVERIFY(navi->EditLoginPassword->hasSelectedText());
    }

    void ctrlClickSelectsTheWholeTextOfEveryEditOfTheWindow()
    {
        navi->bidderPanel().showBidderInfo("other", "他人");
        QList<QLineEdit*> edits;
        // The edits of the window's own; those inside a combo box or a spin box belong to it.
        for (QLineEdit* edit : navi->findChildren<QLineEdit*>())
            if (!edit->objectName().isEmpty() && !edit->objectName().startsWith("qt_"))
                edits << edit;
        QVERIFY(edits.contains(navi->EditBidTel));
        QVERIFY(edits.contains(navi->EditLoginPassword));
        for (QLineEdit* edit : std::as_const(edits)) {
            edit->setCursorPosition(0);
            edit->deselect();
            QTest::mouseClick(edit, Qt::LeftButton, Qt::ControlModifier, QPoint(3, 5));
            QVERIFY2(edit->selectedText() == edit->text(), qPrintable(edit->objectName()));
        }
    }

    void memoPopupPutsTheSelectionIntoAFieldAndSaves_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("field"); // index in panel()
        QTest::newRow("name") << "PopupMenuMemoNaviName" << 1;
        QTest::newRow("mail") << "PopupMenuMemoNaviMail" << 2;
        QTest::newRow("post") << "PopupMenuMemoNaviPost" << 3;
        QTest::newRow("address") << "PopupMenuMemoNaviAddress1" << 4;
        QTest::newRow("tel") << "PopupMenuMemoNaviTel" << 5;
    }
    void memoPopupPutsTheSelectionIntoAFieldAndSaves()
    {
        QFETCH(QString, item);
        QFETCH(int, field);
        navi->bidderPanel().showBidderInfo("buyer", "");
        MemoText::set(navi->MemoBidNavi, "前 選ばれた 文 後");
        QTextCursor cursor = navi->MemoBidNavi->textCursor();
        cursor.setPosition(1);
        cursor.setPosition(8, QTextCursor::KeepAnchor);
        navi->MemoBidNavi->setTextCursor(cursor);
        memoItem(item)->trigger();
        // Taken unchanged, blanks included.
        QCOMPARE(panel().at(field), QString(" 選ばれた 文"));
        QCOMPARE(storedBidder("buyer").at(field - 1), QString(" 選ばれた 文"));
    }

    void memoPopupCopiesAndSelectsAll()
    {
        QStringList captions;
        for (QAction* item : navi->PopupMenuMemoNavi->actions())
            captions << (item->isSeparator() ? QString("-") : item->text());
        QCOMPARE(captions, (QStringList{"コピー(&C)", "全て選択(&A)", "-", "落札者情報取得(&I)",
                                        "-", "氏名(&N)", "メール(&M)", "郵便番号(&P)", "住所(&R)",
                                        "電話番号(&T)"}));
        MemoText::set(navi->MemoBidNavi, "一行目\r\n二行目");
        memoItem("PopupMenuMemoNaviAllSelect")->trigger();
        memoItem("PopupMenuMemoNaviCopy")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("一行目\r\n二行目"));
    }

    void messageListShowsItsWinner()
    {
        navi->PageControlMain->setCurrentIndex(1);
        navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "000"));
        int otherRow = -1;
        for (int i = 0; i < navi->ListViewNavi->rowCount(); ++i)
            if (navi->ListViewNavi->text(i, 3) == "other")
                otherRow = i;
        QVERIFY(otherRow >= 0);
        navi->ListViewNavi->selectRow(otherRow);
        QTRY_COMPARE(navi->EditBidId->text(), QString("other"));
        QCOMPARE(panel(), (QStringList{"other", "他人", "o@example.jp", "100-0001", "東京都",
                                       "03-0000-0000"}));
        // Back and forth between the tabs: the listing tab has no chosen row, the message tab
        // shows its row again.
        navi->PageControlMain->setCurrentIndex(0);
        QCOMPARE(panel(), QStringList(6, QString()));
        navi->PageControlMain->setCurrentIndex(1);
        QCOMPARE(navi->EditBidId->text(), QString("other"));
    }

    // A drag over the panel is taken or refused by the drop rule; a drop fills the panel from
    // the message shown, without saving.
    void droppedMessageRowFillsThePanel_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("messageRows");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("one message row") << 1 << true << true;
        QTest::newRow("no row chosen in the folder list") << 0 << true << true;
        QTest::newRow("two message rows") << 2 << true << false;
        QTest::newRow("plain text") << 1 << false << false;
    }

    void droppedMessageRowFillsThePanel()
    {
        QFETCH(int, selected);
        QFETCH(bool, messageRows);
        QFETCH(bool, accepted);
        listReceivedFolder();
        navi->ListViewNavi->clearSelection();
        for (int row = 0; row < selected; ++row)
            navi->ListViewNavi->setRowSelected(row, true);
        navi->bidInfoKeywords.name = {"氏名："};
        navi->bidderPanel().showBidderInfo("buyer", "旧名");
        MemoText::set(navi->MemoBidNavi, "氏名：山田 太郎");

        QMimeData data;
        if (messageRows)
            data.setData(NaviDrag::mimeType,
                         NaviDrag::encode(NaviMove::selectedKeys(navi->ListViewNavi)));
        else
            data.setText("山田");
        const QPoint at = navi->PanelBid->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(navi->PanelBid, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(navi->PanelBid, &move);
        QCOMPARE(enter.isAccepted(), accepted);
        QCOMPARE(move.isAccepted(), accepted);
        if (!accepted)
            return;
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(navi->PanelBid, &dropped);
        QVERIFY(dropped.isAccepted());
        QCOMPARE(navi->EditBidName->text(), QStringLiteral("山田 太郎"));
        QVERIFY(storedBidder("buyer").isEmpty());
    }

    void dropRule_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("list, nothing selected") << int(DragSource::ListView) << 0 << true;
        QTest::newRow("list, one selected") << int(DragSource::ListView) << 1 << true;
        QTest::newRow("list, two selected") << int(DragSource::ListView) << 2 << false;
        QTest::newRow("folder tree") << int(DragSource::TreeView) << 0 << false;
        QTest::newRow("something else") << int(DragSource::Other) << 1 << false;
    }
    void dropRule()
    {
        QFETCH(int, source);
        QFETCH(int, selected);
        QFETCH(bool, accepted);
        QCOMPARE(bidderDropAccepted(DragSource(source), selected), accepted);
    }
};

QTEST_MAIN(TestBidder)
#include "test_bidder.moc"
