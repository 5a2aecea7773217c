// The settings dialog driven by its object names against a real setting.ini and database: what
// it shows, what OK writes to the file and the tables, and what it puts in force at once.
#include "FixtureDb.h"
#include "MainWindowFixture.h"
#include "SelectionChecks.h"
#include "TestDataFolder.h"
#include "TestDialogs.h"
#include "common/CommonDefine.h"
#include "common/NaviOptions.h"
#include "common/NaviSession.h"
#include "app/NaviSettingOpener.h"
#include "app/UnitNavi.h"
#include "app/UnitSetting.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"
#include "site/DownloadControl.h"
#include "site/LoginControl.h"
#include "views/BidListView.h"
#include "views/ListingTab.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

namespace {

const QString S = QStringLiteral("Setting");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestSetting : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;
    QPointer<TFormSetting> form;

    QString iniPath() const { return CommonDefine::settingIniPath(); }
    IniFile ini() const { return IniFile(iniPath()); }

    void openDialog()
    {
        form = makeSettingDialog(*navi);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.data()));
    }

    template <typename T> T* find(const QString& name) const
    {
        T* found = form->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }

    // Every row of a table in insertion order, columns joined by "|".
    QStringList rows(const QString& table) const
    {
        QStringList result;
        QSqlQuery query = Sql::exec(navi->connection,
                                    QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table));
        while (query.next()) {
            QStringList cells;
            for (int i = 0; i < query.record().count(); ++i)
                cells << query.value(i).toString();
            result << cells.join('|');
        }
        return result;
    }

    void selectNode(const QString& caption)
    {
        const auto found = find<QTreeWidget>("TreeView")
                               ->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        find<QTreeWidget>("TreeView")->setCurrentItem(found.first());
    }

    QStringList lines(const QString& list) const
    {
        QStringList result;
        auto* widget = find<QListWidget>(list);
        for (int row = 0; row < widget->count(); ++row)
            result << widget->item(row)->text();
        return result;
    }

    void addLine(const QString& edit, const QString& button, const QString& text)
    {
        find<QLineEdit>(edit)->setText(text);
        find<QPushButton>(button)->click();
    }

    void registerLogin(const QString& id, const QString& password)
    {
        find<QLineEdit>("EditLoginId")->setText(id);
        find<QLineEdit>("EditLoginPass")->setText(password);
        find<QPushButton>("ButtonLoginRegist")->click();
    }

    QListWidgetItem* loginLine(const QString& id) const
    {
        const auto found = find<QListWidget>("CheckListBoxLogin")->findItems(id, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }

    void pressOk() { find<QPushButton>("ButtonOk")->click(); }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        navi = app->start();
    }

    void cleanup()
    {
        delete form.data();
        app.reset();
    }

    void opensWithoutFileShowingDefaultsAndOkWritesThem()
    {
        FixtureDb::addLogin(navi->connection, "kept", "secret", true);
        const QStringList loginsBefore = rows("T_LoginId");
        QVERIFY(QFile::remove(iniPath()));
        openDialog();

        QCOMPARE(form->windowTitle(), QStringLiteral("設定"));
        QCOMPARE(find<QLabel>("PanelTitle")->text(), QString());
        QVERIFY(find<QTreeWidget>("TreeView")
                    ->findItems("取得", Qt::MatchRecursive)
                    .first()
                    ->parent()
                    ->isExpanded());
        QVERIFY(find<QCheckBox>("CheckBoxLoginAutoLogin")->isChecked());
        QVERIFY(!NaviOptions::readLoginAutoLogin(ini()));
        QVERIFY(!find<QLineEdit>("EditBidFlgStr")->isEnabled());
        QCOMPARE(find<QLabel>("LabelBidBackColor")->text(), QStringLiteral("16772829"));
        QCOMPARE(find<QFrame>("ShapeBidBackColor")->palette().color(QPalette::Window),
                 QColor(221, 238, 255));
        QCOMPARE(find<QSpinBox>("CSpinEditLoginTaskTrayShowMessageTime")->value(), 2);
        QCOMPARE(lines("ListViewGetBidInfoName"), QStringList());
        QVERIFY(loginLine("kept") && loginLine("kept")->checkState() == Qt::Checked);
        QCOMPARE(form->mainLoginId, QStringLiteral("kept"));
        QCOMPARE(form->mainLoginIndex, 0);

        pressOk();
        QCOMPARE(form->result(), int(QDialog::Accepted));
        const QList<std::pair<const char*, const char*>> expected = {
            {"TaskTray", "0"},
            {"PrInsert", "1"},
            {"BidFlg", "1"},
            {"BidFlgString", ""},
            {"BidDblClickFlgChange", "1"},
            {"BidBackColor", "16772829"},
            {"BidDownloadNowDetailed", "0"},
            {"BidDownloadDetailed", "0"},
            {"NaviKeywordErrorMsg", "0"},
            {"OperationBidListDblClick", "0"},
            {"OperationBidListEnter", "1"},
            {"OperationNaviListDblClick", "1"},
            {"OperationNaviListEnter", "0"},
            {"OperationStatusBarClick", "1"},
            {"OperationNaviTemplateTree", "1"},
            {"OperationEvaluationTemplateTree", "1"},
            {"LoginAutoLogin", "1"},
            {"LoginTaskTrayShowBalloon", navi->session.balloonCapable ? "1" : "0"},
            {"LoginTaskTrayShowMessageTime", "2000"},
            {"MailEncloses", "1"},
            {"ConfirmationBidDownload", "0"},
            {"ConfirmationNaviDownload", "0"},
            {"ConfirmationNaviTransmission", "0"},
            {"ConfirmationNaviUnsealing", "0"},
            {"ConfirmationNaviOpen", "0"},
            {"ConfirmationEvaluationTransmission", "1"},
        };
        const IniFile written = ini();
        for (const auto& [key, value] : expected) {
            QVERIFY2(written.valueExists(S, key), key);
            QCOMPARE(written.readString(S, key, "<none>"), QString::fromUtf8(value));
        }
        QCOMPARE(written.readSection(S).size(), expected.size());
        // Untouched lists write nothing.
        QVERIFY(!written.sectionExists(CommonDefine::Section::SettingOtherItem));
        QVERIFY(!written.sectionExists(CommonDefine::Section::SettingGetBidInfo));
        QCOMPARE(rows("T_PersonalData"), QStringList{"|||||"});
        QCOMPARE(rows("T_LoginId"), loginsBefore);
    }

    void emptyFlagTextIsRefusedOnlyForOwnText_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<bool>("refused");
        QTest::newRow("指定文字") << 0 << true;
        QTest::newRow("●") << 1 << false;
        QTest::newRow("日付(MM/DD)") << 2 << false;
    }
    void emptyFlagTextIsRefusedOnlyForOwnText()
    {
        QFETCH(int, flag);
        QFETCH(bool, refused);
        FixtureDb::addLogin(navi->connection, "old", "pw");
        openDialog();
        registerLogin("new", "pw2");
        find<QLineEdit>("EditPersonalName")->setText("名前");
        find<QCheckBox>("CheckBoxConfirmationNaviOpen")->setChecked(true);
        selectNode("確認");
        find<QComboBox>("ComboBoxBidFlg")->setCurrentIndex(flag);
        QCOMPARE(find<QLineEdit>("EditBidFlgStr")->isEnabled(), flag == 0);
        const QByteArray before = fileBytes(iniPath());
        const QStringList logins = rows("T_LoginId");
        const QStringList personal = rows("T_PersonalData");

        pressOk();
        if (!refused) {
            QCOMPARE(form->result(), int(QDialog::Accepted));
            QCOMPARE(ini().readInteger(S, "BidFlg", -1), flag);
            QCOMPARE(app->dialogs().requests().size(), 0);
            return;
        }
        QVERIFY(form->isVisible());
        QCOMPARE(form->result(), 0);
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::Error);
        QCOMPARE(app->dialogs().requests()[0].caption, QStringLiteral("エラー"));
        QCOMPARE(app->dialogs().requests()[0].text,
                 QStringLiteral("フラグ指定文字を入力してください"));
        QCOMPARE(find<QStackedWidget>("PageControl")->currentWidget()->windowTitle(),
                 QStringLiteral("出品終了1"));
        QCOMPARE(form->windowTitle(), QStringLiteral("設定　【出品終了1】"));
        QCOMPARE(form->focusWidget(), find<QLineEdit>("EditBidFlgStr"));
        QCOMPARE(fileBytes(iniPath()), before);
        QCOMPARE(rows("T_LoginId"), logins);
        QCOMPARE(rows("T_PersonalData"), personal);
    }

    void nodeSelectionSetsPageAndCaption_data()
    {
        QTest::addColumn<QStringList>("nodes");
        QTest::addColumn<QString>("page");
        QTest::newRow("全般") << QStringList{"全般"} << "全般";
        QTest::newRow("出品終了 shows 全般") << QStringList{"確認", "出品終了"} << "全般";
        QTest::newRow("出品終了2") << QStringList{"出品終了2"} << "出品終了2";
        QTest::newRow("取得") << QStringList{"取得"} << "落札者情報　取得";
        QTest::newRow("落札者情報 keeps the page")
            << QStringList{"ログイン", "落札者情報"} << "ログイン";
        QTest::newRow("確認") << QStringList{"確認"} << "確認";
    }
    void nodeSelectionSetsPageAndCaption()
    {
        QFETCH(QStringList, nodes);
        QFETCH(QString, page);
        openDialog();
        for (const QString& node : nodes)
            selectNode(node);
        QCOMPARE(find<QStackedWidget>("PageControl")->currentWidget()->windowTitle(), page);
        QCOMPARE(find<QLabel>("PanelTitle")->text(), page);
        QCOMPARE(form->windowTitle(), "設定　【" + page + "】");
    }

    void addingALineRefusesBlanksAndDuplicates_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal"); // empty: added
        const QString blank = QStringLiteral("空白文字は取得キーワードに出来ません");
        const QString same = QStringLiteral("同一キーワードは追加出来ません");
        QTest::newRow("full-width blanks") << "ListViewGetBidInfoName"
                                           << "EditGetBidInfoName"
                                           << "ButtonGetBidInfoName"
                                           << "　　" << blank;
        QTest::newRow("half-width blanks, carriage") << "ListViewBidCarriage"
                                                     << "EditBidCarriage"
                                                     << "ButtonBidCarriage"
                                                     << "   " << blank;
        QTest::newRow("ASCII case ignored") << "ListViewGetBidInfoName"
                                            << "EditGetBidInfoName"
                                            << "ButtonGetBidInfoName"
                                            << "ABC" << same;
        QTest::newRow("same line, forwarding") << "ListViewBidForwarding"
                                               << "EditBidForwarding"
                                               << "ButtonBidForwarding"
                                               << "abc" << same;
        QTest::newRow("full-width letters differ") << "ListViewGetBidInfoName"
                                                   << "EditGetBidInfoName"
                                                   << "ButtonGetBidInfoName"
                                                   << "ＡＢＣ" << QString();
        QTest::newRow("blanks around text") << "ListViewGetBidInfoMail"
                                            << "EditGetBidInfoMail"
                                            << "ButtonGetBidInfoMail"
                                            << " abc　" << QString();
    }
    void addingALineRefusesBlanksAndDuplicates()
    {
        QFETCH(QString, list);
        QFETCH(QString, edit);
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        IniFile file = ini();
        for (const char* prefix : {"Name", "Mail"})
            file.writeList(CommonDefine::Section::SettingGetBidInfo, prefix, 0, {"abc"});
        for (const char* prefix : {"BidCarriage", "BidForwarding"})
            file.writeList(CommonDefine::Section::SettingOtherItem, prefix, 0, {"abc"});
        openDialog();
        addLine(edit, button, typed);
        QCOMPARE(find<QLineEdit>(edit)->text(), typed);
        if (refusal.isEmpty()) {
            QCOMPARE(lines(list), (QStringList{"abc", typed}));
            QCOMPARE(app->dialogs().requests().size(), 0);
            return;
        }
        QCOMPARE(lines(list), QStringList{"abc"});
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::Warning);
        QCOMPARE(app->dialogs().requests()[0].caption, QStringLiteral("エラー"));
        QCOMPARE(app->dialogs().requests()[0].text, refusal);
        QCOMPARE(form->focusWidget(), find<QLineEdit>(edit));
        QVERIFY(!form->bidInfoListsChanged && !form->otherItemListsChanged);
    }

    void listLinesMoveDeleteAndCopy()
    {
        ini().writeList(CommonDefine::Section::SettingOtherItem, "BidForwarding", 0,
                        {"a", "b", "c"});
        openDialog();
        selectNode("出品終了1");
        auto* list = find<QListWidget>("ListViewBidForwarding");
        auto* up = find<QToolButton>("ButtonBidForwardingUp");
        auto* down = find<QToolButton>("ButtonBidForwardingDown");

        // Double click copies the line into the edit and changes nothing.
        const QRect second = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(find<QLineEdit>("EditBidForwarding")->text(), QStringLiteral("b"));
        QVERIFY(!form->otherItemListsChanged);

        up->click();
        QCOMPARE(lines("ListViewBidForwarding"), (QStringList{"b", "a", "c"}));
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(form->otherItemListsChanged);
        up->click();
        QCOMPARE(lines("ListViewBidForwarding"), (QStringList{"b", "a", "c"}));
        down->click();
        down->click();
        down->click();
        QCOMPARE(lines("ListViewBidForwarding"), (QStringList{"a", "c", "b"}));
        QCOMPARE(list->currentRow(), 2);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(lines("ListViewBidForwarding"), (QStringList{"a", "c"}));
        list->clearSelection();
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(lines("ListViewBidForwarding"), (QStringList{"a", "c"}));
        QVERIFY(!form->bidInfoListsChanged);
    }

    void untouchedListKeepsItsKeysAndAChangedOneIsRewritten()
    {
        const QString& other = CommonDefine::Section::SettingOtherItem;
        const QString& info = CommonDefine::Section::SettingGetBidInfo;
        IniFile file = ini();
        file.writeList(other, "BidCarriage", 0, {"100", "200", "300"});
        file.writeString(other, "BidCarriageItem5", "after gap");
        file.writeList(other, "BidForwarding", 0, {"x"});
        file.eraseSection(info);
        file.writeList(info, "Name", 0, {"氏名：", "お名前："});
        file.writeString(info, "NameItem3", "\"gap line\"");
        file.writeList(info, "Tel", 0, {"電話："});
        navi->ComboBoxInputCarriage->setEditText("typed");
        openDialog();
        QCOMPARE(lines("ListViewBidCarriage"), (QStringList{"100", "200", "300"}));
        QCOMPARE(lines("ListViewGetBidInfoName"), (QStringList{"氏名：", "お名前："}));

        // The carriage list loses a line and gains one with blanks at its ends.
        auto* carriage = find<QListWidget>("ListViewBidCarriage");
        carriage->setCurrentRow(0);
        QTest::keyClick(carriage, Qt::Key_Delete);
        carriage->setCurrentRow(1);
        find<QToolButton>("ButtonBidCarriageUp")->click();
        addLine("EditBidCarriage", "ButtonBidCarriage", " 50 ");
        pressOk();
        QCOMPARE(form->result(), int(QDialog::Accepted));

        const IniFile written = ini();
        QCOMPARE(written.readList(other, "BidCarriage"), (QStringList{"300", "200", " 50 "}));
        QVERIFY(!written.valueExists(other, "BidCarriageItem3"));
        QCOMPARE(written.readString(other, "BidCarriageItem5", {}), QStringLiteral("after gap"));
        QCOMPARE(written.readList(other, "BidForwarding"), QStringList{"x"});
        // The bidder lists were not touched: their keys stand as they were, after the gap too.
        QCOMPARE(written.readString(info, "NameItem0", {}), QStringLiteral("氏名："));
        QCOMPARE(written.readString(info, "NameItem3", {}), QStringLiteral("gap line"));
        QCOMPARE(written.readList(info, "Tel"), QStringList{"電話："});
        QCOMPARE(navi->listingTab().carriageItems, (QStringList{"300", "200", " 50 "}));
        QCOMPARE(navi->ComboBoxInputCarriage->count(), 3);
        QCOMPARE(navi->ComboBoxInputCarriage->itemText(2), QStringLiteral(" 50 "));
        QCOMPARE(navi->ComboBoxInputCarriage->currentText(), QStringLiteral("typed"));
        QCOMPARE(navi->listingTab().forwardingItems, QStringList{"x"});
    }

    void changedLabelListsAreRewrittenAndUsed()
    {
        const QString& info = CommonDefine::Section::SettingGetBidInfo;
        openDialog();
        QCOMPARE(lines("ListViewGetBidInfoName"), QStringList{"氏名："});
        addLine("EditGetBidInfoName", "ButtonGetBidInfoName", "名前：");
        auto* mail = find<QListWidget>("ListViewGetBidInfoMail");
        mail->setCurrentRow(0);
        QTest::keyClick(mail, Qt::Key_Delete);
        const int saves = IniFile::saveCount();
        pressOk();
        // The options and the changed lists reach the file in one write.
        QCOMPARE(IniFile::saveCount() - saves, 1);
        const IniFile written = ini();
        QCOMPARE(written.readList(info, "Name"), (QStringList{"氏名：", "名前："}));
        QVERIFY(!written.valueExists(info, "MailItem0"));
        QCOMPARE(written.readList(info, "Post"), QStringList{"郵便番号："});
        QVERIFY(written.readBool(info, "ExistsSection", false));
        QCOMPARE(navi->bidInfoKeywords.name, (QStringList{"氏名：", "名前："}));
        QCOMPARE(navi->bidInfoKeywords.mail, QStringList());
        QCOMPARE(navi->bidInfoKeywords.post, QStringList{"郵便番号："});
    }

    // The dialog needs only a session: OK puts the options and keywords on it and tells what
    // it saved, and no window is touched.
    void okOnASessionAloneTellsWhatItSaved()
    {
        NaviSession bare;
        bare.connection = navi->connection;
        const QStringList carriageBefore = navi->listingTab().carriageItems;
        form = new TFormSetting(bare, nullptr);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.data()));
        QSignalSpy logins(form.data(), &TFormSetting::loginsSaved);
        QSignalSpy lists(form.data(), &TFormSetting::itemListsSaved);
        QSignalSpy options(form.data(), &TFormSetting::optionsSaved);
        addLine("EditBidCarriage", "ButtonBidCarriage", "80");
        addLine("EditGetBidInfoTel", "ButtonGetBidInfoTel", "TEL：");
        registerLogin("solo", "pw");
        const NaviOptions windowOptions = navi->options;
        auto* confirm = find<QCheckBox>("CheckBoxConfirmationBidDownload");
        const bool confirmShown = confirm->isChecked();
        confirm->setChecked(!confirmShown);
        pressOk();
        QCOMPARE(form->result(), int(QDialog::Accepted));

        QCOMPARE(logins.size(), 1);
        using Accounts = QMap<QString, QString>;
        QCOMPARE(logins[0][0].value<Accounts>().value("solo"), QStringLiteral("pw"));
        QCOMPARE(lists.size(), 1);
        QVERIFY(lists[0][0].toStringList().endsWith("80"));
        QCOMPARE(options.size(), 1);
        QCOMPARE(bare.options.confirmationBidDownload, !confirmShown);
        QVERIFY(bare.bidInfoKeywords.tel.contains("TEL："));
        QCOMPARE(navi->listingTab().carriageItems, carriageBefore);
        QCOMPARE(navi->options.confirmationBidDownload, windowOptions.confirmationBidDownload);
        QVERIFY(!navi->loginControl().savedLogins.contains("solo"));
    }

    void accountsAreWrittenInIdOrderWithOneMain()
    {
        openDialog();
        registerLogin("b", "pb");
        registerLogin("a", "pa");
        registerLogin("c", "pc");
        registerLogin("d", ""); // without a password nothing happens
        QCOMPARE(lines("CheckListBoxLogin"), (QStringList{"b", "a", "c"}));
        loginLine("b")->setCheckState(Qt::Checked);
        loginLine("c")->setCheckState(Qt::Checked);
        QCOMPARE(loginLine("b")->checkState(), Qt::Unchecked);
        QCOMPARE(form->mainLoginId, QStringLiteral("c"));
        QCOMPARE(form->mainLoginIndex, 2);
        pressOk();
        QCOMPARE(form->result(), int(QDialog::Accepted));

        QCOMPARE(rows("T_LoginId"), (QStringList{"a|pa|0", "b|pb|0", "c|pc|1"}));
        QStringList captions, ids;
        for (QAction* item : navi->PopupMenuLogin->actions()) {
            captions << item->text();
            ids << item->data().toString();
        }
        QCOMPARE(captions, (QStringList{"a&(0)", "b&(1)", "c&(2)"}));
        QCOMPARE(ids, (QStringList{"a", "b", "c"}));
        QCOMPARE(navi->ComboBoxLoginId->count(), 3);
        QCOMPARE(navi->ComboBoxLoginId->itemText(0), QStringLiteral("a"));
        QCOMPARE(navi->ComboBoxLoginId->currentText(), QString());
        QCOMPARE(navi->loginControl().savedLogins.value("b"), QStringLiteral("pb"));
        // The combo box fills in the saved password of the account chosen.
        navi->ComboBoxLoginId->setCurrentIndex(2);
        QCOMPARE(navi->EditLoginPassword->text(), QStringLiteral("pc"));
    }

    void reRegisteringChangesThePasswordAndDeletingTheMainClearsTheMark()
    {
        FixtureDb::addLogin(navi->connection, "a", "pa", true);
        FixtureDb::addLogin(navi->connection, "b", "pb");
        openDialog();
        registerLogin("b", "new");
        QCOMPARE(lines("CheckListBoxLogin"), (QStringList{"a", "b"}));
        QCOMPARE(form->accounts.value("b"), QStringLiteral("new"));

        find<QListWidget>("CheckListBoxLogin")->setCurrentItem(loginLine("a"));
        find<QPushButton>("ButtonLoginDelete")->click();
        QCOMPARE(lines("CheckListBoxLogin"), QStringList{"b"});
        QCOMPARE(form->mainLoginId, QString());
        QCOMPARE(form->mainLoginIndex, -1);
        // Registered again, the id comes back as an ordinary account.
        registerLogin("a", "pa2");
        QCOMPARE(loginLine("a")->checkState(), Qt::Unchecked);
        pressOk();
        QCOMPARE(rows("T_LoginId"), (QStringList{"a|pa2|0", "b|new|0"}));
    }

    void loginLineDoubleClickCopiesTheIdOnly()
    {
        FixtureDb::addLogin(navi->connection, "seller", "pw");
        openDialog();
        selectNode("ログイン");
        auto* list = find<QListWidget>("CheckListBoxLogin");
        const QPoint at = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(find<QLineEdit>("EditLoginId")->text(), QStringLiteral("seller"));
        QCOMPARE(find<QLineEdit>("EditLoginPass")->text(), QString());
    }

    void prBoxOffKeepsTheColourInTheFileOnly()
    {
        openDialog();
        auto* label = find<QLabel>("LabelBidBackColor");
        auto* swatch = find<QFrame>("ShapeBidBackColor");
        auto* change = find<QPushButton>("ButtonBidBackColorChenge");

        app->dialogs().queue(Dialogs::Answer::Cancel);
        change->click();
        QCOMPARE(label->text(), QStringLiteral("16772829"));
        QCOMPARE(app->dialogs().requests().last().kind, Dialogs::Kind::Color);
        QCOMPARE(QColor(app->dialogs().requests().last().initialText), QColor(221, 238, 255));

        app->dialogs().queue(Dialogs::Answer::Ok, "#102030");
        change->click();
        QCOMPARE(label->text(), QString::number(0x302010));
        QCOMPARE(swatch->palette().color(QPalette::Window), QColor(0x10, 0x20, 0x30));
        // The colour dialog opens with the colour chosen last.
        app->dialogs().queue(Dialogs::Answer::Cancel);
        change->click();
        QCOMPARE(QColor(app->dialogs().requests().last().initialText), QColor(0x10, 0x20, 0x30));

        auto* pr = find<QCheckBox>("CheckBoxWholeTemplatePr");
        pr->click();
        QVERIFY(swatch->isHidden() && change->isHidden() &&
                find<QPushButton>("ButtonBidBackColorDefault")->isHidden());
        pressOk();
        QCOMPARE(ini().readString(S, "BidBackColor", {}), QString::number(0x302010));
        QCOMPARE(ini().readBool(S, "PrInsert", true), false);
        QCOMPARE(navi->options.bidBackColor, QStringLiteral("16772829"));
        QCOMPARE(navi->ListViewBid->backColor(), QColor(221, 238, 255));
    }

    void defaultColourButtonRestoresTheDefault()
    {
        ini().writeString(S, "BidBackColor", QString::number(0x0000FF));
        openDialog();
        QCOMPARE(find<QFrame>("ShapeBidBackColor")->palette().color(QPalette::Window), Qt::red);
        find<QPushButton>("ButtonBidBackColorDefault")->click();
        QCOMPARE(find<QLabel>("LabelBidBackColor")->text(), QStringLiteral("16772829"));
        QCOMPARE(find<QFrame>("ShapeBidBackColor")->palette().color(QPalette::Window),
                 QColor(221, 238, 255));
        app->dialogs().queue(Dialogs::Answer::Cancel);
        find<QPushButton>("ButtonBidBackColorChenge")->click();
        QCOMPARE(QColor(app->dialogs().requests().last().initialText), QColor(221, 238, 255));
    }

    void storedValuesAreShownAndWrittenBack_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("written");
        QTest::newRow("time 2500 ms shows 2 s") << "LoginTaskTrayShowMessageTime"
                                                << "2500"
                                                << "2000";
        QTest::newRow("time below the spin's range") << "LoginTaskTrayShowMessageTime"
                                                     << "0"
                                                     << "1000";
        QTest::newRow("time above the spin's range") << "LoginTaskTrayShowMessageTime"
                                                     << "60000"
                                                     << "20000";
        QTest::newRow("operation index past the items") << "OperationStatusBarClick"
                                                        << "3"
                                                        << "1";
        QTest::newRow("operation index -1") << "OperationBidListDblClick"
                                            << "-1"
                                            << "0";
        QTest::newRow("operation index kept") << "OperationNaviListEnter"
                                              << "1"
                                              << "1";
        QTest::newRow("flag kind past the items") << "BidFlg"
                                                  << "9"
                                                  << "1";
        QTest::newRow("colour not a number") << "BidBackColor"
                                             << "blue"
                                             << "16772829";
        QTest::newRow("colour kept") << "BidBackColor"
                                     << "255"
                                     << "255";
        QTest::newRow("any non-zero is checked") << "MailEncloses"
                                                 << "-1"
                                                 << "1";
    }
    void storedValuesAreShownAndWrittenBack()
    {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, written);
        ini().writeString(S, key, stored);
        openDialog();
        pressOk();
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(ini().readString(S, key, {}), written);
        if (key == "LoginTaskTrayShowMessageTime")
            QCOMPARE(navi->options.loginTaskTrayShowMessageTime, written.toInt());
    }

    // Text pasted with line breaks into the fields whose values go to setting.ini is kept on
    // one line, in the field and in the file.
    void pastedLineBreaksAreDropped_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("button"); // adds the line to its list; empty: the flag text
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("flag text") << "EditBidFlgStr" << QString() << S << QString();
        QTest::newRow("carriage line")
            << "EditBidCarriage"
            << "ButtonBidCarriage" << CommonDefine::Section::SettingOtherItem << "BidCarriage";
        QTest::newRow("name label")
            << "EditGetBidInfoName"
            << "ButtonGetBidInfoName" << CommonDefine::Section::SettingGetBidInfo << "Name";
    }
    void pastedLineBreaksAreDropped()
    {
        QFETCH(QString, edit);
        QFETCH(QString, button);
        QFETCH(QString, section);
        QFETCH(QString, prefix);
        const QString kept = QStringLiteral("送料[Main]Left=5");
        openDialog();
        if (button.isEmpty())
            find<QComboBox>("ComboBoxBidFlg")->setCurrentIndex(0);
        QGuiApplication::clipboard()->setText(QStringLiteral("送料\r\n[Main]\r\nLeft=5\n"));
        find<QLineEdit>(edit)->paste();
        QCOMPARE(find<QLineEdit>(edit)->text(), kept);
        if (!button.isEmpty())
            find<QPushButton>(button)->click();
        pressOk();
        QCOMPARE(form->result(), int(QDialog::Accepted));
        const QByteArray bytes = fileBytes(iniPath());
        QCOMPARE(bytes.count('\r'), 0);
        QVERIFY(!bytes.contains("\n[Main]"));
        if (button.isEmpty())
            QCOMPARE(ini().readString(section, "BidFlgString", {}), kept);
        else
            QVERIFY(ini().readList(section, prefix).contains(kept));
    }

    void balloonBoxFollowsTheMainWindow_data()
    {
        QTest::addColumn<bool>("capable");
        QTest::addColumn<bool>("current");
        QTest::addColumn<QString>("stored"); // empty: no key
        QTest::addColumn<bool>("shown");
        QTest::newRow("no key: the window's value on") << true << true << QString() << true;
        QTest::newRow("no key: the window's value off") << true << false << QString() << false;
        QTest::newRow("stored 1 without balloon tips") << false << false << "1" << true;
        QTest::newRow("stored 0") << true << true << "0" << false;
    }
    void balloonBoxFollowsTheMainWindow()
    {
        QFETCH(bool, capable);
        QFETCH(bool, current);
        QFETCH(QString, stored);
        QFETCH(bool, shown);
        navi->session.balloonCapable = capable;
        navi->options.loginTaskTrayShowBalloon = current;
        if (!stored.isEmpty())
            ini().writeString(S, "LoginTaskTrayShowBalloon", stored);
        openDialog();
        auto* box = find<QCheckBox>("CheckBoxLoginTaskTrayShowBalloon");
        QCOMPARE(box->isEnabled(), capable);
        QCOMPARE(box->isChecked(), shown);
        pressOk();
        QCOMPARE(ini().readString(S, "LoginTaskTrayShowBalloon", {}), shown ? "1" : "0");
        QCOMPARE(navi->options.loginTaskTrayShowBalloon, shown);
    }

    void cancelWritesNothing()
    {
        FixtureDb::addLogin(navi->connection, "a", "pa", true);
        const NaviOptions optionsBefore = navi->options;
        openDialog();
        const QByteArray before = fileBytes(iniPath());
        const QStringList logins = rows("T_LoginId");
        find<QCheckBox>("CheckBoxConfirmationBidDownload")->setChecked(true);
        find<QComboBox>("ComboBoxBidFlg")->setCurrentIndex(2);
        registerLogin("z", "pz");
        find<QLineEdit>("EditPersonalName")->setText("名前");
        addLine("EditBidCarriage", "ButtonBidCarriage", "100");
        find<QPushButton>("ButtonCancel")->click();
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QCOMPARE(fileBytes(iniPath()), before);
        QCOMPARE(rows("T_LoginId"), logins);
        QCOMPARE(rows("T_PersonalData"), QStringList());
        QCOMPARE(navi->options.confirmationBidDownload, optionsBefore.confirmationBidDownload);
        QCOMPARE(navi->options.bidFlg, optionsBefore.bidFlg);
        QCOMPARE(navi->listingTab().carriageItems, QStringList());
    }

    void personalDataIsShownAndRewrittenAsOneRow()
    {
        FixtureDb::insert(navi->connection, "T_PersonalData",
                          {{"Name", "山田"},
                           {"NamePhonetic", "やまだ"},
                           {"Post", "100-0001"},
                           {"Address1", "東京"},
                           {"Tel", "03"},
                           {"Mail", "m@example.jp"}});
        FixtureDb::insert(navi->connection, "T_PersonalData", {{"Name", "second"}});
        openDialog();
        QCOMPARE(find<QLineEdit>("EditPersonalName")->text(), QStringLiteral("山田"));
        QCOMPARE(find<QLineEdit>("EditPersonalMail")->text(), QStringLiteral("m@example.jp"));
        find<QLineEdit>("EditPersonalTel")->setText("06");
        pressOk();
        QCOMPARE(rows("T_PersonalData"), QStringList{"山田|やまだ|100-0001|東京|06|m@example.jp"});
    }

    void ctrlClickAndCtrlASelectTheWholeText()
    {
        openDialog();
        selectNode("個人設定");
        auto* name = find<QLineEdit>("EditPersonalName");
        name->setText("山田太郎");
        name->setCursorPosition(0);
        QTest::mouseClick(name, Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
        QCOMPARE(name->selectedText(), QStringLiteral("山田太郎"));
        auto* post = find<QLineEdit>("EditPersonalPost");
        post->setText("100");
        post->setFocus();
        post->deselect();
        form->ActionAllSelect->trigger();
        QCOMPARE(post->selectedText(), QStringLiteral("100"));
    }

    void ctrlClickSelectsTheWholeTextOfEveryEditOfTheDialog()
    {
        openDialog();
        const QList<QLineEdit*> edits = form->findChildren<QLineEdit*>();
        QVERIFY(edits.size() > 5);
        SelectionChecks::ctrlClickSelectsEach(edits);
    }

    void everyOptionIsInForceInTheMainWindowAtOnce()
    {
        navi->ComboBoxInputCarriage->setEditText("手入力");
        openDialog();
        for (const char* name :
             {"CheckBoxWholeTaskTray", "CheckBoxBid2DownloadNowDetailed",
              "CheckBoxBid2DownloadDetailed", "CheckBoxNaviKeywordErrorMsg",
              "CheckBoxConfirmationBidDownload", "CheckBoxConfirmationNaviDownload",
              "CheckBoxConfirmationNaviTransmission", "CheckBoxConfirmationNaviUnsealing",
              "CheckBoxConfirmationNaviOpen"})
            find<QCheckBox>(name)->setChecked(true);
        for (const char* name : {"CheckBoxBidDblClickFlgChange", "CheckBoxMailEncloses",
                                 "CheckBoxConfirmationEvaluationTransmission"})
            find<QCheckBox>(name)->setChecked(false);
        find<QComboBox>("ComboBoxBidFlg")->setCurrentIndex(0);
        find<QLineEdit>("EditBidFlgStr")->setText("済");
        find<QComboBox>("ComboBoxOperationBidListDblClick")->setCurrentIndex(1);
        find<QComboBox>("ComboBoxOperationBidListEnter")->setCurrentIndex(0);
        find<QComboBox>("ComboBoxOperationNaviListDblClick")->setCurrentIndex(0);
        find<QComboBox>("ComboBoxOperationNaviListEnter")->setCurrentIndex(1);
        find<QComboBox>("ComboBoxOperationStatusBarClick")->setCurrentIndex(2);
        find<QComboBox>("ComboBoxOperationNaviTemplateTree")->setCurrentIndex(0);
        find<QComboBox>("ComboBoxOperationEvaluationTemplateTree")->setCurrentIndex(0);
        find<QSpinBox>("CSpinEditLoginTaskTrayShowMessageTime")->setValue(7);
        app->dialogs().queue(Dialogs::Answer::Ok, "#ff0000");
        find<QPushButton>("ButtonBidBackColorChenge")->click();
        addLine("EditBidCarriage", "ButtonBidCarriage", "800円");
        pressOk();
        QCOMPARE(form->result(), int(QDialog::Accepted));

        const NaviOptions& o = navi->options;
        QVERIFY(o.taskTray && o.bidDownloadNowDetailed && o.bidDownloadDetailed &&
                o.naviKeywordErrorMsg && o.confirmationBidDownload && o.confirmationNaviDownload &&
                o.confirmationNaviTransmission && o.confirmationNaviUnsealing &&
                o.confirmationNaviOpen);
        QVERIFY(!o.bidDblClickFlgChange && !o.mailEncloses &&
                !o.confirmationEvaluationTransmission);
        QCOMPARE(o.bidFlg, 0);
        QCOMPARE(o.bidFlgString, QStringLiteral("済"));
        QCOMPARE((QList<int>{o.operationBidListDblClick, o.operationBidListEnter,
                             o.operationNaviListDblClick, o.operationNaviListEnter,
                             o.operationStatusBarClick, o.operationNaviTemplateTree,
                             o.operationEvaluationTemplateTree}),
                 (QList<int>{1, 0, 0, 1, 2, 0, 0}));
        QCOMPARE(o.loginTaskTrayShowMessageTime, 7000);
        QCOMPARE(o.bidBackColor, QString::number(0x0000FF));
        QCOMPARE(navi->ListViewBid->backColor(), QColor(Qt::red));
        QCOMPARE(navi->ComboBoxInputCarriage->itemText(0), QStringLiteral("800円"));
        QCOMPARE(navi->ComboBoxInputCarriage->currentText(), QStringLiteral("手入力"));
        // The file says the same at the next start.
        const NaviOptions reread = NaviOptions::read(ini(), false);
        QCOMPARE(reread.bidFlgString, QStringLiteral("済"));
        QCOMPARE(reread.operationStatusBarClick, 2);
        QVERIFY(NaviOptions::readTaskTray(ini()));

        // A listing download now asks first.
        app->dialogs().clear();
        app->dialogs().queue(Dialogs::Answer::Cancel);
        navi->downloadControl().startClosedListingDownload(false);
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::OkCancel);
        QCOMPARE(app->dialogs().requests()[0].caption, QStringLiteral("確認"));
    }

    void databaseErrorDuringOkLeavesEverythingAndKeepsTheDialogOpen()
    {
        FixtureDb::addLogin(navi->connection, "a", "pa", true);
        const QMap<QString, QString> savedBefore = navi->loginControl().savedLogins;
        const int menuBefore = int(navi->PopupMenuLogin->actions().size());
        openDialog();
        Sql::exec(navi->connection, "CREATE TRIGGER refuse BEFORE INSERT ON T_PersonalData "
                                    "BEGIN SELECT RAISE(ABORT, 'disk refused'); END");
        const QByteArray before = fileBytes(iniPath());
        const QStringList logins = rows("T_LoginId");
        registerLogin("b", "pb");
        find<QCheckBox>("CheckBoxWholeTaskTray")->setChecked(true);
        addLine("EditBidCarriage", "ButtonBidCarriage", "100");
        pressOk();

        QVERIFY(form->isVisible());
        QCOMPARE(form->result(), 0);
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::Error);
        QVERIFY(app->dialogs().requests()[0].text.contains("disk refused"));
        QCOMPARE(rows("T_LoginId"), logins);
        QCOMPARE(rows("T_PersonalData"), QStringList());
        QCOMPARE(fileBytes(iniPath()), before);
        QCOMPARE(navi->loginControl().savedLogins, savedBefore);
        QVERIFY(!navi->options.taskTray);
        QCOMPARE(navi->PopupMenuLogin->actions().size(), menuBefore);

        // Once the database takes it, the same OK goes through.
        Sql::exec(navi->connection, "DROP TRIGGER refuse");
        pressOk();
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(rows("T_LoginId"), (QStringList{"a|pa|1", "b|pb|0"}));
        QVERIFY(navi->options.taskTray);
    }

    void settingsCommandOpensTheDialogModallyAndFreesIt()
    {
        QAction* command = navi->action("ActionShowSetting");
        QVERIFY(command->isEnabled());
        QPointer<QWidget> seen;
        bool modal = false;
        QWidget* owner = nullptr;
        QTimer::singleShot(0, this, [&] {
            seen = navi->formSetting;
            if (!seen)
                return;
            modal = seen->isModal();
            owner = seen->parentWidget();
            seen->findChild<QPushButton*>("ButtonCancel")->click();
        });
        command->trigger();
        QVERIFY(modal);
        QCOMPARE(owner, navi);
        QVERIFY(seen.isNull());
        QVERIFY(navi->formSetting.isNull());
    }
};

QTEST_MAIN(TestSetting)
#include "test_setting.moc"
