#pragma once

#include "site/EndTimeQueue.h"

#include <QObject>
#include <QString>

class NaviSession;
class QTimer;

// The end-time lookup: one listing without an end time per tick of the lookup timer, asked of
// the item web service while nothing else runs, written to the database and to every row of
// the listing list that shows that listing. The listing query fills the queue and starts the
// timer.
class EndTimeControl : public QObject
{
    Q_OBJECT
public:
    // What the lookup asks of the main window.
    class Window
    {
    public:
        virtual ~Window() = default;
        // The four download commands a tick holds: off while it asks, back on after.
        virtual void setHeldCommandsEnabled(bool enabled) = 0;
        // The end time into every row of the listing list that shows the listing.
        virtual void showEndTime(const QString& aid, const QString& endTime) = 0;
    };

    // timer: the window's lookup timer; its ticks run TimerEndDateTimeTimer.
    EndTimeControl(NaviSession& session, Window& window, QTimer* timer, QObject* parent = nullptr);

    void TimerEndDateTimeTimer();
    int endTimePendingCount() const { return endTimeQueue.pendingCount(); }

    // Auction ids still to look up, in the order of the listing list.
    EndTimeQueue endTimeQueue;
    // A tick is waiting for the web service (it runs pending events meanwhile).
    bool endTimeTickInFlight = false;

private:
    NaviSession& m_session;
    Window& m_window;
    QTimer* m_timer;
};
