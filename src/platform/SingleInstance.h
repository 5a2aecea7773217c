#pragma once

#include "platform/InstanceAddress.h"

#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

// One running program per user and data folder. The lock file marks a running instance; the
// local server, opened once the main window exists, lets a second start raise that window. The
// server's name lies in the owner-only data folder and depends on nothing else, so every start of
// the user on the folder finds it, and a second start trusts the other end only when it runs as
// the same user, so another account cannot stand in for the running program and keep it from
// starting.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum class Outcome {
        First,           // this process is the running instance
        RaisedOther,     // another instance's window was asked to come to the front
        OtherIsStarting, // another instance holds the lock and did not answer in time
        LockFailed,      // the lock file could not be written (a full disk, no permission)
    };

    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // While another instance holds the lock without answering (it is still starting), asks
    // again for a few seconds, unless givesUp answers true.
    Outcome acquire(const std::function<bool()>& givesUp = {});
    // Called once the main window exists: from now on a second start raises it. False when the
    // name could not be opened; the program runs on, and a second start says it cannot reach it.
    bool listen();
    // What failed when acquire() answered LockFailed, naming the lock file.
    QString lockErrorText() const;
    // Why acquire() answered OtherIsStarting: the running instance could not be reached.
    QString unreachableText() const;

    static int exitCodeFor(Outcome outcome)
    {
        return outcome == Outcome::OtherIsStarting || outcome == Outcome::LockFailed ? 1 : 0;
    }
    // The socket's path in the data folder. A path of 108 bytes or more is reached through an
    // InstanceAddress.
    static QString serverNameFor(const QString& dataFolder);
    static QString lockFileFor(const QString& dataFolder);
    // True when the process at the other end of the connected local socket runs as this user.
    static bool peerIsThisUser(qintptr socketDescriptor);

signals:
    void raiseRequested();

private:
    // Asks the instance at the name to raise its window; true when one of this user did.
    bool askToRaise();

    InstanceAddress m_address;
    QLockFile m_lock;
    int m_connectError = -1; // the QLocalSocket error of the last attempt to reach the name
    std::unique_ptr<QLocalServer> m_server;
};
