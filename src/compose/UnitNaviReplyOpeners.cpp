// The main window's openers of the composer: a new message on the selected listing row and a
// reply to the selected message of the active message list.
#include "app/UnitNavi.h"

#include "compose/UnitReply.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/MemoText.h"
#include "views/NaviListItem.h"
#include "views/NaviListQuery.h"
#include "views/NaviRows.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QTabWidget>

void TFormNavi::connectReplyCommands()
{
    connect(ActionNaviMake, &QAction::triggered, this, &TFormNavi::ActionNaviMakeExecute);
    connect(action("ActionNaviReply"), &QAction::triggered, this,
            &TFormNavi::ActionNaviReplyExecute);
    for (QAction* command : {ActionNaviMake, action("ActionNaviReply")}) {
        markWired(command);
        command->setEnabled(true);
    }
}

void TFormNavi::ActionNaviMakeExecute()
{
    const BidRow row = ListViewBid->firstSelectedItem();
    if (!row)
        return;
    using namespace BidListColumns;
    auto* form = new TFormReply(*this);
    form->title = row->subItem(Title);
    form->aid = row->subItem(Aid);
    form->bidId = row->subItem(BidId);
    form->loginId = loginId;
    form->isReply = false;
    form->show();
    form->EditAid->setText(row->subItem(Aid));
    form->EditTitle->setText(row->subItem(Title));
    form->EditBidId->setText(row->subItem(BidId));
    form->EditBidName->setText(row->subItem(Name));
    form->setNewMessageCaption();
}

void TFormNavi::ActionNaviReplyExecute()
{
    const bool naviTab = PageControlMain->currentIndex() == 1;
    const NaviRows rows(getActiveNaviList());
    const QList<int> selected = rows.selected();
    if (selected.isEmpty())
        return;
    const NaviRow message = rows.row(selected.first());
    QString title, aid, bidId, name;
    if (naviTab) {
        title = message.title;
        aid = message.aid;
        bidId = message.bidId;
        name = message.name;
    } else {
        // The listing tab's list holds one transaction's messages; its listing row gives the
        // title and the winner's name, the replied message its writer.
        aid = message.aid;
        bidId = message.writeId;
        if (BidRow listing = ListViewBid->findBidItem(message.aid, message.bidId)) {
            title = listing->subItem(BidListColumns::Title);
            name = listing->subItem(BidListColumns::Name);
        }
    }
    auto* form = new TFormReply(*this);
    form->title = title;
    form->aid = aid;
    form->bidId = bidId;
    form->loginId = loginId;
    form->isReply = true;
    form->replyNumber = message.number.isEmpty() ? -1 : message.number.toInt();
    form->show();
    form->EditAid->setText(aid);
    form->EditTitle->setText(title);
    form->EditBidId->setText(bidId);
    form->EditBidName->setText(name);
    MemoText::set(form->MemoReplyMessage,
                  NaviListQuery::wholeMessage(connection, loginId, message));
}
