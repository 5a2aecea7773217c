// The main window's side of posting a message: the post's own state beside the busy state,
// and the board download that follows a successful post.
#include "app/UnitNavi.h"

#include "site/DownloadControl.h"

bool TFormNavi::messagePostAllowed() const
{
    return session.messagePostAllowed();
}

// The download control follows the post's state: the download commands and the login button
// stay off while it runs.
void TFormNavi::beginMessagePost()
{
    session.beginMessagePost();
}

void TFormNavi::endMessagePost()
{
    session.endMessagePost();
}

void TFormNavi::requestTransactionNaviDownload(const QString& aid, const QString& title,
                                               const QString& bidId)
{
    downloadControl().requestTransactionNaviDownload(aid, title, bidId);
}
