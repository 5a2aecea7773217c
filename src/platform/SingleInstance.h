#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

// One running program per user and data folder. The lock file marks a running instance; the
// local server, opened once the main window exists, lets a second start raise that window. The
// server's name lies where only the user can make one, and a second start trusts the other end
// only when it runs as the same user, so another account cannot stand in for the running
// program and keep it from starting.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum class Outcome {
        First,           // this process is the running instance
        RaisedOther,     // another instance's window was asked to come to the front
        OtherIsStarting, // another instance holds the lock but has no window yet
        LockFailed,      // the lock file could not be written (a full disk, no permission)
    };

    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    Outcome acquire();
    // Called once the main window exists: from now on a second start raises it.
    void listen();
    // What failed when acquire() answered LockFailed, naming the lock file.
    QString lockErrorText() const;

    static int exitCodeFor(Outcome outcome)
    {
        return outcome == Outcome::OtherIsStarting || outcome == Outcome::LockFailed ? 1 : 0;
    }
    // An absolute name: in $XDG_RUNTIME_DIR when that is the user's private folder, otherwise in
    // the data folder, otherwise (a data folder path too long for a socket name) in a folder of
    // the user's own in the temporary folder.
    static QString serverNameFor(const QString& dataFolder);
    static QString lockFileFor(const QString& dataFolder);
    // True when the process at the other end of the connected local socket runs as this user.
    static bool peerIsThisUser(qintptr socketDescriptor);

signals:
    void raiseRequested();

private:
    QString m_serverName;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
