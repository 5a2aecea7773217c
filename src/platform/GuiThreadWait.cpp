#include "platform/GuiThreadWait.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QList>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <utility>

namespace {

// Lock-free, so the signal handler may set it.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// GUI thread only.
int activeWaits = 0;
QList<std::pair<QPointer<QObject>, std::function<void()>>> afterWaits;

constexpr int lookAgainMs = 100;

bool onGuiThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void releaseAfterWaits()
{
    const auto queued = std::exchange(afterWaits, {});
    for (const auto& [context, fn] : queued)
        if (context)
            QTimer::singleShot(0, context.data(), [context = context, fn = fn] {
                GuiThreadWait::runOutsideWaits(context.data(), fn);
            });
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
    ++activeWaits;
    // Wakes the sleeping loop now and then to look at the stop request and giveUp().
    QTimer lookAgain;
    lookAgain.start(lookAgainMs);
    bool finished = false;
    while (true) {
        if (done()) {
            finished = true;
            break;
        }
        if (isStopRequested() || giveUp())
            break;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
    }
    lookAgain.stop();
    if (--activeWaits == 0)
        releaseAfterWaits();
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
