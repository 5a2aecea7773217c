#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGHUP (the terminal or the session going away) and SIGINT into a Qt signal on
// the GUI thread, so the desktop's way to end a program closes the main window like the exit
// command does. The signal also ends at once any wait of the GUI thread for a request
// (GuiThreadWait), so the close is not held by the site. Made first thing at start: a request
// that comes while the program is still starting (a long database upgrade) waits until the
// window can close in order.
class UnixSignals : public QObject
{
    Q_OBJECT
public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;

    // True once a stop request has come since this object was made, also one that came before
    // anyone was connected to terminateRequested.
    bool isTerminateRequested() const;

signals:
    void terminateRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
