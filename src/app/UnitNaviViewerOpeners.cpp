// The main window's openers of the message viewer, the per-listing message list and the
// message search window.
#include "app/UnitNavi.h"

#include "app/NaviWiring.h"
#include "platform/Dialogs.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/ListingTab.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviReadState.h"
#include "views/NaviRows.h"
#include "views/NaviSelectionDelay.h"
#include "views/UnitAuctionNaviList.h"
#include "views/UnitBidDataEtc.h"
#include "views/UnitFindNavi.h"
#include "views/UnitNaviMessage.h"
#include "views/MessageTab.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTreeWidget>

void NaviWiring::connectViewerCommands(TFormNavi& navi)
{
    const std::pair<const char*, void (TFormNavi::*)()> commands[] = {
        {"ActionNaviOpenMessage", &TFormNavi::ActionNaviOpenMessageExecute},
        {"ActionShowSelectAuctionIdNaviList", &TFormNavi::ActionShowSelectAuctionIdNaviListExecute},
        {"ActionFindNavi", &TFormNavi::ActionFindNaviExecute},
    };
    for (const auto& [name, execute] : commands) {
        QAction* command = navi.action(QString::fromLatin1(name));
        QObject::connect(command, &QAction::triggered, &navi, execute);
        navi.markWired(command);
    }
    navi.action(QStringLiteral("ActionFindNavi"))->setEnabled(true);
}

void TFormNavi::ActionNaviOpenMessageExecute()
{
    const bool naviTab = PageControlMain->currentIndex() == 1;
    NaviSelectionDelay* selection =
        naviTab ? messageTab().naviSelectionDelay : messageTab().bidNaviSelectionDelay;
    if (selection->currentNaviRow() >= 0 && options.confirmationNaviOpen &&
        !Dialogs::askOkCancel(this, QStringLiteral("確認"),
                              QStringLiteral("メッセージを開きますか？")))
        return;
    if (isDatabaseOpen()) {
        NaviReadState::Views views;
        views.activeList = messageTab().getActiveNaviList();
        views.listViewNavi = ListViewNavi;
        views.listViewBidNavi = ListViewBidNavi;
        views.listViewBid = ListViewBid;
        views.treeViewNavi = TreeViewNavi;
        views.dragging = messageTab().dragging;
        const NaviReadState::Result result =
            NaviReadState::setMessagesOpened(connection, loginId, views, true);
        messageTab().shownUnreadCount = result.shownUnreadCount;
        if (naviTab)
            statusPanels[1]->setText(
                NaviListView::statusText(ListViewNavi->rowCount(),
                                         messageTab().shownUnreadCount));
    }
    const int shown = selection->currentNaviRow();
    if (shown < 0)
        return;
    const NaviRow row = NaviRows(messageTab().getActiveNaviList()).row(shown);
    NaviMessageContent content;
    content.loginId = loginId;
    content.number = row.number.toInt();
    content.received = row.received;
    if (naviTab) {
        content.aid = row.aid;
        content.title = row.title;
        content.bidId = row.bidId;
        // The row's own winner name: the bidder panel follows the selection only after its
        // delay.
        content.bidName = row.name;
        content.message = NaviListQuery::wholeMessage(connection, loginId, row);
    } else {
        content.aid = EditBidAid->text();
        content.title = EditBidTitle->text();
        content.bidId = EditBidId->text();
        content.bidName = EditBidName->text();
        content.message = row.message;
    }
    content.captionText = content.title + (row.received ? QStringLiteral("(受信メッセージ)")
                                                        : QStringLiteral("(送信メッセージ)"));
    TFormNaviMessage::open(messageHandOver(), content, MemoNavi->font().pointSize());
}

void TFormNavi::ActionShowSelectAuctionIdNaviListExecute()
{
    const bool naviTab = PageControlMain->currentIndex() == 1;
    const BidRow& currentBidItem = listingTab().currentBidItem;
    if (naviTab ? !messageTab().currentNaviItem.isValid() : !currentBidItem)
        return;
    auto* list = new TFormAuctionNaviList(connectionName, MemoNavi->font().pointSize());
    if (!naviTab) {
        list->aid = currentBidItem.text(1);
        list->title = currentBidItem.text(2);
        list->bidId = currentBidItem.text(3);
    } else {
        const int row = messageTab().currentNaviItem.row();
        list->aid = ListViewNavi->text(row, 1);
        list->title = ListViewNavi->text(row, 2);
        list->bidId = ListViewNavi->text(row, 3);
    }
    list->loginId = loginId;
    list->show();
}

void TFormNavi::ActionFindNaviExecute()
{
    const QPointer<TFormNavi> navi(this);
    auto* find = new TFormFindNavi(connectionName, MemoNavi->font().pointSize(),
                                   [navi] { return navi && navi->options.confirmationNaviOpen; });
    find->loginId = loginId;
    find->handOver = messageHandOver();
    find->show();
}

void TFormNavi::closeConnectionWindows()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<TFormFindNavi*>(window) || qobject_cast<TFormAuctionNaviList*>(window) ||
            qobject_cast<TFormBidDataEtc*>(window))
            window->close();
}
