#pragma once

#include "views/BidListColumns.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTreeWidgetItem>

#include <array>

class BidListItem;

// Rows of the listing list by transaction (auction id, winner id). Winner ids compare without
// regard to ASCII case, as the database's winner-id columns do. Items register themselves and
// leave when they are deleted.
class BidListIndex
{
public:
    BidListIndex() = default;
    BidListIndex(const BidListIndex&) = delete;
    BidListIndex& operator=(const BidListIndex&) = delete;

    // The first registered row of the transaction, or nullptr.
    BidListItem* find(const QString& aid, const QString& bidId) const;
    void clear() { m_items.clear(); }

    static QString key(const QString& aid, const QString& bidId);

private:
    friend class BidListItem;
    void add(BidListItem* item);
    void remove(BidListItem* item);

    QMultiHash<QString, BidListItem*> m_items;
};

// One row of the listing list: the caption column and the 19 sub-items (BidListColumns). It sorts
// by the list's sort column as the listing list does, and is drawn bold while its message-count
// cell shows unread messages. Each cell's sort key (its number, or its text folded for the
// comparison) is made when the cell is written, so a sort compares keys only.
class BidListItem : public QTreeWidgetItem
{
public:
    static constexpr int Type = QTreeWidgetItem::UserType + 101;

    // cells: the caption and the sub-items (missing ones stay empty). With an index the row is
    // registered under its auction id and winner id.
    explicit BidListItem(const QStringList& cells, BidListIndex* index = nullptr);
    ~BidListItem() override;

    QString subItem(int subItem) const { return text(subItem + 1); }
    void setSubItem(int subItem, const QString& value) { setText(subItem + 1, value); }
    // True when the message-count cell holds "(": the transaction has unread received messages.
    bool hasUnread() const;

    bool operator<(const QTreeWidgetItem& other) const override;
    // The sort keys of a cell: the number of a numeric column (BidListColumns::isNumericColumn),
    // the folded text of another.
    qint64 numberKey(int column) const;
    // The price cell as the selection total counts it: its number, 0 for a non-number cell.
    qint64 priceForTotal() const { return m_priceTotal; }
    QStringView textKey(int column) const { return m_textKeys[size_t(column)]; }
    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;

private:
    friend class BidListIndex;
    void updateSortKey(int column, const QString& cell);

    BidListIndex* m_index = nullptr;
    QString m_key;
    qint64 m_indexValue = -1;
    qint64 m_priceValue = -1;
    qint64 m_priceTotal = 0;
    qint64 m_naviTotal = 0;
    // BidListSort::textKey of the text columns' cells (the numeric columns' stay empty).
    std::array<QString, BidListColumns::ColumnCount> m_textKeys;
};
