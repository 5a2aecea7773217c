#include "compose/TemplateEditorBase.h"

#include "platform/ChildTeardown.h"
#include "common/CommonDefine.h"
#include "common/CommonRoutines.h"
#include "compose/TemplateDropRule.h"
#include "compose/TemplateListBox.h"
#include "platform/CtrlClickSelect.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/SelectAll.h"
#include "platform/WheelRouter.h"
#include "platform/WindowPlacement.h"
#include "views/MemoText.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

TemplateEditorBase::TemplateEditorBase(QWidget* owner, const QSqlDatabase& connection,
                                       TemplateKind kind, const QString& section,
                                       int messageFontSize)
    : QDialog(owner), m_connection(connection), m_kind(kind), m_section(section)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    buildLayout();
    QFont font = MemoMessage->font();
    if (messageFontSize > 0)
        font.setPointSize(messageFontSize);
    MemoMessage->setFont(font);
    wheelRouter = new WheelRouter(this);
    wheelRouter->track(MemoMessage, true);
    m_placement = new WindowPlacement(this, section, WindowPlacement::MinimisedAs::Normal);
    connectSignals();
}

TemplateEditorBase::~TemplateEditorBase()
{
    detachChildren(this);
}

QAction* TemplateEditorBase::makeAction(const QString& objectName, const QString& caption,
                                        const QString& hint, const QKeySequence& shortcut)
{
    auto* created = new QAction(caption, this);
    created->setObjectName(objectName);
    created->setShortcut(shortcut);
    created->setShortcutContext(Qt::WindowShortcut);
    if (!hint.isEmpty())
        created->setToolTip(hint);
    addAction(created);
    return created;
}

void TemplateEditorBase::buildLayout()
{
    ActionNew = makeAction("ActionNew", QStringLiteral("新規作成(&N)"), QStringLiteral("新規作成"),
                           QKeySequence(Qt::CTRL | Qt::Key_N));
    ActionSave = makeAction("ActionSave", QStringLiteral("保存(&S)"), QStringLiteral("保存"),
                            QKeySequence(Qt::CTRL | Qt::Key_S));
    ActionClose = makeAction("ActionClose", QStringLiteral("閉じる(&C)"), QString());
    ActionAllSelect = makeAction("ActionAllSelect", QStringLiteral("全て選択(&A)"), QString(),
                                 QKeySequence(Qt::CTRL | Qt::Key_A));
    ActionDelete = makeAction("ActionDelete", QStringLiteral("削除(&D)"), QStringLiteral("削除"));
    ActionReName =
        makeAction("ActionReName", QStringLiteral("名前変更(&R)"), QStringLiteral("名前変更"));
    ActionUp = makeAction("ActionUp", QStringLiteral("上に移動(&U)"), QStringLiteral("上に移動"));
    ActionDown =
        makeAction("ActionDown", QStringLiteral("下に移動(&D)"), QStringLiteral("下に移動"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName("MainMenu");
    MainMenuFile = MainMenu->addMenu(QStringLiteral("ファイル(&F)"));
    MainMenuFile->setObjectName("MainMenuFile");
    MainMenuFile->addAction(ActionNew);
    MainMenuFile->addAction(ActionSave);
    MainMenuFile->addSeparator();
    MainMenuFile->addAction(ActionClose);
    layout->setMenuBar(MainMenu);

    Splitter = new QSplitter(Qt::Horizontal, this);
    Splitter->setObjectName("Splitter");
    Splitter->setChildrenCollapsible(false);
    layout->addWidget(Splitter, 1);

    PanelList = new QWidget(Splitter);
    PanelList->setObjectName("PanelList");
    PanelList->setMinimumWidth(145);
    auto* listLayout = new QVBoxLayout(PanelList);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    // The list's commands stand in two rows, so all four show on the narrow list panel: delete
    // and rename, then the two moves.
    ToolBarSaveList = new QToolBar(PanelList);
    ToolBarSaveList->setObjectName("ToolBarSaveList");
    ToolBarSaveListMove = new QToolBar(PanelList);
    ToolBarSaveListMove->setObjectName("ToolBarSaveListMove");
    for (QAction* command : {ActionDelete, ActionReName, ActionUp, ActionDown}) {
        command->setIconText(command->toolTip());
        (command == ActionUp || command == ActionDown ? ToolBarSaveListMove : ToolBarSaveList)
            ->addAction(command);
    }
    listLayout->addWidget(ToolBarSaveList);
    listLayout->addWidget(ToolBarSaveListMove);
    ListBoxSaveName = new TemplateListBox(PanelList);
    ListBoxSaveName->setObjectName("ListBoxSaveName");
    ListBoxSaveName->setToolTip(QStringLiteral("テンプレートリスト"));
    ListBoxSaveName->setContextMenuPolicy(Qt::CustomContextMenu);
    listLayout->addWidget(ListBoxSaveName, 1);
    PopupMenuSaveList = new QMenu(this);
    PopupMenuSaveList->setObjectName("PopupMenuSaveList");
    PopupMenuSaveList->addAction(ActionDelete);
    PopupMenuSaveList->addAction(ActionReName);

    PanelRight = new QWidget(Splitter);
    PanelRight->setObjectName("PanelRight");
    auto* right = new QVBoxLayout(PanelRight);
    right->setContentsMargins(4, 0, 4, 4);
    right->setSpacing(4);
    ToolBarNavi = new QToolBar(PanelRight);
    ToolBarNavi->setObjectName("ToolBarNavi");
    ToolBarNavi->addAction(ActionNew);
    ToolBarNavi->addAction(ActionSave);
    right->addWidget(ToolBarNavi);

    auto* nameRow = new QHBoxLayout;
    LabelSaveName = new QLabel(QStringLiteral("保存名"), PanelRight);
    LabelSaveName->setObjectName("LabelSaveName");
    EditSaveName = new QLineEdit(PanelRight);
    EditSaveName->setObjectName("EditSaveName");
    LabelSaveName->setBuddy(EditSaveName);
    nameRow->addWidget(LabelSaveName);
    nameRow->addWidget(EditSaveName, 1);
    right->addLayout(nameRow);

    PanelFlg = new QWidget(PanelRight);
    PanelFlg->setObjectName("PanelFlg");
    auto* flagRow = new QHBoxLayout(PanelFlg);
    flagRow->setContentsMargins(0, 0, 0, 0);
    const std::pair<QCheckBox**, const char*> flags[] = {
        {&CheckBoxFlgFirst, "住所連絡更新"}, {&CheckBoxFlgPayment, "入金更新"},
        {&CheckBoxFlgReceipt, "発送更新"},   {&CheckBoxFlgEvaluation, "評価更新"},
        {&CheckBoxFlgEnd, "終了更新"},
    };
    const char* const flagNames[] = {"CheckBoxFlgFirst", "CheckBoxFlgPayment", "CheckBoxFlgReceipt",
                                     "CheckBoxFlgEvaluation", "CheckBoxFlgEnd"};
    int index = 0;
    for (const auto& [box, caption] : flags) {
        *box = new QCheckBox(QString::fromUtf8(caption), PanelFlg);
        (*box)->setObjectName(flagNames[index++]);
        flagRow->addWidget(*box);
    }
    flagRow->addStretch(1);
    right->addWidget(PanelFlg);

    PanelChoice = new QWidget(PanelRight);
    PanelChoice->setObjectName("PanelChoice");
    right->addWidget(PanelChoice);

    MemoMessage = new QPlainTextEdit(PanelRight);
    MemoMessage->setObjectName("MemoMessage");
    MemoMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    right->addWidget(MemoMessage, 1);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setSizeGripEnabled(false);
    statusPanel = new QLabel(StatusBar);
    statusPanel->setObjectName("StatusPanel0");
    statusPanel->setTextFormat(Qt::PlainText); // it quotes template names
    StatusBar->addWidget(statusPanel, 1);
    layout->addWidget(StatusBar);

    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
}

void TemplateEditorBase::connectSignals()
{
    connect(ActionNew, &QAction::triggered, this, &TemplateEditorBase::ActionNewExecute);
    connect(ActionSave, &QAction::triggered, this, &TemplateEditorBase::ActionSaveExecute);
    connect(ActionClose, &QAction::triggered, this, &QWidget::close);
    connect(ActionAllSelect, &QAction::triggered, this,
            &TemplateEditorBase::ActionAllSelectExecute);
    connect(ActionDelete, &QAction::triggered, this, &TemplateEditorBase::ActionDeleteExecute);
    connect(ActionReName, &QAction::triggered, this, &TemplateEditorBase::ActionReNameExecute);
    connect(ActionUp, &QAction::triggered, this, &TemplateEditorBase::ActionUpExecute);
    connect(ActionDown, &QAction::triggered, this, &TemplateEditorBase::ActionDownExecute);
    connect(ListBoxSaveName, &QListWidget::itemDoubleClicked, this,
            &TemplateEditorBase::ListBoxSaveNameDblClick);
    connect(ListBoxSaveName, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenuSaveList->popup(ListBoxSaveName->viewport()->mapToGlobal(at));
    });
    connect(ListBoxSaveName, &TemplateListBox::dragStarting, this,
            &TemplateEditorBase::ListBoxSaveNameStartDrag);
    connect(ListBoxSaveName, &TemplateListBox::dragFinished, this, [this] { dragIndex = -1; });
    connect(ListBoxSaveName, &TemplateListBox::dragMovedOver, this,
            &TemplateEditorBase::ListBoxSaveNameDragOver);
    connect(ListBoxSaveName, &TemplateListBox::droppedAt, this,
            &TemplateEditorBase::ListBoxSaveNameDragDrop);
    connect(wheelRouter, &WheelRouter::fontStepRequested, this,
            [this](QWidget*, bool towardsUser) { stepMessageFont(towardsUser); });
    ListBoxSaveName->installEventFilter(this);
    ListBoxSaveName->viewport()->installEventFilter(this);
    CtrlClickSelect::install(EditSaveName);
}

void TemplateEditorBase::FormShow()
{
    IniFile ini(CommonDefine::settingIniPath());
    const int state = m_placement->restore(ini);
    m_listWidth = ini.readInteger(m_section, QStringLiteral("ListWidth"), 150);
    readLayout(ini);
    Splitter->setSizes(splitterSizes(m_listWidth));
    if (state == 2)
        setWindowState(Qt::WindowMaximized);

    m_store = std::make_unique<TemplateStore>(m_connection, m_kind);
    ListBoxSaveName->clear();
    ListBoxSaveName->addItems(m_store->names());
    loadedSaveName.clear();
    afterShow();
}

int TemplateEditorBase::showModal()
{
    FormShow();
    return exec();
}

void TemplateEditorBase::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TemplateEditorBase::FormClose()
{
    if (!m_store)
        return;
    IniFile ini(CommonDefine::settingIniPath());
    IniFile::Batch batch(ini);
    // A minimised editor is stored as normal.
    const int state = WindowPlacement::stateCode(windowState()) == 2 ? 2 : 0;
    ini.writeInteger(m_section, QStringLiteral("WindowState"), state);
    m_placement->save(ini);
    if (PanelList->isVisible())
        m_listWidth = PanelList->width();
    ini.writeInteger(m_section, QStringLiteral("ListWidth"), m_listWidth);
    writeLayout(ini);
    batch.save();
    m_store->writeOrder(listNames());
    m_store.reset();
}

QList<int> TemplateEditorBase::splitterSizes(int listWidth) const
{
    return {listWidth, qMax(1, width() - listWidth)};
}

QStringList TemplateEditorBase::listNames() const
{
    QStringList names;
    for (int row = 0; row < ListBoxSaveName->count(); ++row)
        names << ListBoxSaveName->item(row)->text();
    return names;
}

int TemplateEditorBase::selectedRow() const
{
    const QList<QListWidgetItem*> selected = ListBoxSaveName->selectedItems();
    return selected.isEmpty() ? -1 : ListBoxSaveName->row(selected.first());
}

void TemplateEditorBase::selectRow(int row)
{
    ListBoxSaveName->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

QCheckBox* TemplateEditorBase::flagBox(int index) const
{
    QCheckBox* const boxes[] = {CheckBoxFlgFirst, CheckBoxFlgPayment, CheckBoxFlgReceipt,
                                CheckBoxFlgEvaluation, CheckBoxFlgEnd};
    return boxes[index];
}

QString TemplateEditorBase::statusText() const
{
    return statusPanel->text();
}

void TemplateEditorBase::setStatusText(const QString& text)
{
    statusPanel->setText(text);
}

QWidget* TemplateEditorBase::hoverHandle() const
{
    return wheelRouter->hoveredControl();
}

void TemplateEditorBase::ActionNewExecute()
{
    EditSaveName->clear();
    MemoMessage->clear();
    if (newClearsStatus())
        setStatusText(QString());
    clearChoice();
    for (int i = 0; i < 5; ++i)
        flagBox(i)->setChecked(false);
    ListBoxSaveName->clearSelection();
    loadedSaveName.clear();
}

void TemplateEditorBase::ListBoxSaveNameDblClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString name = ListBoxSaveName->item(row)->text();
    const std::optional<TemplateRecord> record = m_store->find(name);
    if (!record)
        return;
    EditSaveName->setText(name);
    showChoice(record->choice);
    MemoText::set(MemoMessage, record->message);
    for (int i = 0; i < 5; ++i)
        flagBox(i)->setChecked(record->flags[i]);
    setStatusText(QString());
    loadedSaveName = name;
}

void TemplateEditorBase::ActionSaveExecute()
{
    const QString name = EditSaveName->text();
    if (name.isEmpty()) {
        setStatusText(QStringLiteral("保存名が入力されていません"));
        return;
    }
    if (!hasChoice()) {
        setStatusText(missingChoiceText());
        return;
    }
    if (MemoMessage->document()->isEmpty()) {
        setStatusText(QStringLiteral("本文が入力されていません"));
        return;
    }
    TemplateRecord record;
    record.saveName = name;
    record.choice = choice();
    record.message = MemoText::get(MemoMessage);
    for (int i = 0; i < 5; ++i)
        record.flags[i] = flagBox(i)->isChecked();
    if (!m_store->exists(name)) {
        m_store->insert(record, ListBoxSaveName->count());
        ListBoxSaveName->addItem(name);
        setStatusText(QStringLiteral("保存しました"));
    } else {
        m_store->update(record);
        setStatusText(name + QStringLiteral("を上書き保存しました"));
    }
    loadedSaveName = name;
}

void TemplateEditorBase::ActionDeleteExecute()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (!Dialogs::askOkCancel(this, QStringLiteral("確認"), QStringLiteral("削除しますか？")))
        return;
    const QString name = ListBoxSaveName->item(row)->text();
    m_store->remove(name);
    delete ListBoxSaveName->takeItem(row);
    ActionNewExecute();
    setStatusText(name + QStringLiteral("を削除しました"));
}

void TemplateEditorBase::ActionReNameExecute()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    QListWidgetItem* item = ListBoxSaveName->item(row);
    const QString oldName = item->text();
    QString newName = oldName;
    do {
        if (!Dialogs::inputText(this, QStringLiteral("新しい名前を入力してください"),
                                QStringLiteral("保存名"), &newName))
            return;
    } while (newName.isEmpty());
    if (newName == oldName)
        return;
    if (!isSaveNameUnused(m_store->tableName(), newName)) {
        Dialogs::showError(
            this, QStringLiteral("中止"),
            QStringLiteral("その名前は既に存在しています。名前の変更を中止します。"));
        return;
    }
    m_store->rename(oldName, newName);
    item->setText(newName);
    if (oldName == loadedSaveName) {
        EditSaveName->setText(newName);
        loadedSaveName = newName;
    }
    setStatusText(QString());
}

void TemplateEditorBase::ActionUpExecute()
{
    const int row = selectedRow();
    if (row <= 0)
        return;
    ListBoxSaveName->insertItem(row - 1, ListBoxSaveName->takeItem(row));
    selectRow(row - 1);
}

void TemplateEditorBase::ActionDownExecute()
{
    const int row = selectedRow();
    if (row < 0 || row >= ListBoxSaveName->count() - 1)
        return;
    ListBoxSaveName->insertItem(row + 1, ListBoxSaveName->takeItem(row));
    selectRow(row + 1);
}

void TemplateEditorBase::ActionAllSelectExecute()
{
    // The name edit and the message text are the editor's only edits.
    SelectAll::selectFocused(this, SelectAll::LineEdits | SelectAll::PlainTexts);
}

void TemplateEditorBase::ListBoxSaveNameStartDrag()
{
    dragIndex = selectedRow();
}

void TemplateEditorBase::ListBoxSaveNameDragOver(const QPoint& position)
{
    if (QListWidgetItem* item = ListBoxSaveName->itemAt(position))
        selectRow(ListBoxSaveName->row(item));
    else
        ListBoxSaveName->clearSelection();
}

void TemplateEditorBase::ListBoxSaveNameDragDrop(const QPoint& position)
{
    QListWidgetItem* target = ListBoxSaveName->itemAt(position);
    const int dropIndex = target ? ListBoxSaveName->row(target) : -1;
    QStringList names = listNames();
    const int from = dragIndex;
    const int selected = dropTemplateEntry(names, from, dropIndex);
    dragIndex = -1;
    if (selected < 0)
        return;
    ListBoxSaveName->insertItem(selected, ListBoxSaveName->takeItem(from));
    selectRow(selected);
}

void TemplateEditorBase::stepMessageFont(bool towardsUser)
{
    QFont font = MemoMessage->font();
    const int size = font.pointSize();
    if (towardsUser ? size >= maximumFontSize : size <= minimumFontSize)
        return;
    font.setPointSize(size + (towardsUser ? 2 : -2));
    MemoMessage->setFont(font);
}

bool TemplateEditorBase::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == ListBoxSaveName && type == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        ActionDeleteExecute();
        return true;
    }
    if (watched == ListBoxSaveName->viewport() && type == QEvent::MouseButtonPress) {
        // A right press selects the entry under the pointer, so the pop-up menu acts on it.
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            QListWidgetItem* item = ListBoxSaveName->itemAt(mouse->position().toPoint());
            if (item && !item->isSelected())
                selectRow(ListBoxSaveName->row(item));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TemplateEditorBase::keyPressEvent(QKeyEvent* event)
{
    // Esc is no command of the editors: it must not close the window and drop the edit.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
