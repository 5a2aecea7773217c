#include "compose/UnitReply.h"

#include "platform/ChildTeardown.h"
#include "common/CommonDefine.h"
#include "common/CommonRoutines.h"
#include "app/ToolBarBands.h"
#include "app/UnitNavi.h"
#include "compose/ComposerFlagRow.h"
#include "compose/ComposerFontMenus.h"
#include "compose/ComposerTemplateTree.h"
#include "compose/DateFormats.h"
#include "compose/Quoting.h"
#include "compose/ReplyFontSizes.h"
#include "compose/ReplyFooter.h"
#include "compose/ReplyLog.h"
#include "compose/TemplateKeywords.h"
#include "compose/TemplateStore.h"
#include "compose/UnitNaviWrite.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/ToolBarBandRows.h"
#include "platform/WheelRouter.h"
#include "platform/WindowPlacement.h"
#include "views/MemoText.h"
#include "views/NaviListItem.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString& section()
{
    return CommonDefine::Section::ReplyWindow;
}

QLineEdit* infoField(const char* name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    return field;
}

} // namespace

TFormReply::TFormReply(TFormNavi& navi) : QMainWindow(nullptr), m_navi(navi)
{
    setObjectName("FormReply");
    setAttribute(Qt::WA_DeleteOnClose);
    personalColumns = {{QStringLiteral("なまえ"), QStringLiteral("NamePhonetic")},
                       {QStringLiteral("名前"), QStringLiteral("Name")},
                       {QStringLiteral("郵便番号"), QStringLiteral("Post")},
                       {QStringLiteral("住所"), QStringLiteral("Address1")},
                       {QStringLiteral("電話番号"), QStringLiteral("Tel")},
                       {QStringLiteral("メール"), QStringLiteral("Mail")}};
    bidderColumns = {{QStringLiteral("ID"), QString()},
                     {QStringLiteral("氏名"), QStringLiteral("Name")},
                     {QStringLiteral("郵便番号"), QStringLiteral("Post")},
                     {QStringLiteral("住所"), QStringLiteral("Address1")},
                     {QStringLiteral("電話番号"), QStringLiteral("Tel")},
                     {QStringLiteral("メール"), QStringLiteral("MailMain")}};
    buildLayout();
    m_wheelRouter = new WheelRouter(this);
    m_wheelRouter->track(MemoReplyMessage, true);
    m_wheelRouter->track(MemoMessage, true);
    m_wheelRouter->track(TreeViewTemplate);
    m_placement = new WindowPlacement(this, section(), WindowPlacement::MinimisedAs::Normal);
    connectSignals();
    // The composer lives on the main window's connection: it closes with it.
    connect(&navi, &QObject::destroyed, this, [this] {
        m_templates.reset();
        m_closed = true;
        if (m_writer)
            m_writer->abandon();
        // A send under way frees the window once it has returned.
        if (!m_inSend)
            deleteLater();
    });
}

TFormReply::~TFormReply()
{
    detachChildren(this);
}

// ---- Layout ----

void TFormReply::buildLayout()
{
    resize(900, 600);
    buildMenus();
    buildToolBars();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildInfoRow(central);
    layout->addWidget(PanelInfo);

    SplitterMessage = new QSplitter(Qt::Vertical, central);
    SplitterMessage->setObjectName("SplitterMessage");
    SplitterMessage->setChildrenCollapsible(false);
    layout->addWidget(SplitterMessage, 1);

    Splitter = new QSplitter(Qt::Vertical, SplitterMessage);
    Splitter->setObjectName("Splitter");
    Splitter->setChildrenCollapsible(false);

    PanelNaviList = new QWidget(Splitter);
    PanelNaviList->setObjectName("PanelNaviList");
    PanelNaviList->setMinimumHeight(50);
    auto* naviLayout = new QVBoxLayout(PanelNaviList);
    naviLayout->setContentsMargins(0, 0, 0, 0);
    SplitterNavi = new QSplitter(Qt::Horizontal, PanelNaviList);
    SplitterNavi->setObjectName("SplitterNavi");
    SplitterNavi->setChildrenCollapsible(false);
    naviLayout->addWidget(SplitterNavi);
    ListViewNavi = new QTreeWidget(SplitterNavi);
    ListViewNavi->setObjectName("ListViewNavi");
    NaviListView::setupListViewBidNavi(ListViewNavi);
    ListViewNavi->setMinimumHeight(20);
    MemoReplyMessage = new QPlainTextEdit(SplitterNavi);
    MemoReplyMessage->setObjectName("MemoReplyMessage");
    MemoReplyMessage->setReadOnly(true);
    MemoReplyMessage->setMinimumHeight(20);
    MemoReplyMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoReplyMessage->setContextMenuPolicy(Qt::CustomContextMenu);
    SplitterNavi->setStretchFactor(0, 0);
    SplitterNavi->setStretchFactor(1, 1);

    PanelBottom = buildBottom(Splitter);
    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);

    ListBoxMessage = new QListWidget(SplitterMessage);
    ListBoxMessage->setObjectName("ListBoxMessage");
    ListBoxMessage->setMinimumHeight(30);
    SplitterMessage->setStretchFactor(0, 1);
    SplitterMessage->setStretchFactor(1, 0);
    setCentralWidget(central);

    buildStatusBar();

    PopupMenuReplyMessage = new QMenu(this);
    PopupMenuReplyMessage->setObjectName("PopupMenuReplyMessage");
    PopupMenuQuote = PopupMenuReplyMessage->addAction(QStringLiteral("引用(&Q)"));
    PopupMenuQuote->setObjectName("PopupMenuQuote");
    PopupMenuQuoteNoMark = PopupMenuReplyMessage->addAction(QStringLiteral("記号なし引用(&S)"));
    PopupMenuQuoteNoMark->setObjectName("PopupMenuQuoteNoMark");
    PopupMenuReplyMessage->addSeparator();
    PopupMenuCopy = PopupMenuReplyMessage->addAction(QStringLiteral("コピー(&C)"));
    PopupMenuCopy->setObjectName("PopupMenuCopy");
    PopupMenuAllSelect = PopupMenuReplyMessage->addAction(QStringLiteral("全て選択(&A)"));
    PopupMenuAllSelect->setObjectName("PopupMenuAllSelect");
    // Shown beside the items only: the keys act on the focused control.
    PopupMenuCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    PopupMenuAllSelect->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    for (QAction* item : {PopupMenuCopy, PopupMenuAllSelect}) {
        item->setShortcutContext(Qt::WidgetShortcut);
        item->setShortcutVisibleInContextMenu(true);
    }
}

void TFormReply::buildMenus()
{
    auto makeAction = [this](const char* name, const QString& caption, const QString& hint,
                             const QKeySequence& shortcut = QKeySequence()) {
        auto* created = new QAction(caption, this);
        created->setObjectName(QString::fromLatin1(name));
        created->setShortcut(shortcut);
        if (!hint.isEmpty())
            created->setToolTip(hint);
        addAction(created);
        return created;
    };
    ActionSend = makeAction("ActionSend", QStringLiteral("送信(&N)"), QStringLiteral("送信"),
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G));
    ActionSendStop = makeAction("ActionSendStop", QStringLiteral("送信中止(&E)"),
                                QStringLiteral("送信中止(&E)"), QKeySequence(Qt::Key_Escape));
    ActionClose = makeAction("ActionClose", QStringLiteral("閉じる(&C)"), QString());
    ActionShowTemplateTree =
        makeAction("ActionShowTemplateTree", QStringLiteral("テンプレートツリー表示／非表示"),
                   QStringLiteral("テンプレートツリー表示／非表示"));
    ActionShowTemplateTree->setCheckable(true);
    ActionShowNaviPanel =
        makeAction("ActionShowNaviPanel", QStringLiteral("ナビパネル表示／非表示"),
                   QStringLiteral("ナビパネル表示／非表示"));
    ActionShowNaviPanel->setCheckable(true);
    ActionDateInsert =
        makeAction("ActionDateInsert", QStringLiteral("日付を入力"), QStringLiteral("日付を入力"));
    ActionAllSelect = makeAction("ActionAllSelect", QStringLiteral("全て選択(&A)"), QString(),
                                 QKeySequence(Qt::CTRL | Qt::Key_A));

    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu");
    MainMenuFile = bar->addMenu(QStringLiteral("ファイル(&F)"));
    MainMenuFile->setObjectName("MainMenuFile");
    MainMenuFile->addAction(ActionSend);
    MainMenuFile->addAction(ActionSendStop);
    MainMenuFile->addSeparator();
    MainMenuFile->addAction(ActionClose);

    MainMenuView = bar->addMenu(QStringLiteral("表示(&V)"));
    MainMenuView->setObjectName("MainMenuView");
    MainMenuView->addAction(ActionShowTemplateTree);
    MainMenuView->addAction(ActionShowNaviPanel);
    MainMenuView->addSeparator();
    MainMenuBidNaviFontSize = MainMenuView->addMenu(QStringLiteral("落札者ナビフォントサイズ(&D)"));
    MainMenuBidNaviFontSize->setObjectName("MainMenuBidNaviFontSize");
    MainMenuNaviFontSize = MainMenuView->addMenu(QStringLiteral("ナビフォントサイズ(&F)"));
    MainMenuNaviFontSize->setObjectName("MainMenuNaviFontSize");

    MainMenuTemplate = bar->addMenu(QStringLiteral("テンプレート(&T)"));
    MainMenuTemplate->setObjectName("MainMenuTemplate");
    MainMenuTemplateInsert = bar->addMenu(QStringLiteral("テンプレート挿入(&I)"));
    MainMenuTemplateInsert->setObjectName("MainMenuTemplateInsert");
    MainMenuPersonal = bar->addMenu(QStringLiteral("個人設定項目挿入(&P)"));
    MainMenuPersonal->setObjectName("MainMenuPersonal");
    const char* const captions[] = {"なまえ(&K)", "名前(&N)",     "郵便番号(&P)",
                                    "住所(&A)",   "電話番号(&T)", "メール(&M)"};
    for (int i = 0; i < 6; ++i) {
        QAction* item = MainMenuPersonal->addAction(QString::fromUtf8(captions[i]));
        const QString column = personalColumns[i].second;
        connect(item, &QAction::triggered, this, [this, column] { insertPersonal(column); });
    }
}

void TFormReply::buildToolBars()
{
    ToolBarMain = new QToolBar(this);
    ToolBarMain->setObjectName("ToolBarMain");
    ToolBarMain->addAction(ActionSend);
    ToolBarMain->addAction(ActionSendStop);
    ToolBarMain->addSeparator();
    ToolBarMain->addAction(ActionShowTemplateTree);
    ToolBarMain->addAction(ActionShowNaviPanel);
    ToolBarMain->addSeparator();
    auto dropDown = [](QToolBar* bar, const char* name, const QString& hint) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(hint);
        button->setText(hint);
        // A click on the button itself opens its menu.
        button->setPopupMode(QToolButton::InstantPopup);
        bar->addWidget(button);
        return button;
    };
    ToolButtonMainBidNaviFontSize = dropDown(ToolBarMain, "ToolButtonMainBidNaviFontSize",
                                             QStringLiteral("落札者ナビフォントサイズ"));
    ToolButtonMainNaviFontSize =
        dropDown(ToolBarMain, "ToolButtonMainNaviFontSize", QStringLiteral("ナビフォントサイズ"));

    ToolBarDate = new QToolBar(this);
    ToolBarDate->setObjectName("ToolBarDate");
    DateTimePicker = new QDateEdit(ToolBarDate);
    DateTimePicker->setObjectName("DateTimePicker");
    DateTimePicker->setToolTip(QStringLiteral("カレンダー"));
    DateTimePicker->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    DateTimePicker->setCalendarPopup(true);
    DateTimePicker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    ToolBarDate->addWidget(DateTimePicker);
    ToolBarDate->addAction(ActionDateInsert);
    ToolButtonDateFormat =
        dropDown(ToolBarDate, "ToolButtonDateFormat", QStringLiteral("日付形式"));
    PopupMenuDateFormat = new QMenu(this);
    PopupMenuDateFormat->setObjectName("PopupMenuDateFormat");
    ToolButtonDateFormat->setMenu(PopupMenuDateFormat);

    addToolBar(Qt::TopToolBarArea, ToolBarMain);
    addToolBar(Qt::TopToolBarArea, ToolBarDate);
    m_bandRows = new ToolBarBandRows(this, {ToolBarMain, ToolBarDate});
}

void TFormReply::buildInfoRow(QWidget* parent)
{
    PanelInfo = new QWidget(parent);
    PanelInfo->setObjectName("PanelInfo");
    auto* row = new QHBoxLayout(PanelInfo);
    row->setContentsMargins(4, 2, 4, 2);
    const std::pair<QLineEdit**, std::pair<const char*, const char*>> fields[] = {
        {&EditAid, {"EditAid", "商品ID："}},         {&EditTitle, {"EditTitle", "商品名："}},
        {&EditPrice, {"EditPrice", "価格："}},       {&EditBidId, {"EditBidId", "落札者ID："}},
        {&EditBidName, {"EditBidName", "落札者："}},
    };
    for (const auto& [field, names] : fields) {
        auto* label = new QLabel(QString::fromUtf8(names.second), PanelInfo);
        *field = infoField(names.first, PanelInfo);
        label->setBuddy(*field);
        row->addWidget(label);
        row->addWidget(*field, *field == EditTitle ? 3 : 1);
        (*field)->installEventFilter(this);
    }
}

QWidget* TFormReply::buildBottom(QWidget* parent)
{
    auto* bottom = new QWidget(parent);
    bottom->setObjectName("PanelBottom");
    auto* layout = new QVBoxLayout(bottom);
    layout->setContentsMargins(0, 0, 0, 0);
    SplitterBottom = new QSplitter(Qt::Horizontal, bottom);
    SplitterBottom->setObjectName("SplitterBottom");
    SplitterBottom->setChildrenCollapsible(false);
    layout->addWidget(SplitterBottom);

    PanelBottomLeft = ComposerTemplateTree::buildPanel(SplitterBottom, &ButtonTemplateTreeClose,
                                                       &TreeViewTemplate);

    auto* right = new QWidget(SplitterBottom);
    right->setObjectName("PanelBottomRight");
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(4, 2, 4, 2);
    rightLayout->setSpacing(2);
    QHBoxLayout* flagRow = ComposerFlagRow::build(
        right, {&CheckBoxFlgFirst, &CheckBoxFlgPayment, &CheckBoxFlgReceipt, &CheckBoxFlgEvaluation,
                &CheckBoxFlgEnd, &CheckBoxFlgPluralUpdate});
    rightLayout->addLayout(flagRow);

    auto* subjects = new QGridLayout;
    m_subjects = new QButtonGroup(this);
    const std::pair<QRadioButton**, std::pair<const char*, const char*>> buttons[] = {
        {&RadioButtonSubjectFirst, {"RadioButtonSubjectFirst", "連絡先、支払い、発送などについて"}},
        {&RadioButtonSubjectPayment, {"RadioButtonSubjectPayment", "入金を確認しました"}},
        {&RadioButtonSubjectReceipt, {"RadioButtonSubjectReceipt", "商品を発送しました"}},
        {&RadioButtonSubjectOthers, {"RadioButtonSubjectOthers", "その他"}},
    };
    int value = 1;
    for (const auto& [button, names] : buttons) {
        *button = new QRadioButton(QString::fromUtf8(names.second), right);
        (*button)->setObjectName(QString::fromLatin1(names.first));
        m_subjects->addButton(*button, value);
        subjects->addWidget(*button, 0, value - 1);
        ++value;
    }
    subjects->setColumnStretch(4, 1);
    rightLayout->addLayout(subjects);

    MemoMessage = new QPlainTextEdit(right);
    MemoMessage->setObjectName("MemoMessage");
    MemoMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoMessage->setMinimumHeight(20);
    rightLayout->addWidget(MemoMessage, 1);
    SplitterBottom->setStretchFactor(0, 0);
    SplitterBottom->setStretchFactor(1, 1);
    return bottom;
}

void TFormReply::buildStatusBar()
{
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    for (int i = 0; i < 7; ++i) {
        statusPanels[i] = new QLabel(StatusBar);
        statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusPanels[i]->setMinimumWidth(i == 0 ? 120 : 50);
        StatusBar->addWidget(statusPanels[i], i == 6 ? 1 : 0);
    }
    setStatusBar(StatusBar);
}

void TFormReply::connectSignals()
{
    connect(ActionSend, &QAction::triggered, this, &TFormReply::ActionMainTransmissionExecute);
    connect(ActionSendStop, &QAction::triggered, this,
            &TFormReply::ActionMainTransmissionStopExecute);
    connect(ActionClose, &QAction::triggered, this, &QWidget::close);
    connect(ActionAllSelect, &QAction::triggered, this, &TFormReply::ActionAllSelectExecute);
    connect(ActionShowTemplateTree, &QAction::toggled, this, &TFormReply::applyTemplatePanel);
    connect(ActionShowNaviPanel, &QAction::toggled, this, &TFormReply::applyNaviPanel);
    connect(ButtonTemplateTreeClose, &QToolButton::clicked, this,
            [this] { ActionShowTemplateTree->setChecked(false); });
    connect(ActionDateInsert, &QAction::triggered, this, &TFormReply::ToolButtonDateInsertClick);
    connect(PopupMenuDateFormat, &QMenu::triggered, this, &TFormReply::changeDateFormat);
    connect(ListViewNavi->header(), &QHeaderView::sectionClicked, this,
            &TFormReply::ListViewNaviColumnClick);
    connect(ListViewNavi, &QTreeWidget::itemSelectionChanged, this,
            &TFormReply::ListViewNaviChange);
    connect(ListBoxMessage, &QListWidget::itemDoubleClicked, this,
            &TFormReply::ListBoxMessageDblClick);
    connect(MemoMessage, &QPlainTextEdit::textChanged, this, &TFormReply::MemoMessageChange);
    connect(MemoReplyMessage, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenuReplyMessage->popup(MemoReplyMessage->viewport()->mapToGlobal(at));
    });
    connect(PopupMenuQuote, &QAction::triggered, this, &TFormReply::PopupMenuQuoteClick);
    connect(PopupMenuQuoteNoMark, &QAction::triggered, this,
            &TFormReply::PopupMenuQuoteNoMarkClick);
    connect(PopupMenuCopy, &QAction::triggered, this, &TFormReply::PopupMenuCopyClick);
    connect(PopupMenuAllSelect, &QAction::triggered, this, &TFormReply::PopupMenuAllSelectClick);
    connect(m_wheelRouter, &WheelRouter::fontStepRequested, this, &TFormReply::stepFont);
    connect(Splitter, &QSplitter::splitterMoved, this, [this] {
        if (PanelNaviList->isVisible())
            m_messagePanelHeight = PanelNaviList->height();
    });
    // The calendar's drop-down and close-up are the shows and hides of its pop-up.
    DateTimePicker->calendarWidget()->window()->installEventFilter(this);
}

// ---- Show ----

void TFormReply::showEvent(QShowEvent* event)
{
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
    QMainWindow::showEvent(event);
}

void TFormReply::FormShow()
{
    setWindowTitle(QStringLiteral("返信：") + title);
    IniFile ini(CommonDefine::settingIniPath());
    const QString& s = section();
    const int state = m_placement->restore(ini);
    if (state == 2)
        setWindowState(Qt::WindowMaximized);
    m_messagePanelHeight = qMax(50, ini.readInteger(s, "ReplyMessageHeight", 150));
    CheckBoxFlgPluralUpdate->setChecked(ini.readBool(s, "FlgPluralUpdate", false));

    const int fontSize = m_navi.MemoNavi->font().pointSize();
    for (QPlainTextEdit* memo : {MemoReplyMessage, MemoMessage}) {
        QFont font = memo->font();
        if (fontSize > 0)
            font.setPointSize(fontSize);
        memo->setFont(font);
    }

    m_templatePanelWidth = ini.readInteger(s, "TreeViewTemplateWidht", 185);
    ActionShowTemplateTree->setChecked(ini.readBool(s, "TreeViewTemplate", true));
    applyTemplatePanel();
    readBands(ini);
    buildDateTools();
    const int dateFormat = ini.readInteger(s, "DateFormat", 0);
    const QList<QAction*> formats = PopupMenuDateFormat->actions();
    if (dateFormat >= 0 && dateFormat < formats.size())
        changeDateFormat(formats[dateFormat]);

    ActionShowNaviPanel->setChecked(ini.readBool(s, "NaviPanel", false));
    for (int column = 0; column < ListViewNavi->columnCount(); ++column)
        ListViewNavi->setColumnWidth(
            column, ini.readInteger(s, "ListViewNaviColWidth" + QString::number(column), 120));
    m_listWidth = ini.readInteger(s, "ListViewNaviWidth", 350);
    sortColumn = ini.readInteger(s, "SortColumnBidNavi", 0);
    sortType = ini.readInteger(s, "SortTypeNavi", 0);

    ActionSendStop->setEnabled(false);
    sending = false;
    prepareTemplateQueries();
    loadTransaction();
    loadMessageList();
    applyNaviPanel();
    buildTemplateMenusAndTree();
    ComposerTemplateTree::connectActivation(TreeViewTemplate,
                                            m_navi.options.operationNaviTemplateTree, this,
                                            &TFormReply::TreeViewTemplateActivate);
    MemoMessage->setFocus();
    buildFontSizeMenus();
    MemoMessageChange();
    applyPanelSizes();
    // The splitters have their real sizes once the window is laid out; the selected row is
    // brought into view again then.
    QTimer::singleShot(0, this, [this] {
        applyPanelSizes();
        if (QTreeWidgetItem* item = ListViewNavi->currentItem())
            ListViewNavi->scrollToItem(item);
    });
}

void TFormReply::applyPanelSizes()
{
    QList<int> sizes = Splitter->sizes();
    if (sizes.size() == 2) {
        const int total = qMax(sizes[0] + sizes[1], m_messagePanelHeight + 50);
        Splitter->setSizes({m_messagePanelHeight, total - m_messagePanelHeight});
    }
    sizes = SplitterNavi->sizes();
    if (sizes.size() == 2) {
        const int total = qMax(sizes[0] + sizes[1], m_listWidth + 50);
        SplitterNavi->setSizes({m_listWidth, total - m_listWidth});
    }
    sizes = SplitterBottom->sizes();
    if (sizes.size() == 2) {
        const int total = qMax(sizes[0] + sizes[1], m_templatePanelWidth + 50);
        SplitterBottom->setSizes({m_templatePanelWidth, total - m_templatePanelWidth});
    }
    sizes = SplitterMessage->sizes();
    if (sizes.size() == 2 && sizes[1] < 70) {
        const int total = sizes[0] + sizes[1];
        SplitterMessage->setSizes({qMax(1, total - 70), 70});
    }
}

void TFormReply::setNewMessageCaption()
{
    setWindowTitle(QStringLiteral("投稿：") + title);
}

void TFormReply::prepareTemplateQueries()
{
    m_templates = std::make_unique<TemplateStore>(m_navi.connection, TemplateKind::Navi);
    m_seller = ReplyData::readSeller(m_navi.connection);
    m_winner = ReplyData::readWinner(m_navi.connection, bidId);
    prInsert = IniFile(CommonDefine::settingIniPath())
                   .readBool(CommonDefine::Section::Setting, "PrInsert", true);
}

void TFormReply::loadTransaction()
{
    const ReplyData::Transaction row = ReplyData::readTransaction(m_navi.connection, aid, bidId);
    for (int i = 0; i < 5; ++i)
        statusPanels[i + 1]->setText(ReplyData::flagPanelText(i, row.flags[i]));
    EditPrice->setText(row.price);
}

void TFormReply::loadMessageList()
{
    const QList<NaviRow> rows = ReplyData::listingMessages(m_navi.queryNaviByAid, aid, loginId);
    NaviListView::fill(ListViewNavi, NaviList::Transaction, rows);
    QTreeWidgetItem* replied = nullptr;
    if (isReply) {
        for (int i = 0; i < ListViewNavi->topLevelItemCount() && !replied; ++i) {
            NaviListItem* item = NaviListItem::of(ListViewNavi->topLevelItem(i));
            if (item && !item->row().number.isEmpty() && item->row().number.toInt() == replyNumber)
                replied = item;
        }
    }
    ListViewNavi->sortItems(sortColumn, sortType == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    if (!replied && !isReply)
        replied = ListViewNavi->topLevelItem(0);
    if (replied) {
        ListViewNavi->setCurrentItem(replied);
        replied->setSelected(true);
        ListViewNavi->scrollToItem(replied);
    }
}

// ---- Templates ----

void TFormReply::buildTemplateMenusAndTree()
{
    const QStringList names = m_templates->names();
    MainMenuTemplate->clear();
    MainMenuTemplateInsert->clear();
    for (const QString& name : names) {
        QAction* apply = MainMenuTemplate->addAction(name);
        apply->setToolTip(name);
        connect(apply, &QAction::triggered, this,
                [this, apply] { applyTemplate(apply->toolTip()); });
        QAction* insert = MainMenuTemplateInsert->addAction(name);
        insert->setToolTip(name);
        connect(insert, &QAction::triggered, this,
                [this, insert] { insertTemplate(insert->toolTip()); });
    }

    const QIcon templateIcon = ComposerTemplateTree::templateIcon(this);
    const QIcon itemIcon = ComposerTemplateTree::itemIcon(this);
    TreeViewTemplate->clear();
    auto group = [&](const QString& caption, int groupIndex, const QStringList& children, int kind,
                     const QIcon& icon) {
        ComposerTemplateTree::addGroup(TreeViewTemplate, caption, groupIndex, children, kind, icon);
    };
    QStringList personal, bidder;
    for (const auto& entry : std::as_const(personalColumns))
        personal << entry.first;
    for (const auto& entry : std::as_const(bidderColumns))
        bidder << entry.first;
    group(QStringLiteral("テンプレート"), 0, names, TemplateNode, templateIcon);
    group(QStringLiteral("個人設定"), 1, personal, ItemNode, itemIcon);
    group(QStringLiteral("落札者情報"), 2, bidder, ItemNode, itemIcon);
    TreeViewTemplate->expandAll();
    TreeViewTemplate->setCurrentItem(TreeViewTemplate->topLevelItem(0));
}

void TFormReply::applyTemplate(const QString& name)
{
    // The query is closed before the expansion; an expansion that throws leaves everything.
    const std::optional<TemplateRecord> record = m_templates->find(name);
    if (!record)
        return;
    bool errorFlag = false;
    QString errorText;
    QString expanded;
    convertTemplateKeywords(expanded, record->message, aid, bidId, errorFlag, errorText);

    if (QAbstractButton* button = m_subjects->button(record->choice))
        button->setChecked(true);
    MemoText::set(MemoMessage, ReplyFooter::withFooter(expanded, prInsert));
    for (int i = 0; i < 5; ++i)
        flagBox(i)->setChecked(record->flags[i]);
    ListBoxMessage->clear();
    reportKeywordErrors(errorFlag, errorText);
}

void TFormReply::insertTemplate(const QString& name)
{
    const std::optional<TemplateRecord> record = m_templates->find(name);
    if (!record)
        return;
    bool errorFlag = false;
    QString errorText;
    QString expanded;
    convertTemplateKeywords(expanded, record->message, aid, bidId, errorFlag, errorText);
    insertAtCaret(expanded);
    ListBoxMessage->clear();
    reportKeywordErrors(errorFlag, errorText);
}

void TFormReply::reportKeywordErrors(bool errorFlag, const QString& errorText)
{
    if (!errorFlag)
        return;
    addLog(errorText);
    if (m_navi.options.naviKeywordErrorMsg)
        Dialogs::showError(this, QStringLiteral("キーワード変換エラー"), errorText);
}

void TFormReply::TreeViewTemplateActivate(QTreeWidgetItem* node)
{
    if (!node)
        node = TreeViewTemplate->currentItem();
    if (!node)
        return;
    const int kind = node->data(0, nodeKindRole).toInt();
    const int group = node->data(0, nodeGroupRole).toInt();
    if (kind == TemplateNode) {
        applyTemplate(node->text(0));
    } else if (kind == ItemNode && group == 1) {
        for (const auto& [label, column] : std::as_const(personalColumns))
            if (label == node->text(0))
                insertPersonal(column);
        MemoMessage->setFocus();
    } else if (kind == ItemNode && group == 2) {
        insertWinner(node->text(0));
        MemoMessage->setFocus();
    }
}

void TFormReply::insertPersonal(const QString& column)
{
    const std::pair<const char*, const QString*> values[] = {
        {"NamePhonetic", &m_seller.namePhonetic},
        {"Name", &m_seller.name},
        {"Post", &m_seller.post},
        {"Address1", &m_seller.address1},
        {"Tel", &m_seller.tel},
        {"Mail", &m_seller.mail}};
    for (const auto& [name, value] : values)
        if (column == QLatin1String(name))
            insertAtCaret(*value);
}

void TFormReply::insertWinner(const QString& label)
{
    for (const auto& [caption, column] : std::as_const(bidderColumns)) {
        if (caption != label)
            continue;
        if (column.isEmpty()) {
            insertAtCaret(bidId);
            return;
        }
        const std::pair<const char*, const QString*> values[] = {{"Name", &m_winner.name},
                                                                 {"Post", &m_winner.post},
                                                                 {"Address1", &m_winner.address1},
                                                                 {"Tel", &m_winner.tel},
                                                                 {"MailMain", &m_winner.mailMain}};
        for (const auto& [name, value] : values)
            if (column == QLatin1String(name))
                insertAtCaret(*value);
        return;
    }
}

void TFormReply::insertAtCaret(const QString& stored)
{
    QTextCursor cursor = MemoMessage->textCursor();
    cursor.insertText(MemoText::toWidget(stored));
    MemoMessage->setTextCursor(cursor);
}

int TFormReply::subject() const
{
    return qMax(0, m_subjects->checkedId());
}

QCheckBox* TFormReply::flagBox(int index) const
{
    QCheckBox* const boxes[] = {CheckBoxFlgFirst, CheckBoxFlgPayment, CheckBoxFlgReceipt,
                                CheckBoxFlgEvaluation, CheckBoxFlgEnd};
    return boxes[index];
}

// ---- Log and counts ----

void TFormReply::addLog(const QString& text)
{
    ListBoxMessage->addItems(ReplyLog::lines(text));
    ListBoxMessage->scrollToBottom();
}

QStringList TFormReply::logLines() const
{
    QStringList lines;
    for (int i = 0; i < ListBoxMessage->count(); ++i)
        lines << ListBoxMessage->item(i)->text();
    return lines;
}

void TFormReply::ListBoxMessageDblClick()
{
    QListWidgetItem* line = ListBoxMessage->currentItem();
    if (!line || !line->isSelected())
        return;
    const QString placeholder = ReplyLog::placeholderOf(line->text());
    if (placeholder.isEmpty())
        return;
    QTextCursor cursor = MemoMessage->textCursor();
    const int found =
        ReplyLog::findPlaceholder(MemoMessage->toPlainText(), placeholder, cursor.selectionEnd());
    if (found < 0)
        return;
    cursor.setPosition(found);
    cursor.setPosition(found + int(placeholder.size()), QTextCursor::KeepAnchor);
    MemoMessage->setTextCursor(cursor);
}

void TFormReply::MemoMessageChange()
{
    statusPanels[0]->setText(QStringLiteral("文字数：") +
                             QString::number(countChars(MemoText::get(MemoMessage))));
}

// ---- Message list ----

void TFormReply::ListViewNaviColumnClick(int column)
{
    sortType = NaviListView::nextSortType(column, sortColumn, sortType);
    sortColumn = column;
    NaviListView::sort(ListViewNavi, sortColumn, sortType);
}

void TFormReply::ListViewNaviChange()
{
    const QList<QTreeWidgetItem*> selected = ListViewNavi->selectedItems();
    if (selected.isEmpty())
        return;
    if (NaviListItem* item = NaviListItem::of(selected.first()))
        MemoText::set(MemoReplyMessage, item->row().message);
}

// ---- Panels ----

void TFormReply::applyTemplatePanel()
{
    const bool shown = ActionShowTemplateTree->isChecked();
    if (!shown && PanelBottomLeft->isVisible())
        m_templatePanelWidth = PanelBottomLeft->width();
    PanelBottomLeft->setVisible(shown);
    if (shown && m_shown)
        QTimer::singleShot(0, this, &TFormReply::applyPanelSizes);
}

void TFormReply::applyNaviPanel()
{
    const bool checked = ActionShowNaviPanel->isChecked();
    if (isReply) {
        ListViewNavi->setVisible(checked);
        PanelNaviList->setVisible(true);
    } else {
        PanelNaviList->setVisible(checked);
        ToolButtonMainBidNaviFontSize->setEnabled(checked);
        MainMenuBidNaviFontSize->setEnabled(checked);
    }
}

// ---- Editing aids ----

void TFormReply::PopupMenuQuoteClick()
{
    const QString selected = MemoText::fromWidget(MemoReplyMessage->textCursor().selectedText());
    insertAtCaret(Quoting::quoteWithMarks(selected));
}

void TFormReply::PopupMenuQuoteNoMarkClick()
{
    insertAtCaret(MemoText::fromWidget(MemoReplyMessage->textCursor().selectedText()));
}

void TFormReply::PopupMenuCopyClick()
{
    const QString selected = MemoReplyMessage->textCursor().selectedText();
    if (!selected.isEmpty())
        QGuiApplication::clipboard()->setText(MemoText::toWidget(MemoText::fromWidget(selected)));
}

void TFormReply::PopupMenuAllSelectClick()
{
    MemoReplyMessage->selectAll();
}

void TFormReply::ActionAllSelectExecute()
{
    QWidget* focused = QApplication::focusWidget();
    if (auto* edit = qobject_cast<QLineEdit*>(focused))
        edit->selectAll();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(focused))
        memo->selectAll();
}

void TFormReply::buildDateTools()
{
    const QDate today = QDate::currentDate();
    DateTimePicker->setDate(today);
    PopupMenuDateFormat->clear();
    const QStringList& patterns = DateFormats::patterns();
    for (int i = 0; i < patterns.size(); ++i) {
        QAction* item = PopupMenuDateFormat->addAction(DateFormats::caption(today, i));
        item->setToolTip(patterns[i]);
        item->setCheckable(true);
    }
}

void TFormReply::changeDateFormat(QAction* item)
{
    for (QAction* other : PopupMenuDateFormat->actions())
        other->setChecked(false);
    DateTimePicker->setDisplayFormat(item->toolTip());
    item->setChecked(true);
}

void TFormReply::ToolButtonDateInsertClick()
{
    insertAtCaret(DateFormats::formatWith(DateTimePicker->date(), DateTimePicker->displayFormat()));
    MemoMessage->setFocus();
}

void TFormReply::DateTimePickerDropDown()
{
    m_droppedDownDate = DateTimePicker->date();
}

void TFormReply::DateTimePickerCloseUp()
{
    if (DateTimePicker->date() != m_droppedDownDate)
        ToolButtonDateInsertClick();
}

void TFormReply::buildFontSizeMenus()
{
    ToolButtonMainBidNaviFontSize->setMenu(
        fontSizeMenu(PopupMenuBidNaviFontSize = new QMenu(this), MemoReplyMessage));
    ToolButtonMainNaviFontSize->setMenu(
        fontSizeMenu(PopupMenuNaviFontSize = new QMenu(this), MemoMessage));
    fontSizeMenu(MainMenuBidNaviFontSize, MemoReplyMessage);
    fontSizeMenu(MainMenuNaviFontSize, MemoMessage);
    PopupMenuBidNaviFontSize->setObjectName("PopupMenuBidNaviFontSize");
    PopupMenuNaviFontSize->setObjectName("PopupMenuNaviFontSize");
}

QMenu* TFormReply::fontSizeMenu(QMenu* menu, QPlainTextEdit* target)
{
    return ComposerFontMenus::fill(menu, target);
}

void TFormReply::stepFont(QWidget* control, bool towardsUser)
{
    ComposerFontMenus::stepFont(control, towardsUser);
}

QWidget* TFormReply::hoverHandle() const
{
    return m_wheelRouter->hoveredControl();
}

bool TFormReply::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (DateTimePicker && watched == DateTimePicker->calendarWidget()->window()) {
        if (type == QEvent::Show)
            DateTimePickerDropDown();
        else if (type == QEvent::Hide)
            DateTimePickerCloseUp();
        return false;
    }
    if (type == QEvent::MouseButtonRelease) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (edit && mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier))
            edit->selectAll();
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Bands ----

void TFormReply::readBands(const IniFile& ini)
{
    QList<int> positions;
    QList<bool> breaks;
    for (int id = 0; id < 2; ++id) {
        positions << ini.readInteger(section(), "CoolBarIndex" + QString::number(id), 0);
        breaks << ini.readBool(section(), "CoolBarBreak" + QString::number(id), false);
    }
    m_bandRows->apply(bandOrderFromStoredPositions(positions), breaks);
}

// ---- Close ----

void TFormReply::closeEvent(QCloseEvent* event)
{
    if (sending &&
        !Dialogs::askOkCancel(
            this, QStringLiteral("確認"),
            QStringLiteral(
                "フォームを閉じますか？\n\r送信／送信データ受信に失敗する可能性があります。"))) {
        event->ignore();
        return;
    }
    FormClose();
    // A post under way ends at its next check; its wait ends now.
    if (m_writer)
        m_writer->abandon();
    event->accept();
}

void TFormReply::FormClose()
{
    if (m_closed || !m_shown)
        return;
    m_closed = true;
    IniFile ini(CommonDefine::settingIniPath());
    IniFile::Batch batch(ini);
    const QString& s = section();
    m_placement->save(ini);
    if (PanelNaviList->isVisible())
        m_messagePanelHeight = PanelNaviList->height();
    ini.writeInteger(s, "ReplyMessageHeight", m_messagePanelHeight);
    ini.writeBool(s, "FlgPluralUpdate", CheckBoxFlgPluralUpdate->isChecked());
    ini.writeBool(s, "TreeViewTemplate", ActionShowTemplateTree->isChecked());
    if (PanelBottomLeft->isVisible())
        m_templatePanelWidth = PanelBottomLeft->width();
    ini.writeInteger(s, "TreeViewTemplateWidht", m_templatePanelWidth);
    m_bandRows->write(ini, section());
    const QList<QAction*> formats = PopupMenuDateFormat->actions();
    for (int i = 0; i < formats.size(); ++i)
        if (formats[i]->isChecked())
            ini.writeInteger(s, "DateFormat", i);
    ini.writeBool(s, "NaviPanel", ActionShowNaviPanel->isChecked());
    for (int column = 0; column < ListViewNavi->columnCount(); ++column)
        ini.writeInteger(s, "ListViewNaviColWidth" + QString::number(column),
                         ListViewNavi->columnWidth(column));
    if (ListViewNavi->isVisible())
        m_listWidth = ListViewNavi->width();
    ini.writeInteger(s, "ListViewNaviWidth", m_listWidth);
    ini.writeInteger(s, "SortColumnBidNavi", sortColumn);
    ini.writeInteger(s, "SortTypeNavi", sortType);
    batch.save();
    m_templates.reset();
}
