#pragma once

#include "views/PrintSettings.h"

#include <QRectF>
#include <QString>
#include <QTextBlock>

#include <memory>
#include <vector>

class QPainter;
class QPrinter;
class QTextDocument;

// A message laid out for printing: plain left-aligned lines on the printer's whole paper,
// inside the margins, broken into pages. The same layout draws the preview and the print, so
// the two agree.
class MessagePrintLayout
{
public:
    // The one font family messages are printed in; its text layer in a PDF reads back as
    // printed.
    static inline const QString printFontFamily = QStringLiteral("Droid Sans Fallback");

    MessagePrintLayout();
    ~MessagePrintLayout();

    // Lays the text out for the printer's paper, orientation and resolution. Margins that
    // leave no room for one line are replaced by the default margins.
    void layout(QPrinter& printer, const QString& text, int pointSize,
                const PrintSettings& settings);
    int pageCount() const;
    // Where the text lies on the paper, in device pixels from the paper's top left corner.
    QRectF contentRect() const { return m_content; }
    bool usesDefaultMargins() const { return m_defaultMargins; }
    // Draws one page (0 = the first) with the painter open on the laid-out printer.
    void drawPage(QPainter& painter, int page) const;

    // True when the layout was made for this printer with its present paper and resolution.
    bool fitsPrinter(const QPrinter& printer) const;
    // Prints every page on the printer the layout was made for. False when the printer could
    // not be opened (an output file that cannot be written).
    bool print(QPrinter& printer) const;

    // Lays the text out for the printer and prints every page on it.
    static bool render(QPrinter& printer, const QString& text, int pointSize,
                       const PrintSettings& settings);

private:
    struct PlacedLine
    {
        int page;
        QTextBlock block;
        int line;
    };
    std::unique_ptr<QTextDocument> m_document;
    std::vector<PlacedLine> m_lines; // in page order
    int m_pageCount = 1;
    const QPrinter* m_printer = nullptr;
    int m_resolution = 0;
    QSizeF m_paper;
    QRectF m_content;
    bool m_defaultMargins = false;
};
