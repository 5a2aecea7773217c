#pragma once

#include <QStringList>
#include <QTreeWidgetItem>

// One listing row of the deleted-listings and bidder-transactions window; it sorts by the
// list's sort column with BidDataEtcSort's comparison.
class BidDataEtcItem : public QTreeWidgetItem
{
public:
    static constexpr int Type = QTreeWidgetItem::UserType + 115;

    explicit BidDataEtcItem(const QStringList& cells);

    QString subItem(int subItem) const { return text(subItem + 1); }
    bool operator<(const QTreeWidgetItem& other) const override;
};
