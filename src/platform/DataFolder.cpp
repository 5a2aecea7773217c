#include "platform/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace DataFolder {

QString path()
{
    QString folder = qEnvironmentVariable("TESSALY_HOME");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Tessaly";
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    const QByteArray native = QFile::encodeName(folder);
    if (!QDir(folder).exists()) {
        QDir().mkpath(QFileInfo(folder).path());
        ::mkdir(native.constData(), 0700);
    }
    // A folder of the user's that only the user may write in is made owner-only; one of another
    // account, or one that others may write in, is left as it is for the start-up check.
    struct stat info;
    if (::stat(native.constData(), &info) == 0 && info.st_uid == ::geteuid() &&
        (info.st_mode & (S_IWGRP | S_IWOTH)) == 0 && (info.st_mode & 077) != 0)
        ::chmod(native.constData(), 0700);
    return folder;
}

QString filePath(const QString& name)
{
    return path() + '/' + name;
}

void restrictFile(const QString& filePath)
{
    if (QFile::exists(filePath))
        QFile::setPermissions(filePath, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace DataFolder
