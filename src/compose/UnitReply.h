#pragma once

#include "compose/ComposerTemplateTree.h"
#include "compose/KeywordExpander.h"
#include "compose/ReplyData.h"

#include <QDate>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <memory>
#include <utility>

class IniFile;
class QAction;
class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QRadioButton;
class QSplitter;
class QStatusBar;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TFormNavi;
class TFormNaviWrite;
class TemplateStore;
class ToolBarBandRows;
class WheelRouter;
class WindowPlacement;

// The composer of one message to one winner of one listing, a reply or a new message: the
// transaction, the listing's stored messages, the templates with the seller's and the winner's
// data, and the message with its subject and the flags to set after sending. A top-level window
// of its own that frees itself when closed; several can be open at once.
class TFormReply : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFormReply(TFormNavi& navi);
    ~TFormReply() override;

    // ---- Filled by the opener before showing ----
    QString title;
    QString aid;
    QString bidId;
    QString loginId;
    bool isReply = false;
    int replyNumber = -1;

    // ---- The window's own state ----
    bool sending = false;
    int sortColumn = 0;
    int sortType = 0;
    bool prInsert = true;
    // Tree and menu labels with the column they insert: T_PersonalData and T_BidMaster.
    QList<std::pair<QString, QString>> personalColumns;
    QList<std::pair<QString, QString>> bidderColumns;

    // Kinds of the template tree's nodes (nodeKindRole).
    enum NodeKind {
        GroupNode = ComposerTemplateTree::GroupNode,
        TemplateNode = ComposerTemplateTree::TemplateNode,
        ItemNode = ComposerTemplateTree::ItemNode
    };
    static constexpr int nodeKindRole = ComposerTemplateTree::nodeKindRole;
    static constexpr int nodeGroupRole =
        ComposerTemplateTree::nodeGroupRole; // 0 templates, 1 seller, 2 winner

    void setNewMessageCaption();
    void prepareTemplateQueries();
    // Fills subject, text and flags from the template; an expansion that throws changes
    // nothing (the error reaches the application's display).
    void applyTemplate(const QString& name);
    // Inserts the expanded template text at the caret of MemoMessage.
    void insertTemplate(const QString& name);
    void addLog(const QString& text);
    QStringList logLines() const;
    // The list, text or tree under the mouse pointer, or none.
    QWidget* hoverHandle() const;
    // The message templates, read through their store while the window is open.
    TemplateStore* templates() const { return m_templates.get(); }

    // ---- Handlers ----
    void FormShow();
    // Posts the message on the transaction's board: checks, confirmation, the posting
    // browser's steps with stop tests between them, then the board download, the flags and
    // the close on success; after a failure or a stop the composer stays open as it was.
    void ActionMainTransmissionExecute();
    // Asks whether to stop; Yes disables the stop command, which the post notices between
    // its steps.
    void ActionMainTransmissionStopExecute();
    // Writes the checked progress flags into the transaction, and with the plural box into
    // every listed row of the same winner, and shows them in the listing list.
    void updateProgressFlags();
    // The day a date flag is written with; invalid: the current date.
    QDate flagDate;
    void ActionAllSelectExecute();
    void ListViewNaviColumnClick(int column);
    void ListViewNaviChange();
    // Acts on the activated node (the selected one when none is given).
    void TreeViewTemplateActivate(QTreeWidgetItem* node = nullptr);
    void ListBoxMessageDblClick();
    void MemoMessageChange();
    void PopupMenuQuoteClick();
    void PopupMenuQuoteNoMarkClick();
    void PopupMenuCopyClick();
    void PopupMenuAllSelectClick();
    void ToolButtonDateInsertClick();
    void DateTimePickerDropDown();
    void DateTimePickerCloseUp();
    void changeDateFormat(QAction* item);
    void insertPersonal(const QString& column);
    void insertWinner(const QString& label);
    void applyTemplatePanel();
    void applyNaviPanel();

    // ---- Components ----
    QToolBar* ToolBarMain = nullptr;
    QToolBar* ToolBarDate = nullptr;
    QToolButton* ToolButtonMainBidNaviFontSize = nullptr;
    QToolButton* ToolButtonMainNaviFontSize = nullptr;
    QDateEdit* DateTimePicker = nullptr;
    QToolButton* ToolButtonDateFormat = nullptr;
    QMenu* PopupMenuDateFormat = nullptr;
    QWidget* PanelInfo = nullptr;
    QLineEdit* EditAid = nullptr;
    QLineEdit* EditTitle = nullptr;
    QLineEdit* EditPrice = nullptr;
    QLineEdit* EditBidId = nullptr;
    QLineEdit* EditBidName = nullptr;
    QSplitter* SplitterMessage = nullptr;
    QSplitter* Splitter = nullptr;
    QWidget* PanelNaviList = nullptr;
    QSplitter* SplitterNavi = nullptr;
    QTreeWidget* ListViewNavi = nullptr;
    QPlainTextEdit* MemoReplyMessage = nullptr;
    QMenu* PopupMenuReplyMessage = nullptr;
    QWidget* PanelBottom = nullptr;
    QSplitter* SplitterBottom = nullptr;
    QWidget* PanelBottomLeft = nullptr;
    QToolButton* ButtonTemplateTreeClose = nullptr;
    QTreeWidget* TreeViewTemplate = nullptr;
    QCheckBox* CheckBoxFlgFirst = nullptr;
    QCheckBox* CheckBoxFlgPayment = nullptr;
    QCheckBox* CheckBoxFlgReceipt = nullptr;
    QCheckBox* CheckBoxFlgEvaluation = nullptr;
    QCheckBox* CheckBoxFlgEnd = nullptr;
    QCheckBox* CheckBoxFlgPluralUpdate = nullptr;
    QRadioButton* RadioButtonSubjectFirst = nullptr;
    QRadioButton* RadioButtonSubjectPayment = nullptr;
    QRadioButton* RadioButtonSubjectReceipt = nullptr;
    QRadioButton* RadioButtonSubjectOthers = nullptr;
    QPlainTextEdit* MemoMessage = nullptr;
    QListWidget* ListBoxMessage = nullptr;
    QStatusBar* StatusBar = nullptr;
    QLabel* statusPanels[7] = {};

    QMenu* MainMenuFile = nullptr;
    QMenu* MainMenuView = nullptr;
    QMenu* MainMenuBidNaviFontSize = nullptr;
    QMenu* MainMenuNaviFontSize = nullptr;
    QMenu* PopupMenuBidNaviFontSize = nullptr;
    QMenu* PopupMenuNaviFontSize = nullptr;
    QMenu* MainMenuTemplate = nullptr;
    QMenu* MainMenuTemplateInsert = nullptr;
    QMenu* MainMenuPersonal = nullptr;
    QAction* ActionSend = nullptr;
    QAction* ActionSendStop = nullptr;
    QAction* ActionClose = nullptr;
    QAction* ActionShowTemplateTree = nullptr;
    QAction* ActionShowNaviPanel = nullptr;
    QAction* ActionDateInsert = nullptr;
    QAction* ActionAllSelect = nullptr;
    QAction* PopupMenuQuote = nullptr;
    QAction* PopupMenuQuoteNoMark = nullptr;
    QAction* PopupMenuCopy = nullptr;
    QAction* PopupMenuAllSelect = nullptr;

    // The subject chosen (1 to 4), 0 for none.
    int subject() const;
    QCheckBox* flagBox(int index) const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void buildToolBars();
    void buildInfoRow(QWidget* parent);
    QWidget* buildBottom(QWidget* parent);
    void buildStatusBar();
    void connectSignals();
    void buildTemplateMenusAndTree();
    void buildDateTools();
    void buildFontSizeMenus();
    QMenu* fontSizeMenu(QMenu* menu, QPlainTextEdit* target);
    void readBands(const IniFile& ini);
    void loadTransaction();
    void loadMessageList();
    void applyPanelSizes();
    void FormClose();
    void reportKeywordErrors(bool errorFlag, const QString& errorText);
    void insertAtCaret(const QString& stored);
    void stepFont(QWidget* control, bool towardsUser);
    // How the posting steps ended.
    enum class PostOutcome { Completed, NotConfirmed, Stopped, Failed, Closed };
    PostOutcome runPostSteps(TFormNaviWrite& writer, int subjectNumber, const QString& text);
    // The controls that change the message, its subject or its flags.
    void setSendControlsEnabled(bool enabled);

    TFormNavi& m_navi;
    std::unique_ptr<TemplateStore> m_templates;
    ReplyData::Winner m_winner;
    SellerData m_seller;
    WheelRouter* m_wheelRouter = nullptr;
    WindowPlacement* m_placement = nullptr;
    QButtonGroup* m_subjects = nullptr;
    ToolBarBandRows* m_bandRows = nullptr;
    QDate m_droppedDownDate;
    int m_messagePanelHeight = 150;
    int m_templatePanelWidth = 185;
    int m_listWidth = 350;
    bool m_shown = false;
    bool m_closed = false;
    // The posting browser of the post under way.
    QPointer<TFormNaviWrite> m_writer;
    // A send is on the stack: the window is freed only once it has returned.
    bool m_inSend = false;
};
