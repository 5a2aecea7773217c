#include "app/CheckVersion.h"

#include "common/CommonDefine.h"
#include "app/VersionFile.h"
#include "platform/IniFile.h"
#include "site/SiteEndpoints.h"
#include "site/html.h"

#include <QSystemTrayIcon>

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
    serverExeVersion = localExeVersion;
    serverMdbVersion = localMdbVersion;
    const QString host = SiteEndpoints::load().updateHost;
    if (!host.isEmpty()) {
        html client;
        client.setTimeout(timeoutMs());
        client.setTotalTimeout(timeoutMs());
        client.setMaxResponseSize(64 * 1024);
        client.get(SiteEndpoints::httpUrl(host, VersionFile::path + VersionFile::fileName));
        if (const auto server = VersionFile::read(client.response())) {
            serverExeVersion = server->exe;
            serverMdbVersion = server->mdb;
        }
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
