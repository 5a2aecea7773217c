#include "platform/FirstPaint.h"

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace {

// A window manager may never expose a window (another desktop, a covered screen); the steps
// then run after this long all the same.
constexpr int paintWaitLimitMs = 1000;

class FirstPaintWatcher : public QObject
{
public:
    FirstPaintWatcher(QWidget* window, std::function<void()> fn)
        : QObject(window), m_window(window), m_fn(std::move(fn))
    {
        window->installEventFilter(this);
        QTimer::singleShot(paintWaitLimitMs, this, [this] { fire(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint) {
            // Queued, so that the painted frame reaches the screen before fn blocks the thread.
            QTimer::singleShot(0, this, [this] { fire(); });
            m_window->removeEventFilter(this);
        }
        return false;
    }

private:
    void fire()
    {
        if (m_fired)
            return;
        m_fired = true;
        m_window->removeEventFilter(this);
        const std::function<void()> fn = std::move(m_fn);
        deleteLater();
        fn();
    }

    QWidget* m_window;
    std::function<void()> m_fn;
    bool m_fired = false;
};

} // namespace

void runAfterFirstPaint(QWidget* window, std::function<void()> fn)
{
    if (!window->isVisible() || window->isMinimized()) {
        QTimer::singleShot(0, window, std::move(fn));
        return;
    }
    new FirstPaintWatcher(window, std::move(fn));
}
