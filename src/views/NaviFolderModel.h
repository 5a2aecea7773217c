#pragma once

#include "views/ColumnTableModel.h"
#include "views/NaviFolderQuery.h"
#include "views/NaviListQuery.h"

#include <QFont>

#include <memory>

// The rows of the folder message list held as columns: 0 the picture, 1 Aid, 2 title, 3 winner,
// 4 name, 5 No, 6 subject, 7 message (its head), 8 date; every cell is drawn on one line. A
// message's head is read when its row is first shown, or for every row when the list is sorted by
// that column; the sort reads the whole texts of the messages whose heads are equal.
class NaviFolderModel : public ColumnTableModel
{
    Q_OBJECT

public:
    static constexpr int PictureRole = Qt::UserRole + 1;
    static constexpr int MessageColumn = 7;
    static constexpr int NumberColumn = 5;

    explicit NaviFolderModel(QObject* parent = nullptr);

    // Replaces the rows by a folder's messages in the given order (order[row] = record); heads
    // reads the messages' heads.
    void fill(NaviFolderRows rows, const std::vector<int>& order,
              std::shared_ptr<const NaviListQuery::MessageHeads> heads);
    void clear();
    // Takes the rows out of the list (messages filed into another folder).
    void removeRowsAt(std::vector<int> rows) { takeRows(std::move(rows)); }
    // Appends a row that holds its whole message (the message store's new messages).
    void appendRow(const NaviRow& row);
    // Column 3's caption: "投稿者" for a received-messages folder, "送信先" for a sent one.
    void setWriterCaption(int kind);
    // The font the rows are drawn in; unread rows are drawn bold.
    void setFont(const QFont& font);

    int picture(int row) const;
    // The row as a value, its message head read.
    NaviRow naviRow(int row) const;
    // The text a column shows.
    QString cellText(int row, int column) const;

    // Cell writes; each redraws the row and makes the column's sort keys again at the next sort.
    // The read state of a received row (sent rows stay as they are); false when unchanged.
    bool setRead(int row, bool read);
    // The same for many rows, with one redraw.
    void setRead(const QList<int>& rows, bool read);
    // The whole text of a row's message, once read.
    void setWholeMessage(int row, const QString& text);
    // The winner's name (the bidder information saved).
    void setName(int row, const QString& name);

    // Sorts stably by the column (0 ascending, 1 descending), as the list compares its cells:
    // the picture and No as numbers, every other column by its text without case.
    void sort(int column, int sortType);

    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A drag of rows carries their messages' keys (NaviDrag), in list order.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

protected:
    QVariant recordData(int record, int column, int role) const override;
    ColumnRanks makeRanks(int column) const override;

private:
    void readHead(int record) const;
    void readAllHeads() const;
    ColumnRanks messageRanks() const;
    const TextColumn* textColumn(int column) const;

    NaviFolderRows m_rows;
    std::shared_ptr<const NaviListQuery::MessageHeads> m_heads;
    // The message column: the head, or the whole text once read; headRead tells which are read.
    mutable TextColumn m_messages;
    mutable BitColumn m_headRead;
    mutable BitColumn m_whole;
    BitColumn m_numberEmpty; // a row added without a number shows none and sorts as -1
    QString m_writerCaption;
    QFont m_boldFont;
};
