#pragma once

#include "common/NaviOptions.h"
#include "common/NaviSession.h"
#include "platform/SplitterPaneSizes.h"
#include "views/BidRow.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSqlDatabase>
#include <QStringList>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QSystemTrayIcon;
class QTimer;
class QToolButton;
class QTreeWidget;
class ToolBarBandRows;
class DownloadControl;
class EndTimeControl;
class LoginControl;
class BidderPanel;
class MessageTab;
class ListingTab;
class BidListView;
class BidSearchPanel;
class BidListFindPanel;
class NaviFolderList;
struct NaviControllers;
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

// The main window: both tabs with their panes, the menus, tool bars, status bar, tray icon and
// message log; it opens the main database connection, which its session holds.
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
    // A command whose enabled state follows the window's state goes through enableCommand, which
    // keeps it disabled until its handler is connected (markWired). Commands enabled once where
    // they are made need no mark.
    static void markWired(QAction* command);
    static void enableCommand(QAction* command, bool enabled);
    void fillComboBox(const QStringList& items, QComboBox* comboBox);
    // The main progress bar, driven by the running download.
    void progressStart(int maximum);
    void progressStep();
    // Appends one downloaded row to ListViewBid (quantity and price reduced to their digits).
    BidRow addListViewBidItem(const QString& index, const QString& aid, const QString& title,
                              const QString& bidId, const QString& quantity, const QString& price,
                              const QString& url);

    // ---- Controllers, made in the constructor ----
    LoginControl& loginControl();
    DownloadControl& downloadControl();
    EndTimeControl& endTimeControl();
    QTimer* TimerEndDateTime = nullptr;
    ListingTab& listingTab();
    MessageTab& messageTab();
    BidderPanel& bidderPanel();

    // ---- Commands and side windows ----
    void ActionCsvExportBidListExecute();
    void ActionCsvExportNaviListExecute();
    void ActionCsvExportBidInfoExecute();
    // The mail program on the bidder panel's mail address.
    void ActionMailerStartExecute();
    // Fills both "メーラーに送る" submenus with the message templates, once per start.
    void buildMailerSendMenus();
    void executeMailerSend(QAction* item);
    void ActionNaviOpenMessageExecute();
    void ActionShowSelectAuctionIdNaviListExecute();
    void ActionFindNaviExecute();
    // Closes the side windows that read the main connection, before it is released.
    void closeConnectionWindows();
    void ActionShowNaviTemplateExecute();
    void ActionShowEvaluationTemplateExecute();
    void ActionShowBrowserExecute();
    void ActionShowSettingExecute();
    void ActionShowDeleteBidListExecute();
    void ActionShowSelectBidIdListExecute();
    // The print form for the active message memo, remembered in formPrintNaviMessage.
    std::unique_ptr<TFormPrintNaviMessage> preparePrint(bool preview);
    void ActionPrintNaviMessageExecute();
    void ActionPrintPreviewNaviMessageExecute();
    void ActionPrintNaviMessageSettingExecute();
    QPointer<QWidget> formPrintNaviMessage, formPrintNaviMessageSetting;
    void MainMenuVersionClick();
    // The first show's update offer; false when an updater was handed over and the window closed.
    bool offerUpdate(const CheckVersion& check);
    // From a log line that names a transaction to its row of ListViewBid; no line, nothing.
    void ListBoxMessageDblClick(const QListWidgetItem* line);

    // ---- Composers ----
    void ActionNaviMakeExecute();
    void ActionNaviReplyExecute();
    // The feedback composer on the selected listing row, refused for a listing marked "不要".
    void ActionEvaluationMakeExecute();
    TFormReply* openReplyComposer(const ReplyTarget& target);
    TFormEvaluation* openFeedbackComposer(const FeedbackTarget& target);
    // What a composer asks of this window: the listed rows, their flags, the board download.
    ComposerHooks composerHooks();
    // The viewer's hand-over: the composer on the viewed message, opened in the viewer's place.
    NaviMessageHandOver messageHandOver();

    // ---- Shared state ----
    // What side windows, controllers and threads read of the window.
    NaviSession session;
    // Names into the session for the window's code.
    QSqlDatabase& connection = session.connection;
    QString& loginId = session.loginId;
    int& downloadKind = session.downloadKind;
    NaviOptions& options = session.options;
    BidInfoKeywords& bidInfoKeywords = session.bidInfoKeywords;
    bool& postingMessage = session.postingMessage;
    QString connectionName;
    QString autoLoginId;
    QString autoLoginPassword;
    int trayMenuFixedCount = 0;
    int bidSortColumn = 0, bidSortType = 0;
    bool bidListLoading = false;
    int bidListLoadCount = 0;
    bool naviListLoading = false;
    int naviListLoadCount = 0;
    QPointer<QWidget> formSetting, formBrowser, formVersion, formNaviTemplate,
        formEvaluationTemplate;

    // ---- Components ----
    // Tool bars and the login bar; bandRows holds the four bands in their rows, by identifier
    // in this order.
    QToolBar *ToolBarMain = nullptr, *ToolBarNavi = nullptr, *PanelLogin = nullptr,
             *ToolBarFlg = nullptr;
    ToolBarBandRows* bandRows = nullptr;
    QComboBox* ComboBoxLoginId = nullptr;
    QLineEdit* EditLoginPassword = nullptr;
    QToolButton *ToolButtonLogin = nullptr, *ToolButtonBidSearch = nullptr,
                *ToolButtonNaviFind = nullptr, *ToolButtonNaviFontSize = nullptr;
    // The bidder panel.
    QWidget* PanelBid = nullptr;
    QLineEdit *EditBidId = nullptr, *EditBidName = nullptr, *EditBidMail = nullptr,
              *EditBidPost = nullptr, *EditBidAddress = nullptr, *EditBidTel = nullptr;
    QPushButton* BitBtnBidSave = nullptr;
    QToolButton* ToolButtonPanelBidClose = nullptr;
    // The tabs; the listing tab's carriage and forwarding row, search and find panels, list,
    // memo row and message panel.
    QWidget *PanelMain = nullptr, *TabSheetBid = nullptr, *TabSheetNavi = nullptr,
            *PanelMemo2 = nullptr, *PanelMemoWrite = nullptr, *PanelBidNavi = nullptr,
            *PanelBidNaviList = nullptr;
    QTabWidget* PageControlMain = nullptr;
    QLabel *LabelInputCarriage = nullptr, *LabelInputForwarding = nullptr,
           *LabelMemoWrite = nullptr;
    QComboBox *ComboBoxInputCarriage = nullptr, *ComboBoxInputForwarding = nullptr;
    QLineEdit *EditInputForwarding = nullptr, *EditMemoWrite = nullptr;
    QPushButton *ButtonCarriageWrite = nullptr, *ButtonForwardingWrite = nullptr,
                *ButtonMemoWrite = nullptr;
    QCheckBox* CheckBoxMemo2PluralWrite = nullptr;
    BidSearchPanel* PanelBidSearch = nullptr;
    BidListFindPanel* PanelBidListFind = nullptr;
    BidListView* ListViewBid = nullptr;
    QToolButton *ToolButtonPanelMemoWriteClose = nullptr,
                *ToolButtonPanelBidNaviListClose = nullptr;
    QSplitter* SplitterBid = nullptr;
    QTreeWidget* ListViewBidNavi = nullptr;
    QLineEdit *EditBidAid = nullptr, *EditBidTitle = nullptr, *EditBidBidderName = nullptr,
              *EditBidNaviBidId = nullptr, *EditBidNaviWriter = nullptr,
              *EditBidNaviSubject = nullptr, *EditBidNaviDate = nullptr;
    QPlainTextEdit* MemoBidNavi = nullptr;
    // The message tab: folder tree, folder list and the message's detail.
    QSplitter *SplitterNavi = nullptr, *SplitterNaviRight = nullptr;
    QWidget* PanelNaviLeft = nullptr;
    QTreeWidget* TreeViewNavi = nullptr;
    NaviFolderList* ListViewNavi = nullptr;
    QLabel* LabelNaviWriter = nullptr;
    QLineEdit *EditNaviID = nullptr, *EditNaviTitle = nullptr, *EditNaviWriter = nullptr,
              *EditNaviSubject = nullptr, *EditNaviDate = nullptr;
    QPlainTextEdit* MemoNavi = nullptr;
    // The message log, the status bar, the tray and the menus the code fills.
    QSplitter* SplitterMessage = nullptr;
    QWidget* PanelMessage = nullptr;
    QListWidget* ListBoxMessage = nullptr;
    QLabel* statusPanels[6] = {};
    QProgressBar *ProgressBar = nullptr, *ProgressBar2 = nullptr;
    QMenu *PopupMenuTray = nullptr, *PopupMenuLogin = nullptr, *PopupMenuListBoxMessage = nullptr,
          *PopupMenuBidList = nullptr, *PopupMenuNaviList = nullptr, *PopupMenuMemoNavi = nullptr,
          *MainMenuFlg = nullptr, *MainMenuContact = nullptr, *MainMenuEvaluationFlg = nullptr,
          *MainMenuNavi = nullptr, *MainMenuViewFontSize = nullptr,
          *MainMenuToolMailerSend = nullptr;
    QAction *PopupMenuNaviListReply = nullptr, *PopupMenuNaviListMake = nullptr;
    QTimer* TimerTaskTrayLoginShow = nullptr;
    QSystemTrayIcon* trayIcon = nullptr;

    // Every action by its object name; the members below are the ones the code uses by name.
    QAction* action(const QString& objectName) const;
    QHash<QString, QAction*> actions;
    QAction *ActionBidDownloadNow = nullptr, *ActionBidDownload = nullptr,
        *ActionNaviDownloadSelect = nullptr, *ActionNaviDownloadShow = nullptr,
        *ActionBidDetailedDownload = nullptr, *ActionBidPromptDecisionDownload = nullptr,
        *MainMenuDataDownloadQuit = nullptr, *ActionNaviFind = nullptr,
        *ActionNaviFindNext = nullptr, *ActionNaviFindPrevious = nullptr,
        *ActionAllSelect = nullptr, *ActionEvaluationMake = nullptr, *ActionNaviMake = nullptr,
        *ActionCsvExportBidList = nullptr, *ActionCsvExportBidInfo = nullptr,
        *ActionShowBidInfo = nullptr, *ActionShowMemoWrite = nullptr,
        *ActionShowBidNaviPanel = nullptr, *ActionFlgConfirm = nullptr,
        *MainMenuContactConfirm = nullptr, *MainMenuEvaluationFlgConfirm = nullptr;
    QAction* MainMenuNaviFontSize[5] = {}; // 8, 10, 12, 14, 16 points
    QList<QAction*> flagActions;           // the set and clear buttons of ToolBarFlg

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildLayout();
    void buildBidderPanel();
    void buildMemoPanel();
    void buildBidNaviFields();
    void buildMenus();
    void buildToolBars();
    void buildStatusBar();
    void buildTray();
    QAction* makeAction(const QString& objectName, const QString& caption,
                        const QKeySequence& shortcut = QKeySequence(), bool checkable = false);

    // Returns the stored window state, applied when the window is shown.
    int readMainSection();
    void writeMainSection();
    void openConnection();
    void loadSavedLogins();
    void setDatabaseCommandsEnabled(bool enabled);

    // The sizes of split panes kept in `Main`.
    SplitterPaneSizes paneSizes;
    bool naviPanesLaidOut = false;

    // Made in the constructor: the windows' sides first, the controllers over them.
    std::unique_ptr<NaviControllers> m_controllers;
    void makeControllers();
    void makeListingTab();

    WindowPlacement* placement = nullptr;
    bool closed = false;
};
