#pragma once

#include "views/BidderStore.h"

#include <QHash>
#include <QMainWindow>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class WheelRouter;
class WindowPlacement;

// Bidder information shown once in the window: mail, name, post code, address, telephone.
using BidInfoEtc = BidInfo;

// The read-only window of one account's listings marked deleted (mode 0) or of every listing
// of one winner (mode 1), with the selected transaction's messages and the winner's stored
// information. It loads its list once, after it is shown, and frees itself when closed.
class TFormBidDataEtc : public QMainWindow
{
    Q_OBJECT
public:
    // connection: the main window's connection; memoFontSize: the main message memo's size.
    TFormBidDataEtc(const QSqlDatabase& connection, int memoFontSize, QWidget* parent = nullptr);
    ~TFormBidDataEtc() override;

    QString loginId;
    QString captionText;
    QString bidId;
    int listMode = 0;
    // Writes a list to a CSV file that the user picks: true when written or stopped by the
    // user, false when writing failed, *message set either way. Given by the opener; without
    // it the export command does nothing.
    std::function<bool(QTreeWidget* list, QString* message, const QString& defaultName)> exportList;

    int bidSortColumn = 0, bidSortType = 0;
    int naviSortColumn = 0, naviSortType = 0;
    bool loading() const { return m_loading; }
    bool loaded() const { return m_loaded; }

    // Components.
    QWidget* PanelBid = nullptr;
    QLineEdit* EditBidId = nullptr;
    QLineEdit* EditBidName = nullptr;
    QLineEdit* EditBidMail = nullptr;
    QLineEdit* EditBidPost = nullptr;
    QLineEdit* EditBidAddress = nullptr;
    QLineEdit* EditBidTel = nullptr;
    QPushButton* BitBtnBidSave = nullptr;
    QSplitter* SplitterBid = nullptr;
    QTreeWidget* ListViewBid = nullptr;
    QWidget* PanelBidDataFind = nullptr;
    QLineEdit* EditBidDataFind = nullptr;
    QComboBox* ComboBoxBidDataFind = nullptr;
    QSplitter* PanelNavi = nullptr;
    QWidget* PanelNaviList = nullptr;
    QLineEdit* EditBidAid = nullptr;
    QLineEdit* EditBidTitle = nullptr;
    QTreeWidget* ListViewNavi = nullptr;
    QLineEdit* EditNaviWriter = nullptr;
    QLineEdit* EditNaviSubject = nullptr;
    QLineEdit* EditNaviDate = nullptr;
    QPlainTextEdit* MemoNavi = nullptr;
    QMenu* MainMenuViewFontSize = nullptr;
    QLabel* statusPanels[3] = {};
    QProgressBar* ProgressBar = nullptr;
    QTimer* TimerListViewBid = nullptr;

    QAction* action(const char* name) const;

    // Handlers.
    void ListViewBidColumnClick(int column);
    void ListViewNaviColumnClick(int column);
    void ActionSearchNextExecute();
    void ActionSearchPreviousExecute();
    void ActionShowSearchPanelExecute();
    void ActionCsvExportBidListExecute();
    void ActionAllSelectExecute();
    void changeFontSize(int points);

    void showTransactionNavi(QTreeWidgetItem* item);
    void showBidderInfo(const QString& bidderId, const QString& name);

signals:
    // The transaction's messages were fetched and shown (not when it was shown already).
    void transactionShown(const QString& aid, const QString& bidId);
    // The list load ended, whole or stopped.
    void loadFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void buildFontSizeMenu();
    void connectSignals();
    void FormShow();
    void AppIdle();
    void ActionBidDataUpdateExecute();
    void addPendingRows();
    void finishLoad();
    void ListViewBidChange();
    void TimerListViewBidTimer();
    void ListViewNaviChange();
    void saveSettings();

    QSqlDatabase m_db;
    std::optional<QSqlQuery> queryBidList;
    std::optional<QSqlQuery> queryBidderInfo;
    QHash<QString, BidInfoEtc> bidderInfoCache;
    QTreeWidgetItem* selectedBidItem = nullptr;
    WheelRouter* wheelRouter = nullptr;
    WindowPlacement* placement = nullptr;
    QStringList m_lastRow;
    qsizetype m_added = 0;
    bool m_outOfOrder = false;
    bool m_shown = false;
    bool m_loading = false;
    bool m_loaded = false;
    bool m_closing = false;
    bool m_sortedDuringLoad = false;
};
