#pragma once

#include <QString>

// The folder that holds setting.ini and the database: $TESSALY_HOME when set, otherwise the
// user's data location, with its links resolved once; every later call gives that same path. It
// is created owner-only (0700), unless a folder above it could be changed by another account;
// files in it are made 0600.
namespace DataFolder {

QString path();
QString filePath(const QString& name);
void restrictFile(const QString& filePath);

} // namespace DataFolder
