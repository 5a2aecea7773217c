#pragma once

#include <QFrame>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

// The find panel PanelBidListFind under the listing list: the search text and the searched
// column. Enter asks for find next, Shift+Enter for find previous, Esc hides the panel.
class BidListFindPanel : public QFrame
{
    Q_OBJECT

public:
    static constexpr int PanelHeight = 27;

    explicit BidListFindPanel(QWidget* parent = nullptr);

    QLabel* LabelBidListFind = nullptr;
    QLineEdit* EditBidListFind = nullptr;
    QComboBox* ComboBoxBidListFind = nullptr;
    QToolButton* ToolButtonBidListFindNext = nullptr;
    QToolButton* ToolButtonBidListFindPrevious = nullptr;
    QToolButton* ToolButtonBidListFindClose = nullptr;
    QFrame* ShapeBidListFind = nullptr;

    // Binds the two tool buttons to the main window's find actions (their captions stay
    // "次候補 " and "前候補 ").
    void setFindActions(QAction* findNext, QAction* findPrevious);

    QString findText() const;
    // The searched sub-item of the listing list: the combo item, an item outside 0 to 2 as 3.
    int findSubItem() const;

    // The find command on the listing tab: a hidden panel is shown and its edit focused with the
    // whole text selected; a shown panel whose edit and combo box lack the focus gets the same
    // focus; a shown panel that has it is hidden. Returns whether the panel is shown afterwards.
    bool ActionNaviFindExecute();
    void ToolButtonBidListFindCloseClick();

    // The one-pixel line along the bottom edge.
    void setBottomLineVisible(bool visible);
    // The line shows while the listing tab's message panel is shown and its memo panel is not.
    static bool bottomLineWanted(bool messagePanelShown, bool memoPanelShown)
    {
        return messagePanelShown && !memoPanelShown;
    }

signals:
    void findNextRequested();
    void findPreviousRequested();
    void shownChanged(bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusEdit();
    void updateInputMethod();
};
