#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QObject;
class html;

// The version check of every start: the program's own version and the database version of
// setting.ini against the versions that the update server announces.
class CheckVersion
{
public:
    // Reads the local versions; MdbVersion is written back in its normalised form, so the key
    // always exists. No request is made yet.
    CheckVersion();
    virtual ~CheckVersion();

    // Asks the update server for its version file (one GET, waiting at most requestTimeout())
    // and compares. With no update server (an empty UpdateHost) nothing is requested and
    // nothing is newer; an unreachable server or an unreadable file means no update.
    void askServer();
    // The same without waiting: the flags are set when the answer comes, and answered then runs
    // on receiver's thread (never when receiver is destroyed first). With no update server it
    // runs queued, nothing newer. The object must outlive the answer or the receiver.
    void askServerLater(QObject* receiver, std::function<void()> answered);

    bool isExeUpdate() const { return exeUpdate; }
    bool isMdbUpdate() const { return mdbUpdate; }
    // Whether the desktop can show balloon messages at the tray icon.
    static bool isBalloonCapable();

    // The program's product version as compiled in ("1.08").
    static QString productVersion();

    // The longest the version GET may take. Process-wide.
    static void setRequestTimeout(int milliseconds);
    static int requestTimeout();

    double localExeVersion = 0;
    double localMdbVersion = 1;
    bool exeUpdate = false;
    double serverExeVersion = 0;
    double serverMdbVersion = 0;
    bool mdbUpdate = false;

private:
    static html versionClient();
    static QString versionFileUrl(const QString& host);
    // Server versions from the version file (the local ones when it is unusable), then the flags.
    void compareWith(const QByteArray& versionFile);
};
