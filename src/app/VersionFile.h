#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The update server's version file and the version numbers it compares: two lines, "ExeVersion="
// and the newest program version, then a key, "=" and the newest database version. Versions are
// decimal numbers, so "1.10" is 1.1 and newer than "1.09".
namespace VersionFile {

inline const QString path = QStringLiteral("/tessaly/updatefile/");
inline const QString fileName = QStringLiteral("version.txt");

struct ServerVersions
{
    double exe = 0;
    double mdb = 0;
};

// A version text as a number: ASCII digits with at most one decimal point, blanks and line
// ends around it ignored. Anything else has no number.
std::optional<double> readNumber(const QString& text);

// The two versions of the file; nothing when the file is not a version file (its first line
// lacks "ExeVersion", the second line is missing, or a value is not a number).
std::optional<ServerVersions> read(const QByteArray& body);

// The stored database version as a number: a missing or non-number text counts as 1.
double readLocalMdbVersion(const QString& stored);
// The text written back for a version: "1.00" becomes "1", "1.50" becomes "1.5".
QString normalisedText(double version);

// The server's version is newer than the local one; equal versions are no update.
inline bool isNewer(double server, double local)
{
    return !(local >= server);
}

} // namespace VersionFile
