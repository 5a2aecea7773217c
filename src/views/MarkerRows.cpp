#include "views/MarkerRows.h"

#include "platform/JsonKeyList.h"
#include "platform/Sql.h"
#include "views/BidListColumns.h"
#include "views/BidListModel.h"
#include "views/BidListView.h"

namespace MarkerRows {

QList<TransactionKey> selectedTransactions(const BidListView* list)
{
    QList<TransactionKey> keys;
    const QList<int> positions = list->selectedPositions();
    keys.reserve(positions.size());
    for (int i : positions) {
        const BidRow row = list->bidItem(i);
        keys.append({row.text(BidListColumns::column(BidListColumns::Aid)),
                     row.text(BidListColumns::column(BidListColumns::BidId))});
    }
    return keys;
}

void write(const QSqlDatabase& db, const MarkerUpdate& update, const QList<TransactionKey>& keys)
{
    // The keys go in as one JSON value, so every row is written by one statement: a statement
    // per row costs the binding and a B-tree descent each (over a second for 80,000 rows).
    JsonKeyList pairs;
    pairs.reserve(keys.size(), 32);
    for (const TransactionKey& key : keys) {
        pairs.beginRow();
        pairs.add(key.aid);
        pairs.add(key.bidId);
    }
    // Never NULL: a blank marker is the empty text.
    const QString value = update.value.isNull() ? QStringLiteral("") : update.value;
    SqlParams params;
    for (const QString& parameter : update.parameters)
        params.append({parameter, value});
    params.append({QStringLiteral(":KEYS"), pairs.text()});
    Sql::Transaction transaction(db);
    QSqlQuery query = Sql::prepare(db, update.statement);
    Sql::exec(query, params);
    transaction.commit();
}

void showInCells(BidListView* list, const MarkerUpdate& update, const QList<TransactionKey>& keys)
{
    BidListModel* model = list->listModel();
    std::vector<int> records;
    records.reserve(size_t(keys.size()));
    for (const TransactionKey& key : keys) {
        const int record = model->findRecord(key.aid, key.bidId);
        if (record >= 0)
            records.push_back(record);
    }
    QList<int> columns;
    for (int cell : update.cells)
        columns.append(BidListColumns::column(cell));
    model->setCells(records, columns, update.value);
}

} // namespace MarkerRows
