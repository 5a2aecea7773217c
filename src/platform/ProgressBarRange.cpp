#include "platform/ProgressBarRange.h"

#include <QProgressBar>

#include <algorithm>

namespace ProgressBarRange {

void setIdle(QProgressBar* bar)
{
    bar->setRange(0, 1);
    bar->reset();
}

void start(QProgressBar* bar, int maximum)
{
    bar->setRange(0, std::max(1, maximum));
    bar->setValue(0);
}

} // namespace ProgressBarRange
