// The main window's lifecycle: first show, first idle moment, closing, and its settings.
#include "app/UnitNavi.h"

#include "app/CheckVersion.h"
#include "app/MessageFontSize.h"
#include "app/NaviControllers.h"
#include "app/NaviWiring.h"
#include "common/CommonDefine.h"
#include "platform/ChildTeardown.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/FirstPaint.h"
#include "platform/GuiThreadWait.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"
#include "platform/ToolBarBandRows.h"
#include "platform/ToolBarBands.h"
#include "platform/WindowPlacement.h"
#include "views/BidListFindPanel.h"
#include "views/BidListView.h"
#include "views/BidSearchPanel.h"
#include "views/ListingTab.h"
#include "views/MessageTab.h"
#include "views/NaviFolderList.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace {

const QString& mainSection()
{
    return CommonDefine::Section::Main;
}

void readColumnWidths(const IniFile& ini, QTreeView* list, const QString& key)
{
    for (int column = 0; column < list->model()->columnCount(); ++column)
        list->setColumnWidth(column,
                             ini.readInteger(mainSection(), key + QString::number(column), 120));
}

void writeColumnWidths(IniFile& ini, QTreeView* list, const QString& key)
{
    for (int column = 0; column < list->model()->columnCount(); ++column)
        ini.writeInteger(mainSection(), key + QString::number(column), list->columnWidth(column));
}

} // namespace

TFormNavi::TFormNavi(QWidget* parent) : QMainWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    // Its close from the desktop ends the program, and so any wait on the site.
    GuiThreadWait::setProgramWindow(this);
    buildLayout();
    makeControllers();
    connect(&session, &NaviSession::logLine, this, [this](const QString& text) {
        ListBoxMessage->addItem(text);
        // Scrolling makes the list lay out its lines at once; queued, it runs after the lines
        // of this turn of the event loop, so a line costs the same however long the log is.
        QMetaObject::invokeMethod(ListBoxMessage, &QListWidget::scrollToBottom,
                                  Qt::QueuedConnection);
    });
    NaviWiring::connectSignals(*this);
    NaviWiring::connectLoginSignals(*this);
    NaviWiring::connectListingPaneSignals(*this);
    NaviWiring::connectMessageTabSignals(*this);
    NaviWiring::connectBidDownloadCommands(*this);
    NaviWiring::connectNaviDownloadCommands(*this);
    NaviWiring::connectCsvCommands(*this);
    NaviWiring::connectSettingCommand(*this);
    NaviWiring::connectVersionCommands(*this);
    NaviWiring::connectViewerCommands(*this);
    NaviWiring::connectMarkerCommands(*this);
    NaviWiring::connectBidderSignals(*this);
    NaviWiring::connectSelectionSignals(*this);
    NaviWiring::connectMemoSignals(*this);
    placement = new WindowPlacement(this, mainSection(), WindowPlacement::MinimisedAs::StateBefore);
    paneSizes.track(this, SplitterBid, 1, "BidNaviPanelHeight", 130);
    paneSizes.track(this, SplitterMessage, 1, "MessageHeight", 70);
    paneSizes.track(this, SplitterNavi, 0, "NaviLeftWidth", 200);
    paneSizes.track(this, SplitterNaviRight, 0, "NaviLeft", 300);
    connectionName = Database::uniqueConnectionName(QStringLiteral("main"));
}

TFormNavi::~TFormNavi()
{
    FormDestroy();
    detachChildren(this);
}

void TFormNavi::FormShow()
{
    // The local versions now; the update server is asked once the window has been drawn.
    const auto versionCheck = std::make_shared<CheckVersion>();
    session.balloonCapable = CheckVersion::isBalloonCapable();
    listingTab().findTarget = 4;
    listingTab().selectedPriceTotal = 0;
    statusPanels[2]->setText(QStringLiteral("合計価格：0"));
    listingTab().currentBidItem = nullptr;
    messageTab().currentNaviItem = QPersistentModelIndex();
    PageControlMain->setCurrentIndex(0);
    trayMenuFixedCount = int(PopupMenuTray->actions().size());

    IniFile ini(CommonDefine::settingIniPath());
    bidInfoKeywords = BidInfoKeywords::readCreatingDefaults(ini);
    options = NaviOptions::read(ini, session.balloonCapable);
    ListViewBid->setBackColorValue(options.bidBackColor);
    const int state = readMainSection();
    options.taskTray = NaviOptions::readTaskTray(ini);

    if (state == 2)
        showMaximized();
    else if (state == 1)
        showMinimized();
    else
        show();

    // The account and the font size are applied before the database is opened, so that a
    // close after a failed open writes back what was read.
    const QString lastLoginId = ini.readString(mainSection(), "LoginId", QString());
    ComboBoxLoginId->setEditText(lastLoginId);
    setMessageFontSize(ini.readInteger(mainSection(), "FontSize", 12));

    try {
        openConnection();
    } catch (const std::exception& error) {
        // Without the database the window stays usable for reading the error, nothing more.
        setDatabaseCommandsEnabled(false);
        Dialogs::showError(this, CommonDefine::applicationTitle, QString::fromUtf8(error.what()));
        return;
    }
    setDatabaseCommandsEnabled(true);
    ToolButtonLogin->setEnabled(true);
    loadSavedLogins();
    // Filling the list cleared the text; set again, it also fills a saved password.
    ComboBoxLoginId->setEditText(lastLoginId);

    // The steps that wait on the site run once the window has been drawn, in their order.
    const bool autoLogin = NaviOptions::readLoginAutoLogin(ini) && !autoLoginId.isEmpty();
    runAfterFirstPaint(this, [this, autoLogin, versionCheck] {
        if (closed)
            return;
        // The update server answers when it will; the window goes on meanwhile. The offer waits
        // until no request of the window is under way, and a closing window makes none.
        versionCheck->askServerLater(this, [this, versionCheck] {
            GuiThreadWait::runOutsideWaits(this, [this, versionCheck] {
                if (!closed && !GuiThreadWait::isStopRequested())
                    offerUpdate(*versionCheck);
            });
        });
        if (autoLogin)
            loginControl().login(autoLoginId, autoLoginPassword);
        AppIdle();
        buildMailerSendMenus();
    });
}

int TFormNavi::readMainSection()
{
    IniFile ini(CommonDefine::settingIniPath());
    const QString& s = mainSection();
    const int windowState = placement->restore(ini);
    ActionFlgConfirm->setChecked(ini.readBool(s, "FlgConfirm", false));
    MainMenuContactConfirm->setChecked(ini.readBool(s, "ContactConfirm", false));
    MainMenuEvaluationFlgConfirm->setChecked(ini.readBool(s, "EvaluationFlgConfirm", false));
    CheckBoxMemo2PluralWrite->setChecked(ini.readBool(s, "Memo2PluralWrite", false));

    const QString& other = CommonDefine::Section::SettingOtherItem;
    listingTab().carriageItems = ini.readList(other, "BidCarriage");
    listingTab().forwardingItems = ini.readList(other, "BidForwarding");
    fillComboBox(listingTab().carriageItems, ComboBoxInputCarriage);
    fillComboBox(listingTab().forwardingItems, ComboBoxInputForwarding);

    ListViewBid->readColumnWidths(ini);
    PanelBidSearch->readSettings(ini);
    readColumnWidths(ini, ListViewBidNavi, "ListViewBidNaviColWidth");
    readColumnWidths(ini, ListViewNavi, "ListViewNaviColWidth");

    QList<int> positions;
    QList<bool> breaks;
    for (int id = 0; id < 4; ++id) {
        positions << ini.readInteger(s, "CoolBarIndex" + QString::number(id), id);
        breaks << ini.readBool(s, "CoolBarBreak" + QString::number(id), false);
    }
    bandRows->apply(bandOrderFromStoredPositions(positions), breaks);

    const bool infoPanel = ini.readBool(s, "DisplayInfoPanel", true);
    PanelBid->setVisible(infoPanel);
    ActionShowBidInfo->setChecked(infoPanel);
    const bool memoPanel = ini.readBool(s, "MemoWritePanel", true);
    PanelMemoWrite->setVisible(memoPanel);
    ActionShowMemoWrite->setChecked(memoPanel);
    const bool bidNaviPanel = ini.readBool(s, "BidNaviPanel", false);
    ActionShowBidNaviPanel->setChecked(bidNaviPanel);
    PanelBidNavi->setVisible(bidNaviPanel);
    paneSizes.read(ini, s);
    paneSizes.size("MessageHeight") = qMax(70, paneSizes.size("MessageHeight"));
    paneSizes.apply();
    PanelBidNaviList->setFixedWidth(ini.readInteger(s, "BidNaviPanelList", 350));
    if (ini.readBool(s, "BidListFindPanel", false))
        PanelBidListFind->ActionNaviFindExecute();

    bidSortColumn = ini.readInteger(s, "SortColumnBid", 0);
    bidSortType = ini.readInteger(s, "SortTypeBid", 0);
    messageTab().bidNaviSortColumn = ini.readInteger(s, "SortColumnBidNavi", 0);
    messageTab().bidNaviSortType = ini.readInteger(s, "SortTypeBidNavi", 0);
    messageTab().naviSortColumn = ini.readInteger(s, "SortColumnNavi", 0);
    messageTab().naviSortType = ini.readInteger(s, "SortTypeNavi", 0);
    ListViewBid->setSortState({bidSortColumn, bidSortType});
    return windowState;
}

void TFormNavi::writeMainSection()
{
    IniFile ini(CommonDefine::settingIniPath());
    IniFile::Batch batch(ini);
    const QString& s = mainSection();
    placement->save(ini);
    ini.writeBool(s, "FlgConfirm", ActionFlgConfirm->isChecked());
    ini.writeBool(s, "ContactConfirm", MainMenuContactConfirm->isChecked());
    ini.writeBool(s, "EvaluationFlgConfirm", MainMenuEvaluationFlgConfirm->isChecked());
    ini.writeBool(s, "Memo2PluralWrite", CheckBoxMemo2PluralWrite->isChecked());
    ListViewBid->writeColumnWidths(ini);
    PanelBidSearch->writeSettings(ini);
    writeColumnWidths(ini, ListViewBidNavi, "ListViewBidNaviColWidth");
    writeColumnWidths(ini, ListViewNavi, "ListViewNaviColWidth");

    bandRows->write(ini, s);

    ini.writeBool(s, "DisplayInfoPanel", !PanelBid->isHidden());
    ini.writeBool(s, "MemoWritePanel", !PanelMemoWrite->isHidden());
    ini.writeBool(s, "BidNaviPanel", ActionShowBidNaviPanel->isChecked());
    // The log pane's height is written from the pane it restores, so it keeps its size.
    paneSizes.write(ini, s);
    ini.writeInteger(s, "BidNaviPanelList", PanelBidNaviList->width());
    ini.writeBool(s, "BidListFindPanel", !PanelBidListFind->isHidden());
    ini.writeInteger(s, "SortColumnBid", bidSortColumn);
    ini.writeInteger(s, "SortTypeBid", bidSortType);
    ini.writeInteger(s, "SortColumnBidNavi", messageTab().bidNaviSortColumn);
    ini.writeInteger(s, "SortTypeBidNavi", messageTab().bidNaviSortType);
    ini.writeInteger(s, "SortColumnNavi", messageTab().naviSortColumn);
    ini.writeInteger(s, "SortTypeNavi", messageTab().naviSortType);
    ini.writeString(s, "LoginId", ComboBoxLoginId->currentText());
    ini.writeInteger(s, "FontSize", MemoNavi->font().pointSize());
    batch.save();
}

void TFormNavi::openConnection()
{
    connection = Database::open(connectionName);
}

void TFormNavi::loadSavedLogins()
{
    loginControl().savedLogins.clear();
    ComboBoxLoginId->clear();
    PopupMenuLogin->clear();
    QSqlQuery query = Sql::exec(connection, QStringLiteral("SELECT * FROM T_LoginId"));
    int row = 0;
    while (query.next()) {
        const QString id = query.value("LoginId").toString();
        const QString password = query.value("PassWord").toString();
        ComboBoxLoginId->addItem(id);
        if (!loginControl().savedLogins.contains(id))
            loginControl().savedLogins.insert(id, password);
        if (query.value("Main").toBool()) {
            autoLoginId = id;
            autoLoginPassword = password;
        }
        QAction* item = PopupMenuLogin->addAction(QStringLiteral("%1&(%2)").arg(id).arg(row));
        item->setToolTip(id);
        item->setData(id);
        ++row;
    }
}

void TFormNavi::setDatabaseCommandsEnabled(bool enabled)
{
    for (QAction* command :
         {ActionBidDownloadNow, ActionBidDownload, ActionNaviDownloadSelect, ActionNaviDownloadShow,
          ActionBidDetailedDownload, ActionBidPromptDecisionDownload, action("ActionShowSetting")})
        enableCommand(command, enabled);
    listingTab().setBidSearchButtonEnabled(enabled);
}

void TFormNavi::AppIdle()
{
    if (!isDatabaseOpen() || session.queries.ready)
        return;
    paneSizes.apply();
    session.queries.prepare(connection);
    messageTab().shownUnreadCount = 0;
    loginControl().updateLoginId();
    PageControlMainChange();
}

void TFormNavi::raiseFromOutside()
{
    if (isMinimized() || isHidden())
        PopupMenuTrayRestoreClick();
    raise();
    activateWindow();
}

void TFormNavi::closeEvent(QCloseEvent* event)
{
    if (!closed) {
        FormCloseQuery();
        FormClose();
    }
    event->accept();
}

void TFormNavi::FormCloseQuery()
{
    downloadControl().stopAllDownloads();
}

void TFormNavi::FormClose()
{
    closed = true;
    // The program is ending: a request or a page under way is not waited for any longer.
    GuiThreadWait::requestStop();
    try {
        writeMainSection();
    } catch (const std::exception& error) {
        // The settings of this close are lost; the program still ends.
        Dialogs::showError(this, CommonDefine::applicationTitle, QString::fromUtf8(error.what()));
    }
    // Queued after the error box: quitting ends every event loop, a modal box's too.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void TFormNavi::FormDestroy()
{
    // No thread may outlive the connection and queries it uses through its hand-overs.
    downloadControl().stopAllDownloads();
    closeConnectionWindows();
    session.queries.release();
    if (connection.isValid()) {
        connection = QSqlDatabase();
        Database::close(connectionName);
    }
}
