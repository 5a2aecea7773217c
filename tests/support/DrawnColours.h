#pragma once

class QWidget;

// What a widget draws, read back from its picture.
namespace DrawnColours {

// True when the widget draws any bright red pixel (text that markup coloured, a red picture).
bool drawsBrightRed(QWidget* widget);

} // namespace DrawnColours
