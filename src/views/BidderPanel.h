#pragma once

#include "views/BidRow.h"
#include "views/BidderStore.h"

#include <QHash>
#include <QObject>
#include <QPersistentModelIndex>
#include <QString>

class BidListView;
class NaviFolderList;
class NaviSession;
class QDragMoveEvent;
class QDropEvent;
class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSqlQuery;
class QTabWidget;
class QTreeWidget;
class QWidget;

// The bidder panel: the winner's data shown from the cache or the database, saved back (and
// the name into the rows of both lists), picked out of the message shown, by the message
// memos' popup menu or by a message row dropped on the panel.
class BidderPanel : public QObject
{
    Q_OBJECT
public:
    // The main window's components the panel acts on.
    struct Widgets
    {
        QWidget* PanelBid = nullptr;
        QLineEdit* EditBidId = nullptr;
        QLineEdit* EditBidName = nullptr;
        QLineEdit* EditBidMail = nullptr;
        QLineEdit* EditBidPost = nullptr;
        QLineEdit* EditBidAddress = nullptr;
        QLineEdit* EditBidTel = nullptr;
        QPushButton* BitBtnBidSave = nullptr;
        QTabWidget* PageControlMain = nullptr;
        BidListView* ListViewBid = nullptr;
        NaviFolderList* ListViewNavi = nullptr;
        QTreeWidget* TreeViewNavi = nullptr;
        QPlainTextEdit* MemoNavi = nullptr;
        QPlainTextEdit* MemoBidNavi = nullptr;
    };

    // What the panel asks of the main window and the other tabs.
    class Window
    {
    public:
        virtual ~Window() = default;
        // The shared prepared winner query, or null while the shared queries are not made.
        virtual QSqlQuery* bidderInfoQuery() = 0;
        // The chosen row of the listing tab and of the message tab.
        virtual BidRow currentBidItem() = 0;
        virtual QPersistentModelIndex currentNaviItem() = 0;
        // Empties the listing tab's message panel.
        virtual void clearBidNaviPanel() = 0;
    };

    BidderPanel(NaviSession& session, Window& window, const Widgets& widgets,
                QObject* parent = nullptr);

    void showBidderInfo(const QString& id, const QString& name);
    void clearBidderInfo();
    // The panel after a tab switch: the tab's chosen row, else emptied.
    void showTabBidderInfo(bool naviTab);
    void BitBtnBidSaveClick();
    void extractBidderInfo();
    QPlainTextEdit* getActiveNaviMemo() const;

    // Ctrl+S in the five editable fields saves; true when the key was taken.
    bool EditBidInfomationKeyDown(const QKeyEvent* key);
    // A message row dragged from a list is taken while at most one message row is selected.
    void PanelBidDragOver(QDragMoveEvent* drag);
    void PanelBidDragDrop(QDropEvent* drop);

    void PopupMenuMemoNaviCopyClick();
    void PopupMenuMemoNaviAllSelectClick();
    void PopupMenuMemoNaviNameClick();
    void PopupMenuMemoNaviMailClick();
    void PopupMenuMemoNaviPostClick();
    void PopupMenuMemoNaviAddress1Click();
    void PopupMenuMemoNaviTelClick();
    // The memo's selected text into the field, then saved.
    void PopupMenuMemoNaviFieldClick(QLineEdit* field);

    // By winner id (BidderStore::idKey); filled as winners are shown, updated by saving.
    QHash<QString, BidInfo> bidderInfoCache;

private:
    bool isDatabaseOpen() const;

    NaviSession& m_session;
    Window& m_window;
    Widgets w;
};
