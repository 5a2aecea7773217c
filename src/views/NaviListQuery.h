#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

// One message as the message lists show it.
struct NaviRow
{
    QString aid;
    QString bidId;   // the winner of the transaction
    QString writeId; // the writer of the message
    QString title;   // of the listing; empty when the listing is not stored
    QString name;    // of the winner; empty when the bidder is not stored
    QString number;
    QString subject;
    QString message; // CR LF line breaks, as stored
    QString writeDate;
    bool received = true;
    bool read = false;
};

// The message list's queries; every value is bound.
namespace NaviListQuery {

// " ORDER BY ..." for the message list's sort column (0 the picture column) and direction
// (0 ascending: unread received messages first on the picture column, 1 descending).
QString orderClause(int sortColumn, int sortType, int kind);
// The messages of a folder of the account, in the list's sort order.
QList<NaviRow> folderMessages(const QSqlDatabase& db, const QString& folderId, int kind,
                              const QString& loginId, int sortColumn, int sortType);
// The messages of one transaction of the account (the listing tab's message list).
QList<NaviRow> transactionMessages(const QSqlDatabase& db, const QString& aid, const QString& bidId,
                                   const QString& loginId);

} // namespace NaviListQuery
