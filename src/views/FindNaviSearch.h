#pragma once

#include "views/FindNaviQuery.h"
#include "views/NaviListQuery.h"

#include <QDeadlineTimer>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class SqliteProgressHandler;

// One search run: the hits are counted first (for the progress bar), then read in batches so
// the caller can keep the window answering between them. The run has a connection of its own
// to the same file: while SQLite works on a statement it calls `turn`, where the window's
// events may run and use every other connection freely.
class FindNaviSearch
{
public:
    // `turn` is called every thousand steps of SQLite's machine while a statement runs (so it
    // should be quick unless it is time for the events); it answers true to stop the run.
    // Throws DatabaseError when the connection cannot be opened.
    FindNaviSearch(const QSqlDatabase& db, const FindNaviCriteria& criteria,
                   std::function<bool()> turn);
    ~FindNaviSearch();
    FindNaviSearch(const FindNaviSearch&) = delete;
    FindNaviSearch& operator=(const FindNaviSearch&) = delete;

    // Counts the hits and opens their statement; false when `turn` stopped it on the way.
    // Throws DatabaseError.
    bool start();
    int total() const { return m_total; }
    // Appends hits until maxRows are read or the deadline has passed; false once every hit is
    // read or the run was stopped. Throws DatabaseError.
    bool read(QList<NaviRow>* rows, int maxRows, const QDeadlineTimer& deadline);
    // Releases the statement; read() answers false from now on.
    void abandon();

private:
    bool progress();

    FindNaviCriteria m_criteria;
    std::function<bool()> m_turn;
    QString m_connectionName;
    QSqlDatabase m_db;
    std::unique_ptr<SqliteProgressHandler> m_progress;
    bool m_stopped = false;
    std::optional<QSqlQuery> m_query;
    int m_total = 0;
};
