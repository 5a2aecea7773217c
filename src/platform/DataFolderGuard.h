#pragma once

#include <QString>
#include <QStringList>

// What the program checks and tidies in its data folder at start, before it writes there.
namespace DataFolderGuard {

// The files kept in the folder that a symbolic link put in their place would have the program
// read from or write to somewhere else.
QStringList guardedFileNames();

// Why the folder may not be used, or an empty text when it may: a folder above it could be
// changed by another account (FoldersAbove), it is missing, it is not the user's own, others may
// write in it, or one of guardedFileNames() is a symbolic link. Only reads. Give it the path
// DataFolder::path() resolved.
QString refusal(const QString& folder);

// Removes the temporaries that a save of setting.ini or cookies.txt cut short leaves beside
// them ("setting.ini.AbCdEf"). Call it only while holding the folder's lock.
void removeStaleTemporaries(const QString& folder);

} // namespace DataFolderGuard
