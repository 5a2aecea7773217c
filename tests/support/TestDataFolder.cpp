#include "TestDataFolder.h"

#include "platform/IniFile.h"

#include <QDir>

TestDataFolder::TestDataFolder(const QString& subfolder)
{
    m_path = m_dir.path();
    if (!subfolder.isEmpty()) {
        m_path += '/' + subfolder;
        QDir().mkpath(m_path);
    }
    m_hadPrevious = qEnvironmentVariableIsSet("TESSALY_HOME");
    m_previous = qgetenv("TESSALY_HOME");
    qputenv("TESSALY_HOME", m_path.toUtf8());
    closeSiteHosts(m_path);
}

void TestDataFolder::closeSiteHosts(const QString& folder)
{
    // No test reaches the site's real hosts: until a test points them at its fake site, every
    // host is a closed port on this machine, which refuses at once.
    IniFile ini(folder + QStringLiteral("/setting.ini"));
    for (const char* key : {"LoginHost", "PortalHost", "AccountHost", "ClosedListHost", "ItemHost",
                            "ProfileHost", "WebServiceHost", "UpdateHost"})
        ini.writeString(QStringLiteral("Site"), QString::fromLatin1(key),
                        QStringLiteral("127.0.0.1:9"));
}

TestDataFolder::~TestDataFolder()
{
    if (m_hadPrevious)
        qputenv("TESSALY_HOME", m_previous);
    else
        qunsetenv("TESSALY_HOME");
}
