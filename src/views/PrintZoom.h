#pragma once

#include <QStringList>

// The zoom steps of the print preview, in percent; 0 is the whole page fitted into the window.
namespace PrintZoom {

// The items of the zoom box in their order, and the zoom of each.
QStringList items();
int zoomOfItem(int index);
int itemOfZoom(int zoom); // -1 for a zoom that is no item

// One step up or down from the current zoom; the same zoom when there is no step.
int stepUp(int zoom);
int stepDown(int zoom);
// Whether the step buttons are enabled at a zoom.
bool canStepUp(int zoom);
bool canStepDown(int zoom);

} // namespace PrintZoom
