#include "platform/SingleInstance.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSysInfo>
#include <QThread>

#include <sys/socket.h>
#include <unistd.h>

namespace {

const QByteArray raiseCommand = "raise\n";

// How long a second start waits for an instance that holds the lock but does not answer yet:
// one started a moment before is still opening its window.
constexpr int answerWaitMs = 5000;
constexpr int askAgainMs = 50;

QString unreachableCause(int connectError)
{
    switch (QLocalSocket::LocalSocketError(connectError)) {
    case QLocalSocket::ServerNotFoundError:
        return QStringLiteral("呼び出しを受ける口がありません");
    case QLocalSocket::ConnectionRefusedError:
        return QStringLiteral("呼び出しを受け付けていません");
    case QLocalSocket::SocketAccessError:
        return QStringLiteral("呼び出しを受ける口に接続する権限がありません");
    case QLocalSocket::SocketTimeoutError:
        return QStringLiteral("応答がありません");
    default:
        return QStringLiteral("接続できません");
    }
}

} // namespace

QString SingleInstance::serverNameFor(const QString& dataFolder)
{
    return InstanceAddress::socketFileFor(dataFolder);
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
    : QObject(parent), m_address(dataFolder), m_lock(lockFileFor(dataFolder))
{
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::askToRaise()
{
    if (m_address.name().isEmpty()) {
        m_connectError = QLocalSocket::ServerNotFoundError;
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(m_address.name());
    if (!socket.waitForConnected(1000)) {
        m_connectError = socket.error();
        return false;
    }
    // Whoever else listens on the name is not the running program.
    if (!peerIsThisUser(socket.socketDescriptor())) {
        m_connectError = QLocalSocket::SocketAccessError;
        socket.abort();
        return false;
    }
    socket.write(raiseCommand);
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}

SingleInstance::Outcome SingleInstance::acquire(const std::function<bool()>& givesUp)
{
    const QDeadlineTimer deadline(answerWaitMs);
    for (;;) {
        if (askToRaise())
            return Outcome::RaisedOther;
        // A lock left by a crashed process is removed by tryLock (its owner no longer runs).
        if (m_lock.tryLock(0)) {
            // Owner-only, as every file of the data folder (QLockFile creates it 0644).
            QFile::setPermissions(m_lock.fileName(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            return Outcome::First;
        }
        if (m_lock.error() != QLockFile::LockFailedError)
            return Outcome::LockFailed;
        if (deadline.hasExpired() || (givesUp && givesUp()))
            return Outcome::OtherIsStarting;
        QThread::msleep(askAgainMs);
    }
}

QString SingleInstance::lockErrorText() const
{
    const QString why = m_lock.error() == QLockFile::PermissionError
                            ? QStringLiteral("書き込みが許可されていません")
                            : QStringLiteral("ディスクに空きがない可能性があります");
    return QStringLiteral("ロックファイルを書き込めません（%1）: %2").arg(why, m_lock.fileName());
}

QString SingleInstance::unreachableText() const
{
    qint64 pid = 0;
    QString host;
    QString application;
    m_lock.getLockInfo(&pid, &host, &application);
    const QString holder =
        !host.isEmpty() && host != QSysInfo::machineHostName()
            ? QStringLiteral("別のコンピューター %1 のプロセス %2").arg(host).arg(pid)
            : QStringLiteral("プロセス %1").arg(pid);
    return QStringLiteral("このデータフォルダのテサリーはすでに起動していますが（%1）、"
                          "呼び出せません（%2）: %3")
        .arg(holder, unreachableCause(m_connectError), m_address.socketFile());
}

bool SingleInstance::listen()
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (m_address.name().isEmpty())
        return false;
    QLocalServer::removeServer(m_address.name());
    if (!m_server->listen(m_address.name()))
        return false;
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
    return true;
}
