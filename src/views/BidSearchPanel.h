#pragma once

#include "views/BidListQuery.h"

#include <QFrame>

class IniFile;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;
class QToolButton;
class RadioButtonGroup;

// The search panel PanelBidSearch above the listing list: the criteria of the listing query. It
// expands to its full height or collapses to a strip; searchRequested asks the main window to
// run the query.
class BidSearchPanel : public QFrame
{
    Q_OBJECT

public:
    static constexpr int ExpandedHeight = 71;
    static constexpr int CollapsedHeight = 9;

    explicit BidSearchPanel(QWidget* parent = nullptr);

    QToolBar* ToolBarBidSearch = nullptr;
    QToolButton* ToolButtonBidSearchSearch = nullptr;
    QToolButton* ToolButtonBidSearchClear = nullptr;
    QFrame* BevelBidSearch = nullptr;
    QLabel* LabelBidSearchName = nullptr;
    QLabel* LabelBidSearchId = nullptr;
    QLabel* LabelBidSearchTitle = nullptr;
    QLineEdit* EditBidSearchName = nullptr;
    QLineEdit* EditBidSearchId = nullptr;
    QLineEdit* EditBidSearchTitle = nullptr;
    RadioButtonGroup* RadioGroupBidFirst = nullptr;
    RadioButtonGroup* RadioGroupBidPayment = nullptr;
    RadioButtonGroup* RadioGroupBidReceipt = nullptr;
    RadioButtonGroup* RadioGroupBidEvaluation = nullptr;
    RadioButtonGroup* RadioGroupBidEnd = nullptr;
    QToolBar* ToolBarBidSearchClose = nullptr;
    QToolButton* ToolButtonBidSearchClose = nullptr;
    QMenu* PopupMenuPanelBidSearch = nullptr;

    // Full height with every control, or the collapsed strip "・・・・" with its popup menu.
    void expandBidSearchPanel(bool expanded);
    bool isExpanded() const { return m_expanded; }

    // The criteria of the panel (the account is left empty for the caller to set).
    BidListQuery::Criteria criteria() const;
    void setCriteria(const BidListQuery::Criteria& criteria);
    // Empties the three edits and sets every radio group to "両方"; does not search.
    void ToolButtonBidSearchClearClick();

    // The panel's Main keys of setting.ini: the three texts, the five choices, BidSearchPanel.
    void readSettings(const IniFile& ini);
    void writeSettings(IniFile& ini) const;

    // While a download disables the search button, Enter and double clicks do not search either.
    void setSearchEnabled(bool enabled);
    bool isSearchEnabled() const;

signals:
    void searchRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildLayout();
    void connectSignals();
    void requestSearch();
    void setBackground(const QColor& color);
    QList<QWidget*> expandedControls() const;

    QLabel* m_collapsedCaption = nullptr;
    bool m_expanded = true;
};
