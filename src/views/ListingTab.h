#pragma once

#include "views/BidRow.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class BidListFindPanel;
class BidListView;
class BidSearchPanel;
class EndTimeControl;
class NaviFolderList;
class NaviSession;
class QAction;
class QCheckBox;
class QComboBox;
class QEvent;
class QInputMethodEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QTabWidget;
class QTimer;
class QTreeView;
class QTreeWidget;
class QWidget;
struct MarkerUpdate;
struct NaviActionState;

// The listing tab: the selection's price total and the delayed fill of the bidder panel and
// the tab's message panel, the double-click and Enter operations, the listing query and the
// find of both tabs, the progress markers of the selected rows, the carriage, forwarding and
// memo inputs, the copies of the current row's cells and the three side panels.
class ListingTab : public QObject
{
    Q_OBJECT
public:
    // What the listing tab asks of the main window and of the other panes.
    class Window
    {
    public:
        virtual ~Window() = default;
        virtual void showBidderInfo(const QString& id, const QString& name) = 0;
        virtual void clearBidderInfo() = 0;
        // Empties the detail fields of the listing tab's message panel.
        virtual void clearBidNaviDetail() = 0;
        // The sort column and type of the listing tab's message list.
        virtual std::pair<int, int> bidNaviSort() const = 0;
        // The message commands set as decided (by object name).
        virtual void applyNaviActions(const NaviActionState& state) = 0;
        virtual void openBrowser() = 0;
        virtual void downloadSelectedBoards() = 0;
        // The selected message of the message tab shown at once, past the selection delay.
        virtual void showSelectedMessageNow() = 0;
    };

    // The main window's components the tab acts on (the window builds and owns them).
    struct Widgets
    {
        QTabWidget* PageControlMain = nullptr;
        BidListView* ListViewBid = nullptr;
        BidSearchPanel* PanelBidSearch = nullptr;
        BidListFindPanel* PanelBidListFind = nullptr;
        // The status panels of the row count and of the price total.
        QLabel* statusPanelRows = nullptr;
        QLabel* statusPanelTotal = nullptr;
        QTimer* TimerEndDateTime = nullptr;
        QWidget* PanelBid = nullptr;
        QLineEdit* EditBidId = nullptr;
        QWidget* PanelMemoWrite = nullptr;
        QLineEdit* EditMemoWrite = nullptr;
        QWidget* PanelBidNavi = nullptr;
        QLineEdit* EditBidAid = nullptr;
        QLineEdit* EditBidTitle = nullptr;
        QLineEdit* EditBidNaviBidId = nullptr;
        QTreeWidget* ListViewBidNavi = nullptr;
        QTreeWidget* TreeViewNavi = nullptr;
        NaviFolderList* ListViewNavi = nullptr;
        QPlainTextEdit* MemoNavi = nullptr;
        QMenu* MainMenuNavi = nullptr;
        QComboBox* ComboBoxInputCarriage = nullptr;
        QComboBox* ComboBoxInputForwarding = nullptr;
        QLineEdit* EditInputForwarding = nullptr;
        QCheckBox* CheckBoxMemo2PluralWrite = nullptr;
        QProgressBar* ProgressBar = nullptr;
        QProgressBar* ProgressBar2 = nullptr;
        QAction* ActionNaviDownloadSelect = nullptr;
        QAction* ActionFlgConfirm = nullptr;
        QAction* MainMenuContactConfirm = nullptr;
        QAction* MainMenuEvaluationFlgConfirm = nullptr;
        QAction* ActionShowBidInfo = nullptr;
        QAction* ActionShowMemoWrite = nullptr;
        QAction* ActionShowBidNaviPanel = nullptr;
    };

    ListingTab(NaviSession& session, Window& window, EndTimeControl& endTime,
               const Widgets& widgets, QObject* parent = nullptr);

    // ---- Selection and the detail fill ----
    // The price total of the selection in its status panel.
    void ListViewBidSelectItem();
    // Restarts the detail fill's delay for the selected row unless the panels show it already.
    void ListViewBidChange();
    void TimerListViewBidTimer();
    // Stops the delayed fill and forgets its row: for every query or store that removes rows.
    void forgetCurrentBidItem();
    bool bidNaviPanelVisible() const;
    void loadBidNaviList(const QString& aid, const QString& bidId, const BidRow& row);
    void clearBidNaviPanel();
    // Enables the message commands for the tab: the folder's id and kind on the message tab,
    // an empty id and -1 on the listing tab.
    void updateNaviActions(const QString& folderId, int kind);
    // updateNaviActions for the current tab (the chosen folder on the message tab).
    void refreshNaviActions();
    // The listing tab's message list changed its selection.
    void ListViewBidNaviSelectItem();
    // 0 the in-app browser, 1 the board download of the selected rows while it is offered.
    void runBidListOperation(int operation);
    static int getSubItemIndexAtCursor(const QTreeView* list);
    void ListViewBidDblClick();
    void ListViewBidKeyDown();
    // A key press on the listing list: Enter runs its operation; true when taken.
    bool ListViewBidKeyPress(const QKeyEvent* key);

    // ---- Listing query and find ----
    void ToolButtonBidSearchSearchClick();
    void setBidSearchButtonEnabled(bool enabled);
    void ActionNaviFindExecute();
    void ActionNaviFindNextExecute();
    void ActionNaviFindPreviousExecute();
    // The find panel's bottom line after the message and memo panels of the listing tab.
    void updateBidListFindLine();

    // ---- Progress markers ----
    // column 8 to 12, or -1 for all five flags.
    void updateProgressFlags(int column, bool set);
    // The tag of the menu item: 0 blank, 1 message board, 2 mail.
    void updateContactMethod(int tag);
    void updateEvaluationNecessity(int kind);

    // ---- Carriage, forwarding, memo and copies ----
    // The input-method and focus rules of the carriage and forwarding inputs.
    void setUpInputs();
    // Writes the text into sub-item 14, 15 or 17 of the selected rows (and, for carriage and
    // forwarding with CheckBoxMemo2PluralWrite, the other shown rows of their winners).
    void writeBidListColumn(const QString& text, int column);
    void ButtonCarriageWriteClick();
    void ButtonForwardingWriteClick();
    void ButtonMemoWriteClick();
    void ComboBoxInputForwardingDropDown();
    void ComboBoxInputForwardingCloseUp(int index);
    // The suggestions' list closed: the typing goes on in the forwarding edit.
    void ComboBoxInputForwardingPopupHide();
    // Keeps the forwarding edit over the combo box's text area.
    void ComboBoxInputForwardingResize();
    // Alt+Down in the forwarding edit opens the suggestions; true when taken.
    bool EditInputForwardingKeyDown(const QKeyEvent* key);
    // The carriage box takes digits only and writes on Enter; true when the key is taken.
    bool ComboBoxInputCarriageKeyPress(const QKeyEvent* key);
    // An input-method commit into the carriage box keeps only what may be typed there; true
    // when the event was replaced.
    bool ComboBoxInputCarriageInputMethod(const QInputMethodEvent* event);
    void LabelMemoWriteClick();
    // The cell of currentBidItem into the clipboard.
    void copyBidItemCell(int subItem);
    void ActionShowBidInfoExecute();
    void ActionShowMemoWriteExecute();
    void ActionShowBidNaviPanelExecute();
    // Shows or hides the panel chosen by OperationStatusBarClick.
    void StatusBarClick();
    // A mouse event on the status bar, its panels or progress bars; true when taken.
    bool StatusBarMouseEvent(QObject* watched, QEvent* event);

    // ---- State ----
    BidRow currentBidItem;
    qint64 selectedPriceTotal = 0;
    QTimer* TimerListViewBid = nullptr;
    QString findText;
    int findTarget = 4;
    int forwardingComboIndex = -1;
    QStringList carriageItems;
    QStringList forwardingItems;
    QPointer<QWidget> formNaviFind;

private:
    // The common frame of the marker commands.
    // The next (or previous) find hit in the current tab's list.
    void findInTab(bool next);
    void runMarkerUpdate(const std::optional<MarkerUpdate>& update, const QAction* confirmSwitch);

    NaviSession& m_session;
    Window& m_window;
    EndTimeControl& m_endTime;
    Widgets w;
};
