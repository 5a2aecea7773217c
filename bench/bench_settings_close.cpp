// The main window's start and close with a large setting.ini: a foreign key holding one line of
// 10 MB times the scale factor (argument or TESSALY_BENCH_SCALE). Prints the time of the first
// show's settings reads, of the window's close (the Main section written), and of a real
// program's end on SIGTERM, from the signal to the process's exit.
#include "BenchScale.h"
#include "support/TestDataFolder.h"

#include "app/UnitNavi.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTest>

#include <cstdio>
#include <memory>
#include <signal.h>

namespace {

void addLargeLine(const TestDataFolder& folder, qint64 bytes)
{
    QFile file(folder.filePath(QStringLiteral("setting.ini")));
    if (!file.open(QIODevice::Append))
        return;
    file.write("[Foreign]\nBig=");
    file.write(QByteArray(bytes, 'x'));
    file.write("\nAfter=1\n");
}

bool instanceAnswers(const TestDataFolder& folder)
{
    QLocalSocket probe;
    probe.connectToServer(SingleInstance::serverNameFor(folder.path()));
    return probe.waitForConnected(100);
}

void timeWindow()
{
    QElapsedTimer clock;
    clock.start();
    auto navi = std::make_unique<TFormNavi>();
    navi->FormShow();
    const qint64 shown = clock.elapsed();
    if (!QTest::qWaitFor([&] { return navi->session.queries.ready; }, 60000))
        std::printf("window: start-up steps not finished\n");
    clock.restart();
    navi->close();
    const qint64 closed = clock.elapsed();
    std::printf("window: first show %6lld ms, close %6lld ms\n", static_cast<long long>(shown),
                static_cast<long long>(closed));
}

void timeSigterm(const TestDataFolder& folder)
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TESSALY_HOME", folder.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.start(TESSALY_PROGRAM_PATH, {});
    if (!QTest::qWaitFor([&] { return instanceAnswers(folder); }, 60000)) {
        std::printf("program: did not start\n");
        return;
    }
    // Its start-up steps that wait on the site are over once the refused account request ends.
    QTest::qWait(1000);
    QElapsedTimer clock;
    clock.start();
    ::kill(pid_t(program.processId()), SIGTERM);
    const bool ended = program.waitForFinished(120000);
    std::printf("program: SIGTERM to exit %6lld ms%s\n", static_cast<long long>(clock.elapsed()),
                ended ? "" : " (did not end)");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int scale = BenchScale::factor(argc, argv);
    const qint64 bytes = qint64(10) * 1000 * 1000 * scale;

    TestDataFolder folder;
    addLargeLine(folder, bytes);
    std::printf("setting.ini with a line of %lld bytes\n", static_cast<long long>(bytes));
    timeWindow();
    timeWindow();
    timeSigterm(folder);
    return 0;
}
