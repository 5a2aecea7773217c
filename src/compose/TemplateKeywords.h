#pragma once

#include "compose/KeywordExpander.h"

#include <QSqlDatabase>
#include <QString>

class NaviSession;
class BidListView;

// What an expansion for one listing and winner reads: the listing row of T_BidData, the
// winner's other rows shown in the listing list (top to bottom, same winner id, another auction
// id), the winner's name from T_BidMaster and the seller's data from T_PersonalData. Throws
// KeywordError for a price or quantity that is no integer, DatabaseError for a failed query.
KeywordSource readKeywordSource(const QSqlDatabase& db, const BidListView& listViewBid,
                                const QString& loginId, const QString& templateText,
                                const QString& auctionId, const QString& winnerId);

// What the conversion below reads: the session's connection and login id and the listing list.
// The main window sets it for its lifetime; {} clears it.
struct TemplateKeywordContext
{
    NaviSession* session = nullptr;
    BidListView* listViewBid = nullptr;
};
void setTemplateKeywordContext(const TemplateKeywordContext& context);

// The message text of the template for one winner of one listing, read through the context's
// connection, listing list and login id. errorFlag is cleared first and set when a
// placeholder was left unfilled; errorText gets one line per such placeholder (it is never
// cleared). A "%CALC%" without its closing marker shows the "キーワード変換エラー" box once.
// Throws KeywordError or DatabaseError; result and errorText are then left as they were.
void convertTemplateKeywords(QString& result, const QString& templateText, const QString& auctionId,
                             const QString& winnerId, bool& errorFlag, QString& errorText);
