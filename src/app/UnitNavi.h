#pragma once

#include "common/NaviOptions.h"
#include "common/NaviSession.h"
#include "views/BidRow.h"

#include <QHash>
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <memory>

class QAbstractItemView;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMimeData;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class ToolBarBandRows;
class WheelRouter;
class DownloadControl;
class EndTimeControl;
class LoginControl;
class NaviDownloadWindow;
class NaviEndTimeWindow;
class NaviLoginWindow;
class NaviBidderWindow;
class BidderPanel;
class MessageTab;
class NaviMessageTabWindow;
class NaviListingWindow;
class ListingTab;
class BidListView;
class BidSearchPanel;
class BidListFindPanel;
class NaviFolderList;
class NaviSelectionDelay;
class NaviListItem;
class NaviStore;
struct ListingStoreSummary;
struct NaviStoreSummary;
class WindowPlacement;
class TFormPrintNaviMessage;
class CheckVersion;
class QListWidgetItem;
class TFormEvaluation;
class TFormReply;
struct ComposerHooks;
struct FeedbackTarget;
struct NaviMessageHandOver;
struct ReplyTarget;

// The main window: the listing tab and the message tab with their panes, menus, tool bars,
// status bar, tray icon and message log; it owns the main database connection and the shared
// prepared queries.
class TFormNavi : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFormNavi(QWidget* parent = nullptr);
    ~TFormNavi() override;

    // ---- Lifecycle ----
    void FormShow();
    void AppIdle();
    void FormCloseQuery();
    void FormClose();
    void FormDestroy();
    bool isDatabaseOpen() const { return connection.isOpen(); }
    void raiseFromOutside();

    // ---- Shell ----
    void addLogMessage(const QString& text);
    void PageControlMainChange();
    void setMessageFontSize(int points);
    int checkedMessageFontSize() const;
    void MainMenuExitClick();
    void ActionAllSelectExecute();
    void PopupMenuListBoxMessageDeleteClick();
    void TasktrayIcon();
    void PopupMenuTrayRestoreClick();
    void PopupMenuTrayAppExitClick();
    void TimerTaskTrayLoginShowTimer();
    QMenu* trayMenu() const { return PopupMenuTray; }
    // A command is enabled only once its behaviour is wired (markWired); until then the
    // enable sets leave it disabled.
    static void markWired(QAction* command);
    static void enableCommand(QAction* command, bool enabled);
    void fillComboBox(const QStringList& items, QComboBox* comboBox);
    // The main progress bar, driven by the running download.
    void progressStart(int maximum);
    void progressStep();

    // ---- CSV export ----
    void connectCsvCommands();
    void ActionCsvExportBidListExecute();
    void ActionCsvExportNaviListExecute();
    void ActionCsvExportBidInfoExecute();

    // ---- Downloads, login and the end-time lookup ----
    LoginControl& loginControl() { return *m_loginControl; }
    DownloadControl& downloadControl() { return *m_downloadControl; }
    EndTimeControl& endTimeControl() { return *m_endTimeControl; }
    void connectLoginSignals();
    void connectBidDownloadCommands();
    void connectNaviDownloadCommands();
    // Appends one downloaded row to ListViewBid (quantity and price reduced to their digits).
    BidRow addListViewBidItem(const QString& index, const QString& aid,
                                    const QString& title, const QString& bidId,
                                    const QString& quantity, const QString& price,
                                    const QString& url);
    // Brings ListViewBid in line with what a listing store changed, without reloading it.
    void applyListingStoreSummary(const ListingStoreSummary& summary);
    // One stored board into the message lists, the folder counts and its listing row's
    // message-count cell.
    void showStoredBoard(const NaviStoreSummary& summary, NaviStore& store);
    QTimer* TimerEndDateTime = nullptr;

    // ---- Message posting ----
    // True when a message post may begin: no post runs and the busy state is idle or a
    // detailed listing download.
    bool messagePostAllowed() const;
    // A post's own state beside the busy state: while it is set, everything that a running
    // download refuses is refused, and the download commands and the login button stay off.
    void beginMessagePost();
    // Clears the post's state only; a download running beside it keeps its own.
    void endMessagePost();
    // After a successful post: the transaction's board download starts now when no download
    // runs, else when the running one ends.
    void requestTransactionNaviDownload(const QString& aid, const QString& title,
                                        const QString& bidId);

    // ---- Listing tab ----
    ListingTab& listingTab() { return *m_listingTab; }
    void connectListingPaneSignals();
    void connectSelectionSignals();
    void connectMarkerCommands();
    void connectMemoSignals();
    // The mail program on the bidder panel's mail address.
    void ActionMailerStartExecute();

    // ---- Bidder information ----
    BidderPanel& bidderPanel() { return *m_bidderPanel; }
    void buildBidderPanel();
    void connectBidderSignals();

    // ---- Message tab ----
    MessageTab& messageTab() { return *m_messageTab; }
    void connectMessageTabSignals();
    void ActionNaviOpenMessageExecute();

    // ---- Message viewer, per-listing message list and message search ----
    void connectViewerCommands();
    void ActionShowSelectAuctionIdNaviListExecute();
    void ActionFindNaviExecute();
    // Closes the side windows that read the main connection, before it is released.
    void closeConnectionWindows();

    // ---- Template editors ----
    void connectTemplateCommands();
    void ActionShowNaviTemplateExecute();
    void ActionShowEvaluationTemplateExecute();
    // ---- In-app browser and mail hand-over ----
    void connectBrowserCommand();
    void ActionShowBrowserExecute();
    // Fills both "メーラーに送る" submenus with the message templates, once per start.
    void buildMailerSendMenus();
    void executeMailerSend(QAction* item);
    // ---- Settings dialog ----
    void connectSettingCommand();
    void ActionShowSettingExecute();

    // ---- Message printing ----
    void connectPrintCommands();
    // The print form for the active message memo, remembered in formPrintNaviMessage.
    std::unique_ptr<TFormPrintNaviMessage> preparePrint(bool preview);
    void ActionPrintNaviMessageExecute();
    void ActionPrintPreviewNaviMessageExecute();
    void ActionPrintNaviMessageSettingExecute();
    QPointer<QWidget> formPrintNaviMessage, formPrintNaviMessageSetting;

    // ---- Version check, about box, log jump ----
    void connectVersionCommands();
    void MainMenuVersionClick();
    // The first show's update offer; false when an updater was handed over and the window closed.
    bool offerUpdate(const CheckVersion& check);
    // From a log line that names a transaction to its row of ListViewBid; no line, nothing.
    void ListBoxMessageDblClick(const QListWidgetItem* line);

    // ---- Composer openers ----
    void connectReplyCommands();
    void ActionNaviMakeExecute();
    void ActionNaviReplyExecute();
    // The feedback composer on the selected listing row, refused for a listing marked "不要".
    void connectEvaluationCommand();
    void ActionEvaluationMakeExecute();
    // A composer on the target, on the session and wired to this window, shown.
    TFormReply* openReplyComposer(const ReplyTarget& target);
    TFormEvaluation* openFeedbackComposer(const FeedbackTarget& target);
    // What a composer asks of this window: the listed rows, the flags shown in them, the board
    // download after a post.
    ComposerHooks composerHooks();
    // The message viewer's hand-over: the composer on the viewed message, a reply or a new
    // message, opened in the viewer's place.
    NaviMessageHandOver messageHandOver();

    // ---- Deleted listings and bidder transactions ----
    void connectBidDataEtcCommands();
    void ActionShowDeleteBidListExecute();
    void ActionShowSelectBidIdListExecute();

    // ---- Shared state ----
    // What side windows, controllers and threads read of the window.
    NaviSession session;
    // Names into the session, kept so the window's code reads as before.
    QSqlDatabase& connection = session.connection;
    QString& loginId = session.loginId;
    int& downloadKind = session.downloadKind;
    NaviOptions& options = session.options;
    BidInfoKeywords& bidInfoKeywords = session.bidInfoKeywords;
    bool& postingMessage = session.postingMessage;
    QString connectionName;
    QString autoLoginId;
    QString autoLoginPassword;
    bool balloonCapable = false;
    int trayMenuFixedCount = 0;
    int bidSortColumn = 0, bidSortType = 0;
    bool bidListLoading = false;
    int bidListLoadCount = 0;
    bool naviListLoading = false;
    int naviListLoadCount = 0;
    QPointer<QWidget> formSetting, formBrowser, formVersion, formNaviTemplate,
        formEvaluationTemplate;

    // The sixteen shared prepared queries, created on the first idle moment.
    QSqlQuery queryLoginFolders, queryInsertFolder, queryNaviList, queryInsertNavi,
        queryBidderInfo, queryBidderName, queryBidTitle, queryNewestAid, queryNaviNumberCount,
        queryDeleteNavi, queryUpdateUnsealing, queryTransactionNavi, queryUnsealedCounts,
        queryBidUrl, queryNaviTemplateByName, queryNaviByAid;
    bool sharedQueriesReady = false;

    // ---- Components ----
    QToolBar* ToolBarMain = nullptr;
    QToolBar* ToolBarNavi = nullptr;
    QToolBar* PanelLogin = nullptr;
    QToolBar* ToolBarFlg = nullptr;
    // The four bands in their rows, by identifier in the order above.
    ToolBarBandRows* bandRows = nullptr;
    QComboBox* ComboBoxLoginId = nullptr;
    QLineEdit* EditLoginPassword = nullptr;
    QToolButton* ToolButtonLogin = nullptr;
    QToolButton* ToolButtonBidSearch = nullptr;
    QToolButton* ToolButtonNaviFind = nullptr;
    QToolButton* ToolButtonNaviFontSize = nullptr;
    QWidget* PanelBid = nullptr;
    QLineEdit* EditBidId = nullptr;
    QLineEdit* EditBidName = nullptr;
    QLineEdit* EditBidMail = nullptr;
    QLineEdit* EditBidPost = nullptr;
    QLineEdit* EditBidAddress = nullptr;
    QLineEdit* EditBidTel = nullptr;
    QPushButton* BitBtnBidSave = nullptr;
    QToolButton* ToolButtonPanelBidClose = nullptr;
    QWidget* PanelMain = nullptr;
    QTabWidget* PageControlMain = nullptr;
    QWidget* TabSheetBid = nullptr;
    QWidget* TabSheetNavi = nullptr;
    QWidget* PanelMemo2 = nullptr;
    QLabel* LabelInputCarriage = nullptr;
    QComboBox* ComboBoxInputCarriage = nullptr;
    QPushButton* ButtonCarriageWrite = nullptr;
    QLabel* LabelInputForwarding = nullptr;
    QComboBox* ComboBoxInputForwarding = nullptr;
    QLineEdit* EditInputForwarding = nullptr;
    QPushButton* ButtonForwardingWrite = nullptr;
    QCheckBox* CheckBoxMemo2PluralWrite = nullptr;
    BidSearchPanel* PanelBidSearch = nullptr;
    BidListFindPanel* PanelBidListFind = nullptr;
    BidListView* ListViewBid = nullptr;
    QWidget* PanelMemoWrite = nullptr;
    QLabel* LabelMemoWrite = nullptr;
    QLineEdit* EditMemoWrite = nullptr;
    QPushButton* ButtonMemoWrite = nullptr;
    QToolButton* ToolButtonPanelMemoWriteClose = nullptr;
    QToolButton* ToolButtonPanelBidNaviListClose = nullptr;
    QSplitter* SplitterBid = nullptr;
    QWidget* PanelBidNavi = nullptr;
    QWidget* PanelBidNaviList = nullptr;
    QTreeWidget* ListViewBidNavi = nullptr;
    QLineEdit* EditBidAid = nullptr;
    QLineEdit* EditBidTitle = nullptr;
    QLineEdit* EditBidBidderName = nullptr;
    QLineEdit* EditBidNaviBidId = nullptr;
    QLineEdit* EditBidNaviWriter = nullptr;
    QLineEdit* EditBidNaviSubject = nullptr;
    QLineEdit* EditBidNaviDate = nullptr;
    QPlainTextEdit* MemoBidNavi = nullptr;
    QSplitter* SplitterNavi = nullptr;
    QWidget* PanelNaviLeft = nullptr;
    QTreeWidget* TreeViewNavi = nullptr;
    QSplitter* SplitterNaviRight = nullptr;
    NaviFolderList* ListViewNavi = nullptr;
    QLineEdit* EditNaviID = nullptr;
    QLineEdit* EditNaviTitle = nullptr;
    QLabel* LabelNaviWriter = nullptr;
    QLineEdit* EditNaviWriter = nullptr;
    QLineEdit* EditNaviSubject = nullptr;
    QLineEdit* EditNaviDate = nullptr;
    QPlainTextEdit* MemoNavi = nullptr;
    QSplitter* SplitterMessage = nullptr;
    QWidget* PanelMessage = nullptr;
    QListWidget* ListBoxMessage = nullptr;
    QLabel* statusPanels[6] = {};
    QProgressBar* ProgressBar = nullptr;
    QProgressBar* ProgressBar2 = nullptr;
    QMenu* PopupMenuTray = nullptr;
    QMenu* PopupMenuLogin = nullptr;
    QMenu* PopupMenuListBoxMessage = nullptr;
    QMenu* PopupMenuBidList = nullptr;
    QMenu* PopupMenuNaviList = nullptr;
    QAction* PopupMenuNaviListReply = nullptr;
    QAction* PopupMenuNaviListMake = nullptr;
    QMenu* PopupMenuMemoNavi = nullptr;
    QMenu* MainMenuFlg = nullptr;
    QMenu* MainMenuContact = nullptr;
    QMenu* MainMenuEvaluationFlg = nullptr;
    QMenu* MainMenuNavi = nullptr;
    QMenu* MainMenuViewFontSize = nullptr;
    QMenu* MainMenuToolMailerSend = nullptr;
    QTimer* TimerTaskTrayLoginShow = nullptr;
    QSystemTrayIcon* trayIcon = nullptr;

    // Every action by its object name; the members below are the ones the code uses by name.
    QAction* action(const QString& objectName) const;
    QHash<QString, QAction*> actions;
    QAction* ActionBidDownloadNow = nullptr;
    QAction* ActionBidDownload = nullptr;
    QAction* ActionNaviDownloadSelect = nullptr;
    QAction* ActionNaviDownloadShow = nullptr;
    QAction* ActionBidDetailedDownload = nullptr;
    QAction* ActionBidPromptDecisionDownload = nullptr;
    QAction* MainMenuDataDownloadQuit = nullptr;
    QAction* ActionNaviFind = nullptr;
    QAction* ActionNaviFindNext = nullptr;
    QAction* ActionNaviFindPrevious = nullptr;
    QAction* ActionAllSelect = nullptr;
    QAction* ActionEvaluationMake = nullptr;
    QAction* ActionNaviMake = nullptr;
    QAction* ActionCsvExportBidList = nullptr;
    QAction* ActionCsvExportBidInfo = nullptr;
    QAction* ActionShowBidInfo = nullptr;
    QAction* ActionShowMemoWrite = nullptr;
    QAction* ActionShowBidNaviPanel = nullptr;
    QAction* ActionFlgConfirm = nullptr;
    QAction* MainMenuContactConfirm = nullptr;
    QAction* MainMenuEvaluationFlgConfirm = nullptr;
    QAction* MainMenuNaviFontSize[5] = {}; // 8, 10, 12, 14, 16 points
    QList<QAction*> flagActions;           // the set and clear buttons of ToolBarFlg

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildLayout();
    // The memo panel and the message panel's fields of the listing tab.
    void buildMemoPanel();
    void buildBidNaviFields();
    void buildMenus();
    void buildToolBars();
    void buildStatusBar();
    void buildTray();
    void connectSignals();
    QAction* makeAction(const QString& objectName, const QString& caption,
                        const QKeySequence& shortcut = QKeySequence(), bool checkable = false);

    // Returns the stored window state, applied when the window is shown.
    int readMainSection();
    void writeMainSection();
    void openConnection();
    void createSharedQueries();
    void loadSavedLogins();
    void setDatabaseCommandsEnabled(bool enabled);

    // The sizes of split panes kept in `Main`, followed as the user drags the splitters.
    struct PaneSize
    {
        QSplitter* splitter;
        int index;
        QString key;
        int defaultSize;
        int size;
    };
    PaneSize& paneSize(const QString& key);
    void trackPaneSize(QSplitter* splitter, int index, const QString& key, int defaultSize);
    void applyPaneSizes();
    QList<PaneSize> paneSizes;
    bool naviPanesLaidOut = false;

    // Made in the constructor: the windows' sides first, the controllers over them.
    std::unique_ptr<NaviLoginWindow> m_loginWindow;
    std::unique_ptr<NaviDownloadWindow> m_downloadWindow;
    std::unique_ptr<NaviEndTimeWindow> m_endTimeWindow;
    std::unique_ptr<LoginControl> m_loginControl;
    std::unique_ptr<DownloadControl> m_downloadControl;
    std::unique_ptr<EndTimeControl> m_endTimeControl;
    std::unique_ptr<NaviListingWindow> m_listingWindow;
    std::unique_ptr<ListingTab> m_listingTab;
    std::unique_ptr<NaviBidderWindow> m_bidderWindow;
    std::unique_ptr<BidderPanel> m_bidderPanel;
    std::unique_ptr<NaviMessageTabWindow> m_messageTabWindow;
    std::unique_ptr<MessageTab> m_messageTab;
    void makeControllers();
    void makeListingTab();

    WindowPlacement* placement = nullptr;
    WheelRouter* wheelRouter = nullptr;
    bool closed = false;
};
