#include "views/NaviReadStore.h"

#include "site/MessageCountCell.h"

#include "platform/JsonKeyList.h"
#include "platform/Sql.h"

namespace NaviReadStore {
namespace {

// The rows of T_Navi named by :KEYS, a JSON array of [Aid, BidId, Number]. CROSS JOIN keeps
// the keys the outer loop: the planner would otherwise scan a table once per key.
const QLatin1StringView keyedRows(
    "SELECT n.rowid FROM json_each(:KEYS) AS k CROSS JOIN T_Navi AS n"
    " ON n.Aid=json_extract(k.value, '$[0]') AND n.BidId=json_extract(k.value, '$[1]')"
    " AND n.[Number]=json_extract(k.value, '$[2]')");

QString keysJson(const QList<NaviKey>& keys)
{
    JsonKeyList list;
    list.reserve(keys.size(), 40);
    for (const NaviKey& key : keys) {
        list.beginRow();
        list.add(key.aid);
        list.add(key.bidId);
        list.add(qint64(key.number.toInt()));
    }
    return list.text();
}

// The received messages of the account among the keyed rows whose unread state the mark turns,
// counted by folder: read turns the unread ones, unread the opened ones. "+LoginId" keeps the
// account's indexes out, so that only the keyed rows are read.
QMap<QString, int> turningByFolder(const QSqlDatabase& db, const QString& loginId,
                                   const QString& keys, bool read)
{
    const QString statement =
        QStringLiteral("SELECT FolderID, COUNT(*) FROM T_Navi WHERE rowid IN (") + keyedRows +
        QStringLiteral(") AND +LoginId=:LOGIN_ID AND RecFlg=TRUE AND ") +
        (read ? QStringLiteral("UnsealingFlg=FALSE") : QStringLiteral("UnsealingFlg<>FALSE")) +
        QStringLiteral(" GROUP BY FolderID");
    QMap<QString, int> changes;
    const int sign = read ? -1 : 1;
    Sql::readRows(db, statement, {{QStringLiteral(":KEYS"), keys}, {":LOGIN_ID", loginId}},
                  [&changes, sign](const Sql::RawRow& row) {
                      changes.insert(row.text(0).toString(), sign * int(row.integer(1)));
                  });
    return changes;
}

} // namespace

QMap<QString, int> write(const QSqlDatabase& db, const QString& loginId,
                         const QList<NaviKey>& keys, bool read, bool countFolders)
{
    if (keys.isEmpty())
        return {};
    const QString json = keysJson(keys);
    Sql::Transaction transaction(db);
    QMap<QString, int> changes;
    if (countFolders)
        changes = turningByFolder(db, loginId, json, read);
    Sql::exec(db,
              QStringLiteral("UPDATE T_Navi SET UnsealingFlg=:UNSEALING_FLG WHERE rowid IN (") +
                  keyedRows + QLatin1Char(')'),
              {{":UNSEALING_FLG", read ? 1 : 0}, {QStringLiteral(":KEYS"), json}});
    transaction.commit();
    return changes;
}

QStringList countCells(const QSqlDatabase& db, const QString& loginId,
                       const QList<Transaction>& transactions)
{
    QStringList cells(transactions.size());
    if (transactions.isEmpty())
        return cells;
    JsonKeyList list;
    list.reserve(transactions.size(), 30);
    for (const Transaction& transaction : transactions) {
        list.beginRow();
        list.add(transaction.aid);
        list.add(transaction.bidId);
    }
    // k.key is the transaction's place in the array.
    Sql::readRows(
        db,
        QStringLiteral("SELECT k.key, c.NaviCount, c.UnreadCount FROM json_each(:TRANSACTIONS) "
                       "AS k CROSS JOIN T_NaviCount AS c ON c.LoginId=:LOGIN_ID"
                       " AND c.Aid=json_extract(k.value, '$[0]')"
                       " AND c.BidId=json_extract(k.value, '$[1]')"),
        {{QStringLiteral(":TRANSACTIONS"), list.text()}, {":LOGIN_ID", loginId}},
        [&cells](const Sql::RawRow& row) {
            const qint64 at = row.integer(0);
            if (at >= 0 && at < cells.size())
                cells[at] = MessageCountCell::text(int(row.integer(1)), int(row.integer(2)));
        });
    return cells;
}

} // namespace NaviReadStore
