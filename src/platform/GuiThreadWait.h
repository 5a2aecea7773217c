#pragma once

#include <QPointer>

#include <functional>

class QObject;

// Waiting on the GUI thread for work done elsewhere (a request on the network thread) while the
// windows keep painting.
//
// What runs while a wait is under way: paint and layout events, timers, queued calls and signals
// from other threads (a download thread's hand-overs), socket notifiers (the stop signal), and
// deferred deletes posted by code that runs inside the wait. What does not: user input (mouse,
// keys, shortcuts), which is kept (InputHold) and runs in its order once the operation that
// waited has returned, and deferred deletes posted before it. Only one wait processes events at
// a time: a wait asked for by code that runs inside another (a timer's handler, a queued call)
// blocks without running events, so nothing re-enters the operation that waits.
//
// The program's stop request (SIGTERM, or the main window's close) ends every wait at once, and
// later waits end as soon as they start: the program is ending. A window's close request from the
// desktop ends the waits the same way until the window has been closed, once the operation that
// waited has returned.
namespace GuiThreadWait {

// True on the GUI thread when no other wait processes events.
bool canProcessEvents();
// True while a wait processes events.
bool isActive();

// Processes the GUI thread's events but user input until done() is true (false is returned
// then only when the stop is requested or giveUp() says so first). Call it where
// canProcessEvents() is true; done() is asked after every pass, and at least every 100 ms.
bool wait(const std::function<bool()>& done, const std::function<bool()>& giveUp);
// Makes a wait that sleeps look at its done() again; any thread may call it.
void wakeUp();

// Asks every wait to end. Safe in a signal handler.
void requestStop();
bool isStopRequested();
// Forgets a stop request (tests that raise one and go on).
void clearStop();

// Runs fn now when no wait is under way, otherwise queued once the last one has returned and
// none has begun again; nothing when context is destroyed first. For work that must not run
// inside the operation that waits (closing the program, a dialog that answers a request).
void runOutsideWaits(QObject* context, std::function<void()> fn);

} // namespace GuiThreadWait
