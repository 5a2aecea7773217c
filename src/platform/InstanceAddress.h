#pragma once

#include <QString>

// Where a running instance of a data folder answers: the socket Tessaly.socket inside that
// folder, so that every start of the user on the folder finds the same one whatever its
// environment. A socket's address holds at most 107 bytes; when the folder's path is longer, the
// socket is reached through a descriptor of the folder that the object keeps open
// (/proc/self/fd/<n>/Tessaly.socket names the same file).
class InstanceAddress
{
public:
    explicit InstanceAddress(const QString& dataFolder);
    ~InstanceAddress();
    InstanceAddress(const InstanceAddress&) = delete;
    InstanceAddress& operator=(const InstanceAddress&) = delete;

    // The socket's own path in the data folder.
    static QString socketFileFor(const QString& dataFolder);
    QString socketFile() const { return m_socketFile; }
    // The name to give QLocalServer and QLocalSocket; empty when the socket cannot be reached
    // (a long path and a folder that could not be opened).
    QString name() const { return m_name; }

private:
    QString m_socketFile;
    QString m_name;
    int m_folder = -1;
};
