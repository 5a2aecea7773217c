#include "app/NaviEndTimeWindow.h"

#include "app/UnitNavi.h"
#include "site/EndTimeLookup.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"

#include <QAction>

void NaviEndTimeWindow::setHeldCommandsEnabled(bool enabled)
{
    for (QAction* command : {m_navi.ActionBidDownloadNow, m_navi.ActionBidDownload,
                             m_navi.ActionNaviDownloadShow, m_navi.ActionNaviDownloadSelect}) {
        if (enabled)
            TFormNavi::enableCommand(command, m_navi.isDatabaseOpen());
        else
            command->setEnabled(false);
    }
}

void NaviEndTimeWindow::showEndTime(const QString& aid, const QString& endTime)
{
    BidListView* list = m_navi.ListViewBid;
    // No events run during the walk: a listing query would free the rows under it.
    const QList<int> rows = EndTimeLookup::rowsOfListing(
        list->topLevelItemCount(),
        [list](int row) {
            return list->topLevelItem(row)->text(BidListColumns::column(BidListColumns::Aid));
        },
        aid);
    for (int row : rows)
        list->topLevelItem(row)->setText(BidListColumns::column(BidListColumns::EndDataTime),
                                         endTime);
}
