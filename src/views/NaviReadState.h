#pragma once

#include <QSqlDatabase>
#include <QString>

class BidListView;
class QAbstractItemView;
class QTreeWidget;
class QWidget;

// Marking received messages read or unread, and keeping every view that shows the state or a
// count of it in step with the database.
namespace NaviReadState {

// The listing list's cells (column = sub-item + 1): auction id, winner id, message count.
inline constexpr int listingAidColumn = 1;
inline constexpr int listingBidIdColumn = 3;
inline constexpr int listingCountColumn = 8;

struct Views
{
    QAbstractItemView* activeList = nullptr;      // the list whose selected rows are marked
    QAbstractItemView* listViewNavi = nullptr;    // the folder's message list
    QAbstractItemView* listViewBidNavi = nullptr; // the listing tab's message list
    BidListView* listViewBid = nullptr;     // the listing list (message-count cells), optional
    QTreeWidget* treeViewNavi = nullptr;    // the folder tree (unread counts), optional
    bool dragging = false;                  // messages are being dragged: no tree repaint
};

struct Result
{
    int changedRows = 0;
    int shownUnreadCount = 0; // unread rows of listViewNavi after the change
};

// True when a selected row of the list is a received message in the other state.
bool wouldChange(QAbstractItemView* list, bool read);

// Marks the selected received rows of the active list read or unread: one UPDATE over every
// changed row in one transaction, then the pictures of both lists, the message-count cells of the
// listing list (one query for the changed transactions) and the folder tree's counts (moved by
// the change of each folder, counted before the UPDATE) follow the database.
Result setMessagesOpened(const QSqlDatabase& db, const QString& loginId, const Views& views,
                         bool read);

// The read command (ActionNaviUnsealing / ActionNaviUnunsealing): with confirm set, asks
// "開封しますか？" / "未開封にしますか？" under "確認" first. Nothing is asked when no selected
// row would change (sent messages, or rows already in that state).
Result runCommand(QWidget* dialogParent, bool confirm, const QSqlDatabase& db,
                  const QString& loginId, const Views& views, bool read);


} // namespace NaviReadState
