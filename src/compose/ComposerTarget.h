#pragma once

#include "compose/ProgressFlagUpdate.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// What a composer is opened on: one winner of one listing, under the account.
struct ComposerTarget
{
    QString aid;
    QString title;
    QString bidId;
    QString bidName;
    QString loginId;
};

// A message to the winner: a new message, or a reply to one stored message of the board.
struct ReplyTarget : ComposerTarget
{
    bool isReply = false;
    // The replied message's number, -1 for none.
    int replyNumber = -1;
    // The replied message's whole text (CR LF), shown beside the composed one; without it the
    // composer shows the text of the message chosen in its list.
    std::optional<QString> repliedMessage;
};

// Feedback for the winner, posted on the listing's page.
struct FeedbackTarget : ComposerTarget
{
    QString url;
};

// What a composer asks of the window that opened it, wired by the opener. An empty hook does
// nothing.
struct ComposerHooks
{
    // The listing rows that window lists, in list order: the rows that a plural flag update
    // reaches.
    std::function<QList<ProgressFlagUpdate::ListedRow>()> listedRows;
    // Shows a written flag value in the cells of listed rows, given by their indexes into
    // listedRows().
    std::function<void(const QList<int>& rows, const QList<int>& cells, const QString& value)>
        showFlags;
    // A message was posted on the transaction's board: the board is downloaded again.
    std::function<void(const QString& aid, const QString& title, const QString& bidId)>
        messagePosted;
};
