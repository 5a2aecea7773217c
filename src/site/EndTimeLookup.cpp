#include "site/EndTimeLookup.h"

#include "platform/Sql.h"
#include "site/EndTimeQueue.h"

namespace EndTimeLookup {

namespace {

bool othersRun(const Busy& busy)
{
    return busy.downloadKind != 0 || busy.postRunning;
}

} // namespace

Start startOf(const Busy& busy, const EndTimeQueue& queue)
{
    if (busy.tickInFlight || othersRun(busy))
        return Start::Wait;
    return queue.isEmpty() ? Start::StopTimer : Start::Begin;
}

std::optional<QString> idToAsk(const Busy& busy, const EndTimeQueue& queue)
{
    if (othersRun(busy) || queue.isEmpty())
        return std::nullopt;
    return queue.front();
}

bool commandsComeBack(const Busy& busy)
{
    return busy.downloadKind == 0;
}

bool timerWanted(const EndTimeQueue& queue)
{
    return !queue.isEmpty();
}

void store(const QSqlDatabase& db, const QString& aid, const QString& loginId,
           const QString& endTime)
{
    // "+LoginId" keeps the column's collation but steers the planner to the auction-id index:
    // without statistics it would walk every row of the account instead.
    Sql::exec(db,
              QStringLiteral("UPDATE T_BidData SET EndDataTime=:END_TIME WHERE Aid=:AID AND "
                             "+LoginId=:LOGIN_ID"),
              {{QStringLiteral(":END_TIME"), endTime},
               {QStringLiteral(":AID"), aid},
               {QStringLiteral(":LOGIN_ID"), loginId}});
}

QList<int> rowsOfListing(int rowCount, const std::function<QString(int)>& aidOfRow,
                         const QString& aid)
{
    QList<int> rows;
    for (int row = 0; row < rowCount; ++row)
        if (aidOfRow(row) == aid)
            rows.append(row);
    return rows;
}

} // namespace EndTimeLookup
