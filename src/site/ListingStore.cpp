#include "site/ListingStore.h"

#include "app/CommonRoutines.h"

#include "platform/Sql.h"
#include "site/ListingTexts.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>

namespace {

const QString insertText = QStringLiteral(
    "INSERT INTO T_BidData (Aid,[Title],BidId,Price,Url,[Index],Quantity,UpdateFlg,LoginId) "
    "VALUES(:DATA_AID,:DATA_TITLE,:DATA_BIDID,:DATA_PRICE,:DATA_URL,:DATA_INDEX,"
    ":DATA_QUANTITY,1,:DATA_LOGINID)");

QStringList storedBidIds(QSqlQuery& query, const SqlParams& params)
{
    Sql::exec(query, params);
    QStringList ids;
    while (query.next())
        ids << query.value(0).toString();
    return ids;
}

// Collects what a store changed, folding a change of a row inserted by the same store into
// its inserted entry.
class SummaryBuilder
{
public:
    explicit SummaryBuilder(ListingStoreSummary& summary) : m_summary(summary) {}

    void inserted(const StoredListingRow& row)
    {
        m_insertedAt.insert({row.aid, row.bidId}, m_summary.inserted.size());
        m_summary.inserted.append(row);
    }

    void updated(const ListingRowUpdate& update)
    {
        const auto it = m_insertedAt.constFind(update.key);
        if (it == m_insertedAt.constEnd()) {
            m_summary.updated.append(update);
            return;
        }
        StoredListingRow& row = m_summary.inserted[*it];
        if (update.index)
            row.index = *update.index;
        if (update.bidId)
            row.bidId = *update.bidId;
        if (update.quantity)
            row.quantity = *update.quantity;
        if (update.price)
            row.price = *update.price;
    }

private:
    ListingStoreSummary& m_summary;
    QHash<ListingKey, qsizetype> m_insertedAt;
};

} // namespace

ListingStore::ListingStore(const QSqlDatabase& db) : m_db(db) {}

ListingStoreSummary ListingStore::storeClosedListings(const QString& loginId,
                                                      const ClosedListingResult& download)
{
    ListingStoreSummary summary;
    summary.logLine = ListingTexts::closedListingEndLine(download.result);
    if (download.stopped || download.result != ClosedListingResult::Finished)
        return summary;
    const bool newOnly = !download.stopAid.isEmpty();
    if (newOnly && download.done == 0)
        return summary;

    Sql::Transaction transaction(m_db);
    SummaryBuilder builder(summary);
    QSqlQuery find =
        Sql::prepare(m_db, QStringLiteral("SELECT BidId FROM T_BidData WHERE Aid=:DATA_AID AND "
                                          "BidId=:DATA_BIDID"));
    QSqlQuery insert = Sql::prepare(m_db, insertText);
    QSqlQuery updateWithQuantity = Sql::prepare(
        m_db, QStringLiteral("UPDATE T_BidData SET [Index]=:DATA_INDEX,BidId=:DATA_BIDID,"
                             "Quantity=:DATA_QUANTITY,Price=:DATA_PRICE,UpdateFlg=1,DeleteFlg=0 "
                             "WHERE Aid=:DATA_WHERE_AID AND BidId=:DATA_WHERE_BIDID"));
    QSqlQuery updateWithoutQuantity = Sql::prepare(
        m_db, QStringLiteral("UPDATE T_BidData SET [Index]=:DATA_INDEX,BidId=:DATA_BIDID,"
                             "Price=:DATA_PRICE,UpdateFlg=1,DeleteFlg=0 "
                             "WHERE Aid=:DATA_WHERE_AID AND BidId=:DATA_WHERE_BIDID"));

    // Full run: the shown rows that this download does not confirm are marked deleted.
    QList<ListingKey> shown;
    QSet<ListingKey> confirmed;
    if (newOnly) {
        Sql::exec(m_db,
                  QStringLiteral("UPDATE T_BidData SET [Index]=[Index]+:SHIFT "
                                 "WHERE LoginId=:DATA_LOGINID AND [Index]<>-1"),
                  {{":SHIFT", download.done}, {":DATA_LOGINID", loginId}});
        summary.indexShift = download.done;
    } else {
        QSqlQuery rows =
            Sql::exec(m_db,
                      QStringLiteral("SELECT Aid,BidId FROM T_BidData WHERE LoginId=:DATA_LOGINID "
                                     "AND [Index]<>-1 AND DeleteFlg=0 ORDER BY rowid"),
                      {{":DATA_LOGINID", loginId}});
        while (rows.next())
            shown.append({rows.value(0).toString(), rows.value(1).toString()});
        Sql::exec(m_db,
                  QStringLiteral("UPDATE T_BidData SET [DeleteFlg]=1 "
                                 "WHERE [LoginId]=:DATA_LOGINID AND [Index]<>-1"),
                  {{":DATA_LOGINID", loginId}});
    }

    for (const ClosedListingRow& row : download.rows) {
        const QString price = extractDigits(row.price);
        const QString quantity = extractDigits(row.quantity);
        const QStringList stored =
            storedBidIds(find, {{":DATA_AID", row.aid}, {":DATA_BIDID", row.bidId}});
        if (stored.isEmpty()) {
            Sql::exec(insert, {{":DATA_AID", row.aid},
                               {":DATA_TITLE", row.title},
                               {":DATA_BIDID", row.bidId},
                               {":DATA_PRICE", price},
                               {":DATA_URL", row.url},
                               {":DATA_INDEX", row.index},
                               {":DATA_QUANTITY", quantity},
                               {":DATA_LOGINID", loginId}});
            builder.inserted({row.index, row.aid, row.title, row.bidId, quantity, price, row.url});
            continue;
        }
        // A new-only run overwrites the quantity even when none was read.
        const bool writesQuantity = newOnly || !quantity.isEmpty();
        QSqlQuery& update = writesQuantity ? updateWithQuantity : updateWithoutQuantity;
        SqlParams params{{":DATA_INDEX", row.index},
                         {":DATA_BIDID", row.bidId},
                         {":DATA_PRICE", price},
                         {":DATA_WHERE_AID", row.aid},
                         {":DATA_WHERE_BIDID", row.bidId}};
        if (writesQuantity)
            params.append({":DATA_QUANTITY", quantity});
        Sql::exec(update, params);
        for (const QString& bidId : stored) {
            const ListingKey key{row.aid, bidId};
            confirmed.insert(key);
            ListingRowUpdate change{key, row.index, row.bidId, std::nullopt, price};
            if (writesQuantity)
                change.quantity = quantity;
            builder.updated(change);
        }
    }
    // The stored winners of a listing whose winners page could not be read stay shown, at the
    // listing's place in this run.
    for (const auto& [aid, index] : download.unreadListings) {
        for (const ListingKey& key : shown) {
            if (key.aid != aid)
                continue;
            Sql::exec(m_db,
                      QStringLiteral("UPDATE T_BidData SET [Index]=:DATA_INDEX,DeleteFlg=0 "
                                     "WHERE LoginId=:DATA_LOGINID AND Aid=:DATA_AID "
                                     "AND BidId=:DATA_BIDID AND [Index]<>-1"),
                      {{":DATA_INDEX", index},
                       {":DATA_LOGINID", loginId},
                       {":DATA_AID", key.aid},
                       {":DATA_BIDID", key.bidId}});
            confirmed.insert(key);
            builder.updated({key, index, std::nullopt, std::nullopt, std::nullopt});
        }
    }
    for (const ListingKey& key : shown)
        if (!confirmed.contains(key))
            summary.markedDeleted.append(key);

    transaction.commit();
    summary.written = true;
    return summary;
}

ListingStoreSummary ListingStore::storeDetailedListings(const QString& loginId,
                                                        const DetailedListingResult& download)
{
    ListingStoreSummary summary;
    summary.logLine = QString::fromUtf16(ListingTexts::bidDetailedDownloadFinished);
    if (download.stopped)
        return summary;

    Sql::Transaction transaction(m_db);
    SummaryBuilder builder(summary);
    QSqlQuery shownWinners = Sql::prepare(
        m_db, QStringLiteral("SELECT BidId FROM T_BidData WHERE Aid=:AID AND LoginId=:LOGINID "
                             "AND DeleteFlg=0 ORDER BY rowid"));
    QSqlQuery markListing =
        Sql::prepare(m_db, QStringLiteral("UPDATE T_BidData SET [DeleteFlg]=1 "
                                          "WHERE Aid=:AID AND LoginId=:LOGINID"));
    QSqlQuery winner = Sql::prepare(
        m_db, QStringLiteral("SELECT BidId FROM T_BidData WHERE Aid=:AID AND BidId=:BID_ID "
                             "AND LoginId=:LOGINID"));
    QSqlQuery keepWinner =
        Sql::prepare(m_db, QStringLiteral("UPDATE T_BidData SET [DeleteFlg]=0,Quantity=:QUANTITY "
                                          "WHERE Aid=:AID AND BidId=:BIDID AND LoginId=:LOGINID"));
    QSqlQuery listingRow = Sql::prepare(
        m_db, QStringLiteral("SELECT [Index],Title,Url FROM T_BidData "
                             "WHERE Aid=:AID AND LoginId=:LOGINID ORDER BY rowid LIMIT 1"));
    QSqlQuery insert = Sql::prepare(m_db, insertText);

    // Every stored winner of a listing read is marked deleted, then the winners found are kept.
    QStringList aids;
    QList<ListingKey> shown;
    for (const DetailedListingRow& row : download.rows) {
        if (!aids.isEmpty() && aids.last() == row.aid)
            continue;
        aids.append(row.aid);
        for (const QString& bidId :
             storedBidIds(shownWinners, {{":AID", row.aid}, {":LOGINID", loginId}}))
            shown.append({row.aid, bidId});
        Sql::exec(markListing, {{":AID", row.aid}, {":LOGINID", loginId}});
    }

    QSet<ListingKey> kept;
    for (const DetailedListingRow& row : download.rows) {
        const QString quantity = extractDigits(row.quantity);
        const QString price = extractDigits(row.price);
        const QStringList stored = storedBidIds(
            winner,
            {{":AID", row.aid}, {":BID_ID", row.bidId}, {":LOGINID", loginId}});
        if (!stored.isEmpty()) {
            Sql::exec(keepWinner, {{":QUANTITY", quantity},
                                   {":AID", row.aid},
                                   {":BIDID", row.bidId},
                                   {":LOGINID", loginId}});
            for (const QString& bidId : stored) {
                const ListingKey key{row.aid, bidId};
                kept.insert(key);
                builder.updated({key, std::nullopt, std::nullopt, quantity, std::nullopt});
            }
            continue;
        }
        // An instant-buy winner stands outside the numbered listings; a new winner of a listed
        // auction takes the listing's index, title and address.
        StoredListingRow inserted{-1, row.aid, row.title, row.bidId, quantity, price, row.url};
        if (download.mode != DetailedListingResult::InstantBuy) {
            Sql::exec(listingRow, {{":AID", row.aid}, {":LOGINID", loginId}});
            if (listingRow.next()) {
                inserted.index = listingRow.value(0).toInt();
                inserted.title = listingRow.value(1).toString();
                inserted.url = listingRow.value(2).toString();
            }
            listingRow.finish();
        }
        Sql::exec(insert, {{":DATA_AID", inserted.aid},
                           {":DATA_TITLE", inserted.title},
                           {":DATA_BIDID", inserted.bidId},
                           {":DATA_PRICE", inserted.price},
                           {":DATA_URL", inserted.url},
                           {":DATA_INDEX", inserted.index},
                           {":DATA_QUANTITY", inserted.quantity},
                           {":DATA_LOGINID", loginId}});
        builder.inserted(inserted);
    }
    for (const ListingKey& key : shown)
        if (!kept.contains(key))
            summary.markedDeleted.append(key);

    transaction.commit();
    summary.written = !download.rows.isEmpty();
    return summary;
}

ListingStore::InstantBuyCheck ListingStore::checkInstantBuyTarget(const QString& aid) const
{
    if (aid.isEmpty())
        return InstantBuyCheck::Empty;
    const QVariant regular = Sql::scalar(
        m_db, QStringLiteral("SELECT 1 FROM T_BidData WHERE Aid=:AID AND [Index]<>-1 LIMIT 1"),
        {{":AID", aid}});
    return regular.isValid() ? InstantBuyCheck::AlreadyClosed : InstantBuyCheck::Accepted;
}

QStringList ListingStore::listViewBidCells(const StoredListingRow& row) const
{
    const QVariant name =
        Sql::scalar(m_db, QStringLiteral("SELECT Name FROM T_BidMaster WHERE Id=:DATA_BID_ID"),
                    {{":DATA_BID_ID", row.bidId}});
    QStringList cells{QString::number(row.index),
                      row.aid,
                      row.title,
                      row.bidId,
                      name.isValid() ? name.toString() : QString(),
                      extractDigits(row.quantity),
                      extractDigits(row.price)};
    for (int i = 0; i < 12; ++i)
        cells << QString();
    cells << row.url;
    return cells;
}
