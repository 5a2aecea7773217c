#include "views/FindNaviSearch.h"

#include "platform/Database.h"
#include "platform/SqliteProgress.h"
#include "platform/Sql.h"

#include <QSqlError>

FindNaviSearch::FindNaviSearch(const QSqlDatabase& db, const FindNaviCriteria& criteria,
                               std::function<bool()> turn)
    : m_criteria(criteria), m_turn(std::move(turn)),
      m_connectionName(Database::uniqueConnectionName(QStringLiteral("find")))
{
    m_db = QSqlDatabase::cloneDatabase(db, m_connectionName);
    if (!m_db.open()) {
        const QString message = m_db.lastError().text();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw DatabaseError(QStringLiteral("open ") + db.databaseName(), message);
    }
    m_progress = std::make_unique<SqliteProgressHandler>(m_db, [this] { return progress(); });
}

FindNaviSearch::~FindNaviSearch()
{
    abandon();
    m_progress.reset();
    m_db = QSqlDatabase();
    Database::close(m_connectionName);
}

bool FindNaviSearch::progress()
{
    if (!m_stopped)
        m_stopped = m_turn();
    return m_stopped;
}

bool FindNaviSearch::start()
{
    const FindNaviQuery::Condition condition = FindNaviQuery::condition(m_criteria);
    SqlParams params = condition.params;
    try {
        m_total =
            Sql::scalar(m_db, FindNaviQuery::countText(condition.where), condition.params).toInt();
        params.append({":HEAD", NaviListQuery::messageHeadLength});
        m_query = Sql::exec(m_db, FindNaviQuery::selectText(condition.where), params);
    } catch (const DatabaseError&) {
        // A statement stopped from the turn fails as interrupted: that is the stop, no error.
        m_query.reset();
        if (m_stopped)
            return false;
        throw;
    }
    return !m_stopped;
}

bool FindNaviSearch::read(QList<NaviRow>* rows, int maxRows, const QDeadlineTimer& deadline)
{
    if (!m_query || m_stopped)
        return false;
    for (int i = 0; i < maxRows; ++i) {
        if (!m_query->next()) {
            const QSqlError error = m_query->lastError();
            const QString statement = m_query->lastQuery();
            abandon();
            if (error.isValid() && !m_stopped)
                throw DatabaseError(statement, error.text());
            return false;
        }
        const QSqlQuery& q = *m_query;
        NaviRow row;
        row.aid = q.value(0).toString();
        row.bidId = q.value(1).toString();
        row.writeId = q.value(2).toString();
        row.number = q.value(3).toString();
        row.subject = q.value(4).toString();
        row.message = q.value(5).toString();
        row.wholeMessage = row.message.size() < NaviListQuery::messageHeadLength;
        row.writeDate = q.value(6).toString();
        row.received = q.value(7).toInt() != 0;
        row.read = q.value(8).toInt() != 0;
        row.title = q.value(9).toString();
        row.name = q.value(10).toString();
        row.loginId = q.value(11).toString();
        rows->append(std::move(row));
        if ((i & 63) == 63 && deadline.hasExpired())
            break;
    }
    return true;
}

void FindNaviSearch::abandon()
{
    if (m_query)
        m_query->finish();
    m_query.reset();
}
