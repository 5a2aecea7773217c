#pragma once

class QWidget;

// A side window with no parent: its own taskbar entry, freed when it closes, and not counted
// when the program decides whether its last window has closed.
namespace ParentlessWindow {

void setUp(QWidget* window);

} // namespace ParentlessWindow
