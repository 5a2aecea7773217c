#include "TestDataFolder.h"

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
}

TestDataFolder::~TestDataFolder()
{
    if (m_hadPrevious)
        qputenv("TESSALY_HOME", m_previous);
    else
        qunsetenv("TESSALY_HOME");
}
