#pragma once

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

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
    // A folder list reads a message's head only when the row shows it: until then message is
    // empty and headPending is set; rowId names the message in T_Navi.
    bool headPending = false;
    qint64 rowId = 0;
};

// The message list's queries; every value is bound.
namespace NaviListQuery {

// The characters of each message that a folder list reads: more than its message column shows
// on one line. The whole text is read by the message's key when it is needed.
inline constexpr int messageHeadLength = 256;

// The head of a message as a folder list holds it: its first messageHeadLength characters.
QString messageHead(QStringView message);
// The UTF-16 units of that head.
qsizetype messageHeadSize(QStringView message);

// The messages of a folder of the account, in the list's sort order. Their heads are left to
// read (headPending) unless the sort is by the message column; of a message longer than
// messageHeadLength only its head is kept (wholeMessage false).
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

// Reads the heads of a folder list's messages when their rows are shown. It names its connection
// rather than holding it, so a list that outlives the connection reads nothing.
class MessageHeads
{
public:
    MessageHeads(const QString& connectionName, const QString& folderId, const QString& loginId);
    // Fills the head of a row whose head is pending; a message no longer stored leaves it empty.
    void readHead(NaviRow& row) const;
    // The heads of every message of the folder with their rowids, in one read; the view is valid
    // until onHead returns.
    void readFolder(const std::function<void(qint64 rowId, QStringView head)>& onHead) const;
    // The whole texts of messages by their rowids, with their keys, in one read; the caller
    // checks the key, as a rowid of a removed message may be given to a new one. The views are
    // valid until onMessage returns.
    using OnMessage = std::function<void(qint64 rowId, QStringView aid, QStringView bidId,
                                         qint64 number, QStringView message)>;
    void readMessages(const std::vector<qint64>& rowIds, const OnMessage& onMessage) const;

private:
    QString m_connectionName;
    QString m_folderId;
    QString m_loginId;
};

} // namespace NaviListQuery
