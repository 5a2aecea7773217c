#pragma once

#include "views/FindNaviSearch.h"
#include "views/UnitNaviMessage.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <memory>

class NaviListItem;
class NaviSelectionDelay;
class QAction;

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTreeWidget;
class WheelRouter;
class WindowPlacement;

// Searches every stored message by account, direction, writer, name, auction id, title and
// text; opens a hit in the message viewer or its transaction's message list. Several can be
// open at once.
class TFormFindNavi : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr const char* section = "FindNaviWindow";
    // The most rows read between two turns of the event loop, and the longest time between
    // turns, also while SQLite works on one statement.
    int batchRows = 2000;
    int eventIntervalMs = 50;

    // The connection is looked up by name each time, so the window never holds it open.
    TFormFindNavi(const QString& connectionName, int messageFontSize,
                  std::function<bool()> confirmationNaviOpen);
    ~TFormFindNavi() override;

    FindNaviCriteria criteria() const;
    bool isSearching() const { return m_searching; }

    void BitBtnSearchClick();
    void BitBtnSearchClearClick();
    void ActionSearchStopExecute();
    void ActionAllSelectExecute();
    void ActionNaviOpenMessageExecute();
    void ActionShowSelectAuctionIdNaviListExecute();
    NaviListItem* selectedItem() const;

    QString loginId;
    // Where a viewer opened from here hands over to the composer.
    NaviMessageHandOver handOver;
    int sortColumn = 0;
    int sortType = 0;

    QWidget* PanelSearch = nullptr;
    QLineEdit* EditSearchBidId = nullptr;
    QLineEdit* EditSearchBidName = nullptr;
    QComboBox* ComboBoxSearchLoginId = nullptr;
    QCheckBox* CheckBoxReceive = nullptr;
    QCheckBox* CheckBoxSend = nullptr;
    QLineEdit* EditSearchAuctionID = nullptr;
    QLineEdit* EditSearchTitle = nullptr;
    QLineEdit* EditSearchMessage = nullptr;
    QPushButton* BitBtnSearch = nullptr;
    QPushButton* BitBtnSearchClear = nullptr;
    QSplitter* Splitter = nullptr;
    QTreeWidget* ListViewNavi = nullptr;
    QPlainTextEdit* MemoNaviMessage = nullptr;
    QStatusBar* StatusBar = nullptr;
    QList<QLabel*> statusPanels;
    QProgressBar* ProgressBar = nullptr;
    QMenu* PopupMenuListViewNavi = nullptr;
    QAction* ActionSearchStop = nullptr;
    QAction* ActionAllSelect = nullptr;
    QAction* ActionNaviOpenMessage = nullptr;
    QAction* ActionShowSelectAuctionIdNaviList = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void connectSignals();
    void FormShow();
    void FormClose();
    QSqlDatabase database() const;
    // Moves the read hits into the list, sorted; false when stopped on the way.
    bool showHits(QList<NaviListItem*>& items);
    void endStopped(QList<NaviListItem*>& items);
    // Lets the events run (the stop question, a close); true when the search is to stop.
    bool turnEvents();
    // The same once eventIntervalMs have passed since the last turn; sooner, only the answer.
    bool turnEventsIfDue();
    bool stopRequested() const;

    QString m_connectionName;
    int m_messageFontSize;
    std::function<bool()> m_confirmationNaviOpen;
    std::unique_ptr<FindNaviSearch> m_search;
    bool m_shown = false;
    bool m_closed = false;
    bool m_searching = false;
    bool m_deleteAfterSearch = false;
    QElapsedTimer m_sinceTurn;
    NaviSelectionDelay* m_selection = nullptr;
    WheelRouter* m_wheel = nullptr;
    WindowPlacement* m_placement = nullptr;
};
