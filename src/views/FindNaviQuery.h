#pragma once

#include "platform/Sql.h"
#include "views/NaviListQuery.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

// The message search window's criteria: every text is a "contains" test with the Like
// wildcards "%" and "_" keeping their meaning; an empty text tests nothing.
struct FindNaviCriteria
{
    QString loginId; // empty: every account
    bool received = true;
    bool sent = true;
    QString bidId;   // the writer of received messages
    QString bidName; // the writer's saved bidder name, received messages only
    QString aid;
    QString title;
    QString message;
};

namespace FindNaviQuery {

// The WHERE clause (empty or starting with " WHERE ") and its bound values.
struct Condition
{
    QString where;
    SqlParams params;
};
Condition condition(const FindNaviCriteria& criteria);
// The hit rows: the message columns, the title, the writer's name and the account.
QString selectText(const QString& where);
QString countText(const QString& where);
// Every account that has stored messages, in the database's order.
QStringList accounts(const QSqlDatabase& db);
// The saved name of a bidder; empty when none is saved.
QString bidderName(const QSqlDatabase& db, const QString& id);

} // namespace FindNaviQuery
