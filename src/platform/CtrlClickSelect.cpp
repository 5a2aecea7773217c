#include "platform/CtrlClickSelect.h"

#include <QLineEdit>
#include <QMouseEvent>

void CtrlClickSelect::install(QLineEdit* edit)
{
    edit->installEventFilter(new CtrlClickSelect(edit));
}

void CtrlClickSelect::installBelow(QWidget* root)
{
    for (QLineEdit* edit : root->findChildren<QLineEdit*>())
        install(edit);
}

bool CtrlClickSelect::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier))
            if (auto* edit = qobject_cast<QLineEdit*>(watched))
                edit->selectAll();
    }
    return false;
}
