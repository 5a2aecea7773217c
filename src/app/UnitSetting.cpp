#include "app/UnitSetting.h"

#include "platform/ChildTeardown.h"
#include "common/CommonDefine.h"
#include "app/SettingLists.h"
#include "app/SettingPages.h"
#include "app/SettingSave.h"
#include "common/NaviSession.h"
#include "platform/CtrlClickSelect.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/SelectAll.h"
#include "platform/SingleLineText.h"
#include "views/WindowsColor.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QLineEdit* namedEdit(const QString& name, QWidget* parent, bool latinOnly)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    // Hiragana cannot be asked of the input methods here; the others are kept to Latin input.
    if (latinOnly)
        edit->setInputMethodHints(Qt::ImhLatinOnly);
    return edit;
}

QPushButton* namedButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TFormSetting::TFormSetting(NaviSession& session, QWidget* parent)
    : QDialog(parent), session(session)
{
    buildLayout();
    connectSignals();
}

TFormSetting::~TFormSetting()
{
    detachChildren(this);
}

// ---- Layout ----

void TFormSetting::buildLayout()
{
    setObjectName("FormSetting");
    setWindowTitle(QStringLiteral("設定"));
    setFixedSize(605, 453);

    TreeView = new QTreeWidget(this);
    TreeView->setObjectName("TreeView");
    TreeView->setHeaderHidden(true);
    TreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView->setMouseTracking(true);
    TreeView->setFixedWidth(130);
    QList<QTreeWidgetItem*> nodes;
    const QList<SettingPages::Node>& table = SettingPages::treeNodes();
    for (int i = 0; i < table.size(); ++i) {
        auto* node = table[i].parent < 0 ? new QTreeWidgetItem(TreeView)
                                         : new QTreeWidgetItem(nodes[table[i].parent]);
        node->setText(0, table[i].caption);
        node->setData(0, Qt::UserRole, i);
        nodes << node;
    }

    PanelTitle = new QLabel(this);
    PanelTitle->setObjectName("PanelTitle");
    PanelTitle->setFrameShape(QFrame::Panel);
    PanelTitle->setFrameShadow(QFrame::Sunken);
    PanelTitle->setMinimumHeight(24);
    PageControl = new QStackedWidget(this);
    PageControl->setObjectName("PageControl");
    for (const QString& caption : SettingPages::pageCaptions())
        PageControl->addWidget(buildPage(caption));

    ButtonOk = new QPushButton(QStringLiteral("OK"), this);
    ButtonOk->setObjectName("ButtonOk");
    ButtonOk->setDefault(true);
    ButtonCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    ButtonCancel->setObjectName("ButtonCancel");
    ButtonCancel->setAutoDefault(false);

    ActionAllSelect = new QAction(QStringLiteral("全て選択(&A)"), this);
    ActionAllSelect->setObjectName("ActionAllSelect");
    ActionAllSelect->setShortcut(QKeySequence(QStringLiteral("Ctrl+A")));
    addAction(ActionAllSelect);

    auto* right = new QVBoxLayout;
    right->addWidget(PanelTitle);
    right->addWidget(PageControl, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(TreeView);
    top->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ButtonOk);
    buttons->addWidget(ButtonCancel);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(top, 1);
    whole->addLayout(buttons);
}

QWidget* TFormSetting::buildPage(const QString& caption)
{
    auto* page = new QWidget(PageControl);
    page->setObjectName(QStringLiteral("TabSheet%1").arg(pages.size()));
    page->setWindowTitle(caption);
    pages.insert(caption, page);
    auto* layout = new QVBoxLayout(page);
    if (caption == QStringLiteral("ログイン"))
        buildLoginPage(page);
    if (caption == QStringLiteral("個人設定"))
        buildPersonalPage(page);

    QHash<QString, QFormLayout*> groups;
    for (const SettingPages::Option& o : SettingPages::options()) {
        if (o.page != caption)
            continue;
        if (o.kind == SettingPages::Option::Check) {
            auto* box = new QCheckBox(o.caption, page);
            box->setObjectName(o.objectName);
            checkBoxes.insert(o.objectName, box);
            layout->addWidget(box);
            continue;
        }
        auto* combo = new QComboBox(page);
        combo->setObjectName(o.objectName);
        combo->addItems(o.items);
        comboBoxes.insert(o.objectName, combo);
        if (o.group.isEmpty()) {
            auto* row = new QHBoxLayout;
            row->addWidget(new QLabel(o.label, page));
            row->addWidget(combo);
            if (o.objectName == QLatin1String("ComboBoxBidFlg")) {
                ComboBoxBidFlg = combo;
                EditBidFlgStr = namedEdit("EditBidFlgStr", page, false);
                SingleLineText::keepOnOneLine(EditBidFlgStr);
                row->addWidget(EditBidFlgStr);
            }
            row->addStretch(1);
            layout->addLayout(row);
            continue;
        }
        if (!groups.contains(o.group)) {
            auto* group = new QGroupBox(o.group, page);
            groups.insert(o.group, new QFormLayout(group));
            layout->addWidget(group);
        }
        groups[o.group]->addRow(o.label, combo);
    }

    if (caption == QStringLiteral("出品終了1"))
        buildBidPage(page);
    if (caption == QStringLiteral("ログイン")) {
        auto* row = new QHBoxLayout;
        row->addWidget(
            new QLabel(QStringLiteral("タスクトレイのログイン結果表示時間（秒）"), page));
        CSpinEditLoginTaskTrayShowMessageTime = new QSpinBox(page);
        CSpinEditLoginTaskTrayShowMessageTime->setObjectName(
            "CSpinEditLoginTaskTrayShowMessageTime");
        CSpinEditLoginTaskTrayShowMessageTime->setRange(1, 20);
        row->addWidget(CSpinEditLoginTaskTrayShowMessageTime);
        row->addStretch(1);
        layout->addLayout(row);
    }
    if (caption == QStringLiteral("落札者情報　取得")) {
        auto* grid = new QGridLayout;
        for (int i = SettingPages::otherItemListCount; i < SettingPages::lists().size(); ++i) {
            const int n = i - SettingPages::otherItemListCount;
            auto* group = new QWidget(page);
            addListGroup(group, i);
            grid->addWidget(group, n / 3, n % 3);
        }
        layout->addLayout(grid);
    }
    layout->addStretch(1);
    return page;
}

void TFormSetting::buildBidPage(QWidget* page)
{
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    auto* lists = new QHBoxLayout;
    for (int i = 0; i < SettingPages::otherItemListCount; ++i) {
        auto* holder = new QWidget(page);
        addListGroup(holder, i);
        lists->addWidget(holder);
    }
    layout->addLayout(lists);

    auto* colour = new QHBoxLayout;
    ShapeBidBackColor = new QFrame(page);
    ShapeBidBackColor->setObjectName("ShapeBidBackColor");
    ShapeBidBackColor->setFrameShape(QFrame::Box);
    ShapeBidBackColor->setFixedSize(40, 20);
    ShapeBidBackColor->setAutoFillBackground(true);
    LabelBidBackColor = new QLabel(page);
    LabelBidBackColor->setObjectName("LabelBidBackColor");
    LabelBidBackColor->hide();
    ButtonBidBackColorChenge = namedButton("ButtonBidBackColorChenge", "背景色変更", page);
    ButtonBidBackColorDefault = namedButton("ButtonBidBackColorDefault", "デフォルト色", page);
    colour->addWidget(ShapeBidBackColor);
    colour->addWidget(LabelBidBackColor);
    colour->addWidget(ButtonBidBackColorChenge);
    colour->addWidget(ButtonBidBackColorDefault);
    colour->addStretch(1);
    layout->addLayout(colour);
}

void TFormSetting::buildLoginPage(QWidget* page)
{
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    auto* grid = new QGridLayout;
    EditLoginId = namedEdit("EditLoginId", page, true);
    EditLoginPass = namedEdit("EditLoginPass", page, true);
    EditLoginPass->setEchoMode(QLineEdit::Password);
    ButtonLoginRegist = namedButton("ButtonLoginRegist", "登録", page);
    ButtonLoginDelete = namedButton("ButtonLoginDelete", "削除", page);
    CheckListBoxLogin = new QListWidget(page);
    CheckListBoxLogin->setObjectName("CheckListBoxLogin");
    grid->addWidget(new QLabel(QStringLiteral("ＩＤ"), page), 0, 0);
    grid->addWidget(EditLoginId, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("パスワード"), page), 1, 0);
    grid->addWidget(EditLoginPass, 1, 1);
    grid->addWidget(ButtonLoginRegist, 2, 0);
    grid->addWidget(ButtonLoginDelete, 2, 1, Qt::AlignLeft);
    grid->addWidget(CheckListBoxLogin, 0, 2, 3, 1);
    layout->addLayout(grid);
}

void TFormSetting::buildPersonalPage(QWidget* page)
{
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    auto* form = new QFormLayout;
    EditPersonalName = namedEdit("EditPersonalName", page, false);
    EditPersonalNamePhonetic = namedEdit("EditPersonalNamePhonetic", page, false);
    EditPersonalPost = namedEdit("EditPersonalPost", page, true);
    EditPersonalAddress1 = namedEdit("EditPersonalAddress1", page, false);
    EditPersonalTel = namedEdit("EditPersonalTel", page, true);
    EditPersonalMail = namedEdit("EditPersonalMail", page, true);
    form->addRow(QStringLiteral("名前"), EditPersonalName);
    form->addRow(QStringLiteral("なまえ"), EditPersonalNamePhonetic);
    form->addRow(QStringLiteral("郵便番号"), EditPersonalPost);
    form->addRow(QStringLiteral("住所"), EditPersonalAddress1);
    form->addRow(QStringLiteral("電話番号"), EditPersonalTel);
    form->addRow(QStringLiteral("メール"), EditPersonalMail);
    layout->addLayout(form);
}

void TFormSetting::addListGroup(QWidget* parent, int index)
{
    const SettingPages::ListOption& option = SettingPages::lists()[index];
    auto* box = new QGroupBox(option.group, parent);
    auto* outer = new QVBoxLayout(parent);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(box);
    const bool bidInfo = index >= SettingPages::otherItemListCount;
    ListGroup group;
    group.edit = namedEdit(option.editName, box, !bidInfo);
    // Each line of the list becomes one value of setting.ini.
    SingleLineText::keepOnOneLine(group.edit);
    group.add = namedButton(option.buttonName, "追加", box);
    group.up = new QToolButton(box);
    group.up->setObjectName(option.buttonName + "Up");
    group.up->setArrowType(Qt::UpArrow);
    group.up->setToolTip(QStringLiteral("上に移動"));
    group.down = new QToolButton(box);
    group.down->setObjectName(option.buttonName + "Down");
    group.down->setArrowType(Qt::DownArrow);
    group.down->setToolTip(QStringLiteral("下に移動"));
    group.list = new QListWidget(box);
    group.list->setObjectName(option.objectName);
    group.list->setSelectionMode(QAbstractItemView::SingleSelection);
    group.bidInfo = bidInfo;
    auto* grid = new QGridLayout(box);
    grid->addWidget(group.edit, 0, 0);
    grid->addWidget(group.add, 0, 1);
    grid->addWidget(group.list, 1, 0);
    auto* moves = new QVBoxLayout;
    moves->addWidget(group.up);
    moves->addWidget(group.down);
    moves->addStretch(1);
    grid->addLayout(moves, 1, 1);
    listGroups << group;
}

void TFormSetting::connectSignals()
{
    // The selection, not the current item: the tree makes its first node current when it gets
    // the focus, and the caption stays "設定" until a node is selected.
    connect(TreeView, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = TreeView->selectedItems();
        if (!selected.isEmpty())
            TreeViewChange(selected.first());
    });
    connect(ComboBoxBidFlg, &QComboBox::currentIndexChanged, this,
            &TFormSetting::ComboBoxBidFlgChange);
    CheckBoxWholeTemplatePr = checkBoxes.value("CheckBoxWholeTemplatePr");
    connect(CheckBoxWholeTemplatePr, &QCheckBox::toggled, this,
            &TFormSetting::CheckBoxWholeTemplatePrClick);
    CheckBoxLoginTaskTrayShowBalloon = checkBoxes.value("CheckBoxLoginTaskTrayShowBalloon");
    CheckBoxLoginTaskTrayShowBalloon->setToolTip(
        QStringLiteral("Windows／Shell32のバージョンによってはバルーンを使用できません"));
    for (int i = 0; i < listGroups.size(); ++i) {
        const ListGroup& group = listGroups[i];
        connect(group.add, &QPushButton::clicked, this, [this, i] { addListLine(i); });
        connect(group.up, &QToolButton::clicked, this, [this, i] { moveListLine(i, -1); });
        connect(group.down, &QToolButton::clicked, this, [this, i] { moveListLine(i, 1); });
        connect(group.list, &QListWidget::itemDoubleClicked, this, [this, i] {
            if (QListWidgetItem* line = listGroups[i].list->currentItem())
                listGroups[i].edit->setText(line->text());
        });
        group.list->installEventFilter(this);
    }
    connect(ButtonLoginRegist, &QPushButton::clicked, this, &TFormSetting::ButtonLoginRegistClick);
    connect(ButtonLoginDelete, &QPushButton::clicked, this, &TFormSetting::ButtonLoginDeleteClick);
    connect(CheckListBoxLogin, &QListWidget::itemChanged, this,
            &TFormSetting::CheckListBoxLoginClickCheck);
    connect(CheckListBoxLogin, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* line) { EditLoginId->setText(line->text()); });
    connect(ButtonBidBackColorChenge, &QPushButton::clicked, this,
            &TFormSetting::ButtonBidBackColorChengeClick);
    connect(ButtonBidBackColorDefault, &QPushButton::clicked, this,
            &TFormSetting::ButtonBidBackColorDefaultClick);
    connect(ActionAllSelect, &QAction::triggered, this, &TFormSetting::ActionAllSelectExecute);
    connect(ButtonOk, &QPushButton::clicked, this, &TFormSetting::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    CtrlClickSelect::installBelow(this);
}

bool TFormSetting::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        for (int i = 0; i < listGroups.size(); ++i) {
            if (listGroups[i].list == watched) {
                deleteListLine(i);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Opening ----

void TFormSetting::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!opened) {
        opened = true;
        FormShow();
    }
}

void TFormSetting::FormShow()
{
    mainLoginIndex = -1;
    mainLoginId.clear();

    IniFile ini(CommonDefine::settingIniPath());
    const SettingValues values = SettingValues::read(ini, session.options.loginTaskTrayShowBalloon);
    for (const SettingPages::Option& o : SettingPages::options()) {
        if (o.kind == SettingPages::Option::Check)
            checkBoxes[o.objectName]->setChecked(values.*o.flag);
        else
            comboBoxes[o.objectName]->setCurrentIndex(values.*o.number);
    }
    EditBidFlgStr->setText(values.bidFlgString);
    ComboBoxBidFlgChange();

    LabelBidBackColor->setText(values.bidBackColor);
    setSwatch(values.bidBackColor);
    ColorDialogBidBackColor = colorFromWindowsText(values.bidBackColor);
    CheckBoxWholeTemplatePrClick();

    const QList<SettingPages::ListOption>& lists = SettingPages::lists();
    for (int i = 0; i < lists.size(); ++i) {
        const QStringList lines = ini.readList(lists[i].section, lists[i].prefix);
        listGroups[i].list->clear();
        listGroups[i].list->addItems(lines);
        if (i < SettingPages::otherItemListCount)
            loadedOtherItemCounts[i] = int(lines.size());
        else
            loadedBidInfoCounts[i - SettingPages::otherItemListCount] = int(lines.size());
    }

    const QSignalBlocker blockLogins(CheckListBoxLogin);
    const QList<SettingSave::LoginRow> logins = SettingSave::readLogins(session.connection);
    for (int row = 0; row < logins.size(); ++row) {
        const SettingSave::LoginRow& login = logins[row];
        if (!accounts.contains(login.id))
            accounts.insert(login.id, login.password);
        auto* line = new QListWidgetItem(login.id, CheckListBoxLogin);
        line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
        line->setCheckState(Qt::Unchecked);
        if (login.main) {
            // At most one line is checked: a later main row takes the mark.
            if (mainLoginIndex >= 0)
                CheckListBoxLogin->item(mainLoginIndex)->setCheckState(Qt::Unchecked);
            line->setCheckState(Qt::Checked);
            mainLoginIndex = row;
            mainLoginId = login.id;
        }
    }

    CheckBoxLoginTaskTrayShowBalloon->setEnabled(session.balloonCapable);
    CSpinEditLoginTaskTrayShowMessageTime->setValue(values.loginTaskTrayShowMessageTime / 1000);

    const PersonalData personal = SettingSave::readPersonalData(session.connection);
    EditPersonalName->setText(personal.name);
    EditPersonalNamePhonetic->setText(personal.namePhonetic);
    EditPersonalPost->setText(personal.post);
    EditPersonalAddress1->setText(personal.address1);
    EditPersonalTel->setText(personal.tel);
    EditPersonalMail->setText(personal.mail);

    loginsChanged = false;
    otherItemListsChanged = false;
    bidInfoListsChanged = false;
    TreeView->expandAll();
}

// ---- Tree and option rules ----

void TFormSetting::TreeViewChange(QTreeWidgetItem* node)
{
    if (!node)
        return;
    const SettingPages::Node& entry =
        SettingPages::treeNodes()[node->data(0, Qt::UserRole).toInt()];
    if (!entry.page.isEmpty())
        PageControl->setCurrentWidget(pages.value(entry.page));
    const QString page = PageControl->currentWidget()->windowTitle();
    setWindowTitle(SettingPages::windowCaption(page));
    PanelTitle->setText(page);
}

void TFormSetting::ComboBoxBidFlgChange()
{
    // The flag text is only used with "指定文字".
    const bool own = ComboBoxBidFlg->currentIndex() == 0;
    EditBidFlgStr->setEnabled(own);
    QPalette colours = EditBidFlgStr->palette();
    colours.setColor(QPalette::Base,
                     own ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
    EditBidFlgStr->setPalette(colours);
}

void TFormSetting::CheckBoxWholeTemplatePrClick()
{
    const bool shown = CheckBoxWholeTemplatePr->isChecked();
    ShapeBidBackColor->setVisible(shown);
    ButtonBidBackColorChenge->setVisible(shown);
    ButtonBidBackColorDefault->setVisible(shown);
}

// ---- Lists ----

QStringList TFormSetting::listLines(int group) const
{
    QStringList lines;
    const QListWidget* list = listGroups[group].list;
    for (int row = 0; row < list->count(); ++row)
        lines << list->item(row)->text();
    return lines;
}

void TFormSetting::listChanged(const ListGroup& group)
{
    (group.bidInfo ? bidInfoListsChanged : otherItemListsChanged) = true;
}

void TFormSetting::addListLine(int group)
{
    const ListGroup& g = listGroups[group];
    const QString text = g.edit->text();
    switch (SettingLists::checkNewLine(listLines(group), text)) {
    case SettingLists::AddCheck::Nothing:
        return;
    case SettingLists::AddCheck::Blank:
        Dialogs::showWarning(this, SettingLists::refusalCaption, SettingLists::blankRefusal);
        g.edit->setFocus();
        return;
    case SettingLists::AddCheck::Duplicate:
        Dialogs::showWarning(this, SettingLists::refusalCaption, SettingLists::duplicateRefusal);
        g.edit->setFocus();
        return;
    case SettingLists::AddCheck::Accept:
        g.list->addItem(text);
        listChanged(g);
        return;
    }
}

void TFormSetting::moveListLine(int group, int step)
{
    const ListGroup& g = listGroups[group];
    QListWidgetItem* line = g.list->currentItem();
    if (!line || !line->isSelected())
        return;
    const int row = g.list->row(line);
    const int target = row + step;
    if (target < 0 || target >= g.list->count())
        return;
    QListWidgetItem* other = g.list->item(target);
    const QString text = line->text();
    line->setText(other->text());
    other->setText(text);
    g.list->setCurrentItem(other);
    g.list->setFocus();
    listChanged(g);
}

void TFormSetting::deleteListLine(int group)
{
    const ListGroup& g = listGroups[group];
    QListWidgetItem* line = g.list->currentItem();
    if (!line || !line->isSelected())
        return;
    delete line;
    listChanged(g);
}

// ---- Logins ----

void TFormSetting::ButtonLoginRegistClick()
{
    const QString id = EditLoginId->text();
    const QString password = EditLoginPass->text();
    if (id.isEmpty() || password.isEmpty())
        return;
    if (!accounts.contains(id)) {
        const QSignalBlocker block(CheckListBoxLogin);
        auto* line = new QListWidgetItem(id, CheckListBoxLogin);
        line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
        line->setCheckState(Qt::Unchecked);
    }
    accounts.insert(id, password);
    loginsChanged = true;
}

void TFormSetting::ButtonLoginDeleteClick()
{
    QListWidgetItem* line = CheckListBoxLogin->currentItem();
    if (!line || !line->isSelected())
        return;
    accounts.remove(line->text());
    const bool wasMain = line->checkState() == Qt::Checked;
    delete line;
    // Without the checked line no account is marked; otherwise the mark keeps its line.
    mainLoginIndex = -1;
    if (wasMain)
        mainLoginId.clear();
    for (int row = 0; row < CheckListBoxLogin->count(); ++row)
        if (CheckListBoxLogin->item(row)->checkState() == Qt::Checked)
            mainLoginIndex = row;
    loginsChanged = true;
}

void TFormSetting::CheckListBoxLoginClickCheck(QListWidgetItem* line)
{
    const int row = CheckListBoxLogin->row(line);
    if (line->checkState() == Qt::Checked) {
        const QSignalBlocker block(CheckListBoxLogin);
        for (int other = 0; other < CheckListBoxLogin->count(); ++other)
            if (other != row)
                CheckListBoxLogin->item(other)->setCheckState(Qt::Unchecked);
        mainLoginIndex = row;
        mainLoginId = line->text();
    } else if (row == mainLoginIndex) {
        mainLoginIndex = -1;
        mainLoginId.clear();
    }
    loginsChanged = true;
}

// ---- Colour ----

void TFormSetting::setSwatch(const QString& decimal)
{
    QColor colour = colorFromWindowsText(decimal);
    if (!colour.isValid())
        colour = colorFromWindowsText(SettingPages::defaultBackColor);
    QPalette colours = ShapeBidBackColor->palette();
    colours.setColor(QPalette::Window, colour);
    ShapeBidBackColor->setPalette(colours);
}

void TFormSetting::ButtonBidBackColorChengeClick()
{
    QColor chosen = ColorDialogBidBackColor;
    if (Dialogs::chooseColor(this, QString(), &chosen)) {
        ColorDialogBidBackColor = chosen;
        LabelBidBackColor->setText(QString::number(windowsValueFromColor(chosen)));
    }
    setSwatch(LabelBidBackColor->text());
}

void TFormSetting::ButtonBidBackColorDefaultClick()
{
    LabelBidBackColor->setText(SettingPages::defaultBackColor);
    setSwatch(SettingPages::defaultBackColor);
    ColorDialogBidBackColor = colorFromWindowsText(SettingPages::defaultBackColor);
}

void TFormSetting::ActionAllSelectExecute()
{
    SelectAll::selectFocused(this, SelectAll::LineEdits);
}

// ---- OK ----

SettingValues TFormSetting::shownValues() const
{
    SettingValues values;
    for (const SettingPages::Option& o : SettingPages::options()) {
        if (o.kind == SettingPages::Option::Check)
            values.*o.flag = checkBoxes[o.objectName]->isChecked();
        else
            values.*o.number = qMax(0, comboBoxes[o.objectName]->currentIndex());
    }
    values.bidFlgString = EditBidFlgStr->text();
    values.bidBackColor = LabelBidBackColor->text();
    values.loginTaskTrayShowMessageTime = CSpinEditLoginTaskTrayShowMessageTime->value() * 1000;
    return values;
}

void TFormSetting::ButtonOkClick()
{
    if (ComboBoxBidFlg->currentIndex() == 0 && EditBidFlgStr->text().isEmpty()) {
        for (QTreeWidgetItem* node : TreeView->findItems(QStringLiteral("出品終了1"),
                                                         Qt::MatchExactly | Qt::MatchRecursive))
            TreeView->setCurrentItem(node);
        EditBidFlgStr->setFocus();
        Dialogs::showError(this, QStringLiteral("エラー"),
                           QStringLiteral("フラグ指定文字を入力してください"));
        return;
    }
    const SettingValues values = shownValues();
    const PersonalData personal{EditPersonalName->text(), EditPersonalNamePhonetic->text(),
                                EditPersonalPost->text(), EditPersonalAddress1->text(),
                                EditPersonalTel->text(),  EditPersonalMail->text()};

    // The tables first, in one transaction: a failure leaves them and setting.ini as they were
    // and the dialog open.
    try {
        Database::ScopedConnection own(QStringLiteral("setting"));
        SettingSave::writeTables(own.db(), loginsChanged ? &accounts : nullptr, mainLoginId,
                                 personal);
    } catch (const std::exception& error) {
        Dialogs::showError(this, CommonDefine::applicationTitle, QString::fromUtf8(error.what()));
        return;
    }
    if (loginsChanged)
        emit loginsSaved(accounts);

    try {
        IniFile ini(CommonDefine::settingIniPath());
        IniFile::Batch batch(ini);
        SettingSave::writeOptions(ini, values);
        const QList<SettingPages::ListOption>& lists = SettingPages::lists();
        for (int i = 0; i < lists.size(); ++i) {
            const bool bidInfo = listGroups[i].bidInfo;
            if (bidInfo ? !bidInfoListsChanged : !otherItemListsChanged)
                continue;
            const int loaded = bidInfo ? loadedBidInfoCounts[i - SettingPages::otherItemListCount]
                                       : loadedOtherItemCounts[i];
            ini.writeList(lists[i].section, lists[i].prefix, loaded, listLines(i));
        }
        batch.save();
    } catch (const std::exception& error) {
        Dialogs::showError(this, CommonDefine::applicationTitle, QString::fromUtf8(error.what()));
        return;
    }

    applyLists();
    session.options = values.toNaviOptions();
    emit optionsSaved();
    accept();
}

void TFormSetting::applyLists()
{
    if (otherItemListsChanged)
        emit itemListsSaved(listLines(0), listLines(1));
    if (bidInfoListsChanged) {
        BidInfoKeywords& k = session.bidInfoKeywords;
        const int first = SettingPages::otherItemListCount;
        k.name = listLines(first);
        k.post = listLines(first + 1);
        k.address1 = listLines(first + 2);
        k.tel = listLines(first + 3);
        k.mail = listLines(first + 4);
    }
}
