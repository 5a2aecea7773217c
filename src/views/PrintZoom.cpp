#include "views/PrintZoom.h"

namespace PrintZoom {

namespace {

constexpr int zooms[] = {200, 150, 100, 75, 50, 25, 0};

} // namespace

QStringList items()
{
    return {"200%", "150%", "100%", "75%", "50%", "25%", "ページ全体"};
}

int zoomOfItem(int index)
{
    return index >= 0 && index < 7 ? zooms[index] : -1;
}

int itemOfZoom(int zoom)
{
    for (int i = 0; i < 7; ++i)
        if (zooms[i] == zoom)
            return i;
    return -1;
}

int stepUp(int zoom)
{
    switch (zoom) {
    case 0:
        return 75;
    case 25:
        return 50;
    case 50:
        return 75;
    case 75:
        return 100;
    case 100:
        return 150;
    case 150:
        return 200;
    default:
        return zoom;
    }
}

int stepDown(int zoom)
{
    switch (zoom) {
    case 0:
        return 50;
    case 50:
        return 25;
    case 75:
        return 50;
    case 100:
        return 75;
    case 150:
        return 100;
    case 200:
        return 150;
    default:
        return zoom;
    }
}

bool canStepUp(int zoom)
{
    return zoom != 200;
}

bool canStepDown(int zoom)
{
    return zoom != 25;
}

} // namespace PrintZoom
