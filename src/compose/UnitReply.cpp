#include "compose/UnitReply.h"

#include "platform/ChildTeardown.h"
#include "common/CommonDefine.h"
#include "common/CommonRoutines.h"
#include "common/NaviSession.h"
#include "compose/ComposerFontMenus.h"
#include "compose/DateFormats.h"
#include "compose/Quoting.h"
#include "compose/ReplyFontSizes.h"
#include "compose/ReplyFooter.h"
#include "compose/ReplyLog.h"
#include "compose/TemplateKeywords.h"
#include "compose/UnitNaviWrite.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/ToolBarBandRows.h"
#include "platform/ToolBarBands.h"
#include "platform/WheelRouter.h"
#include "views/MemoText.h"
#include "views/NaviListItem.h"

#include <QAction>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSplitter>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

TFormReply::TFormReply(NaviSession& session, const ReplyTarget& target, ComposerHooks hooks)
    : ComposerWindowBase(session, target, std::move(hooks), CommonDefine::Section::ReplyWindow),
      isReply(target.isReply), replyNumber(target.replyNumber),
      m_repliedMessage(target.repliedMessage)
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
    finishFrame();
    wheelRouter()->track(MemoReplyMessage, true);
    connectSignals();
}

void TFormReply::sessionEnded()
{
    m_templates.reset();
    m_closed = true;
    if (m_writer)
        m_writer->abandon();
    // A send under way frees the window once it has returned.
    if (!m_inSend)
        deleteLater();
}

TFormReply::~TFormReply()
{
    detachChildren(this);
}

// ---- Layout ----

void TFormReply::buildLayout()
{
    buildMenus();
    buildToolBars();

    QVBoxLayout* layout = buildCentralColumn(&EditPrice);
    QWidget* central = layout->parentWidget();

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

    buildStatusBar(120);

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
    buildFrameCommands({"ActionSend", QStringLiteral("送信(&N)"), QStringLiteral("送信"),
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)},
                       {"ActionSendStop", QStringLiteral("送信中止(&E)"),
                        QStringLiteral("送信中止(&E)"), QKeySequence(Qt::Key_Escape)},
                       &ActionSend, &ActionSendStop);
    const QString naviPanelSwitch = QStringLiteral("ナビパネル表示／非表示");
    ActionShowNaviPanel = makeAction({"ActionShowNaviPanel", naviPanelSwitch, naviPanelSwitch});
    ActionShowNaviPanel->setCheckable(true);
    const QString dateInsert = QStringLiteral("日付を入力");
    ActionDateInsert = makeAction({"ActionDateInsert", dateInsert, dateInsert});

    MainMenuView->addAction(ActionShowNaviPanel);
    MainMenuView->addSeparator();
    MainMenuBidNaviFontSize = MainMenuView->addMenu(QStringLiteral("落札者ナビフォントサイズ(&D)"));
    MainMenuBidNaviFontSize->setObjectName("MainMenuBidNaviFontSize");
    MainMenuNaviFontSize = MainMenuView->addMenu(QStringLiteral("ナビフォントサイズ(&F)"));
    MainMenuNaviFontSize->setObjectName("MainMenuNaviFontSize");

    QMenuBar* bar = menuBar();
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
    ToolBarMain->addAction(ActionShowNaviPanel);
    ToolBarMain->addSeparator();
    ToolButtonMainBidNaviFontSize = addDropDownButton(ToolBarMain, "ToolButtonMainBidNaviFontSize",
                                                      QStringLiteral("落札者ナビフォントサイズ"));
    ToolButtonMainNaviFontSize = addDropDownButton(ToolBarMain, "ToolButtonMainNaviFontSize",
                                                   QStringLiteral("ナビフォントサイズ"));

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
        addDropDownButton(ToolBarDate, "ToolButtonDateFormat", QStringLiteral("日付形式"));
    PopupMenuDateFormat = new QMenu(this);
    PopupMenuDateFormat->setObjectName("PopupMenuDateFormat");
    ToolButtonDateFormat->setMenu(PopupMenuDateFormat);

    addToolBar(Qt::TopToolBarArea, ToolBarDate);
    m_bandRows = new ToolBarBandRows(this, {ToolBarMain, ToolBarDate});
}

QWidget* TFormReply::buildBottom(QWidget* parent)
{
    auto* bottom = new QWidget(parent);
    bottom->setObjectName("PanelBottom");
    auto* layout = new QVBoxLayout(bottom);
    layout->setContentsMargins(0, 0, 0, 0);
    QVBoxLayout* rightLayout = buildTemplateSplitter(bottom);
    layout->addWidget(SplitterBottom);
    QWidget* right = rightLayout->parentWidget();
    addFlagRow(rightLayout);

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
    addMessageText(rightLayout);
    return bottom;
}

void TFormReply::connectSignals()
{
    connect(ActionSend, &QAction::triggered, this, &TFormReply::ActionMainTransmissionExecute);
    connect(ActionSendStop, &QAction::triggered, this,
            &TFormReply::ActionMainTransmissionStopExecute);
    connect(ActionShowNaviPanel, &QAction::toggled, this, &TFormReply::applyNaviPanel);
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
    connect(Splitter, &QSplitter::splitterMoved, this, [this] {
        if (PanelNaviList->isVisible())
            m_messagePanelHeight = PanelNaviList->height();
    });
    // The calendar's drop-down and close-up are the shows and hides of its pop-up.
    DateTimePicker->calendarWidget()->window()->installEventFilter(this);
}

// ---- Show ----

void TFormReply::FormShow()
{
    if (isReply)
        setWindowTitle(QStringLiteral("返信：") + title);
    else
        setNewMessageCaption();
    IniFile ini(CommonDefine::settingIniPath());
    const QString& s = section();
    readFrameSettings(ini);
    m_messagePanelHeight = qMax(50, ini.readInteger(s, "ReplyMessageHeight", 150));
    takeMessageFont(MemoReplyMessage);
    takeMessageFont(MemoMessage);
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
    // The replied message as a whole, in place of its list row's text.
    if (isReply && m_repliedMessage)
        MemoText::set(MemoReplyMessage, *m_repliedMessage);
    applyNaviPanel();
    buildTemplateMenusAndTree();
    connectTemplateTree(m_session.options.operationNaviTemplateTree);
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
    ComposerWindowBase::applyPanelSizes();
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
    openTemplates(TemplateKind::Navi);
    m_seller = ReplyData::readSeller(m_session.connection);
    m_winner = ReplyData::readWinner(m_session.connection, bidId);
    prInsert = IniFile(CommonDefine::settingIniPath())
                   .readBool(CommonDefine::Section::Setting, "PrInsert", true);
}

void TFormReply::loadTransaction()
{
    EditPrice->setText(showTransactionFlags().price);
}

void TFormReply::loadMessageList()
{
    const QList<NaviRow> rows = ReplyData::listingMessages(m_session.connection, aid, loginId);
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
    addTemplateItems(MainMenuTemplate, names, [this](const QString& name) { applyTemplate(name); });
    addTemplateItems(MainMenuTemplateInsert, names,
                     [this](const QString& name) { insertTemplate(name); });
    QStringList personal, bidder;
    for (const auto& entry : std::as_const(personalColumns))
        personal << entry.first;
    for (const auto& entry : std::as_const(bidderColumns))
        bidder << entry.first;
    fillTemplateTree(
        names, {{QStringLiteral("個人設定"), personal}, {QStringLiteral("落札者情報"), bidder}});
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
    if (m_session.options.naviKeywordErrorMsg)
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
    if (!mayClose(QStringLiteral(
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
    if (m_closed || !isFirstShowDone())
        return;
    m_closed = true;
    IniFile ini(CommonDefine::settingIniPath());
    IniFile::Batch batch(ini);
    const QString& s = section();
    writePlacement(ini);
    if (PanelNaviList->isVisible())
        m_messagePanelHeight = PanelNaviList->height();
    ini.writeInteger(s, "ReplyMessageHeight", m_messagePanelHeight);
    writeFrameSettings(ini);
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
