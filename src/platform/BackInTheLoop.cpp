#include "platform/BackInTheLoop.h"

#include <QEvent>
#include <QObject>

#include <utility>

namespace {

// Deleted later; its deferred delete runs the task first.
class TaskOnDeferredDelete : public QObject
{
public:
    TaskOnDeferredDelete(QObject* context, std::function<void()> task)
        : QObject(context), m_task(std::move(task))
    {
    }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::DeferredDelete)
            if (const auto task = std::exchange(m_task, nullptr))
                task();
        return QObject::event(event);
    }

private:
    std::function<void()> m_task;
};

} // namespace

void runWhenBackInTheLoop(QObject* context, std::function<void()> task)
{
    (new TaskOnDeferredDelete(context, std::move(task)))->deleteLater();
}
