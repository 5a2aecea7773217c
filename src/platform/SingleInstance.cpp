#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QByteArray raiseCommand = "raise\n";
} // namespace

QString SingleInstance::serverNameFor(const QString& dataFolder)
{
    const QByteArray hash =
        QCryptographicHash::hash(dataFolder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("Tessaly-%1-%2")
        .arg(qEnvironmentVariable("USER"), QString::fromLatin1(hash));
}

QString SingleInstance::lockFileFor(const QString& dataFolder)
{
    return dataFolder + QStringLiteral("/Tessaly.lock");
}

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent)
    : QObject(parent), m_serverName(serverNameFor(dataFolder)),
      m_lock(lockFileFor(dataFolder))
{
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::acquire()
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (socket.waitForConnected(1000)) {
        socket.write(raiseCommand);
        socket.waitForBytesWritten(1000);
        socket.disconnectFromServer();
        return Outcome::RaisedOther;
    }
    // A lock left by a crashed process is removed by tryLock (its owner no longer runs).
    if (!m_lock.tryLock(0))
        return Outcome::OtherIsStarting;
    // Owner-only, as every file of the data folder (QLockFile creates it 0644).
    QFile::setPermissions(m_lock.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return Outcome::First;
}

void SingleInstance::listen()
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_serverName);
    m_server->listen(m_serverName);
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            // A request may arrive in pieces; it counts once its line is whole.
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                while (client->canReadLine())
                    if (client->readLine() == raiseCommand)
                        emit raiseRequested();
            });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
}
