#pragma once

#include "compose/ComposerTemplateTree.h"
#include "compose/ComposerWindowBase.h"
#include "compose/KeywordExpander.h"
#include "compose/ReplyData.h"

#include <QDate>
#include <QList>
#include <QPointer>
#include <QString>

#include <optional>
#include <utility>

class IniFile;
class QAction;
class QButtonGroup;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QRadioButton;
class QSplitter;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TFormNaviWrite;
class ToolBarBandRows;

// The composer of one message to one winner of one listing, a reply or a new message: the
// transaction, the listing's stored messages, the templates with the seller's and the winner's
// data, and the message with its subject and the flags to set after sending. A top-level window
// of its own that frees itself when closed; several can be open at once.
class TFormReply : public ComposerWindowBase
{
    Q_OBJECT
public:
    TFormReply(NaviSession& session, const ReplyTarget& target, ComposerHooks hooks = {});
    ~TFormReply() override;

    // ---- The target it was opened on ----
    bool isReply = false;
    int replyNumber = -1;

    // ---- The window's own state ----
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

    // The caption of a new message; a reply's is set on the first show.
    void setNewMessageCaption();
    void prepareTemplateQueries();
    // Fills subject, text and flags from the template; an expansion that throws changes
    // nothing (the error reaches the application's display).
    void applyTemplate(const QString& name);
    // Inserts the expanded template text at the caret of MemoMessage.
    void insertTemplate(const QString& name);
    void addLog(const QString& text);
    QStringList logLines() const;

    // ---- Handlers ----
    void FormShow() override;
    // Posts the message on the transaction's board: checks, confirmation, the posting
    // browser's steps with stop tests between them, then the board download, the flags and
    // the close on success; after a failure or a stop the composer stays open as it was.
    void ActionMainTransmissionExecute();
    // Asks whether to stop; Yes disables the stop command, which the post notices between
    // its steps.
    void ActionMainTransmissionStopExecute();
    void ListViewNaviColumnClick(int column);
    void ListViewNaviChange();
    void TreeViewTemplateActivate(QTreeWidgetItem* node = nullptr) override;
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
    void applyNaviPanel();

    // ---- Components ----
    QToolBar* ToolBarDate = nullptr;
    QToolButton* ToolButtonMainBidNaviFontSize = nullptr;
    QToolButton* ToolButtonMainNaviFontSize = nullptr;
    QDateEdit* DateTimePicker = nullptr;
    QToolButton* ToolButtonDateFormat = nullptr;
    QMenu* PopupMenuDateFormat = nullptr;
    QLineEdit* EditPrice = nullptr;
    QSplitter* SplitterMessage = nullptr;
    QSplitter* Splitter = nullptr;
    QWidget* PanelNaviList = nullptr;
    QSplitter* SplitterNavi = nullptr;
    QTreeWidget* ListViewNavi = nullptr;
    QPlainTextEdit* MemoReplyMessage = nullptr;
    QMenu* PopupMenuReplyMessage = nullptr;
    QWidget* PanelBottom = nullptr;
    QRadioButton* RadioButtonSubjectFirst = nullptr;
    QRadioButton* RadioButtonSubjectPayment = nullptr;
    QRadioButton* RadioButtonSubjectReceipt = nullptr;
    QRadioButton* RadioButtonSubjectOthers = nullptr;
    QListWidget* ListBoxMessage = nullptr;

    QMenu* MainMenuBidNaviFontSize = nullptr;
    QMenu* MainMenuNaviFontSize = nullptr;
    QMenu* PopupMenuBidNaviFontSize = nullptr;
    QMenu* PopupMenuNaviFontSize = nullptr;
    QMenu* MainMenuTemplateInsert = nullptr;
    QMenu* MainMenuPersonal = nullptr;
    QAction* ActionSend = nullptr;
    QAction* ActionSendStop = nullptr;
    QAction* ActionShowNaviPanel = nullptr;
    QAction* ActionDateInsert = nullptr;
    QAction* PopupMenuQuote = nullptr;
    QAction* PopupMenuQuoteNoMark = nullptr;
    QAction* PopupMenuCopy = nullptr;
    QAction* PopupMenuAllSelect = nullptr;

    // The subject chosen (1 to 4), 0 for none.
    int subject() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void buildToolBars();
    QWidget* buildBottom(QWidget* parent);
    void connectSignals();
    void buildTemplateMenusAndTree();
    void buildDateTools();
    void buildFontSizeMenus();
    QMenu* fontSizeMenu(QMenu* menu, QPlainTextEdit* target);
    void readBands(const IniFile& ini);
    void loadTransaction();
    void loadMessageList();
    void applyPanelSizes() override;
    void sessionEnded() override;
    void FormClose();
    void reportKeywordErrors(bool errorFlag, const QString& errorText);
    void insertAtCaret(const QString& stored);
    // How the posting steps ended.
    enum class PostOutcome { Completed, NotConfirmed, Stopped, Failed, Closed };
    PostOutcome runPostSteps(TFormNaviWrite& writer, int subjectNumber, const QString& text);
    // The controls that change the message, its subject or its flags.
    void setSendControlsEnabled(bool enabled);

    ReplyData::Winner m_winner;
    SellerData m_seller;
    QButtonGroup* m_subjects = nullptr;
    ToolBarBandRows* m_bandRows = nullptr;
    std::optional<QString> m_repliedMessage;
    QDate m_droppedDownDate;
    int m_messagePanelHeight = 150;
    int m_listWidth = 350;
    bool m_closed = false;
    // The posting browser of the post under way.
    QPointer<TFormNaviWrite> m_writer;
    // A send is on the stack: the window is freed only once it has returned.
    bool m_inSend = false;
};
