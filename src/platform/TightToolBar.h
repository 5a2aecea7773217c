#pragma once

#include <QToolBar>

// A tool bar whose text buttons are as wide as their text and frame, without the blank Qt adds
// on either side of the text, so a long row of text buttons takes less room.
class TightToolBar : public QToolBar
{
    Q_OBJECT
public:
    using QToolBar::QToolBar;

protected:
    void actionEvent(QActionEvent* event) override;
};
