#include "platform/DataFolder.h"

#include "platform/FoldersAbove.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>
#include <QStringList>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace DataFolder {
namespace {

QString requestedPath()
{
    QString folder = qEnvironmentVariable("TESSALY_HOME");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Tessaly";
    return QDir::cleanPath(QDir(folder).absolutePath());
}

// The path with its links resolved by the system, or an empty text.
QString canonical(const QString& path)
{
    char* resolved = ::realpath(QFile::encodeName(path).constData(), nullptr);
    if (!resolved)
        return QString();
    const QString result = QFile::decodeName(resolved);
    std::free(resolved);
    return result;
}

// The folder with its links resolved, made when it is missing: its missing parents without
// write access for others, itself owner-only. Below a folder that others could change nothing is
// made, and the path is left for the start-up check to refuse.
QString resolve(const QString& requested)
{
    QString existing = requested;
    QStringList missing;
    while (!QFileInfo::exists(existing) && existing != QStringLiteral("/")) {
        missing.prepend(QFileInfo(existing).fileName());
        existing = QFileInfo(existing).path();
    }
    QString folder = canonical(existing);
    if (folder.isEmpty())
        return requested;
    if (!missing.isEmpty()) {
        const QString wanted = QDir::cleanPath(folder + '/' + missing.join('/'));
        if (FoldersAbove::firstUnsafe(wanted).fault != FoldersAbove::Fault::None)
            return wanted;
        for (qsizetype i = 0; i < missing.size(); ++i) {
            folder = QDir::cleanPath(folder + '/' + missing.at(i));
            ::mkdir(QFile::encodeName(folder).constData(), i + 1 == missing.size() ? 0700 : 0755);
        }
        const QString made = canonical(folder);
        if (!made.isEmpty())
            folder = made;
    }
    // A folder of the user's that only the user may write in is made owner-only; one of another
    // account, or one that others may write in, is left as it is for the start-up check.
    const QByteArray native = QFile::encodeName(folder);
    struct stat info;
    if (FoldersAbove::firstUnsafe(folder).fault == FoldersAbove::Fault::None &&
        ::stat(native.constData(), &info) == 0 && info.st_uid == ::geteuid() &&
        (info.st_mode & (S_IWGRP | S_IWOTH)) == 0 && (info.st_mode & 077) != 0)
        ::chmod(native.constData(), 0700);
    return folder;
}

} // namespace

QString path()
{
    // Resolved once for the folder asked for: a link on the path that changes later does not
    // move the program's files.
    static QMutex mutex;
    static QString lastRequested;
    static QString resolved;
    const QString requested = requestedPath();
    const QMutexLocker lock(&mutex);
    if (resolved.isEmpty() || requested != lastRequested) {
        resolved = resolve(requested);
        lastRequested = requested;
    }
    return resolved;
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
