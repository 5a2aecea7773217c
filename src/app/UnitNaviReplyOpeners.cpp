// The main window's openers of the composer: a new message on the selected listing row and a
// reply to the selected message of the active message list.
#include "app/UnitNavi.h"

#include "app/ListingRowTarget.h"
#include "app/NaviWiring.h"
#include "compose/ComposerTarget.h"
#include "compose/UnitReply.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/NaviListItem.h"
#include "views/NaviListQuery.h"
#include "views/NaviRows.h"
#include "views/UnitNaviMessage.h"
#include "views/MessageTab.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QTabWidget>

void NaviWiring::connectReplyCommands(TFormNavi& navi)
{
    QObject::connect(navi.ActionNaviMake, &QAction::triggered, &navi,
                     &TFormNavi::ActionNaviMakeExecute);
    QObject::connect(navi.action("ActionNaviReply"), &QAction::triggered, &navi,
                     &TFormNavi::ActionNaviReplyExecute);
    for (QAction* command : {navi.ActionNaviMake, navi.action("ActionNaviReply")}) {
        navi.markWired(command);
        command->setEnabled(true);
    }
}

TFormReply* TFormNavi::openReplyComposer(const ReplyTarget& target)
{
    auto* form = new TFormReply(session, target, composerHooks());
    form->show();
    return form;
}

NaviMessageHandOver TFormNavi::messageHandOver()
{
    const QPointer<TFormNavi> navi(this);
    const auto open = [navi](const NaviMessageContent& message, bool reply) -> QWidget* {
        if (!navi)
            return nullptr;
        ReplyTarget target;
        target.aid = message.aid;
        target.title = message.title;
        target.bidId = message.bidId;
        target.bidName = message.bidName;
        target.loginId = message.loginId;
        if (reply) {
            target.isReply = true;
            target.replyNumber = message.number;
            target.repliedMessage = message.message;
        }
        return navi->openReplyComposer(target);
    };
    return {&session, open};
}

void TFormNavi::ActionNaviMakeExecute()
{
    const BidRow row = ListViewBid->firstSelectedItem();
    if (!row)
        return;
    ReplyTarget target;
    fillFromListingRow(target, row, loginId);
    openReplyComposer(target);
}

void TFormNavi::ActionNaviReplyExecute()
{
    const bool naviTab = PageControlMain->currentIndex() == 1;
    const NaviRows rows(messageTab().getActiveNaviList());
    const QList<int> selected = rows.selected();
    if (selected.isEmpty())
        return;
    const NaviRow message = rows.row(selected.first());
    ReplyTarget target;
    target.aid = message.aid;
    if (naviTab) {
        target.title = message.title;
        target.bidId = message.bidId;
        target.bidName = message.name;
    } else {
        // The listing tab's list holds one transaction's messages; its listing row gives the
        // title and the winner's name, the replied message its writer.
        target.bidId = message.writeId;
        if (BidRow listing = ListViewBid->findBidItem(message.aid, message.bidId)) {
            target.title = listing->subItem(BidListColumns::Title);
            target.bidName = listing->subItem(BidListColumns::Name);
        }
    }
    target.loginId = loginId;
    target.isReply = true;
    target.replyNumber = message.number.isEmpty() ? -1 : message.number.toInt();
    target.repliedMessage = NaviListQuery::wholeMessage(connection, loginId, message);
    openReplyComposer(target);
}
