// The main window's message log: 4,000 lines times the scale factor (argument or
// TESSALY_BENCH_SCALE: 1, 2, 4) appended at once, and the cost of a line at several lengths of
// the log, appended alone in its turn of the event loop as a download thread's line is.
#include "BenchScale.h"
#include "support/TestDataFolder.h"

#include "app/UnitNavi.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Appends count lines, each followed by the event processing a hand-over from a thread gets;
// returns the median microseconds of a line.
double perLineUs(TFormNavi& navi, int count)
{
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer timer;
        timer.start();
        navi.addLogMessage(QStringLiteral("%1：ナビメッセージを 1 件ダウンロードしました").arg(i));
        QApplication::processEvents();
        times.push_back(timer.nsecsElapsed() / 1e3);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int scale = BenchScale::factor(argc, argv);
    const int lines = 4000 * scale;

    TestDataFolder folder;
    TFormNavi navi;
    navi.FormShow();
    QElapsedTimer ready;
    ready.start();
    while (!navi.session.queries.ready && ready.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < lines; ++i)
        navi.addLogMessage(QStringLiteral("%1：ナビメッセージを 1 件ダウンロードしました").arg(i));
    const double appended = timer.nsecsElapsed() / 1e6;
    QApplication::processEvents();
    const double shown = timer.nsecsElapsed() / 1e6;
    std::printf("scale %d: %d lines appended %8.1f ms, with the scroll and paint %8.1f ms\n", scale,
                lines, appended, shown);

    navi.ListBoxMessage->clear();
    QApplication::processEvents();
    for (int length : {10, 1000, 10000}) {
        const int missing = length - navi.ListBoxMessage->count();
        for (int i = 0; i < missing; ++i)
            navi.addLogMessage(QStringLiteral("line %1").arg(i));
        QApplication::processEvents();
        std::printf("a line alone in its turn at line %6d: median %8.1f us (incl. paint)\n", length,
                    perLineUs(navi, 50));
    }
    navi.close();
    return 0;
}
