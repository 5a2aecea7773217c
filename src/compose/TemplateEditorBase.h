#pragma once

#include "compose/TemplateStore.h"

#include <QDialog>
#include <QSqlDatabase>

#include <memory>

class IniFile;
class QAction;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;
class QToolBar;
class TemplateListBox;
class WheelRouter;
class WindowPlacement;

// What the message and the feedback template editors share: the name list with its commands,
// drag and drop, the name edit, the flag row, the text, the status panel, new, load, save,
// delete, rename, the order written at close and the window placement. Each editor adds its
// choice row (subject or rating) and its own settings.
class TemplateEditorBase : public QDialog
{
    Q_OBJECT
public:
    TemplateEditorBase(QWidget* owner, const QSqlDatabase& connection, TemplateKind kind,
                       const QString& section, int messageFontSize);
    ~TemplateEditorBase() override;

    // Reads the placement and layout, prepares the queries and fills the list.
    void FormShow();
    // FormShow, then shown modally until closed.
    int showModal();

    void ActionNewExecute();
    void ActionSaveExecute();
    void ActionDeleteExecute();
    void ActionReNameExecute();
    void ActionUpExecute();
    void ActionDownExecute();
    void ActionAllSelectExecute();
    void ListBoxSaveNameDblClick();
    // The drag of the entry selected now; the list reports the pointer's moves and the drop.
    void ListBoxSaveNameStartDrag();
    void ListBoxSaveNameDragOver(const QPoint& position);
    void ListBoxSaveNameDragDrop(const QPoint& position);

    QString statusText() const;
    TemplateStore* store() const { return m_store.get(); }
    QString section() const { return m_section; }
    // The list, text or tree under the mouse pointer, or none.
    QWidget* hoverHandle() const;

    QMenuBar* MainMenu = nullptr;
    QMenu* MainMenuFile = nullptr;
    QWidget* PanelList = nullptr;
    QToolBar* ToolBarSaveList = nullptr;     // delete and rename
    QToolBar* ToolBarSaveListMove = nullptr; // up and down
    TemplateListBox* ListBoxSaveName = nullptr;
    QMenu* PopupMenuSaveList = nullptr;
    QSplitter* Splitter = nullptr;
    QWidget* PanelRight = nullptr;
    QToolBar* ToolBarNavi = nullptr;
    QLabel* LabelSaveName = nullptr;
    QLineEdit* EditSaveName = nullptr;
    QWidget* PanelFlg = nullptr;
    QCheckBox* CheckBoxFlgFirst = nullptr;
    QCheckBox* CheckBoxFlgPayment = nullptr;
    QCheckBox* CheckBoxFlgReceipt = nullptr;
    QCheckBox* CheckBoxFlgEvaluation = nullptr;
    QCheckBox* CheckBoxFlgEnd = nullptr;
    QWidget* PanelChoice = nullptr; // the subject or rating row of the editor
    QPlainTextEdit* MemoMessage = nullptr;
    QStatusBar* StatusBar = nullptr;
    QLabel* statusPanel = nullptr;

    QAction* ActionNew = nullptr;
    QAction* ActionSave = nullptr;
    QAction* ActionClose = nullptr;
    QAction* ActionAllSelect = nullptr;
    QAction* ActionDelete = nullptr;
    QAction* ActionReName = nullptr;
    QAction* ActionUp = nullptr;
    QAction* ActionDown = nullptr;

    QString loadedSaveName;
    int dragIndex = -1;

    // Ctrl+wheel limits of the text's font, in points.
    static constexpr int minimumFontSize = 4;
    static constexpr int maximumFontSize = 72;

public slots:
    void done(int result) override;

protected:
    // The editor's choice: the subject value or the rating position.
    virtual bool hasChoice() const = 0;
    virtual int choice() const = 0;
    // Shows a loaded value (a value the editor does not know may leave the row as it is).
    virtual void showChoice(int value) = 0;
    virtual void clearChoice() = 0;
    virtual QString missingChoiceText() const = 0;
    virtual bool newClearsStatus() const = 0;
    virtual void readLayout(const IniFile&) {}
    virtual void writeLayout(IniFile&) {}
    virtual void afterShow() {}
    // The splitter's pane widths for the list width read at show.
    virtual QList<int> splitterSizes(int listWidth) const;

    void setStatusText(const QString& text);
    void stepMessageFont(bool towardsUser);
    QCheckBox* flagBox(int index) const;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    WheelRouter* wheelRouter = nullptr;

private:
    void buildLayout();
    void connectSignals();
    QAction* makeAction(const QString& objectName, const QString& caption, const QString& hint,
                        const QKeySequence& shortcut = QKeySequence());
    void FormClose();
    QStringList listNames() const;
    int selectedRow() const;
    void selectRow(int row);

    QSqlDatabase m_connection;
    TemplateKind m_kind;
    QString m_section;
    int m_listWidth = 150;
    std::unique_ptr<TemplateStore> m_store;
    WindowPlacement* m_placement = nullptr;
};
