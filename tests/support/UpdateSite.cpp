#include "UpdateSite.h"

#include "platform/DataFolder.h"
#include "platform/IniFile.h"

UpdateSite::UpdateSite()
{
    setVersions("1.08", "1");
    serveUpdater(Updater::Exe, Failure::None);
    serveUpdater(Updater::Mdb, Failure::None);
}

bool UpdateSite::start()
{
    return m_site.start();
}

void UpdateSite::useAsUpdateServer() const
{
    IniFile ini(DataFolder::filePath(QStringLiteral("setting.ini")));
    ini.writeString(QStringLiteral("Site"), QStringLiteral("UpdateHost"), m_site.host());
}

QByteArray UpdateSite::path(const QString& fileName)
{
    return "/tessaly/updatefile/" + fileName.toLatin1();
}

QString UpdateSite::fileName(Updater updater)
{
    return updater == Updater::Exe ? QStringLiteral("UpdateExe.exe")
                                   : QStringLiteral("UpdateMdb.exe");
}

QByteArray UpdateSite::updaterBody(Updater updater)
{
    // A recognisable start and a body of a few KB, different for each file.
    QByteArray body = "MZ" + fileName(updater).toLatin1();
    const char seed = updater == Updater::Exe ? 'e' : 'm';
    for (int i = 0; body.size() < 6000; ++i)
        body += char(seed + i % 7);
    return body;
}

void UpdateSite::setVersions(const QByteArray& exe, const QByteArray& mdb)
{
    FakeSite::Response response;
    response.contentType = "text/plain";
    response.body = "ExeVersion=" + exe + "\nMdbVersion=" + mdb;
    setVersionFile(response);
}

void UpdateSite::setVersionFile(const FakeSite::Response& response)
{
    m_site.setRoute("GET", path(QStringLiteral("version.txt")), response);
}

void UpdateSite::setFailure(Updater updater, Failure failure)
{
    serveUpdater(updater, failure);
}

void UpdateSite::serveUpdater(Updater updater, Failure failure)
{
    const QByteArray body = updaterBody(updater);
    FakeSite::Response response;
    response.contentType = "application/octet-stream";
    response.body = body;
    if (failure == Failure::NotFound) {
        response.status = 404;
        response.contentType = "text/html";
        response.body = "<html><body>Not Found</body></html>";
    } else if (failure == Failure::CutOff) {
        response.cutAfter = int(body.size() / 2);
    }
    m_site.setRoute("GET", path(fileName(updater)), response);
}

QStringList UpdateSite::requestedPaths() const
{
    QStringList paths;
    for (const FakeSite::Request& request : m_site.requests())
        paths << QString::fromLatin1(request.path());
    return paths;
}

int UpdateSite::requestCount(const QString& fileName) const
{
    return int(requestedPaths().count(QString::fromLatin1(path(fileName))));
}
