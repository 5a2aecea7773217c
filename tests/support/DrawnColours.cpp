#include "DrawnColours.h"

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

bool DrawnColours::drawsBrightRed(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80)
                return true;
        }
    return false;
}
