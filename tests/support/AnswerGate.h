#pragma once

#include <QMutex>
#include <QWaitCondition>

// Holds fake-site answers until the test lets them go, so that a download can be caught in the
// middle of a request. A handler calls pass() on the server's thread; the test watches
// arrivals() (with QTRY_*, so its own events keep running) and calls open().
class AnswerGate
{
public:
    AnswerGate() = default;
    ~AnswerGate() { open(); }
    AnswerGate(const AnswerGate&) = delete;
    AnswerGate& operator=(const AnswerGate&) = delete;

    // Counts the arrival and waits until the gate is open; a gate never opened lets the answer
    // go after boundMs, so a failing test cannot hang the server.
    void pass(unsigned long boundMs = 30000);
    void open();
    int arrivals() const;

private:
    mutable QMutex m_mutex;
    QWaitCondition m_opened;
    bool m_open = false;
    int m_arrivals = 0;
};
