#include "platform/FoldersAbove.h"

#include <QFile>
#include <QStringList>

#include <sys/stat.h>
#include <unistd.h>

namespace FoldersAbove {

Finding firstUnsafe(const QString& folder)
{
    const QStringList names = folder.split('/', Qt::SkipEmptyParts);
    QString above = QStringLiteral("/");
    for (qsizetype i = 0; i < names.size(); ++i) {
        struct stat info;
        if (::lstat(QFile::encodeName(above).constData(), &info) != 0)
            return {};
        if (S_ISLNK(info.st_mode))
            return {Fault::OthersMayWrite, above};
        if (info.st_uid != 0 && info.st_uid != ::geteuid())
            return {Fault::OtherAccount, above};
        if ((info.st_mode & (S_IWGRP | S_IWOTH)) && !(info.st_mode & S_ISVTX))
            return {Fault::OthersMayWrite, above};
        above += (i == 0 ? QString() : QStringLiteral("/")) + names.at(i);
    }
    return {};
}

} // namespace FoldersAbove
