#pragma once

#include "views/NaviListQuery.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The per-listing message list's reads: one transaction (auction id, winner, account).
namespace AuctionNaviQuery {

// Every stored message of the transaction, each once, with the listing title and the writer's
// saved name.
QList<NaviRow> messages(const QSqlDatabase& db, const QString& aid, const QString& bidId,
                        const QString& loginId);
// The transaction's five progress flags (first contact, payment, shipping, feedback, end);
// empty when the listing row is not stored.
QStringList flags(const QSqlDatabase& db, const QString& aid, const QString& bidId);
// The five status panel texts: each caption, with "●" after it for a flag that is not empty.
QStringList flagPanelTexts(const QStringList& flags);

} // namespace AuctionNaviQuery
