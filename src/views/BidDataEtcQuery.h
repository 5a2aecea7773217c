#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

// The listing query of the deleted-listings and bidder-transactions window. Every value is
// bound: the account as :DATA_LOGINID (and :DATA_NAVI_LOGINID for the message counts), the
// bidder id of the bidder mode as :DATA_BID_ID.
namespace BidDataEtcQuery {

enum Mode : int {
    DeletedListings = 0, // the account's listings marked deleted
    BidderListings = 1,  // every listing of one winner of the account
};

// Header indexes 0 (the caption) to 18; any other value sorts by the index.
inline constexpr int sortColumnCount = 19;
int validSortColumn(int sortColumn);
// " T_BidData.[Index]", " T_BidData.Aid", ... for the header index.
QString orderColumn(int sortColumn);
// What the statement orders by: the column as the list compares it (the price and the message
// count as integers, an empty one as -1; text without regard to ASCII case), so that the rows
// arrive in the order the list's comparison gives.
QString orderKey(int sortColumn);
// The whole statement of the mode, ordered by the column (sortType 0 ascending, else
// descending).
QString statement(int mode, int sortColumn, int sortType);

// The number of rows the statement of the mode gives.
int rowCount(const QSqlDatabase& db, int mode, const QString& loginId, const QString& bidId);
// The statement of the mode prepared, bound and run; its records are read with rowOf.
QSqlQuery open(const QSqlDatabase& db, int mode, const QString& loginId, const QString& bidId,
               int sortColumn, int sortType);
// The current record as a list row.
QStringList rowOf(const QSqlQuery& query);

// The listing rows of the mode as the window shows them: the caption (Index) and the 18
// sub-items, each field as text, the message-count cell made of the two counts; in the
// statement's order.
QList<QStringList> readRows(const QSqlDatabase& db, int mode, const QString& loginId,
                            const QString& bidId, int sortColumn, int sortType);

} // namespace BidDataEtcQuery
