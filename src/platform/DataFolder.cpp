#include "platform/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace DataFolder {

QString path()
{
    QString folder = qEnvironmentVariable("TESSALY_HOME");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Tessaly";
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    if (!QDir(folder).exists())
        QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
