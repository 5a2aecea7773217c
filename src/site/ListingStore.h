#pragma once

#include "site/ClosedListingRun.h"
#include "site/DetailedListingRun.h"

#include <QHashFunctions>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// A transaction of T_BidData: one auction with one winner, compared exactly.
struct ListingKey
{
    QString aid;
    QString bidId;
    friend bool operator==(const ListingKey& a, const ListingKey& b)
    {
        return a.aid == b.aid && a.bidId == b.bidId;
    }
};

inline size_t qHash(const ListingKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.aid, key.bidId);
}

// A row as the store wrote it (price and quantity as digits).
struct StoredListingRow
{
    int index = 0;
    QString aid;
    QString title;
    QString bidId;
    QString quantity;
    QString price;
    QString url;
};

// A stored row that the store changed; key is the row's key as it was stored before. Only the
// values that were written are set.
struct ListingRowUpdate
{
    ListingKey key;
    std::optional<int> index;
    std::optional<QString> bidId;
    std::optional<QString> quantity;
    std::optional<QString> price;
};

// What a store changed, for bringing the listing list up to date without reloading it: first
// add indexShift to every caption other than "-1", then apply updated, append inserted and
// remove the rows of markedDeleted.
struct ListingStoreSummary
{
    bool written = false; // false: the database was left as it was
    QString logLine;
    int indexShift = 0;
    QList<StoredListingRow> inserted;
    QList<ListingRowUpdate> updated;
    QList<ListingKey> markedDeleted; // rows that were shown and that the site no longer lists
};

// Stores what a listing download collected into T_BidData for the account the download started
// under, in one transaction on the given connection. A database error rolls the store back and
// is thrown as DatabaseError.
class ListingStore
{
public:
    enum class InstantBuyCheck { Accepted, Empty, AlreadyClosed };

    explicit ListingStore(const QSqlDatabase& db);

    // The closed-listing download's store; writes only after result 0 of a run not stopped.
    ListingStoreSummary storeClosedListings(const QString& loginId,
                                            const ClosedListingResult& download);
    // The detailed download's store (selected rows or instant-buy); the run's rows are those
    // of the auctions whose read finished.
    ListingStoreSummary storeDetailedListings(const QString& loginId,
                                              const DetailedListingResult& download);

    // Whether an auction id typed for the instant-buy download may be read: refused when empty
    // or when stored as a regular listing (index other than -1) under any account.
    InstantBuyCheck checkInstantBuyTarget(const QString& aid) const;

    // The cells of a listing-list row for a stored row: the caption (index) followed by
    // sub-items 0 to 18, the bidder's name looked up in T_BidMaster.
    QStringList listViewBidCells(const StoredListingRow& row) const;


private:
    QSqlDatabase m_db;
};
