// The message and feedback template editors: list commands, save, load, delete, rename, order,
// keywords, wheel, placement, and the main window's commands that open them.
#include "DrawnColours.h"
#include "MainWindowFixture.h"
#include "common/CommonDefine.h"
#include "app/UnitNavi.h"
#include "compose/TemplateDropRule.h"
#include "compose/TemplateKeywordTable.h"
#include "compose/TemplateListBox.h"
#include "compose/UnitEvaluationTemplate.h"
#include "compose/UnitNaviTemplate.h"
#include "platform/Database.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QWheelEvent>

#include <memory>

using Kind = TemplateKind;
Q_DECLARE_METATYPE(TemplateKind)

namespace {

QString tableOf(Kind kind)
{
    return TemplateStore::tableName(kind);
}

QString sectionOf(Kind kind)
{
    return kind == Kind::Navi ? QStringLiteral("NaviTemplateWindow")
                              : QStringLiteral("EvaluationTemplateWindow");
}

void turnWheel(QWidget* target, int distance, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF at(10, 10);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, distance), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

QStringList listEntries(const TemplateEditorBase& editor)
{
    QStringList names;
    for (int row = 0; row < editor.ListBoxSaveName->count(); ++row)
        names << editor.ListBoxSaveName->item(row)->text();
    return names;
}

QStringList menuCaptions(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* item : menu->actions())
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    return captions;
}

QRadioButton* subjectButton(TFormNaviTemplate* editor, int value)
{
    QRadioButton* const buttons[] = {
        editor->RadioButtonSubjectFirst, editor->RadioButtonSubjectPayment,
        editor->RadioButtonSubjectReceipt, editor->RadioButtonSubjectOthers};
    return buttons[value - 1];
}

// Sets the subject (1 to 4) or the rating position (0 to 4).
void choose(TemplateEditorBase* editor, int value)
{
    if (auto* navi = qobject_cast<TFormNaviTemplate*>(editor))
        subjectButton(navi, value)->setChecked(true);
    else
        qobject_cast<TFormEvaluationTemplate*>(editor)->ComboBoxEvaluation->setCurrentIndex(value);
}

// The subject shown (0 for none) or the rating position shown (-1 for none).
int shownChoice(TemplateEditorBase* editor)
{
    if (auto* navi = qobject_cast<TFormNaviTemplate*>(editor)) {
        for (int value = 1; value <= 4; ++value)
            if (subjectButton(navi, value)->isChecked())
                return value;
        return 0;
    }
    return qobject_cast<TFormEvaluationTemplate*>(editor)->ComboBoxEvaluation->currentIndex();
}

int noChoice(Kind kind)
{
    return kind == Kind::Navi ? 0 : -1;
}

QAction* keywordCommand(TFormNaviTemplate* editor, const QString& label)
{
    for (QAction* command : std::as_const(editor->keywordActions))
        if (command->text() == label)
            return command;
    return nullptr;
}

QList<QTreeWidgetItem*> allNodes(QTreeWidget* tree)
{
    QList<QTreeWidgetItem*> nodes;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = tree->topLevelItem(i);
        nodes << top;
        for (int j = 0; j < top->childCount(); ++j)
            nodes << top->child(j);
    }
    return nodes;
}

} // namespace

class TestTemplates : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    QString connectionName;
    QSqlDatabase db;
    std::unique_ptr<TemplateEditorBase> editor;

    void addTemplate(Kind kind, const QString& name, int choice, const QString& message,
                     int sortNumber, int firstFlg = 0, int endFlg = 0)
    {
        const QString column = kind == Kind::Navi ? "Subject" : "Evaluation";
        Sql::exec(db,
                  QString("INSERT INTO %1 (SaveName,%2,Message,SortNumber,FirstFlg,EndFlg) "
                          "VALUES(:N,:C,:M,:S,:F,:E)")
                      .arg(tableOf(kind), column),
                  {{":N", name},
                   {":C", choice},
                   {":M", message},
                   {":S", sortNumber},
                   {":F", firstFlg},
                   {":E", endFlg}});
    }
    void addThree(Kind kind)
    {
        addTemplate(kind, "A", 1, "text A", 0);
        addTemplate(kind, "B", 2, "text B", 1);
        addTemplate(kind, "C", 3, "text C", 2);
    }
    // (name, SortNumber) pairs in SortNumber order.
    QStringList storedOrder(Kind kind)
    {
        QSqlQuery query = Sql::exec(
            db, QString("SELECT SaveName, SortNumber FROM %1 ORDER BY SortNumber, SaveName")
                    .arg(tableOf(kind)));
        QStringList rows;
        while (query.next())
            rows << query.value(0).toString() + "=" + query.value(1).toString();
        return rows;
    }
    int rowCount(Kind kind)
    {
        return Sql::scalar(db, QString("SELECT COUNT(*) FROM %1").arg(tableOf(kind))).toInt();
    }
    QVariant column(Kind kind, const QString& name, const QString& columnName)
    {
        return Sql::scalar(
            db, QString("SELECT %1 FROM %2 WHERE SaveName=:N").arg(columnName, tableOf(kind)),
            {{":N", name}});
    }
    TemplateEditorBase* open(Kind kind, int fontSize = 12, bool show = true)
    {
        if (kind == Kind::Navi)
            editor = std::make_unique<TFormNaviTemplate>(nullptr, db, fontSize);
        else
            editor = std::make_unique<TFormEvaluationTemplate>(nullptr, db, fontSize);
        editor->FormShow();
        if (show) {
            editor->show();
            if (!QTest::qWaitForWindowExposed(editor.get()))
                qWarning("editor not exposed");
        }
        return editor.get();
    }
    void select(const QString& name)
    {
        const auto found = editor->ListBoxSaveName->findItems(name, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        editor->ListBoxSaveName->setCurrentItem(found.first());
    }
    void load(const QString& name)
    {
        select(name);
        editor->ListBoxSaveNameDblClick();
    }
    void closeEditor()
    {
        editor->close();
        editor.reset();
    }
    static void addKindRows()
    {
        QTest::addColumn<Kind>("kind");
        QTest::newRow("message") << Kind::Navi;
        QTest::newRow("feedback") << Kind::Evaluation;
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        connectionName = Database::uniqueConnectionName("templatesTest");
        db = Database::open(connectionName);
    }
    void cleanup()
    {
        editor.reset();
        db = QSqlDatabase();
        Database::close(connectionName);
        app.reset();
    }

    void saveChecksReportInOrderAndWriteNothing_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("status");
        const QString noName = "保存名が入力されていません";
        const QString noText = "本文が入力されていません";
        QTest::newRow("message: nothing") << Kind::Navi << "" << false << "" << noName;
        QTest::newRow("message: no name") << Kind::Navi << "" << true << "body" << noName;
        QTest::newRow("message: no subject, no text") << Kind::Navi << "n" << false << ""
                                                      << "件名が選択されていません";
        QTest::newRow("message: no text") << Kind::Navi << "n" << true << "" << noText;
        QTest::newRow("feedback: nothing") << Kind::Evaluation << "" << false << "" << noName;
        QTest::newRow("feedback: no rating, no text") << Kind::Evaluation << "n" << false << ""
                                                      << "評価が選択されていません";
        QTest::newRow("feedback: no rating") << Kind::Evaluation << "n" << false << "body"
                                             << "評価が選択されていません";
        QTest::newRow("feedback: no text") << Kind::Evaluation << "n" << true << "" << noText;
    }
    void saveChecksReportInOrderAndWriteNothing()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, name);
        QFETCH(bool, chosen);
        QFETCH(QString, text);
        QFETCH(QString, status);
        addThree(kind);
        open(kind);
        editor->EditSaveName->setText(name);
        if (chosen)
            choose(editor.get(), kind == Kind::Navi ? 1 : 0);
        editor->MemoMessage->setPlainText(text);
        editor->ActionSave->trigger();
        QCOMPARE(editor->statusText(), status);
        QCOMPARE(rowCount(kind), 3);
        QCOMPARE(listEntries(*editor), QStringList({"A", "B", "C"}));
        QVERIFY(app->dialogs().requests().isEmpty());
        QVERIFY(editor->loadedSaveName.isEmpty());
    }

    void newTemplateIsSavedLastWithTheNextSortNumber_data() { addKindRows(); }
    void newTemplateIsSavedLastWithTheNextSortNumber()
    {
        QFETCH(Kind, kind);
        addThree(kind);
        open(kind);
        QCOMPARE(listEntries(*editor), QStringList({"A", "B", "C"}));
        editor->EditSaveName->setText("新規");
        choose(editor.get(), 4);
        editor->MemoMessage->setPlainText("一行目\n%name%様");
        editor->CheckBoxFlgPayment->setChecked(true);
        editor->CheckBoxFlgEnd->setChecked(true);
        editor->ActionSave->trigger();

        QCOMPARE(editor->statusText(), QString("保存しました"));
        QCOMPARE(listEntries(*editor), QStringList({"A", "B", "C", "新規"}));
        QCOMPARE(editor->loadedSaveName, QString("新規"));
        QCOMPARE(column(kind, "新規", "SortNumber").toInt(), 3);
        QCOMPARE(column(kind, "新規", kind == Kind::Navi ? "Subject" : "Evaluation").toInt(), 4);
        QCOMPARE(column(kind, "新規", "Message").toString(), QString("一行目\r\n%name%様"));
        QCOMPARE(column(kind, "新規", "FirstFlg").toInt(), 0);
        QCOMPARE(column(kind, "新規", "PaymentFlg").toInt(), 1);
        QCOMPARE(column(kind, "新規", "EndFlg").toInt(), 1);
        QVERIFY(app->dialogs().requests().isEmpty());
    }

    // The status line quotes a stored name as its characters.
    void statusQuotesAStoredNameAsText_data() { addKindRows(); }
    void statusQuotesAStoredNameAsText()
    {
        QFETCH(Kind, kind);
        const QString name = QStringLiteral("<font color=#ff0000>MMMMMMMM</font>");
        addTemplate(kind, name, 2, "text", 0);
        open(kind);
        load(name);
        editor->ActionSave->trigger();
        QCOMPARE(editor->statusText(), name + "を上書き保存しました");
        auto* panel = editor->findChild<QLabel*>("StatusPanel0");
        QVERIFY(panel);
        QVERIFY(!DrawnColours::drawsBrightRed(panel));
    }

    void savingUnderAnotherExistingNameOverwritesIt_data() { addKindRows(); }
    void savingUnderAnotherExistingNameOverwritesIt()
    {
        QFETCH(Kind, kind);
        addThree(kind);
        open(kind);
        load("A");
        editor->EditSaveName->setText("B");
        choose(editor.get(), 4);
        editor->MemoMessage->setPlainText("new B");
        editor->CheckBoxFlgReceipt->setChecked(true);
        editor->ActionSave->trigger();

        QCOMPARE(editor->statusText(), QString("Bを上書き保存しました"));
        QVERIFY(app->dialogs().requests().isEmpty());
        QCOMPARE(listEntries(*editor), QStringList({"A", "B", "C"}));
        QCOMPARE(storedOrder(kind), QStringList({"A=0", "B=1", "C=2"}));
        QCOMPARE(column(kind, "B", "Message").toString(), QString("new B"));
        QCOMPARE(column(kind, "B", "ReceiptFlg").toInt(), 1);
        QCOMPARE(column(kind, "B", kind == Kind::Navi ? "Subject" : "Evaluation").toInt(), 4);
        QCOMPARE(column(kind, "A", "Message").toString(), QString("text A"));
        QCOMPARE(editor->loadedSaveName, QString("B"));
    }

    void loadShowsTheStoredTemplate_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("shown");
        QTest::newRow("message, subject 3") << Kind::Navi << 3 << "商品を発送しました";
        QTest::newRow("feedback, rating 2") << Kind::Evaluation << 2 << "どちらでもない";
    }
    void loadShowsTheStoredTemplate()
    {
        QFETCH(Kind, kind);
        QFETCH(int, choice);
        QFETCH(QString, shown);
        addTemplate(kind, "first", choice, "お世話になります。\r\n%name%様", 0, 1, 1);
        open(kind);
        editor->statusPanel->setText("earlier");
        load("first");
        QCOMPARE(editor->EditSaveName->text(), QString("first"));
        QCOMPARE(shownChoice(editor.get()), choice);
        if (auto* navi = qobject_cast<TFormNaviTemplate*>(editor.get()))
            QCOMPARE(subjectButton(navi, choice)->text(), shown);
        else
            QCOMPARE(qobject_cast<TFormEvaluationTemplate*>(editor.get())
                         ->ComboBoxEvaluation->currentText(),
                     shown);
        QCOMPARE(editor->MemoMessage->toPlainText(), QString("お世話になります。\n%name%様"));
        QVERIFY(editor->CheckBoxFlgFirst->isChecked());
        QVERIFY(!editor->CheckBoxFlgPayment->isChecked());
        QVERIFY(editor->CheckBoxFlgEnd->isChecked());
        QCOMPARE(editor->statusText(), QString());
        QCOMPARE(editor->loadedSaveName, QString("first"));

        // Saved again unchanged, the text keeps its CR LF and placeholder as typed.
        editor->ActionSave->trigger();
        QCOMPARE(column(kind, "first", "Message").toString(),
                 QString("お世話になります。\r\n%name%様"));
    }

    void subjectOutsideItsRangeLeavesTheButtons_data()
    {
        QTest::addColumn<int>("subject");
        QTest::newRow("0") << 0;
        QTest::newRow("5") << 5;
        QTest::newRow("-1") << -1;
    }
    void subjectOutsideItsRangeLeavesTheButtons()
    {
        QFETCH(int, subject);
        addTemplate(Kind::Navi, "odd", subject, "x", 0);
        open(Kind::Navi);
        choose(editor.get(), 2);
        load("odd");
        QCOMPARE(shownChoice(editor.get()), 2);
        QCOMPARE(editor->MemoMessage->toPlainText(), QString("x"));
    }

    void doubleClickWithoutSelectionLoadsNothing()
    {
        addThree(Kind::Navi);
        open(Kind::Navi);
        editor->ListBoxSaveName->clearSelection();
        editor->ListBoxSaveNameDblClick();
        QVERIFY(editor->EditSaveName->text().isEmpty());
        QVERIFY(editor->loadedSaveName.isEmpty());
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("message, OK") << Kind::Navi << "B" << true;
        QTest::newRow("message, Cancel") << Kind::Navi << "B" << false;
        QTest::newRow("message, quote in name") << Kind::Navi << "O'Brien様" << true;
        QTest::newRow("feedback, OK") << Kind::Evaluation << "B" << true;
        QTest::newRow("feedback, Cancel") << Kind::Evaluation << "B" << false;
        QTest::newRow("feedback, quote in name") << Kind::Evaluation << "it's'" << true;
    }
    void deleteAsksFirst()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, name);
        QFETCH(bool, confirmed);
        addTemplate(kind, "A", 1, "a", 0);
        addTemplate(kind, name, 2, "b", 1);
        addTemplate(kind, "C", 3, "c", 2);
        open(kind);
        load(name);
        app->dialogs().queue(confirmed ? Dialogs::Answer::Ok : Dialogs::Answer::Cancel);
        editor->ActionDelete->trigger();

        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests().first().kind, Dialogs::Kind::OkCancel);
        QCOMPARE(app->dialogs().requests().first().caption, QString("確認"));
        QCOMPARE(app->dialogs().requests().first().text, QString("削除しますか？"));
        if (confirmed) {
            QCOMPARE(rowCount(kind), 2);
            QVERIFY(!column(kind, name, "SaveName").isValid());
            QCOMPARE(listEntries(*editor), QStringList({"A", "C"}));
            QCOMPARE(editor->statusText(), name + "を削除しました");
            QVERIFY(editor->EditSaveName->text().isEmpty());
            QVERIFY(editor->MemoMessage->toPlainText().isEmpty());
            QCOMPARE(shownChoice(editor.get()), noChoice(kind));
            QVERIFY(editor->loadedSaveName.isEmpty());
        } else {
            QCOMPARE(rowCount(kind), 3);
            QCOMPARE(listEntries(*editor), QStringList({"A", name, "C"}));
            QCOMPARE(editor->EditSaveName->text(), name);
        }
    }

    void deleteKeyAndRightPressActOnTheEntryUnderThePointer()
    {
        addThree(Kind::Evaluation);
        open(Kind::Evaluation);
        select("A");
        QListWidget* list = editor->ListBoxSaveName;
        const QPoint onC = list->visualItemRect(list->item(2)).center();
        QTest::mousePress(list->viewport(), Qt::RightButton, Qt::NoModifier, onC);
        QTest::mouseRelease(list->viewport(), Qt::RightButton, Qt::NoModifier, onC);
        QCOMPARE(list->selectedItems().value(0)->text(), QString("C"));
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(app->dialogs().texts(), QStringList({"削除しますか？"}));
        QCOMPARE(listEntries(*editor), QStringList({"A", "B"}));
        QCOMPARE(rowCount(Kind::Evaluation), 2);
    }

    void ctrlClickAndSelectAllSelectTheWholeName()
    {
        open(Kind::Navi);
        editor->EditSaveName->setText("お礼の連絡");
        editor->EditSaveName->setFocus();
        QTest::mouseClick(editor->EditSaveName, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(editor->EditSaveName->selectedText(), QString("お礼の連絡"));
        editor->EditSaveName->deselect();
        QTest::mouseClick(editor->EditSaveName, Qt::LeftButton);
        QVERIFY(editor->EditSaveName->selectedText().isEmpty());
    }

    void closeAfterDeleteNumbersWithoutGap_data() { addKindRows(); }
    void closeAfterDeleteNumbersWithoutGap()
    {
        QFETCH(Kind, kind);
        addThree(kind);
        addTemplate(kind, "D", 1, "d", 3);
        open(kind);
        select("B");
        editor->ActionDelete->trigger();
        closeEditor();
        QCOMPARE(storedOrder(kind), QStringList({"A=0", "C=1", "D=2"}));
    }

    void renameToATakenNameIsRefused_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("newName");
        QTest::newRow("message") << Kind::Navi << "C";
        QTest::newRow("message, other case") << Kind::Navi << "c";
        QTest::newRow("feedback") << Kind::Evaluation << "C";
    }
    void renameToATakenNameIsRefused()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, newName);
        addThree(kind);
        open(kind);
        load("A");
        select("B");
        app->dialogs().queue(Dialogs::Answer::Ok, newName);
        editor->ActionReName->trigger();

        QCOMPARE(app->dialogs().requests().size(), 2);
        const Dialogs::Request& input = app->dialogs().requests().at(0);
        QCOMPARE(input.kind, Dialogs::Kind::InputText);
        QCOMPARE(input.caption, QString("新しい名前を入力してください"));
        QCOMPARE(input.text, QString("保存名"));
        QCOMPARE(input.initialText, QString("B"));
        const Dialogs::Request& refusal = app->dialogs().requests().at(1);
        QCOMPARE(refusal.kind, Dialogs::Kind::Error);
        QCOMPARE(refusal.caption, QString("中止"));
        QCOMPARE(refusal.text, QString("その名前は既に存在しています。名前の変更を中止します。"));
        QCOMPARE(listEntries(*editor), QStringList({"A", "B", "C"}));
        QCOMPARE(storedOrder(kind), QStringList({"A=0", "B=1", "C=2"}));
    }

    void renameToTheSameNameDoesNothing_data() { addKindRows(); }
    void renameToTheSameNameDoesNothing()
    {
        QFETCH(Kind, kind);
        addThree(kind);
        open(kind);
        load("B");
        editor->statusPanel->setText("kept");
        app->dialogs().queue(Dialogs::Answer::Ok, "B");
        editor->ActionReName->trigger();
        // The taken-name check would refuse "B": no check ran, and nothing was reported.
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(editor->statusText(), QString("kept"));
        QCOMPARE(listEntries(*editor), QStringList({"A", "B", "C"}));
    }

    void renameChangesTheNameEditOnlyForTheLoadedTemplate_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("renamed");
        QTest::addColumn<QString>("editAfter");
        QTest::addColumn<QString>("loadedAfter");
        QTest::newRow("message, loaded") << Kind::Navi << "A"
                                         << "Z"
                                         << "Z";
        QTest::newRow("message, other") << Kind::Navi << "B"
                                        << "A"
                                        << "A";
        QTest::newRow("feedback, loaded") << Kind::Evaluation << "A"
                                          << "Z"
                                          << "Z";
        QTest::newRow("feedback, other") << Kind::Evaluation << "B"
                                         << "A"
                                         << "A";
    }
    void renameChangesTheNameEditOnlyForTheLoadedTemplate()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, renamed);
        QFETCH(QString, editAfter);
        QFETCH(QString, loadedAfter);
        addThree(kind);
        open(kind);
        load("A");
        editor->statusPanel->setText("before");
        select(renamed);
        app->dialogs().queue(Dialogs::Answer::Ok, "Z");
        editor->ActionReName->trigger();

        QStringList expected{"A", "B", "C"};
        expected.replace(expected.indexOf(renamed), "Z");
        QCOMPARE(listEntries(*editor), expected);
        QVERIFY(column(kind, "Z", "SaveName").isValid());
        QVERIFY(!column(kind, renamed, "SaveName").isValid());
        QCOMPARE(column(kind, "Z", "Message").toString(), "text " + renamed);
        QCOMPARE(editor->EditSaveName->text(), editAfter);
        QCOMPARE(editor->loadedSaveName, loadedAfter);
        QCOMPARE(editor->statusText(), QString());
    }

    void renameAsksAgainAfterAnEmptyAnswer()
    {
        addThree(Kind::Navi);
        open(Kind::Navi);
        select("C");
        app->dialogs().queue(Dialogs::Answer::Ok, "");
        app->dialogs().queue(Dialogs::Answer::Ok, "N");
        editor->ActionReName->trigger();
        QCOMPARE(app->dialogs().requests().size(), 2);
        QCOMPARE(app->dialogs().requests().at(1).kind, Dialogs::Kind::InputText);
        QCOMPARE(listEntries(*editor), QStringList({"A", "B", "N"}));

        app->dialogs().clear();
        select("N");
        app->dialogs().queue(Dialogs::Answer::Cancel);
        editor->ActionReName->trigger();
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(listEntries(*editor), QStringList({"A", "B", "N"}));
    }

    void dropRule_data()
    {
        QTest::addColumn<int>("dragIndex");
        QTest::addColumn<int>("dropIndex");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("selected");
        QTest::newRow("down onto an entry") << 0 << 2 << QStringList{"B", "C", "A", "D"} << 2;
        QTest::newRow("up onto the first") << 3 << 0 << QStringList{"D", "A", "B", "C"} << 0;
        QTest::newRow("onto itself") << 1 << 1 << QStringList{"A", "B", "C", "D"} << 1;
        QTest::newRow("below the last") << 1 << -1 << QStringList{"A", "C", "D", "B"} << 3;
        QTest::newRow("last below the last") << 3 << -1 << QStringList{"A", "B", "C", "D"} << 3;
        QTest::newRow("nothing dragged") << -1 << 2 << QStringList{"A", "B", "C", "D"} << -1;
    }
    void dropRule()
    {
        QFETCH(int, dragIndex);
        QFETCH(int, dropIndex);
        QFETCH(QStringList, after);
        QFETCH(int, selected);
        QStringList names{"A", "B", "C", "D"};
        QCOMPARE(dropTemplateEntry(names, dragIndex, dropIndex), selected);
        QCOMPARE(names, after);
    }

    void reorderingReachesTheTableAtClose_data() { addKindRows(); }
    void reorderingReachesTheTableAtClose()
    {
        QFETCH(Kind, kind);
        addThree(kind);
        addTemplate(kind, "D", 1, "d", 3);
        open(kind);
        QListWidget* list = editor->ListBoxSaveName;

        select("A");
        editor->ActionUp->trigger(); // the first stays
        editor->ActionDown->trigger();
        QCOMPARE(listEntries(*editor), QStringList({"B", "A", "C", "D"}));
        QCOMPARE(list->selectedItems().value(0)->text(), QString("A"));
        select("D");
        editor->ActionDown->trigger(); // the last stays
        editor->ActionUp->trigger();
        QCOMPARE(listEntries(*editor), QStringList({"B", "A", "D", "C"}));
        QCOMPARE(list->selectedItems().value(0)->text(), QString("D"));
        list->clearSelection();
        editor->ActionUp->trigger();
        QCOMPARE(listEntries(*editor), QStringList({"B", "A", "D", "C"}));
        QCOMPARE(storedOrder(kind), QStringList({"A=0", "B=1", "C=2", "D=3"}));

        // A drag of "B" moved over and dropped onto "D", then "A" dropped below the last entry.
        QMimeData data;
        data.setText("entry");
        const auto startDrag = [&](const QString& name) {
            if (name.isEmpty())
                list->clearSelection();
            else
                select(name);
            editor->ListBoxSaveNameStartDrag();
            const QPoint at = list->visualItemRect(list->item(0)).center();
            QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(list->viewport(), &enter);
        };
        const auto dragMove = [&](const QPoint& at) {
            QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(list->viewport(), &move);
            return move.isAccepted();
        };
        const auto drop = [&](const QPoint& at) {
            QDropEvent dropped(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(list->viewport(), &dropped);
            QCOMPARE(dropped.dropAction(), Qt::IgnoreAction); // the list itself removes nothing
        };
        startDrag("B");
        QCOMPARE(editor->dragIndex, 0);
        const QPoint onD = list->visualItemRect(list->item(2)).center();
        QVERIFY(dragMove(onD));
        QCOMPARE(list->selectedItems().value(0)->text(), QString("D"));
        drop(onD);
        QCOMPARE(listEntries(*editor), QStringList({"A", "D", "B", "C"}));
        QCOMPARE(list->selectedItems().value(0)->text(), QString("B"));
        QCOMPARE(editor->dragIndex, -1);

        startDrag("A");
        const QPoint below(5, list->visualItemRect(list->item(3)).bottom() + 20);
        QVERIFY(list->viewport()->rect().contains(below));
        QVERIFY(dragMove(below));
        QVERIFY(list->selectedItems().isEmpty());
        drop(below);
        QCOMPARE(listEntries(*editor), QStringList({"D", "B", "C", "A"}));
        QCOMPARE(list->selectedItems().value(0)->text(), QString("A"));

        // A drag that started with nothing selected moves nothing.
        startDrag(QString());
        QCOMPARE(editor->dragIndex, -1);
        dragMove(onD);
        drop(onD);
        QCOMPARE(listEntries(*editor), QStringList({"D", "B", "C", "A"}));

        closeEditor();
        QCOMPARE(storedOrder(kind), QStringList({"D=0", "B=1", "C=2", "A=3"}));
    }

    void newTemplateKeepsTheStatusOnlyInTheFeedbackEditor_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("statusAfterNew");
        QTest::newRow("message") << Kind::Navi << "";
        QTest::newRow("feedback") << Kind::Evaluation << "保存しました";
    }
    void newTemplateKeepsTheStatusOnlyInTheFeedbackEditor()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, statusAfterNew);
        open(kind);
        editor->EditSaveName->setText("x");
        choose(editor.get(), 1);
        editor->MemoMessage->setPlainText("body");
        editor->CheckBoxFlgEvaluation->setChecked(true);
        editor->ActionSave->trigger();
        QCOMPARE(editor->statusText(), QString("保存しました"));
        select("x");

        editor->ActionNew->trigger();
        QCOMPARE(editor->statusText(), statusAfterNew);
        QVERIFY(editor->EditSaveName->text().isEmpty());
        QVERIFY(editor->MemoMessage->toPlainText().isEmpty());
        QCOMPARE(shownChoice(editor.get()), noChoice(kind));
        QVERIFY(!editor->CheckBoxFlgEvaluation->isChecked());
        QVERIFY(editor->ListBoxSaveName->selectedItems().isEmpty());
        QVERIFY(editor->loadedSaveName.isEmpty());
    }

    void keywordMenuAndTreeFollowTheTable()
    {
        auto* navi = static_cast<TFormNaviTemplate*>(open(Kind::Navi));
        QStringList menu;
        QStringList tree;
        QString group;
        for (const TemplateKeywordEntry& entry : templateKeywordTable()) {
            QVERIFY2(CommonDefine::templateKeywords.contains(entry.before),
                     qPrintable(entry.before));
            if (!entry.after.isEmpty())
                QVERIFY(CommonDefine::templateKeywords.contains(entry.after));
            if (entry.inMenu) {
                menu << entry.label;
                if (entry.separatorAfter)
                    menu << "-";
            }
        }
        QCOMPARE(menuCaptions(navi->MainMenuKeyword), menu);
        QCOMPARE(menu.count("-"), 3);
        QCOMPARE(menu.at(menu.indexOf("落札者氏名") + 1), QString("-"));
        QCOMPARE(menu.at(menu.indexOf("発送番号") + 1), QString("-"));
        QCOMPARE(menu.at(menu.indexOf("メール") + 1), QString("-"));
        QVERIFY(!menu.contains("計算"));
        QVERIFY(!menu.contains("個数"));
        QVERIFY(menu.contains("改行"));

        QTreeWidget* view = navi->TreeViewKeyword;
        QStringList tops;
        for (int i = 0; i < view->topLevelItemCount(); ++i)
            tops << view->topLevelItem(i)->text(0);
        QCOMPARE(tops, QStringList({"落札者", "商品", "個人設定", "計算", "改行"}));
        QCOMPARE(view->topLevelItem(0)->childCount(), 2);
        QCOMPARE(view->topLevelItem(1)->childCount(), 15);
        QCOMPARE(view->topLevelItem(2)->childCount(), 7);
        QVERIFY(view->topLevelItem(1)->isExpanded());
        QCOMPARE(view->topLevelItem(0)->data(0, TFormNaviTemplate::keywordImageRole).toInt(), 0);
        QCOMPARE(view->topLevelItem(3)->data(0, TFormNaviTemplate::keywordImageRole).toInt(), 2);

        // Every entry node runs the command of its caption: it inserts the table's text.
        int entries = 0;
        for (QTreeWidgetItem* node : allNodes(view)) {
            navi->MemoMessage->clear();
            navi->TreeViewKeywordDblClick(node);
            if (node->data(0, TFormNaviTemplate::keywordImageRole).toInt() != 2) {
                QVERIFY(navi->MemoMessage->toPlainText().isEmpty());
                continue;
            }
            ++entries;
            const auto& table = templateKeywordTable();
            const auto found = std::find_if(table.begin(), table.end(), [node](const auto& e) {
                return e.label == node->text(0);
            });
            QVERIFY(found != table.end());
            QCOMPARE(navi->MemoMessage->toPlainText(), found->before + found->after);
            QVERIFY(found->group.isEmpty() ? !node->parent()
                                           : node->parent()->text(0) == found->group);
        }
        QCOMPARE(entries, int(templateKeywordTable().size()));
    }

    void calcKeywordLeavesTheCaretBetweenItsMarkers()
    {
        auto* navi = static_cast<TFormNaviTemplate*>(open(Kind::Navi));
        QTreeWidgetItem* calc = navi->TreeViewKeyword->topLevelItem(3);
        QCOMPARE(calc->text(0), QString("計算"));
        navi->TreeViewKeywordDblClick(calc);
        QCOMPARE(navi->MemoMessage->toPlainText(), QString("%CALC%%/CALC%"));
        QCOMPARE(navi->MemoMessage->textCursor().position(), 6);
        QTest::keyClicks(navi->MemoMessage, "1+2");
        QCOMPARE(navi->MemoMessage->toPlainText(), QString("%CALC%1+2%/CALC%"));
    }

    void keywordReplacesTheSelection()
    {
        auto* navi = static_cast<TFormNaviTemplate*>(open(Kind::Navi));
        navi->MemoMessage->setPlainText("abcdef");
        QTextCursor cursor = navi->MemoMessage->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        navi->MemoMessage->setTextCursor(cursor);
        keywordCommand(navi, "落札者氏名")->trigger();
        QCOMPARE(navi->MemoMessage->toPlainText(), QString("ab%name%ef"));
        QCOMPARE(navi->MemoMessage->textCursor().position(), 8);
        QVERIFY(!navi->MemoMessage->textCursor().hasSelection());
    }

    void keywordPanelShowsAndHides()
    {
        auto* navi = static_cast<TFormNaviTemplate*>(open(Kind::Navi));
        QVERIFY(navi->ActionKeywordShow->isChecked());
        QVERIFY(navi->PanelKeyword->isVisible());
        QCOMPARE(menuCaptions(navi->MainMenuView), QStringList({"キーワード表示／非表示(&K)"}));
        navi->ActionKeywordShow->trigger();
        QVERIFY(!navi->PanelKeyword->isVisible());
        navi->ActionKeywordShow->trigger();
        QVERIFY(navi->PanelKeyword->isVisible());
        QCOMPARE(navi->ButtonKeywordClose->toolTip(), QString("閉じる"));
        navi->ButtonKeywordClose->click();
        QVERIFY(!navi->ActionKeywordShow->isChecked());
        QVERIFY(!navi->PanelKeyword->isVisible());
    }

    void feedbackEditorHasOnlyTheFileMenu()
    {
        auto* feedback = static_cast<TFormEvaluationTemplate*>(open(Kind::Evaluation));
        QStringList menus;
        for (const QAction* item : feedback->MainMenu->actions())
            menus << item->text();
        QCOMPARE(menus, QStringList({"ファイル(&F)"}));
        QCOMPARE(menuCaptions(feedback->MainMenuFile),
                 QStringList({"新規作成(&N)", "保存(&S)", "-", "閉じる(&C)"}));
        QVERIFY(!feedback->findChild<QTreeWidget*>());
        QStringList ratings;
        for (int i = 0; i < feedback->ComboBoxEvaluation->count(); ++i)
            ratings << feedback->ComboBoxEvaluation->itemText(i);
        QCOMPARE(ratings,
                 QStringList({"非常に良い", "良い", "どちらでもない", "悪い", "非常に悪い"}));
        QCOMPARE(feedback->ComboBoxEvaluation->currentIndex(), -1);
        QCOMPARE(feedback->LabelNotice->palette().color(QPalette::WindowText), QColor(Qt::red));
    }

    void ctrlWheelStepsTheTextFontWithinItsLimits_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("distance");
        QTest::addColumn<int>("after");
        QTest::newRow("message, larger") << Kind::Navi << 12 << -120 << 14;
        QTest::newRow("message, smaller") << Kind::Navi << 12 << 120 << 10;
        QTest::newRow("message, at 72") << Kind::Navi << 72 << -120 << 72;
        QTest::newRow("message, 70 to 72") << Kind::Navi << 70 << -120 << 72;
        QTest::newRow("message, at 4") << Kind::Navi << 4 << 120 << 4;
        QTest::newRow("feedback, larger") << Kind::Evaluation << 16 << -120 << 18;
        QTest::newRow("feedback, at 72") << Kind::Evaluation << 72 << -120 << 72;
        QTest::newRow("feedback, 6 to 4") << Kind::Evaluation << 6 << 120 << 4;
    }
    void ctrlWheelStepsTheTextFontWithinItsLimits()
    {
        QFETCH(Kind, kind);
        QFETCH(int, start);
        QFETCH(int, distance);
        QFETCH(int, after);
        open(kind, start);
        QCOMPARE(editor->MemoMessage->font().pointSize(), start);
        editor->MemoMessage->setPlainText(QString("line\n").repeated(100));
        const int scrolled = editor->MemoMessage->verticalScrollBar()->value();
        turnWheel(editor->MemoMessage->viewport(), distance, Qt::ControlModifier);
        QCOMPARE(editor->MemoMessage->font().pointSize(), after);
        turnWheel(editor->MemoMessage->viewport(), distance, Qt::ControlModifier);
        QCOMPARE(editor->MemoMessage->font().pointSize(), qBound(4, after + (after - start), 72));
        QCOMPARE(editor->MemoMessage->verticalScrollBar()->value(), scrolled);
        closeEditor();
        QVERIFY(!IniFile(CommonDefine::settingIniPath())
                     .readSection(sectionOf(kind))
                     .contains("FontSize", Qt::CaseInsensitive));
    }

    void wheelScrollsThreeLines_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("ctrl");
        QTest::newRow("message, text") << Kind::Navi << "MemoMessage" << false;
        QTest::newRow("message, list") << Kind::Navi << "ListBoxSaveName" << false;
        QTest::newRow("message, list with Ctrl") << Kind::Navi << "ListBoxSaveName" << true;
        QTest::newRow("message, tree") << Kind::Navi << "TreeViewKeyword" << false;
        QTest::newRow("feedback, comment") << Kind::Evaluation << "MemoMessage" << false;
    }
    void wheelScrollsThreeLines()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, control);
        QFETCH(bool, ctrl);
        for (int i = 0; i < 60; ++i)
            addTemplate(kind, QString("T%1").arg(i), 1, "x", i);
        open(kind);
        editor->resize(900, 300);
        editor->MemoMessage->setPlainText(QString("line\n").repeated(200));
        if (auto* navi = qobject_cast<TFormNaviTemplate*>(editor.get()))
            navi->TreeViewKeyword->setIconSize(QSize(48, 48)); // taller rows, so the tree scrolls
        auto* area = editor->findChild<QAbstractScrollArea*>(control);
        QVERIFY(area);
        QScrollBar* bar = area->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 6);
        bar->setValue(0);
        turnWheel(area->viewport(), -120, ctrl ? Qt::ControlModifier : Qt::NoModifier);
        QCOMPARE(bar->value(), 3 * bar->singleStep());
        turnWheel(area->viewport(), 120);
        QCOMPARE(bar->value(), 0);
    }

    void wheelOverTheCommentMovesTheFocusedRating()
    {
        auto* feedback = static_cast<TFormEvaluationTemplate*>(open(Kind::Evaluation));
        QApplication::setActiveWindow(feedback);
        QVERIFY(QTest::qWaitForWindowActive(feedback));
        feedback->MemoMessage->setPlainText(QString("line\n").repeated(200));
        QScrollBar* bar = feedback->MemoMessage->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 6);
        feedback->ComboBoxEvaluation->setCurrentIndex(1);
        feedback->ComboBoxEvaluation->setFocus();
        QTRY_VERIFY(feedback->ComboBoxEvaluation->hasFocus());

        turnWheel(feedback->MemoMessage->viewport(), -120);
        QCOMPARE(feedback->ComboBoxEvaluation->currentIndex(), 2);
        QCOMPARE(bar->value(), 0);
        turnWheel(feedback->MemoMessage->viewport(), 120, Qt::ControlModifier);
        QCOMPARE(feedback->ComboBoxEvaluation->currentIndex(), 1);
        QCOMPARE(feedback->MemoMessage->font().pointSize(), 12);

        feedback->MemoMessage->setFocus();
        QTRY_VERIFY(feedback->MemoMessage->hasFocus());
        turnWheel(feedback->MemoMessage->viewport(), -120);
        QCOMPARE(feedback->ComboBoxEvaluation->currentIndex(), 1);
        QCOMPARE(bar->value(), 3);
    }

    void sectionKeysAndDefaults_data() { addKindRows(); }
    void sectionKeysAndDefaults()
    {
        QFETCH(Kind, kind);
        open(kind);
        QCOMPARE(editor->geometry(), QRect(100, 100, 900, 600));
        closeEditor();
        const IniFile ini(CommonDefine::settingIniPath());
        const QString section = sectionOf(kind);
        QStringList keys{"WindowState", "Left", "Top", "Width", "Height", "ListWidth"};
        if (kind == Kind::Navi)
            keys << "TreeViewKeyword"
                 << "TreeViewKeywordWidht";
        QCOMPARE(ini.readSection(section), keys);
        QCOMPARE(ini.readInteger(section, "WindowState", -1), 0);
        QCOMPARE(ini.readInteger(section, "Left", -1), 100);
        QCOMPARE(ini.readInteger(section, "Top", -1), 100);
        QCOMPARE(ini.readInteger(section, "Width", -1), 900);
        QCOMPARE(ini.readInteger(section, "Height", -1), 600);
        QCOMPARE(ini.readInteger(section, "ListWidth", -1), 150);
        if (kind == Kind::Navi) {
            QCOMPARE(ini.readString(section, "TreeViewKeyword", ""), QString("1"));
            QCOMPARE(ini.readInteger(section, "TreeViewKeywordWidht", -1), 185);
        }
    }

    void storedLayoutIsReadAndWrittenBack()
    {
        {
            IniFile ini(CommonDefine::settingIniPath());
            const QString s = "NaviTemplateWindow";
            ini.writeInteger(s, "Left", 120);
            ini.writeInteger(s, "Top", 130);
            ini.writeInteger(s, "Width", 800);
            ini.writeInteger(s, "Height", 500);
            ini.writeInteger(s, "ListWidth", 170);
            ini.writeInteger(s, "TreeViewKeyword", 0);
            ini.writeInteger(s, "TreeViewKeywordWidht", 200);
        }
        auto* navi = static_cast<TFormNaviTemplate*>(open(Kind::Navi));
        QCOMPARE(navi->geometry(), QRect(120, 130, 800, 500));
        QVERIFY(!navi->ActionKeywordShow->isChecked());
        QVERIFY(!navi->PanelKeyword->isVisible());
        QCOMPARE(navi->PanelList->width(), 170);
        navi->ActionKeywordShow->trigger();
        QCOMPARE(navi->PanelKeyword->width(), 200);
        navi->ActionKeywordShow->trigger();
        closeEditor();
        const IniFile ini(CommonDefine::settingIniPath());
        QCOMPARE(ini.readInteger("NaviTemplateWindow", "Width", -1), 800);
        QCOMPARE(ini.readInteger("NaviTemplateWindow", "ListWidth", -1), 170);
        QCOMPARE(ini.readString("NaviTemplateWindow", "TreeViewKeyword", ""), QString("0"));
        QCOMPARE(ini.readInteger("NaviTemplateWindow", "TreeViewKeywordWidht", -1), 200);
    }

    void maximisedWindowIsStoredWithItsNormalBounds_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<bool>("storedMaximised");
        QTest::newRow("message, maximised while open") << Kind::Navi << false;
        QTest::newRow("message, opened maximised") << Kind::Navi << true;
        QTest::newRow("feedback, maximised while open") << Kind::Evaluation << false;
        QTest::newRow("feedback, opened maximised") << Kind::Evaluation << true;
    }
    void maximisedWindowIsStoredWithItsNormalBounds()
    {
        QFETCH(Kind, kind);
        QFETCH(bool, storedMaximised);
        const QString section = sectionOf(kind);
        {
            IniFile ini(CommonDefine::settingIniPath());
            ini.writeInteger(section, "Left", 140);
            ini.writeInteger(section, "Top", 110);
            ini.writeInteger(section, "Width", 820);
            ini.writeInteger(section, "Height", 520);
            ini.writeInteger(section, "WindowState", storedMaximised ? 2 : 0);
        }
        open(kind);
        if (!storedMaximised)
            editor->showMaximized();
        QTRY_VERIFY(editor->isMaximized());
        closeEditor();
        const IniFile ini(CommonDefine::settingIniPath());
        QCOMPARE(ini.readInteger(section, "WindowState", -1), 2);
        QCOMPARE(ini.readInteger(section, "Left", -1), 140);
        QCOMPARE(ini.readInteger(section, "Top", -1), 110);
        QCOMPARE(ini.readInteger(section, "Width", -1), 820);
        QCOMPARE(ini.readInteger(section, "Height", -1), 520);
    }

    void minimisedWindowIsStoredAsNormal()
    {
        open(Kind::Evaluation);
        editor->showMinimized();
        QTRY_VERIFY(editor->isMinimized());
        closeEditor();
        const IniFile ini(CommonDefine::settingIniPath());
        QCOMPARE(ini.readInteger("EvaluationTemplateWindow", "WindowState", -1), 0);
        QCOMPARE(ini.readInteger("EvaluationTemplateWindow", "Width", -1), 900);
    }

    void escapeDoesNotCloseTheEditor()
    {
        addThree(Kind::Navi);
        open(Kind::Navi);
        QTest::keyClick(editor->MemoMessage, Qt::Key_Escape);
        QVERIFY(editor->isVisible());
        editor->ActionClose->trigger();
        QVERIFY(!editor->isVisible());
        QVERIFY(!editor->store());
    }

    void mainWindowCommandsOpenTheEditorsModally_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("title");
        QTest::newRow("message") << "ActionShowNaviTemplate"
                                 << "ナビテンプレート作成(&T)..."
                                 << "ナビテンプレート作成";
        QTest::newRow("feedback") << "ActionShowEvaluationTemplate"
                                  << "評価テンプレート作成(&E)..."
                                  << "評価テンプレート作成";
    }
    void mainWindowCommandsOpenTheEditorsModally()
    {
        QFETCH(QString, command);
        QFETCH(QString, caption);
        QFETCH(QString, title);
        editor.reset();
        addThree(command == "ActionShowNaviTemplate" ? Kind::Navi : Kind::Evaluation);
        TFormNavi& navi = *app->start();
        navi.setMessageFontSize(16);
        QAction* action = navi.action(command);
        QCOMPARE(action->text(), caption);
        QVERIFY(action->isEnabled());

        QPointer<QWidget> shown;
        bool modal = false;
        QStringList entries;
        int fontSize = 0;
        QString shownTitle;
        bool ownedByMain = false;
        QTimer::singleShot(0, &navi, [&] {
            QWidget* member = command == "ActionShowNaviTemplate"
                                  ? navi.formNaviTemplate.data()
                                  : navi.formEvaluationTemplate.data();
            shown = member;
            if (auto* form = qobject_cast<TemplateEditorBase*>(member)) {
                modal = form->isModal() && QApplication::activeModalWidget() == form;
                entries = listEntries(*form);
                fontSize = form->MemoMessage->font().pointSize();
                shownTitle = form->windowTitle();
                ownedByMain = form->parentWidget() == &navi;
            }
            if (QWidget* open = QApplication::activeModalWidget())
                open->close();
        });
        action->trigger();
        QVERIFY(modal);
        QVERIFY(ownedByMain);
        QCOMPARE(shownTitle, title);
        QCOMPARE(entries, QStringList({"A", "B", "C"}));
        QCOMPARE(fontSize, 16);
        QVERIFY(shown.isNull());
        QVERIFY(navi.formNaviTemplate.isNull());
        QVERIFY(navi.formEvaluationTemplate.isNull());
        app->closeWindow();
    }
};

QTEST_MAIN(TestTemplates)
#include "test_templates.moc"
