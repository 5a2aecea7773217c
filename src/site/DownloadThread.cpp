#include "site/DownloadThread.h"

#include "site/html.h"

#include <QApplication>
#include <QMetaObject>

#include <exception>

DownloadThread::DownloadThread(QObject* guiTarget, const QString& loginIdAtStart)
    : m_guiTarget(guiTarget), m_loginIdAtStart(loginIdAtStart)
{
}

DownloadThread::~DownloadThread()
{
    requestStop();
    wait();
}

void DownloadThread::hold()
{
    QMutexLocker lock(&m_mutex);
    m_held = true;
}

void DownloadThread::release()
{
    QMutexLocker lock(&m_mutex);
    m_held = false;
    m_gateOpened.wakeAll();
}

bool DownloadThread::isHeld() const
{
    QMutexLocker lock(&m_mutex);
    return m_held;
}

void DownloadThread::requestStop()
{
    requestInterruption();
    release();
}

bool DownloadThread::checkPoint()
{
    QMutexLocker lock(&m_mutex);
    while (m_held && !isInterruptionRequested())
        m_gateOpened.wait(&m_mutex);
    return !isInterruptionRequested();
}

bool DownloadThread::handOver(const std::function<void()>& fn)
{
    for (;;) {
        if (!checkPoint())
            return false;
        bool ran = false;
        // The gate may close between the check and the call reaching the GUI thread, and the
        // call may arrive inside the event loop of a modal dialog (the stop question, or any
        // question the main window is asking): then nothing runs, and the thread waits at the
        // gate, or a moment for the dialog to close, before it tries again.
        const bool delivered = QMetaObject::invokeMethod(
            m_guiTarget,
            [&] {
                if (isInterruptionRequested() || isHeld() || QApplication::activeModalWidget())
                    return;
                ran = true;
                runOnGuiThread(fn);
            },
            Qt::BlockingQueuedConnection);
        if (!delivered)
            return false;
        if (ran)
            return !isInterruptionRequested();
        QMutexLocker lock(&m_mutex);
        if (!m_held && !isInterruptionRequested())
            m_gateOpened.wait(&m_mutex, modalRetryMs);
    }
}

void DownloadThread::runOnGuiThread(const std::function<void()>& fn)
{
    QString failure;
    try {
        fn();
        return;
    } catch (const std::exception& error) {
        failure = QString::fromUtf8(error.what());
    } catch (...) {
        failure = QStringLiteral("予期しないエラーが発生しました。");
    }
    // The call reached the GUI thread, so it counts as done and is never run again. Whatever it
    // left undone, the run cannot go on from there: it ends as a stopped one does, without any
    // further hand-over.
    requestInterruption();
    emit handOverFailed(failure);
}

QString DownloadThread::fetchPage(const QString& url)
{
    html client;
    client.get(url);
    return client.responseText();
}
