#pragma once

#include "common/NaviOptions.h"
#include "common/NaviSharedQueries.h"

#include <QObject>
#include <QSqlDatabase>
#include <QString>

// What the main window shares with its side windows, controllers and download threads: the
// main database connection and its shared queries, the logged-in account, the options, the
// bidder keywords, the busy state of the running download, the state of a message post, the
// message log and the message font size. Lives on the GUI thread.
class NaviSession : public QObject
{
    Q_OBJECT
public:
    explicit NaviSession(QObject* parent = nullptr);

    QSqlDatabase connection;
    NaviSharedQueries queries;
    NaviOptions options;
    BidInfoKeywords bidInfoKeywords;
    // Plain members so the window's code can keep reading and writing them; the setters below
    // also tell the listeners.
    QString loginId;
    // The kind of the running download; 0 when idle.
    int downloadKind = 0;
    bool postingMessage = false;
    // Whether the desktop shows balloon messages from the tray icon.
    bool balloonCapable = false;

    void setLoginId(const QString& id);
    void setDownloadKind(int kind);
    bool isBusy() const { return downloadKind != 0; }

    // A message post runs beside the busy state; begin/end only mark it.
    void beginMessagePost();
    void endMessagePost();
    // True when a message post may begin: no post runs and the busy state is idle or a
    // detailed listing download.
    bool messagePostAllowed() const;

    // One line for the message log.
    void addLogMessage(const QString& text);

    int messageFontSize() const { return m_messageFontSize; }
    void setMessageFontSize(int points);

    // Tells the listeners that the listing row of an auction changed (its cells were written).
    void notifyListingRowChanged(const QString& aid);

signals:
    void logLine(const QString& text);
    void loginChanged(const QString& loginId);
    void busyChanged(int downloadKind);
    void postingChanged(bool posting);
    void messageFontSizeChanged(int points);
    void listingRowChanged(const QString& aid);

private:
    int m_messageFontSize = 0;
};
