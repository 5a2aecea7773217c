#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh data folder for one test: TESSALY_HOME points at it while the object lives. Its
// setting.ini starts with every site host on a closed local port.
class TestDataFolder
{
public:
    explicit TestDataFolder(const QString& subfolder = QString());
    ~TestDataFolder();
    TestDataFolder(const TestDataFolder&) = delete;
    TestDataFolder& operator=(const TestDataFolder&) = delete;

    QString path() const { return m_path; }
    QString filePath(const QString& name) const { return m_path + '/' + name; }
    bool isValid() const { return m_dir.isValid(); }
    // Writes every site host into the folder's setting.ini as a closed local port.
    static void closeSiteHosts(const QString& folder);

private:
    QTemporaryDir m_dir;
    QString m_path;
    QByteArray m_previous;
    bool m_hadPrevious = false;
};
