// Printing a long message without preview: a 3,000-line message (times the scale factor) laid
// out for the current printer and printed into a PDF file, as the print command does it after
// its print dialog. Times the whole print and, apart, the layout that counts the pages.
#include "support/TestDataFolder.h"
#include "support/TestDialogs.h"

#include "BenchScale.h"

#include "views/CurrentPrinter.h"
#include "views/MessagePrintLayout.h"
#include "views/UnitPrintNaviMessage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrinter>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Lines = 3000;
constexpr int Rounds = 10;

QString message(int lines)
{
    QStringList text;
    for (int i = 0; i < lines; ++i)
        text << QString("%1行目：お取引ありがとうございます。発送は明日の予定です。line%1").arg(i);
    return text.join("\r\n");
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = Lines * BenchScale::factor(argc, argv);
    TestDataFolder folder;
    TestDialogs dialogs;
    const QString pdf = folder.filePath("bench.pdf");
    QPrinter& printer = currentPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    const QString text = message(lines);

    std::vector<double> printTimes, layoutTimes;
    int pages = 0;
    for (int r = 0; r < Rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        TFormPrintNaviMessage form(nullptr);
        form.setMessageText(text);
        form.setDefaultFontSize(10);
        form.layoutReport();
        if (!form.printReport(printer)) {
            std::fprintf(stderr, "the PDF file could not be written\n");
            return 1;
        }
        printTimes.push_back(timer.nsecsElapsed() / 1e6);
        pages = form.pageCount;

        timer.restart();
        MessagePrintLayout layout;
        layout.layout(printer, text, 10, PrintSettings());
        layoutTimes.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("message: %d lines, %d pages, PDF %lld bytes\n", lines, pages,
                qlonglong(QFileInfo(pdf).size()));
    std::printf("print to PDF: median %.1f ms, max %.1f ms (%d prints)\n", median(printTimes),
                *std::max_element(printTimes.begin(), printTimes.end()), Rounds);
    std::printf("layout alone: median %.1f ms\n", median(layoutTimes));
    return 0;
}
