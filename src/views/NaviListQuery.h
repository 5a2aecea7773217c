#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <optional>

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
    QString message; // CR LF line breaks, as stored; only its head unless wholeMessage
    QString writeDate;
    QString loginId; // the account; filled only where a list spans accounts
    bool received = true;
    bool read = false;
    bool wholeMessage = true;
};

// The message list's queries; every value is bound.
namespace NaviListQuery {

// " ORDER BY ..." for the message list's sort column (0 the picture column) and direction
// (0 ascending: unread received messages first on the picture column, 1 descending).
QString orderClause(int sortColumn, int sortType, int kind);
// The characters of each message that a folder list reads: more than its message column shows
// on one line. The whole text is read by the message's key when it is needed.
inline constexpr int messageHeadLength = 256;

// The messages of a folder of the account, in the list's sort order; of a message longer than
// messageHeadLength only its head (wholeMessage false).
QList<NaviRow> folderMessages(const QSqlDatabase& db, const QString& folderId, int kind,
                              const QString& loginId, int sortColumn, int sortType);
// The messages of one transaction of the account (the listing tab's message list).
QList<NaviRow> transactionMessages(const QSqlDatabase& db, const QString& aid, const QString& bidId,
                                   const QString& loginId);

// Reads the whole stored text of listed messages by their key (auction id, winner, number and
// account); a row that holds its whole text is answered from the row. Prepares its statement
// once, on the first read.
class MessageReader
{
public:
    MessageReader(const QSqlDatabase& db, const QString& loginId);
    // The head of the row when the message is no longer stored or the database is closed.
    QString wholeMessage(const NaviRow& row);

private:
    QSqlDatabase m_db;
    QString m_loginId;
    std::optional<QSqlQuery> m_query;
};

QString wholeMessage(const QSqlDatabase& db, const QString& loginId, const NaviRow& row);

} // namespace NaviListQuery
