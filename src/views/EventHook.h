#pragma once

#include <QObject>

#include <functional>

class QEvent;

// An event filter made of a function: the window's handlers for events that its widgets do not
// signal (a key with Ctrl, a Ctrl+click, a drag over a panel). The function returns true to
// consume the event.
class EventHook : public QObject
{
public:
    using Handler = std::function<bool(QObject* watched, QEvent* event)>;

    EventHook(Handler handler, QObject* parent) : QObject(parent), m_handler(std::move(handler)) {}
    // Watches the object; the hook is owned by its parent.
    void watch(QObject* target) { target->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return m_handler(watched, event) || QObject::eventFilter(watched, event);
    }

private:
    Handler m_handler;
};
