// The main window's CSV export commands.
#include "app/UnitNavi.h"

#include "app/CsvExport.h"
#include "app/CsvListExport.h"
#include "app/NaviWiring.h"
#include "platform/Dialogs.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/NaviListQuery.h"
#include "views/MessageTab.h"

#include <QAction>
#include <QTreeWidget>

namespace {

// A finished export's message goes to the log; a failed one gets the error box, then the
// failure line.
void reportCsvExport(TFormNavi* navi, bool written, const QString& message)
{
    if (written) {
        navi->addLogMessage(message);
        return;
    }
    Dialogs::showError(navi, CsvExport::saveErrorCaption, message);
    navi->addLogMessage(CsvExport::failureLine);
}

} // namespace

void NaviWiring::connectCsvCommands(TFormNavi& navi)
{
    QAction* naviList = navi.action(QStringLiteral("ActionCsvExportNaviList"));
    QObject::connect(navi.ActionCsvExportBidList, &QAction::triggered, &navi,
                     &TFormNavi::ActionCsvExportBidListExecute);
    QObject::connect(naviList, &QAction::triggered, &navi,
                     &TFormNavi::ActionCsvExportNaviListExecute);
    QObject::connect(navi.ActionCsvExportBidInfo, &QAction::triggered, &navi,
                     &TFormNavi::ActionCsvExportBidInfoExecute);
    for (QAction* command : {navi.ActionCsvExportBidList, naviList, navi.ActionCsvExportBidInfo}) {
        navi.markWired(command);
        command->setEnabled(true);
    }
}

void TFormNavi::ActionCsvExportBidListExecute()
{
    QString message;
    const bool written = exportListViewCsv(ListViewBid, &message, QStringLiteral("出品終了データ"));
    reportCsvExport(this, written, message);
}

void TFormNavi::ActionCsvExportNaviListExecute()
{
    QString message;
    NaviListQuery::MessageReader reader(connection, loginId);
    const bool written = exportListViewCsv(messageTab().getActiveNaviList(), &message,
                                           QStringLiteral("ナビデータ"), wholeNaviMessages(reader));
    reportCsvExport(this, written, message);
}

void TFormNavi::ActionCsvExportBidInfoExecute()
{
    QString message;
    const bool written = exportBidderInfoCsv(ListViewBid, BidListColumns::BidId, &message,
                                             QStringLiteral("落札者情報"));
    reportCsvExport(this, written, message);
}
