#include "platform/InputHold.h"

#include "platform/BackInTheLoop.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QShortcut>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace {

int currentLoopLevel()
{
    return QThread::currentThread()->loopLevel();
}

QWidget* widgetOf(const QWindow* window)
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    const auto found = std::find_if(widgets.begin(), widgets.end(), [window](const QWidget* widget) {
        return widget->windowHandle() == window;
    });
    return found == widgets.end() ? nullptr : *found;
}

} // namespace

InputHold::InputHold(QObject* parent) : QObject(parent) {}

InputHold::~InputHold() = default;

void InputHold::beginWait(const QList<QPointer<QWidget>>& endingWindows)
{
    Batch batch;
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow* window : windows)
        if (window->isVisible())
            batch.windows << window;
    batch.endingWindows = endingWindows;
    batch.loopLevel = currentLoopLevel();
    m_batches.push_back(std::move(batch));
}

void InputHold::endWait()
{
    if (m_batches.empty() || !m_batches.back().waiting)
        return;
    const auto batch = std::prev(m_batches.end());
    batch->waiting = false;
    if (batch->held.empty()) {
        m_batches.erase(batch);
        return;
    }
    runWhenBackInTheLoop(this, [this, batch] { release(batch); });
}

bool InputHold::closeRequested() const
{
    return std::any_of(m_batches.begin(), m_batches.end(), [](const Batch& batch) {
        return std::any_of(batch.held.begin(), batch.held.end(),
                           [](const Held& held) { return !held.event; });
    });
}

QWindow* InputHold::inputWindow(QObject* receiver, const QEvent* event)
{
    switch (event->type()) {
    case QEvent::Shortcut:
        // What a key resolved to, in the window that had the keyboard.
        return QGuiApplication::focusWindow();
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::ContextMenu:
    case QEvent::NativeGesture:
        // The window system hands input to the window, which passes it on to its widgets.
        return event->spontaneous() && receiver->isWindowType() ? static_cast<QWindow*>(receiver)
                                                                : nullptr;
    default:
        return nullptr;
    }
}

bool InputHold::isCloseRequest(const QObject* receiver, const QEvent* event)
{
    // A close() of the program's own reaches the widget as a close event it sends itself.
    return event->type() == QEvent::Close && event->spontaneous() && receiver->isWidgetType() &&
           static_cast<const QWidget*>(receiver)->isWindow();
}

bool InputHold::isBlocked(QWindow* window)
{
    const QWidget* modal = QApplication::activeModalWidget();
    const QWidget* target = widgetOf(window);
    if (!modal || !target)
        return false;
    if (modal->windowModality() == Qt::WindowModal) {
        // Only the windows it stands on.
        for (const QWidget* below = modal->parentWidget(); below; below = below->parentWidget())
            if (below->window() == target)
                return true;
        return false;
    }
    for (const QWidget* widget = target; widget; widget = widget->parentWidget())
        if (widget == modal)
            return false;
    return true;
}

bool InputHold::stillWanted(const Held& held)
{
    if (!held.receiver || !held.window || isBlocked(held.window))
        return false;
    if (!held.event)
        return true;
    if (!held.window->isVisible())
        return false;
    if (held.event->type() == QEvent::Shortcut) {
        // A command disabled or hidden meanwhile does not run.
        if (const auto* action = qobject_cast<const QAction*>(held.receiver.data()))
            return action->isEnabled();
        if (const auto* shortcut = qobject_cast<const QShortcut*>(held.receiver.data()))
            return shortcut->isEnabled();
    }
    return true;
}

InputHold::Batch* InputHold::batchFor(QWindow* window)
{
    if (m_batches.empty())
        return nullptr;
    Batch& newest = m_batches.back();
    if (!newest.windows.contains(window))
        return nullptr;
    // After its wait, only input of the loop the kept input goes back to waits behind it; a box
    // or loop opened meanwhile takes its input, and so does an operation that kept input started.
    const bool behind = newest.loopLevel == currentLoopLevel() && m_deliveries == 0;
    return newest.waiting || behind ? &newest : nullptr;
}

bool InputHold::keepClose(QWidget* window, QEvent* event)
{
    Batch* batch = batchFor(window->windowHandle());
    if (!batch || (batch->waiting && !batch->endingWindows.contains(window)))
        return false;
    // Not closed now: the window stays as it is until the close is handed on.
    event->ignore();
    batch->held.push_back({window, window->windowHandle(), nullptr});
    return true;
}

bool InputHold::eventFilter(QObject* receiver, QEvent* event)
{
    if (event == m_delivering)
        return false;
    if (event->type() == QEvent::Show) {
        if (m_deliveries > 0 && receiver->isWidgetType()) {
            const auto* widget = static_cast<const QWidget*>(receiver);
            if (widget->isWindow() && widget->windowType() != Qt::ToolTip)
                m_windowShown = true;
        }
        return false;
    }
    if (isCloseRequest(receiver, event))
        return keepClose(static_cast<QWidget*>(receiver), event);
    QWindow* window = inputWindow(receiver, event);
    if (!window)
        return false;
    Batch* batch = batchFor(window);
    if (!batch)
        return false;
    batch->held.push_back({receiver, window, std::unique_ptr<QEvent>(event->clone())});
    return true;
}

void InputHold::release(Batches::iterator batch)
{
    while (!batch->held.empty()) {
        Held next = std::move(batch->held.front());
        batch->held.pop_front();
        if (!stillWanted(next))
            continue;
        const bool shownBefore = std::exchange(m_windowShown, false);
        deliver(next);
        const bool shown = std::exchange(m_windowShown, shownBefore || m_windowShown);
        if (shown) {
            // What was typed behind the window that opened is not delivered behind it.
            batch->held.clear();
        }
    }
    m_batches.erase(batch);
}

void InputHold::deliver(Held& held)
{
    struct Delivering
    {
        InputHold& hold;
        const QEvent* previous;
        ~Delivering()
        {
            hold.m_delivering = previous;
            --hold.m_deliveries;
        }
    } delivering{*this, std::exchange(m_delivering, held.event.get())};
    ++m_deliveries;
    if (!held.event) {
        static_cast<QWidget*>(held.receiver.data())->close();
        return;
    }
    QCoreApplication::sendEvent(held.receiver, held.event.get());
}
