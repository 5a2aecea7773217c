#pragma once

#include <QByteArray>
#include <QProgressBar>

// What a progress bar shows, as Qt's styles draw it.
namespace ProgressBarState {

// The styles draw the animated busy bar exactly when minimum and maximum are both 0.
inline bool animates(const QProgressBar* bar)
{
    return bar->minimum() == 0 && bar->maximum() == 0;
}

// An idle bar stands still and shows no progress.
inline bool idle(const QProgressBar* bar)
{
    return !animates(bar) && bar->value() <= bar->minimum();
}

inline QByteArray describe(const QProgressBar* bar)
{
    return bar->objectName().toUtf8() + " range " + QByteArray::number(bar->minimum()) + ".." +
           QByteArray::number(bar->maximum()) + " value " + QByteArray::number(bar->value());
}

} // namespace ProgressBarState

// Fails the test unless the bar is idle.
#define VERIFY_IDLE_BAR(bar)                                                                       \
    QVERIFY2(ProgressBarState::idle(bar), ProgressBarState::describe(bar).constData())
