#include "site/ListingDownloadThread.h"

#include "app/UnitNavi.h"

ListingDownloadThread::ListingDownloadThread(TFormNavi* navi, const QString& loginIdAtStart)
    : DownloadThread(navi, loginIdAtStart), m_navi(navi)
{
}

ListingDownloadCallbacks ListingDownloadThread::callbacksToWindow()
{
    ListingDownloadCallbacks callbacks;
    callbacks.initProgress = [this](int maximum) {
        handOver([this, maximum] { m_navi->progressStart(maximum); });
    };
    callbacks.stepProgress = [this] { handOver([this] { m_navi->progressStep(); }); };
    callbacks.logMessage = [this](const QString& line) {
        handOver([this, line] { m_navi->addLogMessage(line); });
    };
    return callbacks;
}
