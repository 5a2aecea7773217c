#include "app/NaviDownloadWindow.h"

#include "app/UnitNavi.h"
#include "platform/Sql.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/ListingTab.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

QWidget* NaviDownloadWindow::dialogOwner()
{
    return &m_navi;
}

void NaviDownloadWindow::setDownloadCommandsEnabled(bool enabled)
{
    for (QAction* command :
         {m_navi.ActionBidDownloadNow, m_navi.ActionBidDownload, m_navi.ActionNaviDownloadSelect,
          m_navi.ActionNaviDownloadShow, m_navi.ActionBidDetailedDownload,
          m_navi.ActionBidPromptDecisionDownload})
        TFormNavi::enableCommand(command, enabled);
}

void NaviDownloadWindow::setLoginButtonEnabled(bool enabled)
{
    m_navi.ToolButtonLogin->setEnabled(enabled);
}

void NaviDownloadWindow::setBidSearchButtonEnabled(bool enabled)
{
    m_navi.listingTab().setBidSearchButtonEnabled(enabled);
}

void NaviDownloadWindow::setStopCommandEnabled(bool enabled)
{
    TFormNavi::enableCommand(m_navi.MainMenuDataDownloadQuit, enabled);
}

void NaviDownloadWindow::progressStart(int maximum)
{
    m_navi.progressStart(maximum);
}

void NaviDownloadWindow::progressStep()
{
    m_navi.progressStep();
}

void NaviDownloadWindow::progressFinish()
{
    m_navi.ProgressBar->setValue(m_navi.ProgressBar->maximum());
}

void NaviDownloadWindow::showListingRowCount()
{
    m_navi.statusPanels[1]->setText(m_navi.ListViewBid->rowCountText());
}

QString NaviDownloadWindow::newestStoredAid(const QString& loginId)
{
    QSqlQuery& query = m_navi.session.queries.queryNewestAid;
    Sql::exec(query, {{":DATA_LOGINID", loginId}});
    const QString aid = query.next() ? query.value(0).toString() : QString();
    query.finish();
    return aid;
}

bool NaviDownloadWindow::hasSelectedListingRows() const
{
    return !m_navi.ListViewBid->selectedItems().isEmpty();
}

QStringList NaviDownloadWindow::selectedListingAids() const
{
    QStringList aids;
    for (const BidRow& item : m_navi.ListViewBid->selectedItems())
        aids << item.subItem(BidListColumns::Aid);
    return aids;
}

void NaviDownloadWindow::visitListingRows(
    bool selectedOnly, const std::function<bool(const DownloadControl::ListingRow&)>& visit)
{
    BidListView* list = m_navi.ListViewBid;
    QList<int> positions;
    if (selectedOnly) {
        positions = list->selectedPositions();
    } else {
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            positions << i;
    }
    for (int i : positions) {
        const BidRow row = list->bidItem(i);
        if (!row)
            continue;
        if (visit({row->subItem(BidListColumns::Aid), row->subItem(BidListColumns::Title),
                   row->subItem(BidListColumns::BidId), row->subItem(BidListColumns::Url)}))
            row->setSubItem(BidListColumns::NaviCount, QString());
    }
}
