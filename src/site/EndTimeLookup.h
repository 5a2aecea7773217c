#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

class EndTimeQueue;

// The decisions of one end-time lookup tick, apart from the window: whether it asks the item
// web service and for which listing, what it writes, which rows of the listing list change, and
// what becomes of the timer and the download commands it holds.
namespace EndTimeLookup {

// The lookup timer's interval while ids are pending.
constexpr int TickInterval = 20000;

// What else the window is doing when a tick comes.
struct Busy
{
    int downloadKind = 0;      // the download busy state; 0 when idle
    bool postRunning = false;  // a message post is under way
    bool tickInFlight = false; // an earlier tick has not returned yet
};

// How a tick begins.
enum class Start {
    Wait,      // something else runs: do nothing, the timer keeps running
    StopTimer, // no id is pending: stop the timer, ask nothing
    Begin,     // hold the commands and go on
};
Start startOf(const Busy& busy, const EndTimeQueue& queue);

// The listing the tick asks for once the window has run its pending events: the queue's front,
// or nothing when a download or a post has started meanwhile or the queue has become empty.
std::optional<QString> idToAsk(const Busy& busy, const EndTimeQueue& queue);

// The commands the tick held come back only while no download runs; a running download owns
// them (a post leaves them alone).
bool commandsComeBack(const Busy& busy);

// Whether the timer runs on after the tick.
bool timerWanted(const EndTimeQueue& queue);

// Writes the end time to every row of the listing under the account (several winners share a
// listing). Throws DatabaseError.
void store(const QSqlDatabase& db, const QString& aid, const QString& loginId,
           const QString& endTime);

// The positions of the rows whose auction id is aid, of rowCount rows read through aidOfRow.
QList<int> rowsOfListing(int rowCount, const std::function<QString(int)>& aidOfRow,
                         const QString& aid);

} // namespace EndTimeLookup
