// The end-time lookup of the main window: one listing without an end time per timer tick, asked
// of the item web service while nothing else runs, written to the database and to every row of
// the listing list that shows that listing.
#include "app/UnitNavi.h"

#include "site/EndTimeLookup.h"
#include "site/htmlYahoo.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"

#include <QAction>
#include <QCoreApplication>
#include <QTimer>

namespace {

EndTimeLookup::Busy busyOf(const TFormNavi& navi, bool tickInFlight)
{
    return {navi.downloadKind, navi.postingMessage, tickInFlight};
}

} // namespace

void TFormNavi::connectEndTimeLookup()
{
    TimerEndDateTime = new QTimer(this);
    TimerEndDateTime->setObjectName("TimerEndDateTime");
    TimerEndDateTime->setInterval(EndTimeLookup::TickInterval);
    connect(TimerEndDateTime, &QTimer::timeout, this, &TFormNavi::TimerEndDateTimeTimer);
}

void TFormNavi::TimerEndDateTimeTimer()
{
    switch (EndTimeLookup::startOf(busyOf(*this, endTimeTickInFlight), endTimeQueue)) {
    case EndTimeLookup::Start::Wait:
        return;
    case EndTimeLookup::Start::StopTimer:
        TimerEndDateTime->stop();
        return;
    case EndTimeLookup::Start::Begin:
        break;
    }
    endTimeTickInFlight = true;
    const QList<QAction*> held{ActionBidDownloadNow, ActionBidDownload, ActionNaviDownloadShow,
                               ActionNaviDownloadSelect};
    for (QAction* command : held)
        command->setEnabled(false);
    // Ends the tick: the commands come back unless a download has taken them over, and the
    // timer stops once no id is pending.
    const auto finish = [this, &held] {
        if (EndTimeLookup::commandsComeBack(busyOf(*this, false)))
            for (QAction* command : held)
                enableCommand(command, isDatabaseOpen());
        if (!EndTimeLookup::timerWanted(endTimeQueue))
            TimerEndDateTime->stop();
        endTimeTickInFlight = false;
    };

    // Repaint the commands; a download started meanwhile keeps the id for a later tick.
    QCoreApplication::processEvents();
    const std::optional<QString> aid = EndTimeLookup::idToAsk(busyOf(*this, false), endTimeQueue);
    if (!aid) {
        finish();
        return;
    }
    const QString endTime = htmlYahoo().getEndTime(*aid);
    // The id is dropped whatever the answer; a failed lookup waits for the next listing query.
    endTimeQueue.dequeue();
    try {
        if (!endTime.isEmpty()) {
            EndTimeLookup::store(connection, *aid, loginId, endTime);
            // No events run during the walk: a listing query would free the rows under it.
            const QList<int> rows = EndTimeLookup::rowsOfListing(
                ListViewBid->topLevelItemCount(),
                [this](int row) {
                    return ListViewBid->topLevelItem(row)->text(
                        BidListColumns::column(BidListColumns::Aid));
                },
                *aid);
            for (int row : rows)
                ListViewBid->topLevelItem(row)->setText(
                    BidListColumns::column(BidListColumns::EndDataTime), endTime);
        }
    } catch (...) {
        // A database that refuses the write (a full disk) would refuse every later id too: the
        // lookup stops until the next listing query, and the error is shown once.
        endTimeQueue.clear();
        finish();
        throw;
    }
    finish();
}
