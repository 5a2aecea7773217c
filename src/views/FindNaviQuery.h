#pragma once

#include "platform/Sql.h"
#include "views/NaviListQuery.h"

#include <QDeadlineTimer>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <optional>

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

} // namespace FindNaviQuery

// One search run: the hits are counted first (for the progress bar), then read in batches
// so the caller can keep the window answering between them.
class FindNaviSearch
{
public:
    // Runs both statements; throws DatabaseError.
    FindNaviSearch(const QSqlDatabase& db, const FindNaviCriteria& criteria);

    int total() const { return m_total; }
    // Appends hits until maxRows are read or the deadline has passed; false once every hit is
    // read or the run was abandoned.
    bool read(QList<NaviRow>* rows, int maxRows, const QDeadlineTimer& deadline);
    // Releases the statement; read() answers false from now on.
    void abandon();

private:
    std::optional<QSqlQuery> m_query;
    int m_total = 0;
};

namespace FindNaviQuery {
// The saved name of a bidder; empty when none is saved.
QString bidderName(const QSqlDatabase& db, const QString& id);
} // namespace FindNaviQuery
