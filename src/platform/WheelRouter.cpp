#include "platform/WheelRouter.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QFont>
#include <QWidget>
#include <QScrollBar>
#include <QWheelEvent>

WheelRouter::WheelRouter(QObject* parent) : QObject(parent) {}

void WheelRouter::track(QAbstractScrollArea* control, bool fontControl)
{
    m_controls.insert(control);
    if (fontControl)
        m_fontControls.insert(control);
    control->installEventFilter(this);
    control->viewport()->installEventFilter(this);
    if (QScrollBar* bar = control->verticalScrollBar())
        bar->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this, control] {
        m_controls.remove(control);
        m_fontControls.remove(control);
    });
}

void WheelRouter::swallow(QWidget* control)
{
    m_swallowed.insert(control);
    control->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this, control] { m_swallowed.remove(control); });
}

int WheelRouter::steppedFontSize(int points, bool towardsUser)
{
    if (towardsUser)
        return points <= 71 ? points + 2 : points;
    return points >= 5 ? points - 2 : points;
}

void WheelRouter::stepFont(QWidget* control, bool towardsUser)
{
    QFont font = control->font();
    const int size = steppedFontSize(font.pointSize(), towardsUser);
    if (size == font.pointSize())
        return;
    font.setPointSize(size);
    control->setFont(font);
}

QAbstractScrollArea* WheelRouter::controlOf(QObject* watched) const
{
    for (QAbstractScrollArea* control : m_controls)
        if (watched == control || watched == control->viewport() ||
            watched == control->verticalScrollBar())
            return control;
    return nullptr;
}

bool WheelRouter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::Enter && type != QEvent::Leave && type != QEvent::Wheel)
        return false;
    if (type == QEvent::Wheel && m_swallowed.contains(watched))
        return true;
    QAbstractScrollArea* control = controlOf(watched);
    if (!control)
        return false;
    if (type == QEvent::Enter) {
        m_hovered = control;
        return false;
    }
    if (type == QEvent::Leave) {
        if (watched == control && m_hovered == control)
            m_hovered = nullptr;
        return false;
    }
    auto* wheel = static_cast<QWheelEvent*>(event);
    const int distance = wheel->angleDelta().y();
    if (distance == 0 && wheel->angleDelta().x() != 0)
        return false; // a horizontal wheel is left to the control
    const bool towardsUser = distance <= 0;
    if ((wheel->modifiers() & Qt::ControlModifier) && m_fontControls.contains(control)) {
        emit fontStepRequested(control, towardsUser);
        return true;
    }
    QScrollBar* bar = control->verticalScrollBar();
    for (int i = 0; i < 3; ++i)
        bar->triggerAction(towardsUser ? QAbstractSlider::SliderSingleStepAdd
                                       : QAbstractSlider::SliderSingleStepSub);
    return true;
}
