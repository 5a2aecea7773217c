#include "compose/UnitNaviTemplate.h"

#include "compose/TemplateKeywordTable.h"
#include "compose/TemplateListBox.h"
#include "platform/IniFile.h"
#include "platform/WheelRouter.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSplitter>
#include <QSplitterHandle>
#include <QStyle>
#include <QTextCursor>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TFormNaviTemplate::TFormNaviTemplate(QWidget* owner, const QSqlDatabase& connection,
                                     int messageFontSize)
    : TemplateEditorBase(owner, connection, TemplateKind::Navi,
                         QStringLiteral("NaviTemplateWindow"), messageFontSize)
{
    setObjectName("FormNaviTemplate");
    setWindowTitle(QStringLiteral("ナビテンプレート作成"));
    buildSubjectRow();
    buildKeywords();
    wheelRouter->track(ListBoxSaveName);
    wheelRouter->track(TreeViewKeyword);
}

void TFormNaviTemplate::buildSubjectRow()
{
    PanelChoice->setToolTip(QStringLiteral("件名"));
    auto* grid = new QGridLayout(PanelChoice);
    grid->setContentsMargins(0, 0, 0, 0);
    m_subjects = new QButtonGroup(this);
    const std::pair<QRadioButton**, const char*> subjects[] = {
        {&RadioButtonSubjectFirst, "連絡先、支払い、発送などについて"},
        {&RadioButtonSubjectPayment, "入金を確認しました"},
        {&RadioButtonSubjectReceipt, "商品を発送しました"},
        {&RadioButtonSubjectOthers, "その他"},
    };
    const char* const names[] = {"RadioButtonSubjectFirst", "RadioButtonSubjectPayment",
                                 "RadioButtonSubjectReceipt", "RadioButtonSubjectOthers"};
    int value = 1;
    for (const auto& [button, caption] : subjects) {
        *button = new QRadioButton(QString::fromUtf8(caption), PanelChoice);
        (*button)->setObjectName(names[value - 1]);
        m_subjects->addButton(*button, value);
        grid->addWidget(*button, (value - 1) / 2, (value - 1) % 2);
        ++value;
    }
    grid->setColumnStretch(2, 1);
}

void TFormNaviTemplate::buildKeywords()
{
    ActionKeywordShow = new QAction(QStringLiteral("キーワード表示／非表示(&K)"), this);
    ActionKeywordShow->setObjectName("ActionKeywordShow");
    ActionKeywordShow->setCheckable(true);
    ActionKeywordShow->setChecked(true);
    MainMenuView = MainMenu->addMenu(QStringLiteral("表示(&V)"));
    MainMenuView->setObjectName("MainMenuView");
    MainMenuView->addAction(ActionKeywordShow);
    MainMenuKeyword = MainMenu->addMenu(QStringLiteral("キーワード(&K)"));
    MainMenuKeyword->setObjectName("MainMenuKeyword");

    PanelKeyword = new QWidget(Splitter);
    PanelKeyword->setObjectName("PanelKeyword");
    PanelKeyword->setMinimumWidth(120);
    auto* layout = new QVBoxLayout(PanelKeyword);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* title = new QWidget(PanelKeyword);
    title->setObjectName("PanelKeywordTitle");
    auto* titleRow = new QHBoxLayout(title);
    titleRow->setContentsMargins(0, 2, 2, 2);
    titleRow->addWidget(new QLabel(QStringLiteral(" キーワード"), title), 1);
    ButtonKeywordClose = new QToolButton(title);
    ButtonKeywordClose->setObjectName("ButtonKeywordClose");
    ButtonKeywordClose->setText(QStringLiteral("×"));
    ButtonKeywordClose->setToolTip(QStringLiteral("閉じる"));
    ButtonKeywordClose->setAutoRaise(true);
    titleRow->addWidget(ButtonKeywordClose);
    layout->addWidget(title);

    TreeViewKeyword = new QTreeWidget(PanelKeyword);
    TreeViewKeyword->setObjectName("TreeViewKeyword");
    TreeViewKeyword->setToolTip(QStringLiteral("キーワード"));
    TreeViewKeyword->setHeaderHidden(true);
    TreeViewKeyword->setRootIsDecorated(false);
    TreeViewKeyword->setItemsExpandable(false);
    TreeViewKeyword->setExpandsOnDoubleClick(false);
    TreeViewKeyword->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeViewKeyword->setSelectionBehavior(QAbstractItemView::SelectRows);
    TreeViewKeyword->setAllColumnsShowFocus(true);
    layout->addWidget(TreeViewKeyword, 1);
    Splitter->setStretchFactor(2, 0);
    Splitter->handle(2)->setObjectName("SplitterKeywordTree");

    QIcon groupIcon;
    groupIcon.addPixmap(style()->standardPixmap(QStyle::SP_DirClosedIcon), QIcon::Normal);
    groupIcon.addPixmap(style()->standardPixmap(QStyle::SP_DirOpenIcon), QIcon::Selected);
    const QIcon entryIcon = style()->standardIcon(QStyle::SP_FileIcon);

    QHash<QString, QTreeWidgetItem*> groups;
    for (const TemplateKeywordEntry& entry : templateKeywordTable()) {
        auto* command = new QAction(entry.label, this);
        connect(command, &QAction::triggered, this, [this, entry] { insertKeyword(entry); });
        keywordActions << command;
        if (entry.inMenu) {
            MainMenuKeyword->addAction(command);
            if (entry.separatorAfter)
                MainMenuKeyword->addSeparator();
        }
        QTreeWidgetItem* parent = nullptr;
        if (!entry.group.isEmpty()) {
            parent = groups.value(entry.group);
            if (!parent) {
                parent = new QTreeWidgetItem(TreeViewKeyword, {entry.group});
                parent->setData(0, keywordImageRole, 0);
                parent->setIcon(0, groupIcon);
                groups.insert(entry.group, parent);
            }
        }
        auto* node = parent ? new QTreeWidgetItem(parent, {entry.label})
                            : new QTreeWidgetItem(TreeViewKeyword, {entry.label});
        node->setData(0, keywordImageRole, 2);
        node->setIcon(0, entryIcon);
    }

    connect(ActionKeywordShow, &QAction::toggled, this, &TFormNaviTemplate::setKeywordPanelShown);
    connect(ButtonKeywordClose, &QToolButton::clicked, this,
            &TFormNaviTemplate::ButtonKeywordCloseClick);
    connect(TreeViewKeyword, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* node) { TreeViewKeywordDblClick(node); });
}

void TFormNaviTemplate::ActionKeywordShowExecute()
{
    ActionKeywordShow->toggle();
}

void TFormNaviTemplate::ButtonKeywordCloseClick()
{
    ActionKeywordShow->setChecked(false);
}

void TFormNaviTemplate::setKeywordPanelShown(bool shown)
{
    if (!shown && PanelKeyword->isVisible())
        m_keywordWidth = PanelKeyword->width();
    PanelKeyword->setVisible(shown);
    if (shown) {
        QList<int> sizes = Splitter->sizes();
        const int total = sizes.value(1) + sizes.value(2);
        sizes[2] = qMin(m_keywordWidth, qMax(total - 1, 1));
        sizes[1] = qMax(1, total - sizes[2]);
        Splitter->setSizes(sizes);
    }
}

void TFormNaviTemplate::TreeViewKeywordDblClick(QTreeWidgetItem* node)
{
    if (!node || node->data(0, keywordImageRole).toInt() != 2)
        return;
    for (QAction* command : std::as_const(keywordActions))
        if (command->text() == node->text(0)) {
            command->trigger();
            break;
        }
    MemoMessage->setFocus();
}

void TFormNaviTemplate::insertKeyword(const TemplateKeywordEntry& entry)
{
    QTextCursor cursor = MemoMessage->textCursor();
    cursor.insertText(entry.before + entry.after);
    cursor.movePosition(QTextCursor::Left, QTextCursor::MoveAnchor, int(entry.after.size()));
    MemoMessage->setTextCursor(cursor);
}

bool TFormNaviTemplate::hasChoice() const
{
    return m_subjects->checkedId() >= 1;
}

int TFormNaviTemplate::choice() const
{
    return m_subjects->checkedId();
}

void TFormNaviTemplate::showChoice(int value)
{
    if (QAbstractButton* button = m_subjects->button(value))
        button->setChecked(true);
}

void TFormNaviTemplate::clearChoice()
{
    m_subjects->setExclusive(false);
    for (QAbstractButton* button : m_subjects->buttons())
        button->setChecked(false);
    m_subjects->setExclusive(true);
}

QString TFormNaviTemplate::missingChoiceText() const
{
    return QStringLiteral("件名が選択されていません");
}

void TFormNaviTemplate::readLayout(const IniFile& ini)
{
    m_keywordWidth = ini.readInteger(section(), QStringLiteral("TreeViewKeywordWidht"), 185);
    const bool shown = ini.readBool(section(), QStringLiteral("TreeViewKeyword"), true);
    ActionKeywordShow->setChecked(shown);
    PanelKeyword->setVisible(shown);
}

QList<int> TFormNaviTemplate::splitterSizes(int listWidth) const
{
    const int keyword = ActionKeywordShow->isChecked() ? m_keywordWidth : 0;
    return {listWidth, qMax(1, width() - listWidth - keyword), keyword};
}

void TFormNaviTemplate::writeLayout(IniFile& ini)
{
    if (PanelKeyword->isVisible())
        m_keywordWidth = PanelKeyword->width();
    ini.writeBool(section(), QStringLiteral("TreeViewKeyword"), ActionKeywordShow->isChecked());
    ini.writeInteger(section(), QStringLiteral("TreeViewKeywordWidht"), m_keywordWidth);
}

void TFormNaviTemplate::afterShow()
{
    TreeViewKeyword->expandAll();
    TreeViewKeyword->scrollToTop();
}
