#pragma once

#include "compose/ComposerTarget.h"
#include "compose/ReplyData.h"
#include "compose/TemplateStore.h"

#include <QDate>
#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class IniFile;
class NaviSession;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;
class WheelRouter;
class WindowPlacement;

// The window frame that the reply and the feedback composers share: the File and View menus
// with the send, stop, close and template-panel commands, select-all, the tool bar's first
// buttons, the information row, the template panel beside the flag row and the message text,
// the status panels, the placement and panel keys of the window's section, the first show,
// and the progress flags written after a successful post. Each composer adds its own parts.
// It works on the session's connection and ends with the session.
class ComposerWindowBase : public QMainWindow
{
    Q_OBJECT
public:
    ~ComposerWindowBase() override;

    // ---- The target it was opened on ----
    QString title;
    QString aid;
    QString bidId;
    QString loginId;

    // ---- The window's own state ----
    bool sending = false;
    // The day a date flag is written with; invalid: the current date.
    QDate flagDate;

    // Selects all text of the focused control when it is an edit field or a memo.
    void ActionAllSelectExecute();
    // Shows or hides the template panel by its switch, keeping the panel's width.
    void applyTemplatePanel();
    // Acts on the activated node of the template tree (the selected one when none is given).
    virtual void TreeViewTemplateActivate(QTreeWidgetItem* node = nullptr) = 0;
    // Writes the checked progress flags into the transaction, and with the plural box into
    // every listed row of the same winner, and has the opener show them in its listing rows.
    void updateProgressFlags();
    // The text or tree under the mouse pointer, or none.
    QWidget* hoverHandle() const;
    // The templates, read through their store while the window is open.
    TemplateStore* templates() const { return m_templates.get(); }
    // The five flag boxes in column order (FirstFlg to EndFlg).
    QCheckBox* flagBox(int index) const;

    // ---- Components ----
    QToolBar* ToolBarMain = nullptr;
    QWidget* PanelInfo = nullptr;
    QLineEdit* EditAid = nullptr;
    QLineEdit* EditTitle = nullptr;
    QLineEdit* EditBidId = nullptr;
    QLineEdit* EditBidName = nullptr;
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
    QPlainTextEdit* MemoMessage = nullptr;
    QStatusBar* StatusBar = nullptr;
    QLabel* statusPanels[7] = {};

    QMenu* MainMenuFile = nullptr;
    QMenu* MainMenuView = nullptr;
    QMenu* MainMenuTemplate = nullptr;
    QAction* ActionClose = nullptr;
    QAction* ActionShowTemplateTree = nullptr;
    QAction* ActionAllSelect = nullptr;

protected:
    ComposerWindowBase(NaviSession& session, const ComposerTarget& target, ComposerHooks hooks,
                       const QString& section);

    // A command of the window: object name, caption, hint (empty: none) and shortcut.
    struct Command
    {
        const char* objectName;
        QString caption;
        QString hint;
        QKeySequence shortcut = QKeySequence();
    };
    QAction* makeAction(const Command& command);

    // The send and stop commands with close, the template-panel switch and select-all; the
    // menu bar with "ファイル(&F)" (send, stop, a separator, close), "表示(&V)" holding the switch
    // and "テンプレート(&T)"; the tool bar ToolBarMain with send, stop, a separator and the
    // switch. The composer appends its own items to the View menu, the bar and the tool bar.
    void buildFrameCommands(const Command& send, const Command& stop, QAction** sendAction,
                            QAction** stopAction);
    // A tool button with its caption as hint, appended to bar; a click on the button itself
    // opens its menu.
    QToolButton* addDropDownButton(QToolBar* bar, const char* objectName, const QString& hint);
    // The central widget's column, holding PanelInfo: the read-only fields 商品ID, 商品名,
    // (価格 when price is given), 落札者ID and 落札者, each selecting its whole text on a
    // Ctrl+click. The composer adds its panels below.
    QVBoxLayout* buildCentralColumn(QLineEdit** price = nullptr);
    // SplitterBottom on parent with the template panel on the left and "PanelBottomRight" on
    // the right; returns the right panel's column, for the composer's rows.
    QVBoxLayout* buildTemplateSplitter(QWidget* parent);
    // The flag row in the right panel's column.
    void addFlagRow(QVBoxLayout* column);
    // MemoMessage filling the rest of the right panel's column.
    void addMessageText(QVBoxLayout* column);
    // The status bar's seven panels: the first of the given width, the others of 50.
    void buildStatusBar(int firstPanelWidth);
    // The target's fields, hover tracking, the placement and the frame's own signals; once the
    // layout stands.
    void finishFrame();
    // The session went away: the composer lets go of its connection and ends.
    virtual void sessionEnded() = 0;

    // ---- Show ----
    // The window's show steps; run once, on the first show.
    virtual void FormShow() = 0;
    // Placement and state, "FlgPluralUpdate", and the template panel's switch and width.
    void readFrameSettings(const IniFile& ini);
    // The font size of the session's message text.
    void takeMessageFont(QPlainTextEdit* memo);
    // Opens the templates of the kind on the session's connection.
    void openTemplates(TemplateKind kind);
    // Activation of the template tree by the operation setting (0 a single click).
    void connectTemplateTree(int operation);
    // One item per template name, caption and hint the name; an item acts on its hint.
    void addTemplateItems(QMenu* menu, const QStringList& names,
                          const std::function<void(const QString&)>& act);
    // The group node "テンプレート" with the names, then one group per item list; expanded,
    // the first node selected.
    struct ItemGroup
    {
        QString caption;
        QStringList labels;
    };
    void fillTemplateTree(const QStringList& names, const QList<ItemGroup>& itemGroups = {});
    // The transaction's flags into status panels 1 to 5; returns the row read.
    ReplyData::Transaction showTransactionFlags();
    // The splitters' sizes from the stored ones, once the window is laid out.
    virtual void applyPanelSizes();

    // ---- Close ----
    // While a post runs, asks whether to close anyway; false keeps the window open. Nothing is
    // asked once the program is ending.
    bool mayClose(const QString& question);
    // The keys readFrameSettings reads: the placement, then the flag box and the panel.
    void writePlacement(IniFile& ini);
    void writeFrameSettings(IniFile& ini);

    bool isFirstShowDone() const { return m_shown; }
    const QString& section() const { return m_section; }
    WheelRouter* wheelRouter() const { return m_wheelRouter; }

    void showEvent(QShowEvent* event) override;

    // The session is used only while isSessionAlive().
    bool isSessionAlive() const { return !m_sessionAlive.isNull(); }
    NaviSession& m_session;
    const ComposerHooks m_hooks;
    std::unique_ptr<TemplateStore> m_templates;

private:
    QPointer<NaviSession> m_sessionAlive;
    QString m_bidName;
    QString m_section;
    WheelRouter* m_wheelRouter = nullptr;
    WindowPlacement* m_placement = nullptr;
    int m_templatePanelWidth = 185;
    bool m_shown = false;
};
