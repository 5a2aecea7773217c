#include "views/MarkerRows.h"

#include "platform/Sql.h"
#include "views/BidListColumns.h"
#include "views/BidListModel.h"
#include "views/BidListView.h"

namespace MarkerRows {
namespace {

// Appends text as a JSON string: quotes, backslashes and control characters escaped.
void appendJsonString(QString& out, const QString& text)
{
    out += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c.unicode() < 0x20) {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    out += QLatin1Char('"');
}

} // namespace

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
    QString pairs;
    pairs.reserve(keys.size() * 32 + 2);
    pairs += QLatin1Char('[');
    for (const TransactionKey& key : keys) {
        if (pairs.size() > 1)
            pairs += QLatin1Char(',');
        pairs += QLatin1Char('[');
        appendJsonString(pairs, key.aid);
        pairs += QLatin1Char(',');
        appendJsonString(pairs, key.bidId);
        pairs += QLatin1Char(']');
    }
    pairs += QLatin1Char(']');
    // Never NULL: a blank marker is the empty text.
    const QString value = update.value.isNull() ? QStringLiteral("") : update.value;
    SqlParams params;
    for (const QString& parameter : update.parameters)
        params.append({parameter, value});
    params.append({QStringLiteral(":KEYS"), pairs});
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
