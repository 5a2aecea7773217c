#include "platform/WindowBounds.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace {

// Overlap of [start, start + length) with [areaStart, areaStart + areaLength), never negative.
qint64 overlap(qint64 start, qint64 length, qint64 areaStart, qint64 areaLength)
{
    const qint64 from = std::max(start, areaStart);
    const qint64 to = std::min(start + std::max<qint64>(length, 0), areaStart + areaLength);
    return std::max<qint64>(to - from, 0);
}

// One axis: the length clamped to [1, areaLength], the start moved inside the area.
std::pair<qint64, qint64> fitAxis(qint64 start, qint64 length, qint64 areaStart,
                                  qint64 areaLength)
{
    const qint64 fittedLength = std::clamp<qint64>(length, 1, std::max<qint64>(areaLength, 1));
    const qint64 lastStart = areaStart + std::max<qint64>(areaLength - fittedLength, 0);
    return {std::clamp(start, areaStart, lastStart), fittedLength};
}

int toInt(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min() / 2,
                                  std::numeric_limits<int>::max() / 2));
}

} // namespace

namespace WindowBounds {

int screenFor(const Stored& bounds, const QList<QRect>& screens, int primary)
{
    int best = primary;
    qint64 bestArea = 0;
    for (int i = 0; i < screens.size(); ++i) {
        const QRect& area = screens[i];
        const qint64 shared = overlap(bounds.left, bounds.width, area.x(), area.width()) *
                              overlap(bounds.top, bounds.height, area.y(), area.height());
        if (shared > bestArea) {
            bestArea = shared;
            best = i;
        }
    }
    return best;
}

QRect fitted(const Stored& bounds, const QRect& area)
{
    if (area.isEmpty()) {
        // Nothing to fit into: only keep the numbers where a QRect can hold them.
        return QRect(toInt(bounds.left), toInt(bounds.top), toInt(std::max<qint64>(bounds.width, 1)),
                     toInt(std::max<qint64>(bounds.height, 1)));
    }
    const auto [left, width] = fitAxis(bounds.left, bounds.width, area.x(), area.width());
    const auto [top, height] = fitAxis(bounds.top, bounds.height, area.y(), area.height());
    return QRect(int(left), int(top), int(width), int(height));
}

QRect fittedToScreens(const Stored& bounds, const QMargins& frame)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    QList<QRect> areas;
    int primary = -1;
    for (QScreen* screen : screens) {
        if (screen == QGuiApplication::primaryScreen())
            primary = int(areas.size());
        areas << screen->availableGeometry().marginsRemoved(frame);
    }
    if (areas.isEmpty())
        return fitted(bounds, QRect());
    const int chosen = screenFor(bounds, areas, std::max(primary, 0));
    return fitted(bounds, areas[chosen]);
}

} // namespace WindowBounds
