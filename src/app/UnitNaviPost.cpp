// The main window's side of posting a message: the post's own state beside the busy state,
// and the board download that follows a successful post.
#include "app/UnitNavi.h"

#include <QAction>
#include <QToolButton>

bool TFormNavi::messagePostAllowed() const
{
    return session.messagePostAllowed();
}

void TFormNavi::beginMessagePost()
{
    session.beginMessagePost();
}

void TFormNavi::endMessagePost()
{
    session.endMessagePost();
}

void TFormNavi::SessionPostingChange(bool posting)
{
    if (posting) {
        for (QAction* command :
             {ActionBidDownloadNow, ActionBidDownload, ActionNaviDownloadSelect,
              ActionNaviDownloadShow, ActionBidDetailedDownload, ActionBidPromptDecisionDownload})
            command->setEnabled(false);
        ToolButtonLogin->setEnabled(false);
        return;
    }
    // A download running beside the post keeps its commands off; its end turns them on.
    if (downloadKind == 0)
        enableDownloadActions();
    startPendingTransactionNaviDownload();
}

void TFormNavi::requestTransactionNaviDownload(const QString& aid, const QString& title,
                                               const QString& bidId)
{
    pendingTransactionNaviDownloads.append({aid, title, bidId});
    startPendingTransactionNaviDownload();
}

void TFormNavi::startPendingTransactionNaviDownload()
{
    if (downloadKind != 0 || postingMessage || pendingTransactionNaviDownloads.isEmpty())
        return;
    const TransactionDownload next = pendingTransactionNaviDownloads.takeFirst();
    startTransactionNaviDownload(next.aid, next.title, next.bidId);
}
