// The main window's openers of the deleted-listings and bidder-transactions window.
#include "app/UnitNavi.h"

#include "app/CsvListExport.h"
#include "app/NaviWiring.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/ListingTab.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/UnitBidDataEtc.h"
#include "views/MessageTab.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace {

// The window on the main connection, exporting its list as the main window's CSV commands do.
TFormBidDataEtc* makeBidDataEtc(const QSqlDatabase& connection, int memoFontSize)
{
    auto* form = new TFormBidDataEtc(connection, memoFontSize);
    form->exportList = [](QTreeWidget* list, QString* message, const QString& defaultName) {
        return exportListViewCsv(list, message, defaultName);
    };
    return form;
}

} // namespace

void NaviWiring::connectBidDataEtcCommands(TFormNavi& navi)
{
    QAction* deleted = navi.action("ActionShowDeleteBidList");
    QAction* bidder = navi.action("ActionShowSelectBidIdList");
    QObject::connect(deleted, &QAction::triggered, &navi,
                     &TFormNavi::ActionShowDeleteBidListExecute);
    QObject::connect(bidder, &QAction::triggered, &navi,
                     &TFormNavi::ActionShowSelectBidIdListExecute);
    for (QAction* command : {deleted, bidder}) {
        navi.markWired(command);
        command->setEnabled(true);
    }
}

void TFormNavi::ActionShowDeleteBidListExecute()
{
    auto* form = makeBidDataEtc(connection, MemoNavi->font().pointSize());
    form->loginId = loginId;
    form->captionText = QStringLiteral("出品終了削除済みデータ");
    form->listMode = 0;
    form->show();
}

void TFormNavi::ActionShowSelectBidIdListExecute()
{
    QString bidderId;
    bool found = false;
    if (PageControlMain->currentIndex() == 1) {
        if (messageTab().currentNaviItem.isValid()) {
            bidderId = ListViewNavi->text(messageTab().currentNaviItem.row(), 3);
            found = true;
        }
    } else if (const BidRow& currentBidItem = listingTab().currentBidItem) {
        bidderId = currentBidItem->text(BidListColumns::column(BidListColumns::BidId));
        found = true;
    }
    if (!found) {
        addLogMessage(QStringLiteral("行を選択してください"));
        return;
    }
    auto* form = makeBidDataEtc(connection, MemoNavi->font().pointSize());
    form->loginId = loginId;
    form->bidId = bidderId;
    form->captionText = bidderId + QStringLiteral(" 取引一覧");
    form->listMode = 1;
    form->show();
}
