#pragma once

#include "site/NaviDownloadRun.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

// A transaction to download again at the end of the download.
struct stNaviReDownload
{
    QString aid;
    QString bidId;
    bool operator==(const stNaviReDownload&) const = default;
};

// One message row as inserted into T_Navi.
struct NaviStoredRow
{
    QString aid;
    QString writeId;
    qint64 number = 0;
    QString subject;
    QString message;
    QString writeDate; // converted; empty when the site's text did not read as a date
    bool recFlg = false;
    QString folderId; // "000" received, "001" sent
    QString loginId;
    QString bidId;
};

// What one board's store did, for the lists, the folder tree, the cells and the log.
struct NaviStoreSummary
{
    bool ok = true; // false: a database error; nothing of the board was stored
    QString aid;
    QString bidId;
    QString title;             // of the listing; empty when the listing is not stored
    QString bidderName;        // the winner's Name in T_BidMaster; empty when unknown
    QList<NaviStoredRow> rows; // newest first
    int receivedCount = 0;     // received (and unread) rows inserted
    int sentCount = 0;
    QMap<QString, int> insertedByFolder; // folder id -> rows inserted there
    bool duplicated = false;             // a message number is stored twice after the inserts
    bool deleted = false; // ... and the transaction's rows of the account were deleted again
    bool reDownloadQueued = false;
    QStringList logLines; // in order: the new-messages line, the duplicate line, an error line
};

// Stores downloaded boards on the GUI thread's connection, one board per transaction. The
// account and the kind of download are fixed when the download starts.
class NaviStore
{
public:
    // reDownload: this download is itself the automatic re-download (a repeated number is then
    // only logged). today: the date the site's month-and-day texts are read against; invalid
    // means the current date at each store.
    NaviStore(const QSqlDatabase& db, const QString& loginId, bool reDownload,
              QDate today = QDate());

    // Never throws: a database error rolls the board back and is reported in the summary.
    NaviStoreSummary storeBoard(const NaviBoard& board);

    // The listing row's message-count cell from the database: "N", "N(M)" with M received
    // unread, or empty when the transaction has no messages of the account.
    QString messageCountCell(const QString& aid, const QString& bidId) const;

    // Transactions that got messages in this download, in store order, each once.
    const QList<stNaviReDownload>& storedTransactions() const { return m_stored; }
    // Transactions deleted for a repeated number, to download again at the end.
    const QList<stNaviReDownload>& reDownloadQueue() const { return m_reDownloadQueue; }

    QString loginId() const { return m_loginId; }

private:
    void store(const NaviBoard& board, NaviStoreSummary* summary);

    QSqlDatabase m_db;
    QString m_loginId;
    bool m_reDownload;
    QDate m_today;
    QSqlQuery m_insert; // prepared at the first store, reused for every row
    bool m_insertPrepared = false;
    QList<stNaviReDownload> m_stored;
    QList<stNaviReDownload> m_reDownloadQueue;
};
