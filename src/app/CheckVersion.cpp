#include "app/CheckVersion.h"

#include "common/CommonDefine.h"
#include "app/VersionFile.h"
#include "platform/IniFile.h"
#include "site/SiteEndpoints.h"
#include "site/html.h"

#include <QSystemTrayIcon>
#include <QTimer>

namespace {

int& timeoutMs()
{
    static int value = 5000;
    return value;
}

} // namespace

CheckVersion::CheckVersion()
{
    localExeVersion = VersionFile::readNumber(productVersion()).value_or(0);
    IniFile ini(CommonDefine::settingIniPath());
    const QString& section = CommonDefine::Section::Version;
    localMdbVersion = VersionFile::readLocalMdbVersion(ini.readString(section, "MdbVersion", "1"));
    ini.writeString(section, "MdbVersion", VersionFile::normalisedText(localMdbVersion));
    serverExeVersion = localExeVersion;
    serverMdbVersion = localMdbVersion;
}

CheckVersion::~CheckVersion() = default;

void CheckVersion::askServer()
{
    const QString host = SiteEndpoints::load().updateHost;
    QByteArray body;
    if (!host.isEmpty()) {
        html client = versionClient();
        client.get(versionFileUrl(host));
        body = client.response();
    }
    compareWith(body);
}

void CheckVersion::askServerLater(QObject* receiver, std::function<void()> answered)
{
    const QString host = SiteEndpoints::load().updateHost;
    if (host.isEmpty()) {
        compareWith(QByteArray());
        QTimer::singleShot(0, receiver, std::move(answered));
        return;
    }
    versionClient().getLater(versionFileUrl(host), receiver,
                             [this, answered = std::move(answered)](const QByteArray& body) {
                                 compareWith(body);
                                 answered();
                             });
}

html CheckVersion::versionClient()
{
    html client;
    client.setTimeout(timeoutMs());
    client.setTotalTimeout(timeoutMs());
    client.setMaxResponseSize(64 * 1024);
    return client;
}

QString CheckVersion::versionFileUrl(const QString& host)
{
    return SiteEndpoints::httpUrl(host, VersionFile::path + VersionFile::fileName);
}

void CheckVersion::compareWith(const QByteArray& versionFile)
{
    serverExeVersion = localExeVersion;
    serverMdbVersion = localMdbVersion;
    if (const auto server = VersionFile::read(versionFile)) {
        serverExeVersion = server->exe;
        serverMdbVersion = server->mdb;
    }
    exeUpdate = VersionFile::isNewer(serverExeVersion, localExeVersion);
    mdbUpdate = VersionFile::isNewer(serverMdbVersion, localMdbVersion);
}

bool CheckVersion::isBalloonCapable()
{
    return QSystemTrayIcon::supportsMessages();
}

QString CheckVersion::productVersion()
{
    return QStringLiteral(TESSALY_VERSION);
}

void CheckVersion::setRequestTimeout(int milliseconds)
{
    timeoutMs() = milliseconds;
}

int CheckVersion::requestTimeout()
{
    return timeoutMs();
}
