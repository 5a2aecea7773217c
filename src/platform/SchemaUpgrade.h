#pragma once

#include <QSqlDatabase>

// Brings a database file up to the shape the program expects, whatever release created it:
//   - T_NaviCount holds each transaction's message counts (all stored messages, and the
//     received unread ones) per account, kept by triggers on T_Navi, so that the listing list
//     reads them instead of counting every message at every query;
//   - IX_BidData_Login indexes T_BidData on LoginId alone: with DeleteFlg in it, every row that
//     a store marks deleted also moved in the index;
//   - IX_Navi_FolderList covers every column the folder list shows but the message, in place
//     of IX_Navi_Folder (LoginId, FolderID).
// What is missing is built in one write transaction, taken before looking, so that two
// connections opening an old file at once do it once. A file already up to date costs one read
// of the schema.
namespace SchemaUpgrade {

// Throws DatabaseError.
void apply(const QSqlDatabase& db);

} // namespace SchemaUpgrade
