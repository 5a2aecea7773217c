#pragma once

#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <memory>

class QEvent;
class QWidget;

// Keeps the user input that reaches the program's windows while holding() is true, and hands it
// on in the order it came once it is false: mouse, wheel, keys, touch and tablet events, window
// enter and leave, context-menu requests and the shortcuts the keys resolved to. Input that comes
// while older input is still kept waits behind it.
//
// A window's close request from the desktop (a spontaneous close of a top-level window) is kept
// as well, in its place among the input, and tells the holder that it should end: closeRequested()
// is true until the close has been handed on, as a close() of the window.
//
// Installed as an event filter on the application; only what the window system sends is kept,
// events a program or a test sends to a widget itself pass.
class InputHold : public QObject
{
public:
    InputHold(std::function<bool()> holding, QObject* parent);
    ~InputHold() override;

    bool isEmpty() const { return m_held.empty(); }
    bool closeRequested() const { return m_closes > 0; }
    // Hands the kept input on, oldest first, for as long as holding() stays false.
    void release();

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    struct Held
    {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event; // none: a close request of the receiver
    };
    static bool isWindowInput(const QObject* receiver, const QEvent* event);
    static bool isCloseRequest(const QObject* receiver, const QEvent* event);
    void deliver(Held& held);

    std::function<bool()> m_holding;
    std::deque<Held> m_held;
    // The event being handed on, which passes the filter.
    const QEvent* m_delivering = nullptr;
    int m_closes = 0;
};
