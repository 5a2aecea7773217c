// The updater download of a large answer (1 GiB times the scale factor: argument or
// TESSALY_BENCH_SCALE) from a local server that makes the body as it sends it. Prints the time,
// the size saved and how much the process's peak memory grew.
#include "BenchScale.h"
#include "support/TestDataFolder.h"

#include "app/UnitVersionUpExeDownLoad.h"
#include "platform/DataFolder.h"
#include "platform/IniFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

#include <cstdio>

namespace {

// Answers every request with `size` bytes, written a chunk at a time as the client takes them.
class StreamingServer : public QTcpServer
{
public:
    explicit StreamingServer(qint64 size) : m_size(size) {}

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto* socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            if (!socket->readAll().contains("\r\n\r\n") || socket->property("sent").isValid())
                return;
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                          "Content-Length: " +
                          QByteArray::number(m_size) + "\r\nConnection: close\r\n\r\n");
            sendMore(socket);
        });
        connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] {
            if (socket->property("sent").isValid() && socket->bytesToWrite() < chunk)
                sendMore(socket);
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

private:
    static constexpr qint64 chunk = 1024 * 1024;

    // The body so far is kept in the socket's "sent" property.
    void sendMore(QTcpSocket* socket)
    {
        const qint64 sent = socket->property("sent").toLongLong();
        if (sent >= m_size) {
            socket->disconnectFromHost();
            return;
        }
        const qint64 n = qMin(chunk, m_size - sent);
        socket->setProperty("sent", sent + n);
        socket->write(QByteArray(n, 'u'));
    }

    qint64 m_size;
};

qint64 peakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 size = qint64(1024) * 1024 * 1024 * BenchScale::factor(argc, argv);

    TestDataFolder folder;
    QThread serverThread;
    StreamingServer server(size);
    server.moveToThread(&serverThread);
    serverThread.start();
    bool listening = false;
    QMetaObject::invokeMethod(
        &server, [&] { listening = server.listen(QHostAddress::LocalHost); },
        Qt::BlockingQueuedConnection);
    if (!listening)
        return 1;
    IniFile(DataFolder::filePath(QStringLiteral("setting.ini")))
        .writeString(QStringLiteral("Site"), QStringLiteral("UpdateHost"),
                     QStringLiteral("127.0.0.1:%1").arg(server.serverPort()));
    TFormVersionUpExeDownLoad::setSizeLimit(size);

    const qint64 before = peakMemoryKb();
    QElapsedTimer clock;
    clock.start();
    {
        TFormVersionUpExeDownLoad window(nullptr);
        window.downloadExe = true;
        window.show();
        if (!QTest::qWaitFor([&] { return window.isHidden(); }, 600000))
            std::printf("the download did not end\n");
        std::printf("%lld MiB answer: %s in %lld ms, peak memory grew by %lld MiB\n",
                    static_cast<long long>(size >> 20),
                    window.exeDownloaded ? "saved" : "not saved",
                    static_cast<long long>(clock.elapsed()),
                    static_cast<long long>((peakMemoryKb() - before) >> 10));
    }
    std::printf("file: %lld bytes\n",
                static_cast<long long>(QFileInfo(folder.filePath("UpdateExe.exe")).size()));
    QMetaObject::invokeMethod(
        &server, [&] { server.close(); }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    return 0;
}
