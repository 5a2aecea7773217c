#pragma once

#include <QString>
#include <QStringList>

// Auction ids of listed rows without an end time, in the order the listing query returned them.
// The query empties and refills it; the end-time lookup takes one id per timer tick.
class EndTimeQueue
{
public:
    void clear() { m_ids.clear(); }
    void enqueue(const QString& aid) { m_ids.append(aid); }
    bool isEmpty() const { return m_ids.isEmpty(); }
    // The number of ids still to look up.
    int pendingCount() const { return int(m_ids.size()); }
    // The front id, removed from the queue; empty when the queue is empty.
    QString dequeue() { return m_ids.isEmpty() ? QString() : m_ids.takeFirst(); }
    const QStringList& ids() const { return m_ids; }

private:
    QStringList m_ids;
};
