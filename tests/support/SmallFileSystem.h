#pragma once

#include <QString>
#include <QTemporaryDir>

// A real file system of a few KiB (tmpfs) mounted on a temporary folder, for tests that fill a
// disk. Only root may mount one; elsewhere isMounted() is false and the test skips.
class SmallFileSystem
{
public:
    explicit SmallFileSystem(int kibibytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool isMounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
