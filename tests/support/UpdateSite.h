#pragma once

#include "FakeSite.h"

#include <QByteArray>
#include <QStringList>

// The update server for tests: a FakeSite serving "version.txt" and the two updater programs
// (a few KB each, with Content-Length) under the update folder, with failing variants. Other
// answers for the updaters are set on site().
class UpdateSite
{
public:
    enum class Updater { Exe, Mdb };
    enum class Failure {
        None,
        NotFound, // every request for the file answers 404
        CutOff,   // every answer breaks off midway
    };

    UpdateSite();
    bool start();
    FakeSite& site() { return m_site; }
    // Sets UpdateHost of the data folder's setting.ini to this server.
    void useAsUpdateServer() const;

    // "ExeVersion=" exe LF "MdbVersion=" mdb.
    void setVersions(const QByteArray& exe, const QByteArray& mdb);
    void setVersionFile(const FakeSite::Response& response);
    void setFailure(Updater updater, Failure failure);

    static QString fileName(Updater updater);
    static QByteArray updaterBody(Updater updater);
    static QByteArray path(const QString& fileName);

    // The paths requested so far, in order.
    QStringList requestedPaths() const;
    int requestCount(const QString& fileName) const;

private:
    void serveUpdater(Updater updater, Failure failure);

    FakeSite m_site;
};
