#include "app/AppIcon.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

namespace {

// Drawn on a 64-unit square and scaled, so every size has the same shape.
QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    QLinearGradient background(0, 0, 0, 64);
    background.setColorAt(0, QColor(0x2f, 0x7a, 0xd0));
    background.setColorAt(1, QColor(0x17, 0x4a, 0x8c));
    p.setPen(QPen(QColor(0x10, 0x36, 0x68), 2));
    p.setBrush(background);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(12, 11, 40, 11), 3, 3);
    p.drawRoundedRect(QRectF(26.5, 11, 11, 42), 3, 3);

    p.setPen(QPen(QColor(0xa8, 0x4b, 0x08), 2));
    p.setBrush(QColor(0xf5, 0x9e, 0x1b));
    p.drawEllipse(QPointF(49, 48), 8, 8);
    return image;
}

} // namespace

QIcon tessalyIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(drawIcon(size)));
    return icon;
}
