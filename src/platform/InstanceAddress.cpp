#include "platform/InstanceAddress.h"

#include <QFile>

#include <fcntl.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A socket's path must fit the address, its terminating zero included.
bool fitsSocketAddress(const QString& path)
{
    return QFile::encodeName(path).size() < qsizetype(sizeof(sockaddr_un{}.sun_path));
}

const QString socketFileName = QStringLiteral("Tessaly.socket");

} // namespace

InstanceAddress::InstanceAddress(const QString& dataFolder)
    : m_socketFile(socketFileFor(dataFolder))
{
    if (fitsSocketAddress(m_socketFile)) {
        m_name = m_socketFile;
        return;
    }
    m_folder = ::open(QFile::encodeName(dataFolder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_folder >= 0)
        m_name = QStringLiteral("/proc/self/fd/%1/").arg(m_folder) + socketFileName;
}

InstanceAddress::~InstanceAddress()
{
    if (m_folder >= 0)
        ::close(m_folder);
}

QString InstanceAddress::socketFileFor(const QString& dataFolder)
{
    return dataFolder + '/' + socketFileName;
}
