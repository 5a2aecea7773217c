#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

// Window bounds as read from setting.ini, brought onto a screen before a window takes them: a
// stored size larger than the screen or a position off every screen would give a window the
// user cannot reach, and a huge size asks the window system for a huge buffer.
namespace WindowBounds {

// Bounds as stored: any int each, so Left + Width may pass the range of int.
struct Stored
{
    qint64 left = 0;
    qint64 top = 0;
    qint64 width = 0;
    qint64 height = 0;
};

// The index into screens (available areas) of the one that holds the larger part of the
// bounds; primary when they lie on none.
int screenFor(const Stored& bounds, const QList<QRect>& screens, int primary);

// The bounds fitted into the area: the size at most the area's (and at least 1), then the
// position moved just far enough that the whole window lies inside. Bounds already inside stay
// as they are. An empty area leaves the size fitted only into the range of int.
QRect fitted(const Stored& bounds, const QRect& area);

// The same against the screens of the running program (their available geometry), for a window
// whose frame takes frame around the bounds.
QRect fittedToScreens(const Stored& bounds, const QMargins& frame = QMargins());

} // namespace WindowBounds
