#pragma once

#include <QSqlDatabase>
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
// The whole statement of the mode, ordered by the column (sortType 0 ascending, else
// descending).
QString statement(int mode, int sortColumn, int sortType);

// The listing rows of the mode as the window shows them: the caption (Index) and the 18
// sub-items, each field as text, the message-count cell made of the two counts; in the
// statement's order.
QList<QStringList> readRows(const QSqlDatabase& db, int mode, const QString& loginId,
                            const QString& bidId, int sortColumn, int sortType);

} // namespace BidDataEtcQuery
