#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>

class QAbstractScrollArea;
class QWidget;

// Tracks which of a window's lists and text panes is under the mouse and turns each wheel
// notch over it into three single-line scrolls (Ctrl does not page or zoom). Over a control
// marked as a font control, Ctrl+wheel asks the window to step the font instead.
class WheelRouter : public QObject
{
    Q_OBJECT
public:
    explicit WheelRouter(QObject* parent = nullptr);

    void track(QAbstractScrollArea* control, bool fontControl = false);
    QWidget* hoveredControl() const { return m_hovered; }

signals:
    // towardsUser: the wheel was turned towards the user (a negative or zero distance).
    void fontStepRequested(QWidget* control, bool towardsUser);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractScrollArea* controlOf(QObject* watched) const;

    QSet<QAbstractScrollArea*> m_controls;
    QSet<QAbstractScrollArea*> m_fontControls;
    QPointer<QWidget> m_hovered;
};
