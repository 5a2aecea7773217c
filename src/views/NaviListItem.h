#pragma once

#include "views/NaviListQuery.h"

#include <QColor>
#include <QList>
#include <QMetaType>
#include <QTreeWidgetItem>

#include <array>
#include <memory>

class QTreeWidget;

// Which message list a row belongs to: ListViewNavi (a folder's messages), ListViewBidNavi
// (one transaction's messages on the listing tab), or the eight-column lists of the message
// search window (Search) and of the per-listing message list (Listing), whose column 3 is
// the writer.
enum class NaviList { Folder, Transaction, Search, Listing };

// Row pictures of the message lists.
namespace NaviPicture {
inline constexpr int unread = 0;
inline constexpr int read = 1;
inline constexpr int sent = 2;            // ListViewNavi
inline constexpr int sentTransaction = 3; // ListViewBidNavi and the per-listing list
// The picture of a message in a list: received ones by their read state, sent ones 2 or 3.
int of(NaviList list, bool received, bool read);
} // namespace NaviPicture

// One message row. The texts live in the row, not in per-column cells, so a list of many
// thousand rows fills quickly; column 0 shows the picture, the other columns the sub-items.
// ListViewNavi: 1 Aid, 2 title, 3 winner, 4 name, 5 No, 6 subject, 7 message, 8 date.
// ListViewBidNavi: 1 writer, 2 No, 3 subject, 4 message, 5 date.
// Search and Listing: as ListViewNavi, with the writer in column 3.
class NaviListItem : public QTreeWidgetItem
{
public:
    static constexpr int ItemType = QTreeWidgetItem::UserType + 110;
    static constexpr int PictureRole = Qt::UserRole + 1;

    // heads reads the row's message head when the row is shown (a folder list's rows).
    NaviListItem(NaviList list, const NaviRow& row,
                 std::shared_ptr<const NaviListQuery::MessageHeads> heads = {});
    // The row of a list item, or nullptr for another kind of item.
    static NaviListItem* of(QTreeWidgetItem* item);

    NaviList list() const { return m_list; }
    const NaviRow& row() const
    {
        readHead();
        return m_row;
    }
    bool isHeadPending() const { return m_row.headPending; }
    qint64 rowId() const { return m_row.rowId; }
    const std::shared_ptr<const NaviListQuery::MessageHeads>& heads() const { return m_heads; }
    // Sets a pending head read with the other rows of the list.
    void setHead(const QString& head);
    int picture() const;
    bool isReceived() const { return m_row.received; }
    // Sets the read state of a received row; sent rows stay as they are.
    void setRead(bool read);
    // Keeps the whole message text once read (a folder list reads only the head that it shows).
    void setWholeMessage(const QString& text)
    {
        m_row.message = text;
        m_row.wholeMessage = true;
        m_row.headPending = false;
        m_keysMade &= quint16(~(1u << messageColumn()));
    }

    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;
    bool operator<(const QTreeWidgetItem& other) const override;

    // The column's text as compared by the sort (the message with its line breaks).
    QString columnText(int column) const;
    // The sort keys of a column: the number of the picture and number columns (numberKeyColumn),
    // else the folded text (BidListSort::textKey), made at the first sort by that column and
    // kept until that column's text changes.
    bool isNumberKeyColumn(int column) const { return column == 0 || column == numberColumn(); }
    qint64 numberKey(int column) const { return column == 0 ? picture() : m_number; }
    QStringView textKey(int column) const;
    // The column that holds the message number.
    int numberColumn() const { return m_list == NaviList::Transaction ? 2 : 5; }
    // The column that shows the message text.
    int messageColumn() const { return m_list == NaviList::Transaction ? 4 : 7; }

private:
    QString* field(int column);
    int numberValue() const;
    void readHead() const
    {
        if (m_row.headPending && m_heads)
            m_heads->readHead(m_row);
    }
    static constexpr int KeyColumns = 9;

    NaviList m_list;
    // The head of the message is filled in when first asked for.
    mutable NaviRow m_row;
    std::shared_ptr<const NaviListQuery::MessageHeads> m_heads;
    int m_number = -1;
    // Text keys by column; bit c of m_keysMade is set while m_textKeys[c] is current.
    mutable std::array<QString, KeyColumns> m_textKeys;
    mutable quint16 m_keysMade = 0;
};

Q_DECLARE_METATYPE(NaviListItem*)

namespace NaviListView {

// Columns, captions, selection and drawing of ListViewNavi / ListViewBidNavi.
void setupListViewNavi(QTreeWidget* list);
void setupListViewBidNavi(QTreeWidget* list);
// Column 3 of ListViewNavi: "投稿者" for received-messages folders, "送信先" for sent ones.
void setWriterCaption(QTreeWidget* list, int kind);
// The detail pane's label for the writer: "投稿者：" or "送信先：".
QString writerLabel(int kind);

// Replaces the rows of the list; heads reads the pending message heads of the rows.
void fill(QTreeWidget* list, NaviList kind, const QList<NaviRow>& rows,
          const std::shared_ptr<const NaviListQuery::MessageHeads>& heads = {});
// Reads every pending message head of the list in one read (a sort by the message column).
void readPendingHeads(QTreeWidget* list);
// Appends one row (the message store's new messages).
NaviListItem* addRow(QTreeWidget* list, NaviList kind, const NaviRow& row);

struct LoadResult
{
    bool listed = false; // false for a folder kind that lists nothing
    int rows = 0;
    int unread = 0;
};
// Loads a folder's messages into ListViewNavi (the writer caption included).
LoadResult loadMessageList(QTreeWidget* list, const QSqlDatabase& db, const QString& folderId,
                           int kind, const QString& loginId, int sortColumn, int sortType);
// Loads one transaction's messages into ListViewBidNavi, sorted by the list's sort.
int loadTransactionList(QTreeWidget* list, const QSqlDatabase& db, const QString& aid,
                        const QString& bidId, const QString& loginId, int sortColumn, int sortType);

// Rows with picture 0.
int countUnread(const QTreeWidget* list);
// "件数：N（未開封：M）"; a negative count shows as 0.
QString statusText(int rows, int unread);

// The direction after a click on a header: the current column switches it (1 becomes 0,
// anything else 1), another column keeps it.
int nextSortType(int clickedColumn, int sortColumn, int sortType);
// Sorts by the column (0 ascending, 1 descending) and scrolls the selected row into view.
void sort(QTreeWidget* list, int column, int sortType);

} // namespace NaviListView
