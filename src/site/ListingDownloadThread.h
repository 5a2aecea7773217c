#pragma once

#include "site/DownloadThread.h"
#include "site/ListingDownload.h"

class TFormNavi;

// The base of the two listing download threads: their progress and log lines reach the main
// window through hand-overs.
class ListingDownloadThread : public DownloadThread
{
    Q_OBJECT
public:
    ListingDownloadThread(TFormNavi* navi, const QString& loginIdAtStart);

protected:
    ListingDownloadCallbacks callbacksToWindow();
    TFormNavi* navi() const { return m_navi; }

private:
    TFormNavi* m_navi;
};
