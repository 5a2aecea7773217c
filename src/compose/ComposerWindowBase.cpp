#include "compose/ComposerWindowBase.h"

#include "common/NaviSession.h"
#include "compose/ComposerFlagRow.h"
#include "compose/ComposerFontMenus.h"
#include "compose/ComposerTemplateTree.h"
#include "compose/ProgressFlagUpdate.h"
#include "platform/CtrlClickSelect.h"
#include "platform/Dialogs.h"
#include "platform/GuiThreadWait.h"
#include "platform/IniFile.h"
#include "platform/SelectAll.h"
#include "platform/WheelRouter.h"
#include "platform/WindowPlacement.h"
#include "views/ProgressFlags.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

ComposerWindowBase::ComposerWindowBase(NaviSession& session, const ComposerTarget& target,
                                       ComposerHooks hooks, const QString& section)
    : QMainWindow(nullptr), title(target.title), aid(target.aid), bidId(target.bidId),
      loginId(target.loginId), m_session(session), m_hooks(std::move(hooks)),
      m_sessionAlive(&session), m_bidName(target.bidName), m_section(section)
{
    connect(&session, &QObject::destroyed, this, [this] { sessionEnded(); });
}

ComposerWindowBase::~ComposerWindowBase() = default;

// ---- Layout ----

QAction* ComposerWindowBase::makeAction(const Command& command)
{
    auto* created = new QAction(command.caption, this);
    created->setObjectName(QString::fromLatin1(command.objectName));
    created->setShortcut(command.shortcut);
    if (!command.hint.isEmpty())
        created->setToolTip(command.hint);
    addAction(created);
    return created;
}

void ComposerWindowBase::buildFrameCommands(const Command& send, const Command& stop,
                                            QAction** sendAction, QAction** stopAction)
{
    const QString templateSwitch = QStringLiteral("テンプレートツリー表示／非表示");
    *sendAction = makeAction(send);
    *stopAction = makeAction(stop);
    ActionClose = makeAction({"ActionClose", QStringLiteral("閉じる(&C)"), QString()});
    ActionShowTemplateTree = makeAction({"ActionShowTemplateTree", templateSwitch, templateSwitch});
    ActionShowTemplateTree->setCheckable(true);
    ActionAllSelect = makeAction({"ActionAllSelect", QStringLiteral("全て選択(&A)"), QString(),
                                  QKeySequence(Qt::CTRL | Qt::Key_A)});

    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu");
    MainMenuFile = bar->addMenu(QStringLiteral("ファイル(&F)"));
    MainMenuFile->setObjectName("MainMenuFile");
    MainMenuFile->addAction(*sendAction);
    MainMenuFile->addAction(*stopAction);
    MainMenuFile->addSeparator();
    MainMenuFile->addAction(ActionClose);
    MainMenuView = bar->addMenu(QStringLiteral("表示(&V)"));
    MainMenuView->setObjectName("MainMenuView");
    MainMenuView->addAction(ActionShowTemplateTree);
    MainMenuTemplate = bar->addMenu(QStringLiteral("テンプレート(&T)"));
    MainMenuTemplate->setObjectName("MainMenuTemplate");

    ToolBarMain = new QToolBar(this);
    ToolBarMain->setObjectName("ToolBarMain");
    ToolBarMain->addAction(*sendAction);
    ToolBarMain->addAction(*stopAction);
    ToolBarMain->addSeparator();
    ToolBarMain->addAction(ActionShowTemplateTree);
    addToolBar(Qt::TopToolBarArea, ToolBarMain);
}

QToolButton* ComposerWindowBase::addDropDownButton(QToolBar* bar, const char* objectName,
                                                   const QString& hint)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setToolTip(hint);
    button->setText(hint);
    button->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(button);
    return button;
}

QVBoxLayout* ComposerWindowBase::buildCentralColumn(QLineEdit** price)
{
    resize(900, 600);
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(central);

    PanelInfo = new QWidget(central);
    PanelInfo->setObjectName("PanelInfo");
    auto* row = new QHBoxLayout(PanelInfo);
    row->setContentsMargins(4, 2, 4, 2);
    const std::pair<QLineEdit**, std::pair<const char*, const char*>> fields[] = {
        {&EditAid, {"EditAid", "商品ID："}},
        {&EditTitle, {"EditTitle", "商品名："}},
        {price, {"EditPrice", "価格："}},
        {&EditBidId, {"EditBidId", "落札者ID："}},
        {&EditBidName, {"EditBidName", "落札者："}},
    };
    for (const auto& [field, names] : fields) {
        if (!field)
            continue;
        auto* label = new QLabel(QString::fromUtf8(names.second), PanelInfo);
        *field = new QLineEdit(PanelInfo);
        (*field)->setObjectName(QString::fromLatin1(names.first));
        (*field)->setReadOnly(true);
        CtrlClickSelect::install(*field);
        label->setBuddy(*field);
        row->addWidget(label);
        row->addWidget(*field, *field == EditTitle ? 3 : 1);
    }
    column->addWidget(PanelInfo);
    return column;
}

QVBoxLayout* ComposerWindowBase::buildTemplateSplitter(QWidget* parent)
{
    SplitterBottom = new QSplitter(Qt::Horizontal, parent);
    SplitterBottom->setObjectName("SplitterBottom");
    SplitterBottom->setChildrenCollapsible(false);
    PanelBottomLeft = ComposerTemplateTree::buildPanel(SplitterBottom, &ButtonTemplateTreeClose,
                                                       &TreeViewTemplate);
    auto* right = new QWidget(SplitterBottom);
    right->setObjectName("PanelBottomRight");
    auto* column = new QVBoxLayout(right);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(2);
    return column;
}

void ComposerWindowBase::addFlagRow(QVBoxLayout* column)
{
    column->addLayout(ComposerFlagRow::build(column->parentWidget(),
                                             {&CheckBoxFlgFirst, &CheckBoxFlgPayment,
                                              &CheckBoxFlgReceipt, &CheckBoxFlgEvaluation,
                                              &CheckBoxFlgEnd, &CheckBoxFlgPluralUpdate}));
}

void ComposerWindowBase::addMessageText(QVBoxLayout* column)
{
    MemoMessage = new QPlainTextEdit(column->parentWidget());
    MemoMessage->setObjectName("MemoMessage");
    MemoMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoMessage->setMinimumHeight(20);
    column->addWidget(MemoMessage, 1);
    SplitterBottom->setStretchFactor(0, 0);
    SplitterBottom->setStretchFactor(1, 1);
}

void ComposerWindowBase::buildStatusBar(int firstPanelWidth)
{
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    for (int i = 0; i < 7; ++i) {
        statusPanels[i] = new QLabel(StatusBar);
        statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusPanels[i]->setTextFormat(Qt::PlainText); // the site's account id, for one
        statusPanels[i]->setMinimumWidth(i == 0 ? firstPanelWidth : 50);
        StatusBar->addWidget(statusPanels[i], i == 6 ? 1 : 0);
    }
    setStatusBar(StatusBar);
}

void ComposerWindowBase::finishFrame()
{
    EditAid->setText(aid);
    EditTitle->setText(title);
    EditBidId->setText(bidId);
    EditBidName->setText(m_bidName);
    m_wheelRouter = new WheelRouter(this);
    m_wheelRouter->track(MemoMessage, true);
    m_wheelRouter->track(TreeViewTemplate);
    m_placement = new WindowPlacement(this, m_section, WindowPlacement::MinimisedAs::Normal);

    connect(ActionClose, &QAction::triggered, this, &QWidget::close);
    connect(ActionAllSelect, &QAction::triggered, this,
            &ComposerWindowBase::ActionAllSelectExecute);
    connect(ActionShowTemplateTree, &QAction::toggled, this,
            &ComposerWindowBase::applyTemplatePanel);
    connect(ButtonTemplateTreeClose, &QToolButton::clicked, this,
            [this] { ActionShowTemplateTree->setChecked(false); });
    // Only the texts tracked as font controls follow Ctrl+wheel.
    connect(m_wheelRouter, &WheelRouter::fontStepRequested, this, &ComposerFontMenus::stepFont);
}

// ---- Show ----

void ComposerWindowBase::showEvent(QShowEvent* event)
{
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
    QMainWindow::showEvent(event);
}

void ComposerWindowBase::readFrameSettings(const IniFile& ini)
{
    if (m_placement->restore(ini) == 2)
        setWindowState(Qt::WindowMaximized);
    CheckBoxFlgPluralUpdate->setChecked(ini.readBool(m_section, "FlgPluralUpdate", false));
    m_templatePanelWidth = ini.readInteger(m_section, "TreeViewTemplateWidht", 185);
    ActionShowTemplateTree->setChecked(ini.readBool(m_section, "TreeViewTemplate", true));
    applyTemplatePanel();
}

void ComposerWindowBase::takeMessageFont(QPlainTextEdit* memo)
{
    const int fontSize = m_session.messageFontSize();
    if (fontSize <= 0)
        return;
    QFont font = memo->font();
    font.setPointSize(fontSize);
    memo->setFont(font);
}

void ComposerWindowBase::openTemplates(TemplateKind kind)
{
    m_templates = std::make_unique<TemplateStore>(m_session.connection, kind);
}

void ComposerWindowBase::connectTemplateTree(int operation)
{
    ComposerTemplateTree::connectActivation(
        TreeViewTemplate, operation, this,
        [this](QTreeWidgetItem* node) { TreeViewTemplateActivate(node); });
}

void ComposerWindowBase::addTemplateItems(QMenu* menu, const QStringList& names,
                                          const std::function<void(const QString&)>& act)
{
    menu->clear();
    for (const QString& name : names) {
        QAction* item = menu->addAction(name);
        item->setToolTip(name);
        connect(item, &QAction::triggered, this, [act, item] { act(item->toolTip()); });
    }
}

void ComposerWindowBase::fillTemplateTree(const QStringList& names,
                                          const QList<ItemGroup>& itemGroups)
{
    TreeViewTemplate->clear();
    ComposerTemplateTree::addGroup(TreeViewTemplate, QStringLiteral("テンプレート"), 0, names,
                                   ComposerTemplateTree::TemplateNode,
                                   ComposerTemplateTree::templateIcon(this));
    const QIcon itemIcon = ComposerTemplateTree::itemIcon(this);
    int group = 1;
    for (const ItemGroup& items : itemGroups)
        ComposerTemplateTree::addGroup(TreeViewTemplate, items.caption, group++, items.labels,
                                       ComposerTemplateTree::ItemNode, itemIcon);
    TreeViewTemplate->expandAll();
    TreeViewTemplate->setCurrentItem(TreeViewTemplate->topLevelItem(0));
}

ReplyData::Transaction ComposerWindowBase::showTransactionFlags()
{
    // The transaction's own flags (the winner's, not another's of the same listing).
    const ReplyData::Transaction row = ReplyData::readTransaction(m_session.connection, aid, bidId);
    for (int i = 0; i < 5; ++i)
        statusPanels[i + 1]->setText(ReplyData::flagPanelText(i, row.flags[i]));
    return row;
}

void ComposerWindowBase::applyPanelSizes()
{
    const QList<int> sizes = SplitterBottom->sizes();
    if (sizes.size() == 2) {
        const int total = qMax(sizes[0] + sizes[1], m_templatePanelWidth + 50);
        SplitterBottom->setSizes({m_templatePanelWidth, total - m_templatePanelWidth});
    }
}

void ComposerWindowBase::applyTemplatePanel()
{
    const bool shown = ActionShowTemplateTree->isChecked();
    if (!shown && PanelBottomLeft->isVisible())
        m_templatePanelWidth = PanelBottomLeft->width();
    PanelBottomLeft->setVisible(shown);
    if (shown && m_shown)
        QTimer::singleShot(0, this, &ComposerWindowBase::applyPanelSizes);
}

// ---- Commands ----

void ComposerWindowBase::ActionAllSelectExecute()
{
    SelectAll::selectFocused(this, SelectAll::LineEdits | SelectAll::PlainTexts);
}

QWidget* ComposerWindowBase::hoverHandle() const
{
    return m_wheelRouter->hoveredControl();
}

QCheckBox* ComposerWindowBase::flagBox(int index) const
{
    QCheckBox* const boxes[] = {CheckBoxFlgFirst, CheckBoxFlgPayment, CheckBoxFlgReceipt,
                                CheckBoxFlgEvaluation, CheckBoxFlgEnd};
    return boxes[index];
}

void ComposerWindowBase::updateProgressFlags()
{
    ProgressFlagUpdate::Choice choice;
    choice.first = CheckBoxFlgFirst->isChecked();
    choice.payment = CheckBoxFlgPayment->isChecked();
    choice.receipt = CheckBoxFlgReceipt->isChecked();
    choice.evaluation = CheckBoxFlgEvaluation->isChecked();
    choice.end = CheckBoxFlgEnd->isChecked();
    if (!choice.any())
        return;
    const QString value = flagValue(m_session.options.bidFlg, m_session.options.bidFlgString,
                                    flagDate.isValid() ? flagDate : QDate::currentDate());
    const QList<ProgressFlagUpdate::ListedRow> rows =
        m_hooks.listedRows ? m_hooks.listedRows() : QList<ProgressFlagUpdate::ListedRow>();
    const QList<int> touched =
        ProgressFlagUpdate::apply(m_session.connection, choice, value, aid, bidId, rows,
                                  CheckBoxFlgPluralUpdate->isChecked());
    if (m_hooks.showFlags && !touched.isEmpty())
        m_hooks.showFlags(touched, ProgressFlagUpdate::cells(choice), value);
}

// ---- Close ----

bool ComposerWindowBase::mayClose(const QString& question)
{
    // While the program is ending nothing is asked: its close is never refused.
    return !sending || GuiThreadWait::isStopRequested() ||
           Dialogs::askOkCancel(this, QStringLiteral("確認"), question);
}

void ComposerWindowBase::writePlacement(IniFile& ini)
{
    m_placement->save(ini);
}

void ComposerWindowBase::writeFrameSettings(IniFile& ini)
{
    ini.writeBool(m_section, "FlgPluralUpdate", CheckBoxFlgPluralUpdate->isChecked());
    ini.writeBool(m_section, "TreeViewTemplate", ActionShowTemplateTree->isChecked());
    if (PanelBottomLeft->isVisible())
        m_templatePanelWidth = PanelBottomLeft->width();
    ini.writeInteger(m_section, "TreeViewTemplateWidht", m_templatePanelWidth);
}
