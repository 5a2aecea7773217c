#include "platform/DataFolderGuard.h"

#include "platform/Database.h"
#include "platform/FoldersAbove.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>
#include <unistd.h>

namespace DataFolderGuard {
namespace {

// The files written through the checked file writer, whose temporaries a kill can leave.
const QStringList savedFileNames = {QStringLiteral("setting.ini"), QStringLiteral("cookies.txt")};

bool statPath(const QString& path, struct stat* info, bool followLink)
{
    const QByteArray native = QFile::encodeName(path);
    return (followLink ? ::stat(native.constData(), info) : ::lstat(native.constData(), info)) == 0;
}

// A temporary of the file writer: the file's name, a dot and six random letters. A name of six
// small letters may be one the seller chose ("setting.ini.backup"); the writer's names have a
// capital but for one in 64, and those few are left.
bool isWriterTemporary(const QString& name)
{
    static const QRegularExpression suffix(QStringLiteral("^(?=[A-Za-z]*[A-Z])[A-Za-z]{6}$"));
    for (const QString& saved : savedFileNames)
        if (name.size() == saved.size() + 7 && name.startsWith(saved + '.') &&
            suffix.match(name.mid(saved.size() + 1)).hasMatch())
            return true;
    return false;
}

} // namespace

QStringList guardedFileNames()
{
    const QString db = Database::fileName();
    return savedFileNames + QStringList{db, db + "-wal", db + "-shm", db + "-journal",
                                        QFileInfo(SingleInstance::lockFileFor({})).fileName()};
}

QString refusal(const QString& folder)
{
    const FoldersAbove::Finding above = FoldersAbove::firstUnsafe(folder);
    if (above.fault == FoldersAbove::Fault::OtherAccount)
        return QStringLiteral(
                   "データフォルダの上のフォルダ %1 が他のユーザーのものなので使えません: %2")
            .arg(above.folder, folder);
    if (above.fault == FoldersAbove::Fault::OthersMayWrite)
        return QStringLiteral(
                   "データフォルダの上のフォルダ %1 に他のユーザーも書き込めるので使えません: %2")
            .arg(above.folder, folder);
    struct stat info;
    if (!statPath(folder, &info, true) || !S_ISDIR(info.st_mode))
        return QStringLiteral("データフォルダを作成できません: %1").arg(folder);
    if (info.st_uid != ::geteuid())
        return QStringLiteral("データフォルダが他のユーザーのものなので使えません: %1").arg(folder);
    if (info.st_mode & (S_IWGRP | S_IWOTH))
        return QStringLiteral("データフォルダに他のユーザーも書き込めるので使えません: %1")
            .arg(folder);
    for (const QString& name : guardedFileNames()) {
        if (statPath(folder + '/' + name, &info, false) && S_ISLNK(info.st_mode))
            return QStringLiteral("データフォルダの %1 がシンボリックリンクなので使えません: %2")
                .arg(name, folder);
    }
    return QString();
}

void removeStaleTemporaries(const QString& folder)
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::System | QDir::Hidden)) {
        struct stat info;
        if (isWriterTemporary(name) && statPath(dir.filePath(name), &info, false) &&
            (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)))
            QFile::remove(dir.filePath(name));
    }
}

} // namespace DataFolderGuard
