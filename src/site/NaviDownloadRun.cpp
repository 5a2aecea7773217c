#include "site/NaviDownloadRun.h"

#include "site/NaviBoardScanner.h"
#include "site/NaviDownloadTexts.h"
#include "site/NaviMessageReader.h"

#include <QUrl>

NaviDownloadRun::NaviDownloadRun(NaviSiteUrls urls, PageFetcher fetch, StopCheck stopRequested,
                                 Callbacks callbacks)
    : m_urls(std::move(urls)), m_profileMarker(naviProfileLinkMarker(m_urls.profileBase)),
      m_fetch(std::move(fetch)), m_stopRequested(std::move(stopRequested)),
      m_callbacks(std::move(callbacks))
{
}

QString NaviDownloadRun::boardUrl(const NaviSiteUrls& urls, const QString& aid,
                                  const QString& bidId)
{
    return urls.itemBase + NaviMarkers::boardPath + u'?' + NaviMarkers::boardAidKey + u'=' +
           QString::fromLatin1(QUrl::toPercentEncoding(aid)) + u'&' + NaviMarkers::boardTargetKey +
           u'=' + QString::fromLatin1(QUrl::toPercentEncoding(bidId));
}

bool NaviDownloadRun::stopRequested() const
{
    return m_stopRequested && m_stopRequested();
}

void NaviDownloadRun::log(const QString& line)
{
    if (m_callbacks.log && !stopRequested())
        m_callbacks.log(line);
}

NaviDownloadRun::Result NaviDownloadRun::run(const QList<NaviWorkItem>& work)
{
    if (m_callbacks.progressStart && !stopRequested())
        m_callbacks.progressStart(int(work.size()));
    for (const NaviWorkItem& item : work) {
        if (stopRequested())
            return Stopped;
        NaviBoard board;
        if (!readBoard(item, &board))
            return Stopped;
        if (stopRequested())
            return Stopped;
        if (m_callbacks.progressStep)
            m_callbacks.progressStep();
        if (!board.messages.isEmpty()) {
            if (stopRequested())
                return Stopped;
            if (m_callbacks.storeBoard && !m_callbacks.storeBoard(board))
                return Failed;
        }
    }
    return stopRequested() ? Stopped : Finished;
}

bool NaviDownloadRun::readBoard(const NaviWorkItem& item, NaviBoard* board)
{
    board->aid = item.aid;
    board->bidId = item.bidId;
    const NaviBoardScan scan = scanNaviBoard(m_fetch(boardUrl(m_urls, item.aid, item.bidId)),
                                             m_profileMarker, item.lastNumber);
    if (!scan.found)
        return true;
    if (scan.numberError) {
        // The scan cannot go past this message; what is above it waits, as after a failed page.
        log(item.aid + NaviTexts::numberNotDecimalText + scan.badNumber + NaviTexts::closeParen);
        return true;
    }

    QList<NaviMessage> messages;
    for (const NaviBoardEntry& entry : scan.entries) {
        if (stopRequested())
            return false;
        const NaviMessageRead read = readNaviMessage(m_fetch(m_urls.itemBase + entry.link));
        if (!read.ok) {
            // Storing the newer messages alone would make the older ones unreachable: the
            // next run stops at the highest stored number.
            log(item.aid + read.errorText);
            return true;
        }
        NaviMessage message;
        message.aid = item.aid;
        message.number = entry.number;
        message.numberValue = entry.numberValue;
        message.subject = entry.subject;
        message.writeId = entry.writeId;
        message.date = entry.date;
        message.message = read.text;
        message.bidId = item.bidId;
        message.recFlg = entry.writeId == item.bidId;
        messages.append(message);
    }
    board->messages = messages;
    return true;
}
