#include "platform/ChildTeardown.h"

#include <QLayout>
#include <QList>
#include <QObject>
#include <QWidget>

void detachChildren(QWidget* window)
{
    QList<QObject*> receivers{window};
    for (QObject* child : window->children())
        if (!child->isWidgetType() && !qobject_cast<QLayout*>(child))
            receivers.append(child);
    const QList<QObject*> descendants = window->findChildren<QObject*>();
    for (QObject* descendant : descendants)
        for (QObject* receiver : std::as_const(receivers)) {
            QObject::disconnect(descendant, nullptr, receiver, nullptr);
            descendant->removeEventFilter(receiver);
        }
}
