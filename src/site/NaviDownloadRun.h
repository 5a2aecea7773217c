#pragma once

#include <QList>
#include <QString>

#include <functional>

// Base addresses of the two hosts the board download uses ("http://host[:port]", no trailing
// slash); filled from the site endpoints by the caller.
struct NaviSiteUrls
{
    QString itemBase;    // item-page host: boards and message pages
    QString profileBase; // public profile host: its scheme and first label mark the writer's line
};

// One transaction to download.
struct NaviWorkItem
{
    QString aid;
    QString listingUrl;
    qint64 lastNumber = 0; // highest stored message number, 0 when none
    QString bidId;         // the winner
};

// One message read from a board and its own page.
struct NaviMessage
{
    QString aid;
    QString number;
    qint64 numberValue = 0;
    QString subject;
    QString writeId;
    QString date; // the site's date text
    QString message;
    QString bidId;
    bool recFlg = false; // written by the winner
};

// A transaction's new messages, newest first.
struct NaviBoard
{
    QString aid;
    QString bidId;
    QList<NaviMessage> messages;
};

// Downloads the message boards of a work list: fetches each board, then the page of every
// message newer than the highest stored number, and hands each board with new messages over.
// A board whose scan or one of whose message pages fails is handed over with nothing, so the
// next run starts again from the stored number and gets all of it. Runs on any thread; the
// callbacks are the caller's hand-overs.
class NaviDownloadRun
{
public:
    using PageFetcher = std::function<QString(const QString& url)>; // empty text on failure
    using StopCheck = std::function<bool()>;
    // Stores one board; false when the store failed, which ends the download with result 1.
    using BoardHandOver = std::function<bool(const NaviBoard& board)>;
    using LogHandOver = std::function<void(const QString& line)>;
    using ProgressStart = std::function<void(int count)>;
    using ProgressStep = std::function<void()>;

    // Result codes of the end line.
    enum Result { Finished = 0, Failed = 1, Stopped = 2 };

    struct Callbacks
    {
        BoardHandOver storeBoard;
        LogHandOver log;
        ProgressStart progressStart; // empty: the run drives no progress bar
        ProgressStep progressStep;
    };

    NaviDownloadRun(NaviSiteUrls urls, PageFetcher fetch, StopCheck stopRequested,
                    Callbacks callbacks);

    // Runs through the work list. Stopped: the caller makes no end-of-download hand-over.
    Result run(const QList<NaviWorkItem>& work);

    static QString boardUrl(const NaviSiteUrls& urls, const QString& aid, const QString& bidId);

private:
    bool stopRequested() const;
    void log(const QString& line);
    // Reads one board; returns false when the run was stopped during it.
    bool readBoard(const NaviWorkItem& item, NaviBoard* board);

    NaviSiteUrls m_urls;
    QString m_profileMarker;
    PageFetcher m_fetch;
    StopCheck m_stopRequested;
    Callbacks m_callbacks;
};
