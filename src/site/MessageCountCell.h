#pragma once

#include <QSqlDatabase>
#include <QString>

// The listing list's message-count cell: the number of stored messages of a transaction,
// followed by the number of unread received ones in parentheses when there are any.
namespace MessageCountCell {

// "" without messages, "N", or "N(M)"; the unread count is kept within 0 and the total.
QString text(int total, int unread);
// The cell of one transaction of the account, from the counts kept in the database.
QString read(const QSqlDatabase& db, const QString& loginId, const QString& aid,
             const QString& bidId);

} // namespace MessageCountCell
