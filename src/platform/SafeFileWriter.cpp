#include "platform/SafeFileWriter.h"

#include <QCoreApplication>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

std::atomic<qint64> simulatedDiskSpace{-1};

QString diskFullText()
{
    return QString::fromLocal8Bit(std::strerror(ENOSPC));
}

} // namespace

SafeFileWriter::SafeFileWriter(const QString& path, Access access)
    : m_path(path), m_access(access), m_file(path)
{
}

SafeFileWriter::~SafeFileWriter()
{
    cancel();
}

bool SafeFileWriter::open()
{
    m_written = 0;
    m_failed = false;
    m_error.clear();
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(m_file.errorString());
    m_open = true;
    if (m_access == Access::OwnerOnly
        && !m_file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return fail(m_file.errorString());
    return true;
}

bool SafeFileWriter::write(const QByteArray& bytes)
{
    if (m_failed || !m_open)
        return false;
    if (bytes.isEmpty())
        return true;
    const qint64 space = simulatedDiskSpace.load();
    if (space >= 0 && m_written + bytes.size() > space)
        return fail(diskFullText());
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = m_file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return fail(m_file.errorString());
        done += n;
    }
    m_written += done;
    return true;
}

bool SafeFileWriter::commit()
{
    if (m_failed || !m_open)
        return false;
    m_open = false;
    if (!m_file.commit()) {
        m_failed = true;
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

void SafeFileWriter::cancel()
{
    if (!m_open)
        return;
    m_open = false;
    m_file.cancelWriting();
    m_file.commit(); // after cancelWriting this only removes the temporary file
}

bool SafeFileWriter::fail(const QString& error)
{
    m_failed = true;
    m_error = error.isEmpty() ? QCoreApplication::translate("SafeFileWriter", "write error")
                              : error;
    cancel();
    return false;
}

bool SafeFileWriter::writeWholeFile(const QString& path, const QByteArray& bytes, QString* error,
                                    Access access)
{
    SafeFileWriter writer(path, access);
    const bool ok = writer.open() && writer.write(bytes) && writer.commit();
    if (!ok && error)
        *error = writer.errorString();
    return ok;
}

void SafeFileWriter::simulateDiskFullAfter(qint64 bytes)
{
    simulatedDiskSpace.store(bytes);
}
