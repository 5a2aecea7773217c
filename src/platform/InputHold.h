#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <deque>
#include <list>
#include <memory>

class QEvent;
class QWidget;
class QWindow;

// Keeps the user input that the window system hands to the program's windows while the GUI
// thread waits, and hands it on once the code that waited has returned to the event loop it was
// called from: mouse, wheel, keys, touch and tablet events, window enter and leave, context-menu
// requests and the shortcuts the keys resolved to.
//
// Only what reaches a window that was shown when the wait began is kept. A box or window that
// opens during the wait (a timer's, a queued hand-over's, an error box) takes its input at once,
// under Qt's modality, so it can be answered and the wait can return.
//
// A desktop close of one of the wait's ending windows (the main window, the window the waiting
// operation belongs to) is kept as well, in its place among the input, and closeRequested() tells
// the wait to end; it is handed on as a close() of the window. The close of any other window is
// carried out at once and the wait goes on.
//
// Kept input is handed on in the order it came, as live input would be: nothing goes to a window
// that a modal dialog blocks, that is hidden or gone, and no shortcut runs a command that is
// disabled or hidden by then. When a handed-on event opens a window (the find dialog of a held
// Ctrl+F), the input kept behind it is dropped: it was meant for the window the user saw, not
// for the one that now stands in front. Input that comes in the same event loop while older
// input is still kept waits behind it, unless it comes while an operation that kept input
// started runs.
//
// Installed as an event filter on the application; only what the window system sends is kept,
// events a program or a test sends to a widget itself pass.
class InputHold : public QObject
{
public:
    explicit InputHold(QObject* parent);
    ~InputHold() override;

    // A wait begins: from now on the input of the windows shown now is kept, and so are desktop
    // closes of endingWindows.
    void beginWait(const QList<QPointer<QWidget>>& endingWindows);
    // The wait has ended: what it kept is handed on once control is back in the event loop that
    // was running when it began (Qt's rule for deferred deletes: not inside a box the operation
    // opens next, nor inside an event the operation processes itself).
    void endWait();

    // A kept close ends every wait until it has been handed on.
    bool closeRequested() const;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    struct Held
    {
        QPointer<QObject> receiver;
        QPointer<QWindow> window;      // the window it was meant for
        std::unique_ptr<QEvent> event; // none: a close request of the receiver
    };
    // The input of one wait, with the windows it keeps input for.
    struct Batch
    {
        QList<QPointer<QWindow>> windows;
        QList<QPointer<QWidget>> endingWindows;
        std::deque<Held> held;
        int loopLevel = 0;
        bool waiting = true;
    };
    using Batches = std::list<Batch>;

    static QWindow* inputWindow(QObject* receiver, const QEvent* event);
    static bool isCloseRequest(const QObject* receiver, const QEvent* event);
    static bool isBlocked(QWindow* window);
    static bool stillWanted(const Held& held);

    // The batch that input reaching window at this moment belongs in, or none.
    Batch* batchFor(QWindow* window);
    bool keepClose(QWidget* window, QEvent* event);
    void release(Batches::iterator batch);
    void deliver(Held& held);

    Batches m_batches; // oldest first
    // The event being handed on, which passes the filter.
    const QEvent* m_delivering = nullptr;
    int m_deliveries = 0;
    // A window was shown while an event was handed on.
    bool m_windowShown = false;
};
