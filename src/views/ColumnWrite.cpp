#include "views/ColumnWrite.h"

#include "platform/Sql.h"
#include "views/BidListColumns.h"
#include "views/BidderStore.h"

#include <QSet>
#include "views/BidListView.h"

namespace ColumnWrite {

bool isWritableColumn(int subItem)
{
    return subItem == BidListColumns::Carriage || subItem == BidListColumns::Forwarding ||
           subItem == BidListColumns::Remarks;
}

bool reachesSameWinners(int subItem)
{
    return subItem == BidListColumns::Carriage || subItem == BidListColumns::Forwarding;
}

QList<Row> rowsOf(const BidListView* list)
{
    QList<Row> rows;
    const int count = list->topLevelItemCount();
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const BidRow item = list->bidItem(i);
        rows.append({item.text(BidListColumns::column(BidListColumns::Aid)),
                     item.text(BidListColumns::column(BidListColumns::BidId)), false});
    }
    for (int i : list->selectedPositions())
        rows[i].selected = true;
    return rows;
}

QList<int> targetRows(const QList<Row>& rows, int subItem, bool plural)
{
    QList<int> targets;
    if (!isWritableColumn(subItem))
        return targets;
    QSet<QString> winners;
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].selected) {
            targets.append(i);
            // A row without a winner has no other rows of "the same winner".
            if (!rows[i].bidId.isEmpty())
                winners.insert(BidderStore::idKey(rows[i].bidId));
        }
    }
    if (targets.isEmpty() || !plural || !reachesSameWinners(subItem))
        return targets;
    for (int i = 0; i < rows.size(); ++i)
        if (!rows[i].selected && winners.contains(BidderStore::idKey(rows[i].bidId)))
            targets.append(i);
    return targets;
}

QString valueParameter(int subItem)
{
    switch (subItem) {
    case BidListColumns::Carriage:
        return QStringLiteral(":DATA_CARRIAGE");
    case BidListColumns::Forwarding:
        return QStringLiteral(":DATA_FORWARDING");
    case BidListColumns::Remarks:
        return QStringLiteral(":DATA_MEMO");
    default:
        return QString();
    }
}

QString statement(int subItem)
{
    QString column;
    switch (subItem) {
    case BidListColumns::Carriage:
        column = QStringLiteral("Carriage");
        break;
    case BidListColumns::Forwarding:
        column = QStringLiteral("Forwarding");
        break;
    case BidListColumns::Remarks:
        column = QStringLiteral("Remarks");
        break;
    default:
        return QString();
    }
    return QStringLiteral("UPDATE T_BidData SET ") + column + '=' + valueParameter(subItem) +
           QStringLiteral(" WHERE Aid=:AID AND BidId=:BID_ID");
}

void write(const QSqlDatabase& db, int subItem, const QString& text,
           const QList<TransactionKey>& keys)
{
    if (!isWritableColumn(subItem) || keys.isEmpty())
        return;
    Sql::Transaction transaction(db);
    QSqlQuery query = Sql::prepare(db, statement(subItem));
    SqlParams params{{valueParameter(subItem), text.isNull() ? QStringLiteral("") : text},
                     {QStringLiteral(":AID"), QString()},
                     {QStringLiteral(":BID_ID"), QString()}};
    for (const TransactionKey& key : keys) {
        params[1].second = key.aid;
        params[2].second = key.bidId;
        Sql::exec(query, params);
    }
    transaction.commit();
}

} // namespace ColumnWrite
