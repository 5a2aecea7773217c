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
    // The wheel over this control is taken and does nothing.
    void swallow(QWidget* control);
    // The size after one Ctrl+wheel notch over a message text: 2 points larger (only up to 71)
    // or smaller (only down to 5); otherwise the same.
    static int steppedFontSize(int points, bool towardsUser);
    // Applies steppedFontSize to the control's font.
    static void stepFont(QWidget* control, bool towardsUser);
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
    QSet<QObject*> m_swallowed;
    QPointer<QWidget> m_hovered;
};
