#include "app/WholeToolBar.h"

QSize WholeToolBar::minimumSizeHint() const
{
    const QSize least = QToolBar::minimumSizeHint();
    if (orientation() != Qt::Horizontal)
        return least;
    return {sizeHint().width(), least.height()};
}
