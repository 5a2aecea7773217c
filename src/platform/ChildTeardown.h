#pragma once

class QWidget;

// Qt destroys a widget's children only after the widget's own destructor body has run, and a
// child still sends signals and receives events while it goes. Called first in a window's
// destructor, this cuts every connection from the window's descendants to the window and to its
// helper objects (its direct children that are not widgets: event hooks, routers, timers), and
// removes those and the window as event filters from every descendant, so that nothing calls
// into the half-destroyed window.
void detachChildren(QWidget* window);
