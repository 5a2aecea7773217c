#include "AnswerGate.h"

#include <QDeadlineTimer>

void AnswerGate::pass(unsigned long boundMs)
{
    QMutexLocker lock(&m_mutex);
    ++m_arrivals;
    const QDeadlineTimer deadline{qint64(boundMs)};
    while (!m_open)
        if (!m_opened.wait(&m_mutex, deadline))
            return;
}

void AnswerGate::open()
{
    QMutexLocker lock(&m_mutex);
    m_open = true;
    m_opened.wakeAll();
}

int AnswerGate::arrivals() const
{
    QMutexLocker lock(&m_mutex);
    return m_arrivals;
}
