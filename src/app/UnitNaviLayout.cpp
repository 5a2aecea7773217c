// The main window's frame: its components, menus, tool bars and status bar, built in one place.
#include "app/UnitNavi.h"

#include "common/CommonDefine.h"
#include "app/MessageFontSize.h"
#include "app/NaviWiring.h"
#include "app/StatusPanel.h"
#include "app/StatusPanelLayout.h"
#include "app/WholeToolBar.h"
#include "platform/ProgressBarRange.h"
#include "platform/SingleLineText.h"
#include "platform/TightToolBar.h"
#include "platform/ToolBarBandRows.h"
#include "platform/WheelRouter.h"
#include "views/BidListFindPanel.h"
#include "views/BidListView.h"
#include "views/BidSearchPanel.h"
#include "views/FolderTree.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Two full-width blanks on each side of a tab caption.
QString tabCaption(const QString& word)
{
    return QStringLiteral("　　") + word + QStringLiteral("　　");
}

QWidget* namedPanel(const QString& name, QWidget* parent)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    return panel;
}

QTreeWidget* reportList(const QString& name, QWidget* parent)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setSectionsMovable(false);
    list->header()->setSectionsClickable(true);
    list->header()->setStretchLastSection(false);
    return list;
}

// A read-only field of a message list's detail pane.
QLineEdit* detailField(const QString& name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    return field;
}

// A date field wide enough for a whole date and time.
QLineEdit* dateField(const QString& name, QWidget* parent)
{
    QLineEdit* field = detailField(name, parent);
    field->setMinimumWidth(
        field->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00 00:00")) + 12);
    return field;
}

QPlainTextEdit* messageMemo(const QString& name, QWidget* parent)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    return memo;
}

} // namespace

QAction* TFormNavi::makeAction(const QString& objectName, const QString& caption,
                               const QKeySequence& shortcut, bool checkable)
{
    auto* created = new QAction(caption, this);
    created->setObjectName(objectName);
    created->setShortcut(shortcut);
    created->setCheckable(checkable);
    // Until its command is wired, an item stays disabled.
    created->setEnabled(false);
    actions.insert(objectName, created);
    return created;
}

QAction* TFormNavi::action(const QString& objectName) const
{
    return actions.value(objectName);
}

void TFormNavi::buildLayout()
{
    setObjectName("FormNavi");
    setWindowTitle(CommonDefine::applicationTitle);
    resize(903, 638);

    auto* central = new QWidget(this);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    setCentralWidget(central);

    PanelBid = namedPanel("PanelBid", central);
    PanelBid->setMinimumHeight(4);
    centralLayout->addWidget(PanelBid);

    SplitterMessage = new QSplitter(Qt::Vertical, central);
    SplitterMessage->setObjectName("SplitterMessage");
    centralLayout->addWidget(SplitterMessage, 1);

    PanelMain = namedPanel("PanelMain", SplitterMessage);
    auto* mainLayout = new QVBoxLayout(PanelMain);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);

    PageControlMain = new QTabWidget(PanelMain);
    PageControlMain->setObjectName("PageControlMain");
    mainLayout->addWidget(PageControlMain);

    // The carriage and forwarding inputs stand beside the tab row.
    PanelMemo2 = namedPanel("PanelMemo2", PageControlMain);
    auto* memo2Layout = new QHBoxLayout(PanelMemo2);
    memo2Layout->setContentsMargins(4, 0, 4, 0);
    LabelInputCarriage = new QLabel(QStringLiteral("送料："), PanelMemo2);
    LabelInputCarriage->setObjectName("LabelInputCarriage");
    ComboBoxInputCarriage = new QComboBox(PanelMemo2);
    ComboBoxInputCarriage->setObjectName("ComboBoxInputCarriage");
    ComboBoxInputCarriage->setEditable(true);
    ButtonCarriageWrite = new QPushButton(QStringLiteral("記入"), PanelMemo2);
    ButtonCarriageWrite->setObjectName("ButtonCarriageWrite");
    ButtonCarriageWrite->setToolTip(QStringLiteral("選択行に送料を書き込む"));
    LabelInputForwarding = new QLabel(QStringLiteral("発送番号："), PanelMemo2);
    LabelInputForwarding->setObjectName("LabelInputForwarding");
    ComboBoxInputForwarding = new QComboBox(PanelMemo2);
    ComboBoxInputForwarding->setObjectName("ComboBoxInputForwarding");
    // The forwarding edit lies over the combo box's text area (ListingTab::setUpInputs).
    EditInputForwarding = new QLineEdit(ComboBoxInputForwarding);
    EditInputForwarding->setObjectName("EditInputForwarding");
    ButtonForwardingWrite = new QPushButton(QStringLiteral("記入"), PanelMemo2);
    ButtonForwardingWrite->setObjectName("ButtonForwardingWrite");
    ButtonForwardingWrite->setToolTip(QStringLiteral("選択行に発送番号を書き込む"));
    CheckBoxMemo2PluralWrite = new QCheckBox(QStringLiteral("同一落札者行更新"), PanelMemo2);
    CheckBoxMemo2PluralWrite->setObjectName("CheckBoxMemo2PluralWrite");
    CheckBoxMemo2PluralWrite->setToolTip(
        QStringLiteral("表示されている同一落札者行にも送料・発送番号を記入"));
    for (QWidget* w : {static_cast<QWidget*>(LabelInputCarriage),
                       static_cast<QWidget*>(ComboBoxInputCarriage),
                       static_cast<QWidget*>(ButtonCarriageWrite),
                       static_cast<QWidget*>(LabelInputForwarding),
                       static_cast<QWidget*>(ComboBoxInputForwarding),
                       static_cast<QWidget*>(ButtonForwardingWrite),
                       static_cast<QWidget*>(CheckBoxMemo2PluralWrite)})
        memo2Layout->addWidget(w);
    ComboBoxInputCarriage->setFixedWidth(80);
    ComboBoxInputForwarding->setFixedWidth(110);
    ButtonCarriageWrite->setFixedWidth(44);
    ButtonForwardingWrite->setFixedWidth(44);
    memo2Layout->setSpacing(3);
    PageControlMain->setCornerWidget(PanelMemo2, Qt::TopRightCorner);
    PageControlMain->setUsesScrollButtons(false);
    PageControlMain->setElideMode(Qt::ElideNone);

    // Listing tab.
    TabSheetBid = namedPanel("TabSheetBid", PageControlMain);
    auto* bidLayout = new QVBoxLayout(TabSheetBid);
    bidLayout->setContentsMargins(0, 0, 0, 0);
    bidLayout->setSpacing(0);
    PanelBidSearch = new BidSearchPanel(TabSheetBid);
    // Like the other panes, the search panel clips on a narrow window instead of widening it.
    PanelBidSearch->setSizePolicy(QSizePolicy::Ignored, PanelBidSearch->sizePolicy().verticalPolicy());
    bidLayout->addWidget(PanelBidSearch);
    SplitterBid = new QSplitter(Qt::Vertical, TabSheetBid);
    SplitterBid->setObjectName("SplitterBid");
    bidLayout->addWidget(SplitterBid, 1);
    auto* bidListPane = new QWidget(SplitterBid);
    auto* bidListLayout = new QVBoxLayout(bidListPane);
    bidListLayout->setContentsMargins(0, 0, 0, 0);
    bidListLayout->setSpacing(0);
    ListViewBid = new BidListView(bidListPane);
    ListViewBid->setObjectName("ListViewBid");
    bidListLayout->addWidget(ListViewBid, 1);
    PanelBidListFind = new BidListFindPanel(bidListPane);
    PanelBidListFind->hide();
    bidListLayout->addWidget(PanelBidListFind);
    // The memo panel lies right below the list-search panel, above the splitter.
    PanelMemoWrite = namedPanel("PanelMemoWrite", bidListPane);
    bidListLayout->addWidget(PanelMemoWrite);
    PanelBidNavi = namedPanel("PanelBidNavi", SplitterBid);
    auto* bidNaviLayout = new QHBoxLayout(PanelBidNavi);
    bidNaviLayout->setContentsMargins(0, 0, 0, 0);
    PanelBidNaviList = namedPanel("PanelBidNaviList", PanelBidNavi);
    auto* bidNaviListLayout = new QVBoxLayout(PanelBidNaviList);
    bidNaviListLayout->setContentsMargins(0, 0, 0, 0);
    ListViewBidNavi = reportList("ListViewBidNavi", PanelBidNaviList);
    NaviListView::setupListViewBidNavi(ListViewBidNavi);
    bidNaviListLayout->addWidget(ListViewBidNavi);
    bidNaviLayout->addWidget(PanelBidNaviList);
    // On the right: the chosen message's writer, subject and date above its text.
    auto* bidNaviDetail = new QWidget(PanelBidNavi);
    auto* bidNaviDetailLayout = new QVBoxLayout(bidNaviDetail);
    bidNaviDetailLayout->setContentsMargins(0, 0, 0, 0);
    bidNaviDetailLayout->setSpacing(2);
    auto* bidNaviFields = new QHBoxLayout;
    EditBidNaviWriter = detailField("EditBidNaviWriter", bidNaviDetail);
    EditBidNaviSubject = detailField("EditBidNaviSubject", bidNaviDetail);
    EditBidNaviDate = dateField("EditBidNaviDate", bidNaviDetail);
    for (auto [caption, field] :
         {std::pair{"投稿者：", EditBidNaviWriter}, std::pair{"件名：", EditBidNaviSubject},
          std::pair{"投稿日時：", EditBidNaviDate}}) {
        bidNaviFields->addWidget(new QLabel(QString::fromUtf8(caption), bidNaviDetail));
        bidNaviFields->addWidget(field, field == EditBidNaviSubject ? 2 : 1);
    }
    bidNaviDetailLayout->addLayout(bidNaviFields);
    MemoBidNavi = messageMemo("MemoBidNavi", bidNaviDetail);
    bidNaviDetailLayout->addWidget(MemoBidNavi, 1);
    bidNaviLayout->addWidget(bidNaviDetail, 1);
    PageControlMain->addTab(TabSheetBid, tabCaption(QStringLiteral("出品終了")));

    // Message tab.
    TabSheetNavi = namedPanel("TabSheetNavi", PageControlMain);
    auto* naviLayout = new QHBoxLayout(TabSheetNavi);
    naviLayout->setContentsMargins(0, 0, 0, 0);
    SplitterNavi = new QSplitter(Qt::Horizontal, TabSheetNavi);
    SplitterNavi->setObjectName("SplitterNavi");
    naviLayout->addWidget(SplitterNavi);
    PanelNaviLeft = namedPanel("PanelNaviLeft", SplitterNavi);
    auto* naviLeftLayout = new QVBoxLayout(PanelNaviLeft);
    naviLeftLayout->setContentsMargins(0, 0, 0, 0);
    TreeViewNavi = new QTreeWidget(PanelNaviLeft);
    TreeViewNavi->setObjectName("TreeViewNavi");
    TreeViewNavi->setHeaderHidden(true);
    FolderTree::setup(TreeViewNavi, [this](const QString& id, const QString& oldName,
                                           const QString& newName) {
        return FolderTree::renameFolderEdited(connection, loginId, id, oldName, newName);
    });
    naviLeftLayout->addWidget(TreeViewNavi);
    SplitterNaviRight = new QSplitter(Qt::Vertical, SplitterNavi);
    SplitterNaviRight->setObjectName("SplitterNaviRight");
    ListViewNavi = new NaviFolderList(SplitterNaviRight);
    ListViewNavi->setObjectName("ListViewNavi");
    ListViewNavi->header()->setSectionsMovable(false);
    // Below the list: the chosen message's fields above its text.
    auto* naviDetail = new QWidget(SplitterNaviRight);
    auto* naviDetailLayout = new QVBoxLayout(naviDetail);
    naviDetailLayout->setContentsMargins(0, 2, 0, 0);
    naviDetailLayout->setSpacing(2);
    auto* naviFields = new QGridLayout;
    EditNaviID = detailField("EditNaviID", naviDetail);
    EditNaviTitle = detailField("EditNaviTitle", naviDetail);
    EditNaviWriter = detailField("EditNaviWriter", naviDetail);
    EditNaviSubject = detailField("EditNaviSubject", naviDetail);
    EditNaviDate = dateField("EditNaviDate", naviDetail);
    LabelNaviWriter = new QLabel(NaviListView::writerLabel(0), naviDetail);
    LabelNaviWriter->setObjectName("LabelNaviWriter");
    naviFields->addWidget(new QLabel(QStringLiteral("ID："), naviDetail), 0, 0);
    naviFields->addWidget(EditNaviID, 0, 1);
    naviFields->addWidget(new QLabel(QStringLiteral("商品名："), naviDetail), 0, 2);
    naviFields->addWidget(EditNaviTitle, 0, 3, 1, 3);
    naviFields->addWidget(LabelNaviWriter, 1, 0);
    naviFields->addWidget(EditNaviWriter, 1, 1);
    naviFields->addWidget(new QLabel(QStringLiteral("件名："), naviDetail), 1, 2);
    naviFields->addWidget(EditNaviSubject, 1, 3);
    naviFields->addWidget(new QLabel(QStringLiteral("投稿日時："), naviDetail), 1, 4);
    naviFields->addWidget(EditNaviDate, 1, 5);
    naviFields->setColumnStretch(1, 1);
    naviFields->setColumnStretch(3, 2);
    naviFields->setColumnStretch(5, 1);
    naviDetailLayout->addLayout(naviFields);
    MemoNavi = messageMemo("MemoNavi", naviDetail);
    naviDetailLayout->addWidget(MemoNavi, 1);
    SplitterNavi->setStretchFactor(1, 1);
    PageControlMain->addTab(TabSheetNavi, tabCaption(QStringLiteral("取引ナビ")));

    // The log pane.
    PanelMessage = namedPanel("PanelMessage", SplitterMessage);
    auto* messageLayout = new QVBoxLayout(PanelMessage);
    messageLayout->setContentsMargins(0, 0, 0, 0);
    ListBoxMessage = new QListWidget(PanelMessage);
    ListBoxMessage->setObjectName("ListBoxMessage");
    ListBoxMessage->setContextMenuPolicy(Qt::CustomContextMenu);
    // All lines are one line high: a new line does not make the list measure every line again.
    ListBoxMessage->setUniformItemSizes(true);
    messageLayout->addWidget(ListBoxMessage);
    SplitterMessage->setStretchFactor(0, 1);
    SplitterMessage->setStretchFactor(1, 0);

    TimerTaskTrayLoginShow = new QTimer(this);
    TimerTaskTrayLoginShow->setObjectName("TimerTaskTrayLoginShow");
    TimerTaskTrayLoginShow->setSingleShot(true);

    buildBidderPanel();
    buildMemoPanel();
    buildBidNaviFields();

    auto* wheelRouter = new WheelRouter(this);
    wheelRouter->track(ListBoxMessage);
    wheelRouter->track(ListViewBid);
    wheelRouter->track(ListViewBidNavi);
    wheelRouter->track(MemoBidNavi, true);
    wheelRouter->track(TreeViewNavi);
    wheelRouter->track(ListViewNavi);
    wheelRouter->track(MemoNavi, true);
    connect(wheelRouter, &WheelRouter::fontStepRequested, this, [this](QWidget*, bool towardsUser) {
        const int checked = checkedMessageFontSize();
        const int next = MessageFontSize::step(checked, towardsUser);
        if (checked != 0 && next != checked)
            setMessageFontSize(next);
    });

    buildMenus();
    buildToolBars();
    buildStatusBar();
    buildTray();
}

void TFormNavi::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto addMenu = [this](QMenu* parent, const QString& name, const QString& caption) {
        QMenu* menu = parent->addMenu(caption);
        menu->setObjectName(name);
        return menu;
    };
    auto topMenu = [bar](const QString& name, const QString& caption) {
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(name);
        return menu;
    };

    QMenu* file = topMenu("MainMenuFile", "ファイル(&F)");
    QMenu* exportMenu = addMenu(file, "MainMenuFileExport", "エクスポート(&E)");
    ActionCsvExportBidList =
        makeAction("ActionCsvExportBidList", "出品終了データエクスポート(&B)...");
    exportMenu->addAction(ActionCsvExportBidList);
    exportMenu->addAction(makeAction("ActionCsvExportNaviList", "ナビデータエクスポート(&N)..."));
    ActionCsvExportBidInfo =
        makeAction("ActionCsvExportBidInfo", "選択行落札者情報エクスポート(&I)...");
    exportMenu->addAction(ActionCsvExportBidInfo);
    file->addSeparator();
    file->addAction(makeAction("ActionPrintPreviewNaviMessage", "印刷プレビュー(&V)...",
                               QKeySequence("Ctrl+Shift+P")));
    file->addAction(
        makeAction("ActionPrintNaviMessage", "印刷(&P)...", QKeySequence("Ctrl+P")));
    file->addAction(makeAction("ActionPrintNaviMessageSetting", "印刷設定(&U)..."));
    NaviWiring::connectPrintCommands(*this);
    file->addSeparator();
    QAction* exitAction = makeAction("MainMenuExit", "アプリケーションの終了(&X)");
    exitAction->setEnabled(true);
    file->addAction(exitAction);

    QMenu* edit = topMenu("MainMenuEdit", "編集(&E)");
    QMenu* copy = addMenu(edit, "MainMenuEditCopy", "個別コピー(&C)");
    copy->addAction(makeAction("ActionCopyAuctionId", "商品ID(&A)", QKeySequence("Ctrl+1")));
    copy->addAction(makeAction("ActionCopyTitle", "商品名(&T)", QKeySequence("Ctrl+2")));
    copy->addAction(makeAction("ActionCopyBidId", "落札者ID(&B)", QKeySequence("Ctrl+3")));
    copy->addAction(makeAction("ActionCopyBidName", "落札者氏名(&N)", QKeySequence("Ctrl+4")));
    copy->addAction(makeAction("ActionCopyPrice", "現在価格(&P)", QKeySequence("Ctrl+5")));
    copy->addAction(makeAction("ActionCopyForwarding", "発送番号(&F)", QKeySequence("Ctrl+6")));
    copy->addAction(makeAction("ActionCopyMemo", "メモ(&M)", QKeySequence("Ctrl+7")));
    edit->addSeparator();
    ActionNaviFind = makeAction("ActionNaviFind", "検索(&F)...", QKeySequence("Ctrl+F"));
    ActionNaviFindNext = makeAction("ActionNaviFindNext", "次候補(&N)", QKeySequence("F3"));
    ActionNaviFindPrevious =
        makeAction("ActionNaviFindPrevious", "前候補(&P)", QKeySequence("Shift+F3"));
    edit->addAction(ActionNaviFind);
    edit->addAction(ActionNaviFindNext);
    edit->addAction(ActionNaviFindPrevious);
    edit->addSeparator();
    edit->addAction(makeAction("ActionFindNavi", "ナビ検索(&O)", QKeySequence("Ctrl+Shift+F")));
    edit->addSeparator();
    ActionAllSelect = makeAction("ActionAllSelect", "全て選択(&A)", QKeySequence("Ctrl+A"));
    ActionAllSelect->setEnabled(true);
    edit->addAction(ActionAllSelect);

    QMenu* view = topMenu("MainMenuView", "表示(&V)");
    QAction* showBidTab =
        makeAction("MainMenuViewShowBidTab", "出品終了タブ(&B)", QKeySequence("Ctrl+PgUp"));
    QAction* showNaviTab =
        makeAction("MainMenuViewShowNaviTab", "取引ナビタブ(&N)", QKeySequence("Ctrl+PgDown"));
    showBidTab->setEnabled(true);
    showNaviTab->setEnabled(true);
    view->addAction(showBidTab);
    view->addAction(showNaviTab);
    view->addSeparator();
    ActionShowBidInfo =
        makeAction("ActionShowBidInfo", "落札者情報入力パネル(&D)", QKeySequence("F4"), true);
    ActionShowMemoWrite =
        makeAction("ActionShowMemoWrite", "メモ入力パネル(&M)", QKeySequence("F5"), true);
    ActionShowBidNaviPanel =
        makeAction("ActionShowBidNaviPanel", "ナビパネル(&P)", QKeySequence("F6"), true);
    view->addAction(ActionShowBidInfo);
    view->addAction(ActionShowMemoWrite);
    view->addAction(ActionShowBidNaviPanel);
    view->addSeparator();
    view->addAction(makeAction("ActionShowSelectBidIdList", "選択落札者取引一覧表示...(&L)",
                               QKeySequence("Ctrl+U")));
    view->addAction(makeAction("ActionShowSelectAuctionIdNaviList",
                               "選択商品ナビメッセージ一覧表示(&A)...", QKeySequence("Ctrl+G")));
    view->addSeparator();
    view->addAction(makeAction("ActionShowDeleteBidList", "削除済み商品リスト表示(&Z)",
                               QKeySequence("Ctrl+Shift+Z")));

    QMenu* tool = topMenu("MainMenuTool", "ツール(&T)");
    tool->addAction(makeAction("ActionShowSetting", "設定(&S)..."));
    tool->addSeparator();
    tool->addAction(makeAction("ActionShowNaviTemplate", "ナビテンプレート作成(&T)..."));
    tool->addAction(makeAction("ActionShowEvaluationTemplate", "評価テンプレート作成(&E)..."));
    NaviWiring::connectTemplateCommands(*this);
    tool->addSeparator();
    MainMenuToolMailerSend = addMenu(tool, "MainMenuToolMailerSend", "メーラーに送る(&M)");
    MainMenuToolMailerSend->setEnabled(false);
    tool->addAction(
        makeAction("ActionMailerStart", "メーラー起動(&M)", QKeySequence("Ctrl+Shift+M")));

    QMenu* data = topMenu("MainMenuData", "データ(&D)");
    ActionBidDownloadNow = makeAction("ActionBidDownloadNow", "新規出品終了データダウンロード(&L)",
                                      QKeySequence("Ctrl+L"));
    ActionBidDownload =
        makeAction("ActionBidDownload", "出品終了データダウンロード(&D)", QKeySequence("Ctrl+D"));
    ActionNaviDownloadSelect = makeAction(
        "ActionNaviDownloadSelect", "選択行ナビデータダウンロード(&N)", QKeySequence("Ctrl+N"));
    ActionNaviDownloadShow = makeAction("ActionNaviDownloadShow", "表示行ナビデータダウンロード(&M)",
                                        QKeySequence("Ctrl+Shift+N"));
    ActionBidDetailedDownload = makeAction(
        "ActionBidDetailedDownload", "出品終了詳細データダウンロード(&J)", QKeySequence("Ctrl+J"));
    ActionBidPromptDecisionDownload =
        makeAction("ActionBidPromptDecisionDownload", "即決出品終了データダウンロード(&P)",
                   QKeySequence("Ctrl+K"));
    MainMenuDataDownloadQuit =
        makeAction("MainMenuDataDownloadQuit", "ダウンロード中止(&Q)", QKeySequence("Esc"));
    data->addAction(ActionBidDownloadNow);
    data->addAction(ActionBidDownload);
    data->addAction(ActionNaviDownloadSelect);
    data->addAction(ActionNaviDownloadShow);
    data->addSeparator();
    data->addAction(ActionBidDetailedDownload);
    data->addAction(ActionBidPromptDecisionDownload);
    data->addAction(MainMenuDataDownloadQuit);
    data->addSeparator();
    ActionNaviMake = makeAction("ActionNaviMake", "ナビ投稿(&U)...", QKeySequence("Ctrl+M"));
    ActionEvaluationMake =
        makeAction("ActionEvaluationMake", "評価投稿(&I)...", QKeySequence("Ctrl+I"));
    data->addAction(ActionNaviMake);
    data->addAction(ActionEvaluationMake);
    data->addSeparator();
    data->addAction(makeAction("ActionShowBrowser", "ブラウザで表示(&B)..."));
    NaviWiring::connectBrowserCommand(*this);

    MainMenuNavi = topMenu("MainMenuNavi", "ナビ(&N)");
    MainMenuNavi->addAction(makeAction("ActionNaviReply", "返信(&R)...", QKeySequence("Ctrl+R")));
    MainMenuNavi->addAction(
        makeAction("ActionNaviOpenMessage", "開く(&S)...", QKeySequence("Ctrl+O")));
    MainMenuNavi->addSeparator();
    MainMenuNavi->addAction(
        makeAction("ActionNaviUnsealing", "開封する(&O)", QKeySequence("Ctrl+B")));
    MainMenuNavi->addAction(
        makeAction("ActionNaviUnunsealing", "未開封にする(&C)", QKeySequence("Ctrl+Shift+B")));
    MainMenuNavi->addSeparator();
    MainMenuViewFontSize = addMenu(MainMenuNavi, "MainMenuViewFontSize", "文字のサイズ(&F)");
    const struct
    {
        const char* name;
        const char* caption;
        int points;
    } fontItems[] = {{"MainMenuNaviFontSizeBiggest", "最大(&G)", 16},
                     {"MainMenuNaviFontSizeBig", "大(&L)", 14},
                     {"MainMenuNaviFontSizeMiddle", "中(&M)", 12},
                     {"MainMenuNaviFontSizeSmall", "小(&S)", 10},
                     {"MainMenuNaviFontSizeMinimum", "最小(&A)", 8}};
    for (const auto& item : fontItems) {
        QAction* sizeAction = makeAction(item.name, item.caption, QKeySequence(), true);
        sizeAction->setEnabled(true);
        sizeAction->setData(item.points);
        MainMenuViewFontSize->addAction(sizeAction);
        MainMenuNaviFontSize[(item.points - 8) / 2] = sizeAction;
        connect(sizeAction, &QAction::triggered, this,
                [this, points = item.points] { setMessageFontSize(points); });
    }

    MainMenuFlg = topMenu("MainMenuFlg", "フラグ(&M)");
    const struct
    {
        const char* name;
        const char* caption;
        const char* button;
    } flagItems[] = {
        {"ActionFlgFirstCheck", "住所連絡を済にする(&O)", "　住所済　"},
        {"ActionFlgFirstCheckRemove", "住所連絡を未にする(&P)", "　住所未　"},
        {"ActionFlgPaymentCheck", "入金を済にする(&Q)", "　入金済　"},
        {"ActionFlgPaymentCheckRemove", "入金を未にする(&R)", "　入金未　"},
        {"ActionFlgReceiptCheck", "発送を済にする(&S)", "　発送済　"},
        {"ActionFlgReceiptCheckRemove", "発送を未にする(&T)", "　発送未　"},
        {"ActionFlgEvaluationCheck", "評価を済にする(&U)", "　評価済　"},
        {"ActionFlgEvaluationCheckRemove", "評価を未にする(&V)", "　評価未　"},
        {"ActionFlgEndCheck", "終了を済にする(&W)", "　終了済　"},
        {"ActionFlgEndCheckRemove", "終了を未にする(&X)", "　終了未　"},
    };
    for (const auto& item : flagItems) {
        QAction* flag = makeAction(item.name, item.caption);
        flag->setIconText(QString::fromUtf8(item.button));
        MainMenuFlg->addAction(flag);
        flagActions << flag;
    }
    MainMenuFlg->addAction(makeAction("ActionFlgAllCheck", "全てを済にする(&Y)"));
    MainMenuFlg->addAction(makeAction("ActionFlgAllCheckRemove", "全てを未にする(&Z)"));
    MainMenuFlg->addSeparator();
    ActionFlgConfirm = makeAction("ActionFlgConfirm", "変更前に確認メッセージを表示する(&C)",
                                  QKeySequence(), true);
    ActionFlgConfirm->setEnabled(true);
    MainMenuFlg->addAction(ActionFlgConfirm);

    MainMenuContact = topMenu("MainMenuContact", "連絡方法(&C)");
    MainMenuContact->addAction(makeAction("MainMenuContactBlank", "空白(&B)"));
    MainMenuContact->addAction(makeAction("MainMenuContactNavi", "ナビ連絡(&N)"));
    MainMenuContact->addAction(makeAction("MainMenuContactMail", "メール連絡(&M)"));
    MainMenuContact->addSeparator();
    MainMenuContactConfirm = makeAction("MainMenuContactConfirm",
                                        "変更前に確認メッセージを表示(&C)", QKeySequence(), true);
    MainMenuContactConfirm->setEnabled(true);
    MainMenuContact->addAction(MainMenuContactConfirm);

    MainMenuEvaluationFlg = topMenu("MainMenuEvaluationFlg", "要評価(&K)");
    MainMenuEvaluationFlg->addAction(makeAction("ActionEvaluationFlgBlank", "空白(&B)"));
    MainMenuEvaluationFlg->addAction(makeAction("ActionEvaluationFlgNecessary", "必要(&N)"));
    MainMenuEvaluationFlg->addAction(makeAction("ActionEvaluationFlgUnnecessary", "不要(&U)"));
    MainMenuEvaluationFlg->addSeparator();
    MainMenuEvaluationFlgConfirm = makeAction(
        "MainMenuEvaluationFlgConfirm", "変更前に確認メッセージを表示(&C)", QKeySequence(), true);
    MainMenuEvaluationFlgConfirm->setEnabled(true);
    MainMenuEvaluationFlg->addAction(MainMenuEvaluationFlgConfirm);

    QMenu* help = topMenu("MainMenuHelp", "ヘルプ(&H)");
    help->addAction(makeAction("MainMenuVersion", "バージョン情報(&V)..."));

    PopupMenuListBoxMessage = new QMenu(this);
    PopupMenuListBoxMessage->setObjectName("PopupMenuListBoxMessage");
    QAction* clearLog = makeAction("PopupMenuListBoxMessageDelete", "メッセージ消去(&D)");
    clearLog->setEnabled(true);
    PopupMenuListBoxMessage->addAction(clearLog);

    PopupMenuBidList = new QMenu(this);
    PopupMenuBidList->setObjectName("PopupMenuBidList");
    PopupMenuBidList->addAction(ActionNaviDownloadSelect);
    PopupMenuBidList->addAction(ActionNaviMake);
    QMenu* bidListMailer = addMenu(PopupMenuBidList, "PopupMenuBidListMailerSend", "メーラーに送る(&M)");
    bidListMailer->setEnabled(false);
    PopupMenuBidList->addSeparator();
    PopupMenuBidList->addAction(ActionEvaluationMake);
    PopupMenuBidList->addSeparator();
    QMenu* bidListFlags = addMenu(PopupMenuBidList, "PopupMenuBidListFlg", "フラグ(&F)");
    for (QAction* item : MainMenuFlg->actions())
        if (!item->isSeparator() && item != ActionFlgConfirm)
            bidListFlags->addAction(item);
    QMenu* bidListContact = addMenu(PopupMenuBidList, "PopupMenuBidListContact", "連絡方法(&E)");
    for (const char* name : {"MainMenuContactBlank", "MainMenuContactNavi", "MainMenuContactMail"})
        bidListContact->addAction(action(name));
    QMenu* bidListEvaluation =
        addMenu(PopupMenuBidList, "PopupMenuBidListEvaluationFlg", "要評価(&K)");
    for (const char* name :
         {"ActionEvaluationFlgBlank", "ActionEvaluationFlgNecessary", "ActionEvaluationFlgUnnecessary"})
        bidListEvaluation->addAction(action(name));
    PopupMenuBidList->addSeparator();
    PopupMenuBidList->addMenu(copy);
    PopupMenuBidList->addSeparator();
    PopupMenuBidList->addAction(action("ActionShowSelectBidIdList"));
    PopupMenuBidList->addAction(action("ActionShowBrowser"));

    PopupMenuNaviList = new QMenu(this);
    PopupMenuNaviList->setObjectName("PopupMenuNaviList");
    // Reply and new message are items of their own, shown by the message commands' state.
    PopupMenuNaviListReply = PopupMenuNaviList->addAction(action("ActionNaviReply")->text());
    PopupMenuNaviListReply->setObjectName("PopupMenuNaviListReply");
    PopupMenuNaviListMake = PopupMenuNaviList->addAction(ActionNaviMake->text());
    PopupMenuNaviListMake->setObjectName("PopupMenuNaviListMake");
    PopupMenuNaviList->addAction(action("ActionNaviOpenMessage"));
    PopupMenuNaviList->addSeparator();
    PopupMenuNaviList->addAction(action("ActionNaviUnsealing"));
    PopupMenuNaviList->addAction(action("ActionNaviUnunsealing"));
    PopupMenuNaviList->addSeparator();
    PopupMenuNaviList->addAction(makeAction("ActionGetBidInfo", "落札者情報取得(&I)"));
    PopupMenuNaviList->addSeparator();
    PopupMenuNaviList->addAction(action("ActionShowSelectBidIdList"));
    PopupMenuNaviList->addAction(action("ActionShowSelectAuctionIdNaviList"));
    PopupMenuNaviList->addAction(action("ActionShowBrowser"));
    // The folder tree's commands; its popup menu is made as the tree is wired.
    makeAction("ActionTreeNaviDeleteFolder", "フォルダ削除(&D)");
    makeAction("ActionTreeNaviReNameFolder", "フォルダ名変更(&R)");
    NaviWiring::connectReplyCommands(*this);
    NaviWiring::connectEvaluationCommand(*this);
    NaviWiring::connectBidDataEtcCommands(*this);

    PopupMenuLogin = new QMenu(QStringLiteral("ログイン(&L)"), this);
    PopupMenuLogin->setObjectName("PopupMenuLogin");
}

void TFormNavi::buildToolBars()
{
    auto makeBar = [this](const QString& name, const QString& title, QToolBar* bar = nullptr) {
        if (!bar)
            bar = new TightToolBar(this);
        bar->setWindowTitle(title);
        bar->setObjectName(name);
        bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        addToolBar(Qt::TopToolBarArea, bar);
        return bar;
    };
    auto button = [](QToolBar* bar, QAction* command, const QString& hint, const QString& label) {
        command->setToolTip(hint);
        command->setIconText(label);
        bar->addAction(command);
        return qobject_cast<QToolButton*>(bar->widgetForAction(command));
    };

    ToolBarMain = makeBar("ToolBarMain", QStringLiteral("メイン"));
    button(ToolBarMain, ActionBidDownloadNow, "新規出品終了データダウンロード", "新規DL");
    button(ToolBarMain, ActionBidDownload, "出品終了データダウンロード", "全DL");
    button(ToolBarMain, ActionBidDetailedDownload, "出品終了詳細データダウンロード", "詳細DL");
    ToolBarMain->addSeparator();
    button(ToolBarMain, ActionNaviDownloadSelect, "選択行ナビデータダウンロード", "選択ナビ");
    button(ToolBarMain, ActionNaviDownloadShow, "表示行ナビダウンロード", "表示ナビ");
    ToolBarMain->addSeparator();
    ToolButtonBidSearch = new QToolButton(ToolBarMain);
    ToolButtonBidSearch->setObjectName("ToolButtonBidSearch");
    ToolButtonBidSearch->setText(QStringLiteral("検索"));
    ToolButtonBidSearch->setToolTip(QStringLiteral("出品終了検索"));
    ToolButtonBidSearch->setEnabled(false);
    ToolBarMain->addWidget(ToolButtonBidSearch);
    ToolBarMain->addSeparator();
    button(ToolBarMain, ActionShowBidInfo, "落札者情報パネル表示／非表示", "落札者");
    button(ToolBarMain, ActionShowMemoWrite, "メモ入力パネル表示／非表示", "メモ");
    button(ToolBarMain, ActionShowBidNaviPanel, "ナビパネル表示／非表示", "ナビ");
    ToolBarMain->addSeparator();
    button(ToolBarMain, action("ActionShowSelectBidIdList"), "選択落札者取引一覧表示", "取引一覧");
    button(ToolBarMain, action("ActionShowSelectAuctionIdNaviList"), "選択商品ナビメッセージ一覧表示", "ナビ一覧");
    ToolBarMain->addSeparator();
    button(ToolBarMain, action("ActionShowSetting"), "設定", "設定");
    button(ToolBarMain, action("ActionShowNaviTemplate"), "ナビテンプレート作成", "ナビ雛形");
    button(ToolBarMain, action("ActionShowEvaluationTemplate"), "評価テンプレート作成", "評価雛形");
    ToolBarMain->addSeparator();
    button(ToolBarMain, ActionNaviMake, "ナビ投稿", "ナビ投稿");
    button(ToolBarMain, ActionEvaluationMake, "評価投稿", "評価投稿");

    ToolBarNavi = makeBar("ToolBarNavi", QStringLiteral("ナビ"));
    button(ToolBarNavi, action("ActionNaviReply"), "返信", "返信");
    button(ToolBarNavi, action("ActionNaviOpenMessage"), "開く", "開く");
    ToolBarNavi->addSeparator();
    button(ToolBarNavi, action("ActionNaviUnsealing"), "開封", "開封");
    button(ToolBarNavi, action("ActionNaviUnunsealing"), "未開封", "未開封");
    ToolBarNavi->addSeparator();
    ToolButtonNaviFontSize = new QToolButton(ToolBarNavi);
    ToolButtonNaviFontSize->setObjectName("ToolButtonNaviFontSize");
    ToolButtonNaviFontSize->setText(QStringLiteral("文字"));
    ToolButtonNaviFontSize->setToolTip(QStringLiteral("文字のサイズ"));
    ToolButtonNaviFontSize->setMenu(MainMenuViewFontSize);
    // A click on the face drops the menu as a click on the arrow does.
    ToolButtonNaviFontSize->setPopupMode(QToolButton::InstantPopup);
    ToolBarNavi->addWidget(ToolButtonNaviFontSize);
    ToolButtonNaviFind = new QToolButton(ToolBarNavi);
    ToolButtonNaviFind->setObjectName("ToolButtonNaviFind");
    ToolButtonNaviFind->setText(QStringLiteral("ナビ検索"));
    ToolButtonNaviFind->setToolTip(QStringLiteral("ナビ検索"));
    ToolButtonNaviFind->setEnabled(false);
    ToolBarNavi->addWidget(ToolButtonNaviFind);

    // The login bar's fields stay on screen; the other bars of its row give way.
    PanelLogin = makeBar("PanelLogin", QStringLiteral("ログイン"), new WholeToolBar(this));
    ComboBoxLoginId = new QComboBox(PanelLogin);
    ComboBoxLoginId->setObjectName("ComboBoxLoginId");
    ComboBoxLoginId->setEditable(true);
    // Its text is kept in setting.ini.
    SingleLineText::keepOnOneLine(ComboBoxLoginId);
    ComboBoxLoginId->setMinimumWidth(140);
    ComboBoxLoginId->setToolTip(QStringLiteral("ログインID"));
    PanelLogin->addWidget(ComboBoxLoginId);
    EditLoginPassword = new QLineEdit(PanelLogin);
    EditLoginPassword->setObjectName("EditLoginPassword");
    EditLoginPassword->setEchoMode(QLineEdit::Password);
    EditLoginPassword->setMaximumWidth(120);
    EditLoginPassword->setToolTip(QStringLiteral("パスワード"));
    PanelLogin->addWidget(EditLoginPassword);
    ToolButtonLogin = new QToolButton(PanelLogin);
    ToolButtonLogin->setObjectName("ToolButtonLogin");
    ToolButtonLogin->setText(QStringLiteral("ログイン"));
    ToolButtonLogin->setEnabled(false);
    ToolButtonLogin->setMenu(PopupMenuLogin);
    ToolButtonLogin->setPopupMode(QToolButton::MenuButtonPopup);
    PanelLogin->addWidget(ToolButtonLogin);

    ToolBarFlg = makeBar("ToolBarFlg", QStringLiteral("フラグ"));
    for (int i = 0; i < flagActions.size(); ++i) {
        if (i > 0 && i % 2 == 0)
            ToolBarFlg->addSeparator();
        ToolBarFlg->addAction(flagActions[i]);
    }
    bandRows = new ToolBarBandRows(this, {ToolBarMain, ToolBarNavi, PanelLogin, ToolBarFlg});
}

void TFormNavi::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar");
    // The panels share one row laid out by their own rule: the account (panel 5) is always
    // shown whole and takes what is left; on a short bar the panels with long texts give way.
    auto* row = new QWidget(bar);
    auto* rowLayout = new StatusPanelLayout(row);
    bar->addWidget(row, 1);
    const int widths[6] = {320, 180, 150, 100, 50, 50};
    for (int i = 0; i < 6; ++i) {
        statusPanels[i] = new StatusPanel(
            widths[i], i == 5 ? StatusPanel::Fit::Whole : StatusPanel::Fit::GivesWay, row);
        statusPanels[i]->setObjectName(QStringLiteral("StatusBarPanel%1").arg(i));
        if (i == 3) {
            ProgressBar = new QProgressBar(row);
            ProgressBar->setObjectName("ProgressBar");
            ProgressBarRange::setIdle(ProgressBar);
            ProgressBar->setTextVisible(false);
            ProgressBar->setFixedWidth(widths[i]);
            rowLayout->addWidget(ProgressBar);
            statusPanels[i]->hide();
        } else if (i == 4) {
            ProgressBar2 = new QProgressBar(row);
            ProgressBar2->setObjectName("ProgressBar2");
            ProgressBarRange::setIdle(ProgressBar2);
            ProgressBar2->setTextVisible(false);
            ProgressBar2->setFixedWidth(100);
            rowLayout->addWidget(ProgressBar2);
            statusPanels[i]->hide();
        } else {
            rowLayout->addWidget(statusPanels[i]);
        }
    }
}
