#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class IniFile;

// The margins (millimetres) and font size (points, 0 = the message pane's size) of a printed
// message, kept in setting.ini.
struct PrintSettings
{
    static inline const QString section = QStringLiteral("NaviPrintSetting");
    static constexpr int defaultMargin = 15;

    int marginLeft = defaultMargin;
    int marginRight = defaultMargin;
    int marginTop = defaultMargin;
    int marginBottom = defaultMargin;
    int fontSize = 0;

    static PrintSettings read(const IniFile& ini);
    void write(IniFile& ini) const;

    // The five values in the order left, right, top, bottom, font size.
    QList<int> values() const;

    // Reads the five edit texts (order as values()). A text holding no number that fits an int
    // makes the result empty; *invalidField then gets the last such field.
    static std::optional<PrintSettings> parse(const QStringList& texts, int* invalidField);
};
