#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
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
class TFormEvaluationWrite;
class TFormNavi;
class TemplateStore;
class WheelRouter;
class WindowPlacement;

// The composer of one feedback to one winner of one listing: a rating, a comment (optionally
// from a feedback template, taken as stored) and the flags to set afterwards. A top-level window
// of its own; closing hides it, and a post under way goes on in the hidden window.
class TFormEvaluation : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFormEvaluation(TFormNavi& navi);
    ~TFormEvaluation() override;

    // ---- Filled by the opener before showing ----
    QString loginId;
    QString title;
    QString aid;
    QString bidId;
    QString url;

    // ---- The window's own state ----
    bool sending = false;
    // The feedback poster of the post under way, if any.
    QPointer<TFormEvaluationWrite> writer;

    void ActionMainTransmissionExecute();
    void ActionMainTransmissionStopExecute();
    void ActionAllSelectExecute();
    // Fills rating, comment and flags from the feedback template, the comment exactly as stored.
    void applyTemplate(const QString& name);
    // Writes the checked progress flags of this transaction after a successful post.
    void updateProgressFlags();
    void TreeViewTemplateActivate(QTreeWidgetItem* node = nullptr);
    void applyTemplatePanel();
    // The comment or tree under the mouse pointer, or none.
    QWidget* hoverHandle() const;

    // ---- Components ----
    QToolBar* ToolBarMain = nullptr;
    QToolButton* ToolButtonMainFontSize = nullptr;
    QLineEdit* EditAid = nullptr;
    QLineEdit* EditTitle = nullptr;
    QLineEdit* EditBidId = nullptr;
    QLineEdit* EditBidName = nullptr;
    QSplitter* SplitterBottom = nullptr;
    QWidget* PanelBottomLeft = nullptr;
    QToolButton* ButtonTemplateTreeClose = nullptr;
    QTreeWidget* TreeViewTemplate = nullptr;
    QComboBox* ComboBoxEvaluation = nullptr;
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
    QMenu* MainMenuFontSize = nullptr;
    QMenu* PopupMenuFontSize = nullptr;
    QAction* ActionMainTransmission = nullptr;
    QAction* ActionMainTransmissionStop = nullptr;
    QAction* ActionClose = nullptr;
    QAction* ActionShowTemplateTree = nullptr;
    QAction* ActionAllSelect = nullptr;

    QCheckBox* flagBox(int index) const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildLayout();
    void buildStatusBar();
    void connectSignals();
    void FormShow();
    void buildTemplateMenuAndTree();
    void setInputEnabled(bool enabled);
    // Runs the poster's steps; true when the feedback was sent. Sets notSent when the site
    // answered but did not report it sent.
    bool post(int rating, const QString& comment, bool& notSent);
    void endPost(bool notSent);
    void writeSection();
    void applyPanelSizes();

    TFormNavi& m_navi;
    std::unique_ptr<TemplateStore> m_templates;
    WheelRouter* m_wheelRouter = nullptr;
    WindowPlacement* m_placement = nullptr;
    int m_templatePanelWidth = 185;
    bool m_shown = false;
};
