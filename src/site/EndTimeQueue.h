#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// Auction ids of listed rows without an end time, in the order the listing query returned them.
// The query empties and refills it; the end-time lookup takes one id per timer tick. One lookup
// serves every row of a listing (several winners share it), so each id is queued once.
class EndTimeQueue
{
public:
    void clear()
    {
        m_ids.clear();
        m_queued.clear();
    }
    // Appends the id unless it is queued already.
    void enqueue(const QString& aid)
    {
        if (m_queued.contains(aid))
            return;
        m_queued.insert(aid);
        m_ids.append(aid);
    }
    bool isEmpty() const { return m_ids.isEmpty(); }
    // The number of ids still to look up.
    int pendingCount() const { return int(m_ids.size()); }
    // The front id, left in the queue; empty when the queue is empty.
    QString front() const { return m_ids.isEmpty() ? QString() : m_ids.first(); }
    // The front id, removed from the queue; empty when the queue is empty.
    QString dequeue()
    {
        if (m_ids.isEmpty())
            return QString();
        m_queued.remove(m_ids.first());
        return m_ids.takeFirst();
    }
    const QStringList& ids() const { return m_ids; }

private:
    QStringList m_ids;
    QSet<QString> m_queued;
};
