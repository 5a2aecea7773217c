#include "site/ThreadNaviDownload.h"


ThreadNaviDownload::ThreadNaviDownload(QObject* guiTarget, const QString& loginIdAtStart,
                                       NaviSiteUrls urls, QList<NaviWorkItem> work, GuiSide gui)
    : DownloadThread(guiTarget, loginIdAtStart), m_urls(std::move(urls)),
      m_work(std::move(work)), m_gui(std::move(gui))
{
}

void ThreadNaviDownload::run()
{
    NaviDownloadRun::Callbacks callbacks;
    callbacks.storeBoard = [this](const NaviBoard& board) {
        bool stored = true;
        // Refused after a stop: the run notices the stop at its next check.
        handOver([&] { stored = !m_gui.store || m_gui.store(board); });
        return stored;
    };
    callbacks.log = [this](const QString& line) {
        handOver([&] {
            if (m_gui.log)
                m_gui.log(line);
        });
    };
    if (m_gui.progressStart) {
        callbacks.progressStart = [this](int count) {
            handOver([&] { m_gui.progressStart(count); });
        };
        callbacks.progressStep = [this] {
            handOver([&] {
                if (m_gui.progressStep)
                    m_gui.progressStep();
            });
        };
    }

    NaviDownloadRun download(
        m_urls,
        &DownloadThread::fetchPage,
        [this] { return !checkPoint(); }, callbacks);
    const NaviDownloadRun::Result result = download.run(m_work);
    m_result = result;
    if (result == NaviDownloadRun::Stopped)
        return;
    handOver([&] {
        if (m_gui.finish)
            m_gui.finish(this, m_result);
    });
}
