#pragma once

#include <functional>

class QWidget;

// Runs fn once the window has been painted for the first time (or at once, queued, when it is
// not shown on screen: minimised or hidden), so that steps that wait on the network start after
// the user sees the window, not on a blank one. fn does not run if the window is destroyed first.
void runAfterFirstPaint(QWidget* window, std::function<void()> fn);
