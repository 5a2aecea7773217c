#pragma once

#include <functional>

class QObject;

// Runs task once control is back in the event loop that is running now, by Qt's rule for
// deferred deletes: not inside an event loop opened meanwhile (a modal box), and not inside
// events that the code running now processes itself; nothing when context is destroyed first.
// On the GUI thread only.
void runWhenBackInTheLoop(QObject* context, std::function<void()> task);
