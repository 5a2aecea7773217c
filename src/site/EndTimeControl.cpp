#include "site/EndTimeControl.h"

#include "common/NaviSession.h"
#include "site/EndTimeLookup.h"
#include "site/htmlYahoo.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

EndTimeLookup::Busy busyOf(const NaviSession& session, bool tickInFlight)
{
    return {session.downloadKind, session.postingMessage, tickInFlight};
}

} // namespace

EndTimeControl::EndTimeControl(NaviSession& session, Window& window, QTimer* timer, QObject* parent)
    : QObject(parent), m_session(session), m_window(window), m_timer(timer)
{
    connect(m_timer, &QTimer::timeout, this, &EndTimeControl::TimerEndDateTimeTimer);
}

void EndTimeControl::TimerEndDateTimeTimer()
{
    switch (EndTimeLookup::startOf(busyOf(m_session, endTimeTickInFlight), endTimeQueue)) {
    case EndTimeLookup::Start::Wait:
        return;
    case EndTimeLookup::Start::StopTimer:
        m_timer->stop();
        return;
    case EndTimeLookup::Start::Begin:
        break;
    }
    endTimeTickInFlight = true;
    m_window.setHeldCommandsEnabled(false);
    // Ends the tick: the commands come back unless a download has taken them over, and the
    // timer stops once no id is pending.
    const auto finish = [this] {
        if (EndTimeLookup::commandsComeBack(busyOf(m_session, false)))
            m_window.setHeldCommandsEnabled(true);
        if (!EndTimeLookup::timerWanted(endTimeQueue))
            m_timer->stop();
        endTimeTickInFlight = false;
    };

    // Repaint the commands; a download started meanwhile keeps the id for a later tick.
    QCoreApplication::processEvents();
    const std::optional<QString> aid =
        EndTimeLookup::idToAsk(busyOf(m_session, false), endTimeQueue);
    if (!aid) {
        finish();
        return;
    }
    const QString endTime = htmlYahoo().getEndTime(*aid);
    // The id is dropped whatever the answer; a failed lookup waits for the next listing query.
    endTimeQueue.dequeue();
    try {
        if (!endTime.isEmpty()) {
            EndTimeLookup::store(m_session.connection, *aid, m_session.loginId, endTime);
            m_window.showEndTime(*aid, endTime);
        }
    } catch (...) {
        // A database that refuses the write (a full disk) would refuse every later id too: the
        // lookup stops until the next listing query, and the error is shown once.
        endTimeQueue.clear();
        finish();
        throw;
    }
    finish();
}
