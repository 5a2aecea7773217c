#include "views/MessagePrintLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextOption>

#include <QtMath>

namespace {

double millimetresToPixels(int millimetres, int resolution)
{
    return millimetres * resolution / 25.4;
}

QRectF contentOf(const QRectF& paper, const PrintSettings& settings, int resolution)
{
    const double left = millimetresToPixels(settings.marginLeft, resolution);
    const double right = millimetresToPixels(settings.marginRight, resolution);
    const double top = millimetresToPixels(settings.marginTop, resolution);
    const double bottom = millimetresToPixels(settings.marginBottom, resolution);
    // Whole pixels: the text layout places lines on a fixed-point grid, and a page height with a
    // fraction would leave the line pushed to the next page overlapping the one before.
    return QRectF(qRound(left), qRound(top), qFloor(paper.width() - left - right),
                  qFloor(paper.height() - top - bottom));
}

} // namespace

MessagePrintLayout::MessagePrintLayout() = default;
MessagePrintLayout::~MessagePrintLayout() = default;

void MessagePrintLayout::layout(QPrinter& printer, const QString& text, int pointSize,
                                const PrintSettings& settings)
{
    printer.setFullPage(true);
    const int resolution = printer.resolution();
    const QRectF paper(QPointF(0, 0), printer.paperRect(QPrinter::DevicePixel).size());
    m_printer = &printer;
    m_resolution = resolution;
    m_paper = paper.size();

    QFont font(printFontFamily);
    font.setPointSize(pointSize > 0 ? pointSize : QGuiApplication::font().pointSize());
    const double lineHeight = QFontMetricsF(font, &printer).lineSpacing();

    m_content = contentOf(paper, settings, resolution);
    m_defaultMargins = m_content.width() < lineHeight || m_content.height() < lineHeight;
    if (m_defaultMargins) {
        m_content = contentOf(paper, PrintSettings(), resolution);
        // A paper too small even for those: the whole paper, at least one pixel.
        if (m_content.width() < 1 || m_content.height() < 1)
            m_content = QRectF(0, 0, qMax(1.0, paper.width()), qMax(1.0, paper.height()));
    }

    m_document = std::make_unique<QTextDocument>();
    m_document->documentLayout()->setPaintDevice(&printer);
    m_document->setDefaultFont(font);
    m_document->setDocumentMargin(0);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_document->setDefaultTextOption(option);
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_document->setPlainText(lines);
    m_document->setPageSize(m_content.size());

    // Each line goes to the page it starts on: the layout moves a line that would cross the
    // bottom of a page to the next one, so every line lies whole on one page.
    m_lines.clear();
    const double pageHeight = m_content.height();
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* lines = block.layout();
        const double top = m_document->documentLayout()->blockBoundingRect(block).top();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const double y = top + lines->lineAt(i).y();
            m_lines.push_back({int((y + 1) / pageHeight), block, i});
        }
    }
    m_pageCount = m_lines.empty() ? 1 : m_lines.back().page + 1;
}

int MessagePrintLayout::pageCount() const
{
    return m_pageCount;
}

void MessagePrintLayout::drawPage(QPainter& painter, int page) const
{
    painter.save();
    painter.translate(m_content.left(), m_content.top() - page * m_content.height());
    painter.setPen(Qt::black);
    for (const PlacedLine& placed : m_lines) {
        if (placed.page != page)
            continue;
        const QTextLayout* lines = placed.block.layout();
        lines->lineAt(placed.line).draw(&painter, lines->position());
    }
    painter.restore();
}

bool MessagePrintLayout::fitsPrinter(const QPrinter& printer) const
{
    return m_document && m_printer == &printer && printer.fullPage() &&
           m_resolution == printer.resolution() &&
           m_paper == printer.paperRect(QPrinter::DevicePixel).size();
}

bool MessagePrintLayout::print(QPrinter& printer) const
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int page = 0; page < m_pageCount; ++page) {
        if (page > 0)
            printer.newPage();
        drawPage(painter, page);
    }
    return painter.end();
}

bool MessagePrintLayout::render(QPrinter& printer, const QString& text, int pointSize,
                                const PrintSettings& settings)
{
    MessagePrintLayout report;
    report.layout(printer, text, pointSize, settings);
    return report.print(printer);
}
