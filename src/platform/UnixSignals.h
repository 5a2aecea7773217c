#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a Qt signal on the GUI thread, so the desktop's way to end a
// program closes the main window like the exit command does. The signal also ends at once any
// wait of the GUI thread for a request (GuiThreadWait), so the close is not held by the site.
class UnixSignals : public QObject
{
    Q_OBJECT
public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;

signals:
    void terminateRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
