#include "views/NaviImages.h"

#include <QPainter>
#include <QPixmap>

namespace NaviImages {
namespace {

// Small drawn pictures: the program ships no image files for these lists.
QPixmap drawFolder(QColor body, QColor tab, bool open)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(body.darker(160));
    painter.setBrush(tab);
    painter.drawRect(1, 3, 6, 3);
    painter.setBrush(body);
    if (open)
        painter.drawPolygon(QPolygon({{1, 5}, {14, 5}, {12, 14}, {1, 14}}));
    else
        painter.drawRect(1, 5, 13, 9);
    return pixmap;
}

QPixmap drawEnvelope(QColor body, bool open)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(body.darker(180));
    painter.setBrush(body);
    painter.drawRect(1, 4, 13, 9);
    if (open)
        painter.drawPolyline(QPolygon({{1, 4}, {7, 0}, {14, 4}}));
    painter.drawPolyline(QPolygon({{1, 4}, {7, 9}, {14, 4}}));
    return pixmap;
}

} // namespace

QIcon treeImage(int imageIndex)
{
    switch (imageIndex) {
    case 0:
        return QIcon(drawFolder(QColor(0x9ec5f0), QColor(0x5b8fd0), false));
    case 2:
        return QIcon(drawFolder(QColor(0xf5d77a), QColor(0xd9a93a), true));
    case 3:
        return QIcon(drawFolder(QColor(0xa8dca0), QColor(0x5ea852), false));
    default:
        return QIcon(drawFolder(QColor(0xf5d77a), QColor(0xd9a93a), false));
    }
}

QIcon treeIcon(int imageIndex, int selectImageIndex)
{
    QIcon icon = treeImage(imageIndex);
    if (selectImageIndex != imageIndex)
        icon.addPixmap(treeImage(selectImageIndex).pixmap(16, 16), QIcon::Selected);
    return icon;
}

QIcon listImage(int picture)
{
    static const QIcon images[] = {
        QIcon(drawEnvelope(QColor(0xffe08a), false)),
        QIcon(drawEnvelope(QColor(0xf0f0f0), true)),
        QIcon(drawEnvelope(QColor(0xbfe3b4), false)),
        QIcon(drawEnvelope(QColor(0xbfe3b4), false)),
    };
    return picture >= 0 && picture < 4 ? images[picture] : QIcon();
}

} // namespace NaviImages
