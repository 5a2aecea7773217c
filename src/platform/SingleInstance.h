#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

// One running program per user and data folder. The lock file marks a running instance; the
// local server, opened once the main window exists, lets a second start raise that window.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum class Outcome {
        First,           // this process is the running instance
        RaisedOther,     // another instance's window was asked to come to the front
        OtherIsStarting, // another instance holds the lock but has no window yet
    };

    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    Outcome acquire();
    // Called once the main window exists: from now on a second start raises it.
    void listen();

    static int exitCodeFor(Outcome outcome) { return outcome == Outcome::OtherIsStarting ? 1 : 0; }
    static QString serverNameFor(const QString& dataFolder);
    static QString lockFileFor(const QString& dataFolder);

signals:
    void raiseRequested();

private:
    QString m_serverName;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
