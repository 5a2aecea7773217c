#pragma once

#include "common/TextColumn.h"

#include <QSqlDatabase>
#include <QString>

#include <vector>

// The messages of one folder of an account as columns, one record per message. Titles and names
// come from one read of the listings and one of the bidders; a message's text is read only where
// it is needed (its head by rowId).
struct NaviFolderRows
{
    TextColumn aid;
    TextColumn bidId;
    TextColumn writeId;
    TextColumn subject;
    TextColumn writeDate;
    TextColumn title; // empty when the listing is not stored (titleMissing)
    TextColumn name;  // empty when the bidder is not stored (nameMissing)
    // Only when read with the messages: the whole text of each record.
    TextColumn message;
    std::vector<qint64> number;
    std::vector<qint64> rowId;
    BitColumn received;
    BitColumn read;
    BitColumn titleMissing;
    BitColumn nameMissing;
    bool withMessages = false;

    int size() const { return aid.size(); }
    // The picture number of a record: 0 unread received, 1 read received, 2 sent.
    int picture(int record) const { return received.at(record) ? (read.at(record) ? 1 : 0) : 2; }
};

namespace NaviFolderQuery {

// Reads the folder's messages of the account from T_Navi alone (its covering index), in the
// order of their rows in the table; withMessages also reads each whole message text.
NaviFolderRows read(const QSqlDatabase& db, const QString& folderId, const QString& loginId,
                    bool withMessages);

// The order in which the folder list shows the records for a sort column (0 the picture, 3 the
// writer of kind 0 or the winner of kind 1) and direction (0 ascending, 1 descending), the order
// the database gave them: texts by code point with the ASCII letters folded, a missing title or
// name before every text, equal cells in table order in both directions. order[row] = record.
std::vector<int> order(const NaviFolderRows& rows, int sortColumn, int sortType, int kind);

// Whether a sort column of the folder list orders by the message text, which is then read with
// the rows.
inline bool sortsByMessage(int sortColumn)
{
    return sortColumn == 7;
}

} // namespace NaviFolderQuery
