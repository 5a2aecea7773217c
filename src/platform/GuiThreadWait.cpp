#include "platform/GuiThreadWait.h"

#include "platform/BackInTheLoop.h"
#include "platform/InputHold.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QList>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <utility>

namespace {

// Lock-free, so the signal handler may set it.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// GUI thread only.
int activeWaits = 0;
QList<std::pair<QPointer<QObject>, std::function<void()>>> afterWaits;
QPointer<QWidget> programWindow;
QList<QPointer<QWidget>> owners;

constexpr int lookAgainMs = 100;

bool onGuiThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// The user input that comes while a wait runs; made with the first wait.
InputHold* inputHold()
{
    static QPointer<InputHold> hold;
    if (!hold) {
        QCoreApplication* app = QCoreApplication::instance();
        hold = new InputHold(app);
        app->installEventFilter(hold);
    }
    return hold;
}

// The windows whose close from the desktop ends a wait that begins now.
QList<QPointer<QWidget>> endingWindows()
{
    QList<QPointer<QWidget>> windows = owners;
    if (programWindow)
        windows << programWindow;
    return windows;
}

void releaseAfterWaits(InputHold* hold)
{
    const auto queued = std::exchange(afterWaits, {});
    for (const auto& [context, fn] : queued)
        if (context)
            runWhenBackInTheLoop(context.data(), [context = context, fn = fn] {
                GuiThreadWait::runOutsideWaits(context.data(), fn);
            });
    // The input that came meanwhile runs after them, the same way.
    hold->endWait();
}

} // namespace

namespace GuiThreadWait {

bool canProcessEvents()
{
    return onGuiThread() && activeWaits == 0;
}

bool isActive()
{
    return activeWaits > 0;
}

bool wait(const std::function<bool()>& done, const std::function<bool()>& giveUp)
{
    InputHold* hold = inputHold();
    if (activeWaits++ == 0)
        hold->beginWait(endingWindows());
    // Wakes the sleeping loop now and then to look at the stop request and giveUp().
    QTimer lookAgain;
    lookAgain.start(lookAgainMs);
    bool finished = false;
    while (true) {
        if (done()) {
            finished = true;
            break;
        }
        // A kept close request ends the wait as the stop request does.
        if (isStopRequested() || hold->closeRequested() || giveUp())
            break;
        // Input is kept by the hold rather than left to Qt, which would keep every close request
        // and the input of a box opened meanwhile too.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    lookAgain.stop();
    if (--activeWaits == 0)
        releaseAfterWaits(hold);
    return finished;
}

void wakeUp()
{
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(app->thread()))
        dispatcher->wakeUp();
}

void setProgramWindow(QWidget* window)
{
    programWindow = window;
}

Owner::Owner(QWidget* window)
{
    owners.append(window);
}

Owner::~Owner()
{
    owners.removeLast();
}

void requestStop()
{
    stopRequested.store(true);
}

bool isStopRequested()
{
    return stopRequested.load();
}

void clearStop()
{
    stopRequested.store(false);
}

void runOutsideWaits(QObject* context, std::function<void()> fn)
{
    if (!context)
        return;
    if (activeWaits == 0) {
        fn();
        return;
    }
    afterWaits.append({QPointer<QObject>(context), std::move(fn)});
}

} // namespace GuiThreadWait
