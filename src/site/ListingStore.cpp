#include "site/ListingStore.h"

#include "common/CommonRoutines.h"

#include "platform/Sql.h"
#include "site/ListingTexts.h"

#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <array>

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

// A row the listing list shows before a full store: its rowid and its key.
struct ShownRow
{
    qint64 rowid = 0;
    ListingKey key;
};

// SQLite's NOCASE comparison folds the ASCII letters only.
QString foldCase(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return folded;
}

// A text to bind: a null QString would be stored as NULL, the program's text columns hold ''.
QString boundText(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

void run(QSqlQuery& query)
{
    if (!query.exec())
        throw DatabaseError(query.lastQuery(), query.lastError().text());
}

// Runs a statement once for each chunk of the values; "%1" in its text becomes the chunk's
// placeholders. The values are bound by position: binding hundreds of names costs far more.
template <typename Each>
void forEachChunk(const QSqlDatabase& db, const QString& text, const QVariantList& values,
                  Each each)
{
    constexpr qsizetype chunkSize = 500;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    qsizetype prepared = -1;
    for (qsizetype from = 0; from < values.size(); from += chunkSize) {
        const qsizetype count = std::min(chunkSize, values.size() - from);
        if (count != prepared) {
            QString placeholders = QStringLiteral("?");
            for (qsizetype i = 1; i < count; ++i)
                placeholders += QStringLiteral(",?");
            const QString statement = text.arg(placeholders);
            if (!query.prepare(statement))
                throw DatabaseError(statement, query.lastError().text());
            prepared = count;
        }
        for (qsizetype i = 0; i < count; ++i)
            query.bindValue(int(i), values[from + i]);
        run(query);
        each(query);
    }
}

void markDeleted(const QSqlDatabase& db, const QList<qint64>& rowids)
{
    QVariantList values;
    values.reserve(rowids.size());
    for (const qint64 rowid : rowids)
        values << rowid;
    forEachChunk(db, QStringLiteral("UPDATE T_BidData SET [DeleteFlg]=1 WHERE rowid IN (%1)"),
                 values, [](QSqlQuery&) {});
}

enum class Column { Index, BidId, Price, Quantity, UpdateFlg, DeleteFlg, Count };

// The stored rows of a set of auctions, read once before a store writes anything, and the
// rows the store inserts. The store's statements are applied to them in memory; write() then
// writes the rows whose values changed and inserts the new ones in their order.
class WorkingRows
{
public:
    WorkingRows(const QSqlDatabase& db, const QStringList& aids) : m_db(db)
    {
        QVariantList values;
        QSet<QString> seen;
        for (const QString& aid : aids)
            if (!seen.contains(aid)) {
                seen.insert(aid);
                values << boundText(aid);
            }
        forEachChunk(m_db,
                     QStringLiteral("SELECT rowid,Aid,LoginId,[Index],BidId,Price,Quantity,"
                                    "UpdateFlg,DeleteFlg FROM T_BidData WHERE Aid IN (%1)"),
                     values, [this](QSqlQuery& query) {
                         while (query.next()) {
                             Row row;
                             row.rowid = query.value(0).toLongLong();
                             row.aid = query.value(1).toString();
                             row.loginId = foldCase(query.value(2).toString());
                             for (int c = 0; c < int(Column::Count); ++c)
                                 row.values[c] = query.value(3 + c);
                             row.bidIdFolded = foldCase(row.values[int(Column::BidId)].toString());
                             m_rows.append(row);
                         }
                     });
        std::sort(m_rows.begin(), m_rows.end(),
                  [](const Row& a, const Row& b) { return a.rowid < b.rowid; });
        for (qsizetype i = 0; i < m_rows.size(); ++i)
            m_byAid[m_rows[i].aid].append(i);
    }

    // The rows with this auction id and a winner id equal to bidId regardless of ASCII case, in
    // the order of their rowids.
    QList<qsizetype> find(const QString& aid, const QString& bidId) const
    {
        QList<qsizetype> found;
        const auto it = m_byAid.constFind(aid);
        if (it == m_byAid.constEnd())
            return found;
        const QString folded = foldCase(bidId);
        for (const qsizetype at : *it)
            if (m_rows[at].bidIdFolded == folded)
                found.append(at);
        return found;
    }

    qint64 rowid(qsizetype at) const { return m_rows[at].rowid; }
    QString bidId(qsizetype at) const { return m_rows[at].values[int(Column::BidId)].toString(); }
    bool belongsTo(qsizetype at, const QString& loginId) const
    {
        return m_rows[at].loginId == foldCase(loginId);
    }
    bool isInstantBuy(qsizetype at) const
    {
        const QVariant& index = m_rows[at].values[int(Column::Index)];
        return index.metaType().id() == QMetaType::LongLong && index.toLongLong() == -1;
    }

    void set(qsizetype at, Column column, const QVariant& text)
    {
        Row& row = m_rows[at];
        const QVariant value = text.metaType().id() == QMetaType::QString
                                   ? QVariant(boundText(text.toString()))
                                   : text;
        QVariant& current = row.values[int(column)];
        if (current.metaType() == value.metaType() && current == value)
            return;
        current = value;
        row.changed = true;
        if (column == Column::BidId)
            row.bidIdFolded = foldCase(value.toString());
    }

    void insert(const StoredListingRow& row, const QString& loginId)
    {
        Row added;
        added.inserted = m_inserts.size();
        added.aid = row.aid;
        added.loginId = foldCase(loginId);
        added.values[int(Column::Index)] = qlonglong(row.index);
        added.values[int(Column::BidId)] = boundText(row.bidId);
        added.values[int(Column::Price)] = boundText(row.price);
        added.values[int(Column::Quantity)] = boundText(row.quantity);
        added.values[int(Column::UpdateFlg)] = qlonglong(1);
        added.values[int(Column::DeleteFlg)] = qlonglong(0);
        added.bidIdFolded = foldCase(row.bidId);
        m_byAid[row.aid].append(m_rows.size());
        m_rows.append(added);
        m_inserts.append({boundText(row.title), boundText(row.url)});
    }

    // Positional binding: these statements run once per changed row.
    void write(const QString& loginId)
    {
        QSqlQuery update = Sql::prepare(
            m_db, QStringLiteral("UPDATE T_BidData SET [Index]=?,BidId=?,Price=?,Quantity=?,"
                                 "UpdateFlg=?,DeleteFlg=? WHERE rowid=?"));
        QSqlQuery insert = Sql::prepare(
            m_db, QStringLiteral("INSERT INTO T_BidData (Aid,[Title],BidId,Price,Url,[Index],"
                                 "Quantity,UpdateFlg,LoginId) VALUES(?,?,?,?,?,?,?,1,?)"));
        for (const Row& row : std::as_const(m_rows)) {
            if (row.inserted >= 0 || !row.changed)
                continue;
            for (int c = 0; c < int(Column::Count); ++c)
                update.bindValue(c, row.values[c]);
            update.bindValue(int(Column::Count), row.rowid);
            run(update);
        }
        // Inserted rows follow the read ones, in the order the store added them.
        for (const Row& row : std::as_const(m_rows)) {
            if (row.inserted < 0)
                continue;
            const Insert& texts = m_inserts[row.inserted];
            const QVariant values[] = {boundText(row.aid),
                                       texts.title,
                                       row.values[int(Column::BidId)],
                                       row.values[int(Column::Price)],
                                       texts.url,
                                       row.values[int(Column::Index)],
                                       row.values[int(Column::Quantity)],
                                       boundText(loginId)};
            for (int i = 0; i < int(std::size(values)); ++i)
                insert.bindValue(i, values[i]);
            run(insert);
        }
    }

private:
    struct Row
    {
        qint64 rowid = 0;
        qsizetype inserted = -1; // place among the inserted rows; -1 for a row read
        QString aid;
        QString loginId; // case-folded
        QString bidIdFolded;
        std::array<QVariant, int(Column::Count)> values;
        bool changed = false;
    };
    struct Insert
    {
        QString title;
        QString url;
    };

    QSqlDatabase m_db;
    QList<Row> m_rows;
    QList<Insert> m_inserts;
    QHash<QString, QList<qsizetype>> m_byAid;
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

    // Full run: the shown rows that this download does not confirm are marked deleted.
    QList<ShownRow> shown;
    if (newOnly) {
        Sql::exec(m_db,
                  QStringLiteral("UPDATE T_BidData SET [Index]=[Index]+:SHIFT "
                                 "WHERE LoginId=:DATA_LOGINID AND [Index]<>-1"),
                  {{":SHIFT", download.done}, {":DATA_LOGINID", loginId}});
        summary.indexShift = download.done;
    } else {
        QSqlQuery rows = Sql::exec(
            m_db,
            QStringLiteral("SELECT rowid,Aid,BidId FROM T_BidData WHERE LoginId=:DATA_LOGINID "
                           "AND [Index]<>-1 AND DeleteFlg=0 ORDER BY rowid"),
            {{":DATA_LOGINID", loginId}});
        while (rows.next())
            shown.append(
                {rows.value(0).toLongLong(), {rows.value(1).toString(), rows.value(2).toString()}});
    }

    QStringList aids;
    for (const ClosedListingRow& row : download.rows)
        aids << row.aid;
    if (!shown.isEmpty())
        for (const auto& unread : download.unreadListings)
            aids << unread.first;
    WorkingRows stored(m_db, aids);

    // The rows of the download in order, each as an update of every stored row with its auction
    // id and winner id, or else as a new row; only the rows whose values differ are written.
    QSet<qint64> kept;
    QSet<ListingKey> confirmed;
    for (const ClosedListingRow& row : download.rows) {
        const QString price = extractDigits(row.price);
        const QString quantity = extractDigits(row.quantity);
        const QList<qsizetype> matches = stored.find(row.aid, row.bidId);
        if (matches.isEmpty()) {
            const StoredListingRow inserted{row.index, row.aid, row.title, row.bidId,
                                            quantity,  price,   row.url};
            stored.insert(inserted, loginId);
            builder.inserted(inserted);
            continue;
        }
        // A new-only run overwrites the quantity even when none was read.
        const bool writesQuantity = newOnly || !quantity.isEmpty();
        for (const qsizetype at : matches) {
            const ListingKey key{row.aid, stored.bidId(at)};
            stored.set(at, Column::Index, qlonglong(row.index));
            stored.set(at, Column::BidId, row.bidId);
            stored.set(at, Column::Price, price);
            if (writesQuantity)
                stored.set(at, Column::Quantity, quantity);
            stored.set(at, Column::UpdateFlg, qlonglong(1));
            stored.set(at, Column::DeleteFlg, qlonglong(0));
            kept.insert(stored.rowid(at));
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
        for (const ShownRow& shownRow : shown) {
            const ListingKey& key = shownRow.key;
            if (key.aid != aid)
                continue;
            for (const qsizetype at : stored.find(key.aid, key.bidId)) {
                if (!stored.belongsTo(at, loginId) || stored.isInstantBuy(at))
                    continue;
                stored.set(at, Column::Index, qlonglong(index));
                stored.set(at, Column::DeleteFlg, qlonglong(0));
                kept.insert(stored.rowid(at));
            }
            confirmed.insert(key);
            builder.updated({key, index, std::nullopt, std::nullopt, std::nullopt});
        }
    }

    QList<qint64> vanished;
    for (const ShownRow& row : shown) {
        if (!confirmed.contains(row.key))
            summary.markedDeleted.append(row.key);
        if (!kept.contains(row.rowid))
            vanished.append(row.rowid);
    }
    stored.write(loginId);
    markDeleted(m_db, vanished);

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
            winner, {{":AID", row.aid}, {":BID_ID", row.bidId}, {":LOGINID", loginId}});
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
