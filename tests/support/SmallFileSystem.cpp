#include "SmallFileSystem.h"

#include <QFile>

#include <sys/mount.h>
#include <unistd.h>

SmallFileSystem::SmallFileSystem(int kibibytes)
{
    if (!m_dir.isValid() || geteuid() != 0)
        return;
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k,mode=0700";
    m_mounted = mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                      options.constData()) == 0;
}

SmallFileSystem::~SmallFileSystem()
{
    if (m_mounted)
        umount(QFile::encodeName(m_dir.path()).constData());
}
