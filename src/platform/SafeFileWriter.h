#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// Writes a file whole or not at all. The bytes go into a temporary file beside the target, every
// write is checked (unbuffered, so a full disk shows at the write, not at a flush Qt may
// ignore), and only a complete file replaces the old one; on any failure the old file stays as it
// was and errorString() says why. Used for every file the program saves.
class SafeFileWriter
{
public:
    enum class Access { Keep, OwnerOnly };

    explicit SafeFileWriter(const QString& path, Access access = Access::Keep);
    ~SafeFileWriter(); // an uncommitted file is dropped

    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    bool open();
    // False once any write has failed; later writes then do nothing.
    bool write(const QByteArray& bytes);
    // Replaces the target by what was written; false (and the old file kept) on any failure.
    bool commit();
    void cancel();

    qint64 bytesWritten() const { return m_written; }
    QString errorString() const { return m_error; }
    QString path() const { return m_path; }

    // One call for a file written from memory.
    static bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error,
                               Access access = Access::Keep);

    // Test seam: from now on every file written through this class fails like a full disk
    // (ENOSPC) once it holds `bytes` bytes; a negative value lifts the limit.
    static void simulateDiskFullAfter(qint64 bytes);

private:
    bool fail(const QString& error);

    QString m_path;
    Access m_access;
    QSaveFile m_file;
    qint64 m_written = 0;
    bool m_failed = false;
    bool m_open = false;
    QString m_error;
};
