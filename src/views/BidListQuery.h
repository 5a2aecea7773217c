#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include "views/BidListRecords.h"

class EndTimeQueue;

// The listing query of the listing tab: the current account's listings that are not deleted,
// with the winner's name and the transaction's message counts, narrowed by the search panel.
namespace BidListQuery {

// Choice of a flag radio group.
enum FlagFilter : int { FlagSet = 0, FlagNotSet = 1, FlagEither = 2 };

struct Criteria
{
    QString loginId;
    QString auctionId; // the whole auction id, in any case
    QString title;     // part of the title (LIKE: "%" and "_" are wildcards)
    QString bidderId;  // part of the winner id (LIKE)
    int first = FlagEither;
    int payment = FlagEither;
    int receipt = FlagEither;
    int evaluation = FlagEither;
    int end = FlagEither;
};

struct Row
{
    QStringList cells;   // BidListColumns::ColumnCount texts: the caption, then the 19 sub-items
    int naviCount = 0;   // stored messages of the transaction
    int unreadCount = 0; // of those, received and unread
    QString aid() const;
    QString bidId() const;
    QString endDataTime() const;
};

// Runs the query on db and reads its rows straight into columns. Throws DatabaseError. When
// endTimes is given, the auction ids of the rows without an end time are appended to it in the
// order of the rows.
BidListRecords read(const QSqlDatabase& db, const Criteria& criteria,
                    EndTimeQueue* endTimes = nullptr);

// The same rows, one by one. Throws DatabaseError. When endTimes is given, the auction ids of the
// rows without an end time are appended to it in the order of the rows.
QList<Row> run(const QSqlDatabase& db, const Criteria& criteria, EndTimeQueue* endTimes = nullptr);

} // namespace BidListQuery
