#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QSet>
#include <QString>

class BidListView;
class NaviFolderList;
class NaviSelectionDelay;
class NaviSession;
class QAbstractItemView;
class QEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QPlainTextEdit;
class QPoint;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// The message tab: the folder tree and its commands, the folder's message list with its sort
// and chosen row, the listing tab's message list's delay and sort, the read state of both
// message lists, and the filing of messages by a drag
// from the list onto a folder.
class MessageTab : public QObject
{
    Q_OBJECT
public:
    // The main window's components the tab acts on.
    struct Widgets
    {
        QWidget* dialogParent = nullptr; // the window the confirmations are asked over
        QTabWidget* PageControlMain = nullptr;
        QTreeWidget* TreeViewNavi = nullptr;
        NaviFolderList* ListViewNavi = nullptr;
        QTreeWidget* ListViewBidNavi = nullptr;
        BidListView* ListViewBid = nullptr;
        QLabel* LabelNaviWriter = nullptr;
        QLineEdit* EditNaviID = nullptr;
        QLineEdit* EditNaviTitle = nullptr;
        QLineEdit* EditNaviWriter = nullptr;
        QLineEdit* EditNaviSubject = nullptr;
        QLineEdit* EditNaviDate = nullptr;
        QPlainTextEdit* MemoNavi = nullptr;
        QLineEdit* EditBidNaviWriter = nullptr;
        QLineEdit* EditBidNaviSubject = nullptr;
        QLineEdit* EditBidNaviDate = nullptr;
        QPlainTextEdit* MemoBidNavi = nullptr;
    };

    // What the tab asks of the main window and the other subsystems.
    class Window
    {
    public:
        virtual ~Window() = default;
        // The message count of the list into the status bar.
        virtual void showMessageCount(const QString& text) = 0;
        // The message commands for the folder's id and kind.
        virtual void updateNaviActions(const QString& folderId, int kind) = 0;
        virtual void clearBidderInfo() = 0;
        // Opens the active list's chosen message in the viewer.
        virtual void ActionNaviOpenMessageExecute() = 0;
    };

    MessageTab(NaviSession& session, Window& window, const Widgets& widgets,
               QObject* parent = nullptr);

    // ---- Folders ----
    void createDefaultFolders();
    void loadFolderTree();
    void loadUnreadCounts();
    void TreeViewNaviChange(QTreeWidgetItem* current);
    // Chooses the folder under the point and shows the tree's menu there.
    void TreeViewNaviContextPopup(const QPoint& at, QMenu* menu);
    void PopupMenuTreeNaviNewFolderClick();
    void ActionTreeNaviDeleteFolderExecute();
    void ActionTreeNaviReNameFolderExecute();

    // ---- Message lists and read state ----
    // ListViewNavi on the message tab, ListViewBidNavi on the listing tab.
    QAbstractItemView* getActiveNaviList() const;
    // Empties the message tab's detail pane.
    void clearNaviDetail();
    // The focused row of the message list, following the list's current row.
    int focusedNaviRow() const;
    void markSelectedMessages(bool read);
    void ActionNaviUnsealingExecute();
    void ActionNaviUnunsealingExecute();
    void ListViewNaviColumnClick(int column);
    void ListViewBidNaviColumnClick(int column);

    // ---- Moving messages into folders ----
    void ListViewNaviStartDrag();
    void ListViewNaviEndDrag();
    // The drop rule for the node under a point of the tree's viewport.
    bool TreeViewNaviDragOver(const QPoint& at);
    void TreeViewNaviDragDrop(const QPoint& at, const QMimeData* data);
    void moveMessagesToFolder(QTreeWidgetItem* target);
    // The drag events of the tree's viewport; true when the event was handled.
    bool TreeViewNaviDragEvent(QEvent* event);

    // The detail delays of the folder's list and of the listing tab's list.
    NaviSelectionDelay* naviSelectionDelay = nullptr;
    NaviSelectionDelay* bidNaviSelectionDelay = nullptr;
    int shownUnreadCount = 0;
    QPersistentModelIndex currentNaviItem;
    int naviSortColumn = 0, naviSortType = 0;
    int bidNaviSortColumn = 0, bidNaviSortType = 0;
    bool dragging = false;
    // The accounts whose default folders this run has made sure of.
    QSet<QString> knownFolderLogins;

private:
    bool isDatabaseOpen() const;
    void connectMoveSignals();

    NaviSession& m_session;
    Window& m_window;
    Widgets w;
};
