#include "platform/InputHold.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QShortcut>
#include <QWidget>

#include <utility>

InputHold::InputHold(std::function<bool()> holding, QObject* parent)
    : QObject(parent), m_holding(std::move(holding))
{
}

InputHold::~InputHold() = default;

bool InputHold::isWindowInput(const QObject* receiver, const QEvent* event)
{
    switch (event->type()) {
    case QEvent::Shortcut:
        // What a key resolved to; its action runs when the key would have reached the window.
        return true;
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
        return event->spontaneous() && receiver->isWindowType();
    default:
        return false;
    }
}

bool InputHold::isCloseRequest(const QObject* receiver, const QEvent* event)
{
    // A close() of the program's own reaches the widget as a close event it sends itself.
    return event->type() == QEvent::Close && event->spontaneous() && receiver->isWidgetType() &&
           static_cast<const QWidget*>(receiver)->isWindow();
}

bool InputHold::eventFilter(QObject* receiver, QEvent* event)
{
    if (event == m_delivering)
        return false;
    const bool closeRequest = isCloseRequest(receiver, event);
    if (!closeRequest && !isWindowInput(receiver, event))
        return false;
    if (!m_holding()) {
        // Older input goes first.
        release();
        if (m_held.empty())
            return false;
    }
    if (closeRequest) {
        // Not closed now: the window stays as it is until the close is handed on.
        event->ignore();
        m_held.push_back({receiver, nullptr});
        ++m_closes;
    } else {
        m_held.push_back({receiver, std::unique_ptr<QEvent>(event->clone())});
    }
    return true;
}

void InputHold::release()
{
    while (!m_held.empty() && !m_holding()) {
        Held next = std::move(m_held.front());
        m_held.pop_front();
        if (!next.event)
            --m_closes;
        deliver(next);
    }
}

void InputHold::deliver(Held& held)
{
    if (!held.receiver)
        return;
    if (!held.event) {
        static_cast<QWidget*>(held.receiver.data())->close();
        return;
    }
    if (held.event->type() == QEvent::Shortcut) {
        // A command disabled meanwhile does not run.
        if (const auto* action = qobject_cast<const QAction*>(held.receiver.data());
            action && !action->isEnabled())
            return;
        if (const auto* shortcut = qobject_cast<const QShortcut*>(held.receiver.data());
            shortcut && !shortcut->isEnabled())
            return;
    }
    struct Delivering
    {
        const QEvent*& current;
        const QEvent* previous;
        ~Delivering() { current = previous; }
    } delivering{m_delivering, std::exchange(m_delivering, held.event.get())};
    QCoreApplication::sendEvent(held.receiver, held.event.get());
}
