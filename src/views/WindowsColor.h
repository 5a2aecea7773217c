#pragma once

#include <QColor>
#include <QString>

// Colour values kept in setting.ini and used in the drawing rules are Windows colour numbers:
// blue-green-red, 0xBBGGRR (16772829 = 0xFFEEDD is red 221, green 238, blue 255).
inline QColor colorFromWindowsValue(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// The decimal text of a Windows colour value; an invalid colour for text that is not one.
inline QColor colorFromWindowsText(const QString& decimal)
{
    bool ok = false;
    const qint64 value = decimal.trimmed().toLongLong(&ok);
    if (!ok || value < 0 || value > 0xFFFFFF)
        return QColor();
    return colorFromWindowsValue(quint32(value));
}

// The Windows colour value of a colour (its alpha is dropped).
inline quint32 windowsValueFromColor(const QColor& color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}
