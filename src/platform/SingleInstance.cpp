#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray raiseCommand = "raise\n";

// Only the user can make a name in it: the user's own folder that no one else may enter.
bool isPrivateFolder(const QString& folder, bool followLink)
{
    const QByteArray native = QFile::encodeName(folder);
    struct stat info;
    const int result =
        followLink ? ::stat(native.constData(), &info) : ::lstat(native.constData(), &info);
    return result == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & 077) == 0;
}

// A socket's path must fit the address, its terminating zero included.
bool fitsSocketAddress(const QString& path)
{
    return QFile::encodeName(path).size() < qsizetype(sizeof(sockaddr_un{}.sun_path));
}

QString folderHash(const QString& dataFolder)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(dataFolder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

} // namespace

QString SingleInstance::serverNameFor(const QString& dataFolder)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime, true)) {
        const QString name = runtime + QStringLiteral("/Tessaly-") + folderHash(dataFolder);
        if (fitsSocketAddress(name))
            return name;
    }
    const QString inDataFolder = dataFolder + QStringLiteral("/Tessaly.socket");
    if (fitsSocketAddress(inDataFolder) && isPrivateFolder(dataFolder, true))
        return inDataFolder;
    // A folder of the user's own in the shared temporary folder, made owner-only; a link or a
    // folder someone else made in its place is not used.
    const QString own = QDir::tempPath() + QStringLiteral("/Tessaly-%1").arg(::geteuid());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    const QString inOwn = own + '/' + folderHash(dataFolder);
    if (fitsSocketAddress(inOwn) && isPrivateFolder(own, false))
        return inOwn;
    // No place for a name: no start can reach this one, and the lock still keeps it single.
    return inDataFolder;
}

QString SingleInstance::lockFileFor(const QString& dataFolder)
{
    return dataFolder + QStringLiteral("/Tessaly.lock");
}

bool SingleInstance::peerIsThisUser(qintptr socketDescriptor)
{
    struct ucred peer = {};
    socklen_t length = sizeof(peer);
    return socketDescriptor >= 0 &&
           ::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           length == sizeof(peer) && peer.uid == ::geteuid();
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
        // Whoever else listens on the name is not the running program: this one starts.
        if (peerIsThisUser(socket.socketDescriptor())) {
            socket.write(raiseCommand);
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return Outcome::RaisedOther;
        }
        socket.abort();
    }
    // A lock left by a crashed process is removed by tryLock (its owner no longer runs).
    if (!m_lock.tryLock(0))
        return m_lock.error() == QLockFile::LockFailedError ? Outcome::OtherIsStarting
                                                            : Outcome::LockFailed;
    // Owner-only, as every file of the data folder (QLockFile creates it 0644).
    QFile::setPermissions(m_lock.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return Outcome::First;
}

QString SingleInstance::lockErrorText() const
{
    const QString why = m_lock.error() == QLockFile::PermissionError
                            ? QStringLiteral("書き込みが許可されていません")
                            : QStringLiteral("ディスクに空きがない可能性があります");
    return QStringLiteral("ロックファイルを書き込めません（%1）: %2").arg(why, m_lock.fileName());
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
