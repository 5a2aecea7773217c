#pragma once

#include "site/NaviDownloadRun.h"

#include <QSqlDatabase>
#include <QString>

// The database side of filling a board download's work list: the purge of a transaction whose
// stored messages repeat a number, and the highest stored number. All of it looks at the rows
// of the account that downloads, the rows its delete removes.
namespace NaviWorkList {

// How often the most repeated message number of the transaction occurs (0 when none is stored).
int numberRepeatCount(const QSqlDatabase& db, const QString& aid, const QString& bidId,
                      const QString& loginId);
// Deletes every stored message of the transaction for the account.
void deleteMessages(const QSqlDatabase& db, const QString& aid, const QString& bidId,
                    const QString& loginId);
// The highest stored message number, leaving out DeleteFlgSub rows; 0 when none.
qint64 highestNumber(const QSqlDatabase& db, const QString& aid, const QString& bidId,
                     const QString& loginId);

struct Purge
{
    bool purged = false; // the caller empties the listing row's message-count cell
    QString logLine;
};

// Deletes the transaction's messages of the account when a number is stored twice.
Purge purgeDuplicates(const QSqlDatabase& db, const QString& aid, const QString& title,
                      const QString& bidId, const QString& loginId);

// One entry of a selected-rows or shown-rows download: the purge, then the highest number.
struct Prepared
{
    NaviWorkItem item;
    Purge purge;
};
Prepared prepareItem(const QSqlDatabase& db, const QString& aid, const QString& title,
                     const QString& bidId, const QString& listingUrl, const QString& loginId);

} // namespace NaviWorkList
