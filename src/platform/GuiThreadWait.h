#pragma once

#include <QPointer>

#include <functional>

class QObject;
class QWidget;

// Waiting on the GUI thread for work done elsewhere (a request on the network thread) while the
// windows keep painting.
//
// What runs while a wait is under way: paint and layout events, timers, queued calls and signals
// from other threads (a download thread's hand-overs), socket notifiers (the stop signal), and
// deferred deletes posted by code that runs inside the wait. A box or window that opens inside
// the wait (a timer's, a hand-over's, an error box) takes input as usual. What does not run: user
// input to the windows that were shown when the wait began, which is kept (InputHold) and handed
// on in its order once the operation that waited has returned to its event loop, and deferred
// deletes posted before it. Only one wait processes events at a time: a wait asked for by code
// that runs inside another (a timer's handler, a queued call) blocks without running events, so
// nothing re-enters the operation that waits.
//
// The program's stop request (SIGTERM, or the main window's close) ends every wait at once, and
// later waits end as soon as they start: the program is ending. A desktop close of the program's
// window, or of the window a wait belongs to (Owner), ends the wait the same way, and later waits
// until the window has been closed, once the operation that waited has returned. The close of
// any other window is carried out at once, and the wait goes on.
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

// The window whose close ends the program: its close from the desktop ends every wait.
void setProgramWindow(QWidget* window);

// While it lives, the waits that begin on the GUI thread belong to window as well: its close from
// the desktop ends them. For an operation of a side window (a composer's account check).
class Owner
{
public:
    explicit Owner(QWidget* window);
    ~Owner();
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
};

// Asks every wait to end. Safe in a signal handler.
void requestStop();
bool isStopRequested();
// Forgets a stop request (tests that raise one and go on).
void clearStop();

// Runs fn now when no wait is under way, otherwise once the operation that waited has returned
// to its event loop and no wait has begun again; nothing when context is destroyed first. For
// work that must not run inside the operation that waits (closing the program, a dialog that
// answers a request).
void runOutsideWaits(QObject* context, std::function<void()> fn);

} // namespace GuiThreadWait
