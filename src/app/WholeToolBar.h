#pragma once

#include <QToolBar>

// A tool bar that keeps every item on screen while it lies horizontally: its least width is its
// full width, so a crowded row squeezes its neighbours into their overflow first.
class WholeToolBar : public QToolBar
{
    Q_OBJECT
public:
    using QToolBar::QToolBar;

    QSize minimumSizeHint() const override;
};
