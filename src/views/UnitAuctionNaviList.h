#pragma once

#include <QLabel>
#include <QList>
#include <QMainWindow>
#include <QSqlDatabase>
#include <QString>

class NaviSelectionDelay;
class QAction;
class QLineEdit;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;
class QTreeWidget;
class WheelRouter;
class WindowPlacement;

// Every stored message of one transaction, read-only, with the chosen message below and the
// transaction's five progress flags in the status bar. Loaded once, just after it is shown.
class TFormAuctionNaviList : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr const char* section = "AuctionNaviListWindow";

    // The connection is looked up by name, so the window never holds it open.
    TFormAuctionNaviList(const QString& connectionName, int messageFontSize);
    ~TFormAuctionNaviList() override;

    // The load on the first idle moment after the show; a failed load is reported once.
    void AppIdle();
    void ActionAllSelectExecute();
    bool isLoaded() const { return m_loaded; }
    QTimer* TimerListViewNavi() const;

    QString aid;
    QString title;
    QString loginId;
    QString bidId;
    int sortColumn = 0;
    int sortType = 0;

    QTreeWidget* ListViewNavi = nullptr;
    QSplitter* Splitter = nullptr;
    QWidget* PanelNaviSelect = nullptr;
    QLineEdit* EditNaviID = nullptr;
    QLineEdit* EditNaviWriter = nullptr;
    QLineEdit* EditNaviTitle = nullptr;
    QLineEdit* EditNaviSubject = nullptr;
    QLineEdit* EditNaviDate = nullptr;
    QPlainTextEdit* MemoMessage = nullptr;
    QStatusBar* StatusBar = nullptr;
    QList<QLabel*> statusPanels;
    QAction* MainMenuFileClose = nullptr;
    QAction* ActionAllSelect = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void connectSignals();
    void FormShow();
    void FormClose();

    QString m_connectionName;
    int m_messageFontSize;
    bool m_shown = false;
    bool m_loaded = false;
    bool m_closed = false;
    NaviSelectionDelay* m_delay = nullptr;
    WheelRouter* m_wheel = nullptr;
    WindowPlacement* m_placement = nullptr;
};
