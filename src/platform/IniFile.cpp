#include "platform/IniFile.h"

#include "platform/IniContents.h"
#include "platform/SafeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <atomic>
#include <map>
#include <stdexcept>

#include <sys/stat.h>
#include <time.h>

namespace {

// What stat tells of a file: any write to it, or a new file in its place, changes this.
struct FileStamp
{
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    mode_t mode = 0;
    timespec modified{};
    timespec changed{};

    static FileStamp of(const struct stat& info)
    {
        return {true,         info.st_dev,  info.st_ino, info.st_size,
                info.st_mode, info.st_mtim, info.st_ctim};
    }
    static FileStamp ofPath(const QString& path)
    {
        struct stat info;
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? of(info) : FileStamp{};
    }
    static FileStamp ofOpenFile(int handle)
    {
        struct stat info;
        return ::fstat(handle, &info) == 0 ? of(info) : FileStamp{};
    }

    bool operator==(const FileStamp& other) const
    {
        const auto same = [](const timespec& a, const timespec& b) {
            return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
        };
        return exists == other.exists && device == other.device && inode == other.inode &&
               size == other.size && mode == other.mode && same(modified, other.modified) &&
               same(changed, other.changed);
    }

    // A file system stamps times from a clock that ticks coarsely: a change made within the tick
    // of the file's last change may leave the stamp as it was. Such a stamp proves nothing until
    // that tick is over. Whole seconds mean a file system that keeps no finer times.
    bool isRecent() const
    {
        if (!exists)
            return false;
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        const qint64 tickNs = modified.tv_nsec == 0 ? 2'000'000'000 : 100'000'000;
        const qint64 ageNs = (qint64(now.tv_sec) - modified.tv_sec) * 1'000'000'000 +
                             (now.tv_nsec - modified.tv_nsec);
        return ageNs < tickNs;
    }
};

std::atomic<int> parses{0};
std::atomic<int> saves{0};

// Guards the registry and every file's shared state; each operation holds it briefly.
QMutex& sharedMutex()
{
    static QMutex mutex;
    return mutex;
}

QString unquote(const QString& value)
{
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        return value.mid(1, value.size() - 2);
    return value;
}

QString listKey(const QString& prefix, int number)
{
    return prefix + QStringLiteral("Item") + QString::number(number);
}

} // namespace

// One file's contents as last read or written, shared by every IniFile of its path.
struct IniFile::Shared
{
    bool loaded = false;
    bool unreadable = false; // the file exists but could not be read
    FileStamp stamp;
    bool stampRecent = false;
    QByteArray bytes; // the file as last read or written
    IniContents contents;
    int batchDepth = 0;
    bool batchChanged = false;

    // Reads the file again when it may have changed since it was last read or written. An open
    // batch holds the contents as they are until it ends.
    void refresh(const QString& path)
    {
        if (batchDepth > 0)
            return;
        if (loaded && !stampRecent && FileStamp::ofPath(path) == stamp)
            return;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            const FileStamp current = FileStamp::ofPath(path);
            take(current, {}, current.exists);
            return;
        }
        const FileStamp current = FileStamp::ofOpenFile(file.handle());
        QByteArray read = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            take(current, {}, true);
            return;
        }
        if (loaded && !unreadable && read == bytes) {
            stamped(current);
            return;
        }
        take(current, std::move(read), false);
    }

    void take(const FileStamp& current, QByteArray read, bool cannotRead)
    {
        bytes = std::move(read);
        contents = IniContents::parse(bytes);
        unreadable = cannotRead;
        loaded = true;
        if (!cannotRead && current.exists)
            ++parses;
        stamped(current);
    }

    void stamped(const FileStamp& current)
    {
        stamp = current;
        stampRecent = current.isRecent();
    }
};

IniFile::IniFile(const QString& path) : m_path(path)
{
    static std::map<QString, std::shared_ptr<Shared>> registry;
    const QString key = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QMutexLocker lock(&sharedMutex());
    std::shared_ptr<Shared>& shared = registry[key];
    if (!shared)
        shared = std::make_shared<Shared>();
    m_shared = shared;
}

int IniFile::parseCount()
{
    return parses.load();
}

int IniFile::saveCount()
{
    return saves.load();
}

template <typename Read> auto IniFile::withContents(Read read) const
{
    QMutexLocker lock(&sharedMutex());
    m_shared->refresh(m_path);
    return read(std::as_const(m_shared->contents));
}

template <typename Change> void IniFile::changeContents(Change change)
{
    QMutexLocker lock(&sharedMutex());
    m_shared->refresh(m_path);
    // Writing back what could not be read would drop every other setting in the file.
    if (m_shared->unreadable)
        throwWriteError();
    if (!change(m_shared->contents))
        return;
    if (m_shared->batchDepth > 0)
        m_shared->batchChanged = true;
    else
        saveLocked();
}

void IniFile::saveLocked() const
{
    const QByteArray bytes = m_shared->contents.bytes();
    if (!SafeFileWriter::writeWholeFile(m_path, bytes, nullptr,
                                        SafeFileWriter::Access::OwnerOnly)) {
        // The shared contents hold what the file does not: the next use reads the file again.
        m_shared->loaded = false;
        throwWriteError();
    }
    ++saves;
    m_shared->bytes = bytes;
    m_shared->stamped(FileStamp::ofPath(m_path));
}

void IniFile::throwWriteError() const
{
    throw std::runtime_error(
        QStringLiteral("設定ファイルに書き込めません: %1").arg(m_path).toStdString());
}

IniFile::Batch::Batch(IniFile& ini) : m_ini(ini)
{
    QMutexLocker lock(&sharedMutex());
    Shared& shared = *ini.m_shared;
    if (shared.batchDepth == 0) {
        shared.refresh(ini.m_path);
        shared.batchChanged = false;
    }
    ++shared.batchDepth;
}

IniFile::Batch::~Batch()
{
    if (m_open)
        end(false);
}

void IniFile::Batch::save()
{
    if (m_open)
        end(true);
}

void IniFile::Batch::end(bool keep)
{
    QMutexLocker lock(&sharedMutex());
    m_open = false;
    Shared& shared = *m_ini.m_shared;
    if (--shared.batchDepth > 0 || !shared.batchChanged)
        return;
    shared.batchChanged = false;
    if (keep)
        m_ini.saveLocked();
    else
        shared.loaded = false; // the writes are dropped: the next use reads the file
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    return withContents([&](const IniContents& contents) {
        const QString* value = contents.value(section, key);
        return value ? unquote(*value) : defaultValue;
    });
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    const QString text = readString(section, key, QString());
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : defaultValue;
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    changeContents([&](IniContents& contents) {
        contents.setValue(section, key, value);
        return true;
    });
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::sectionExists(const QString& section) const
{
    return withContents([&](const IniContents& contents) { return contents.hasSection(section); });
}

bool IniFile::valueExists(const QString& section, const QString& key) const
{
    return withContents(
        [&](const IniContents& contents) { return contents.value(section, key) != nullptr; });
}

QStringList IniFile::readSection(const QString& section) const
{
    return withContents([&](const IniContents& contents) { return contents.keys(section); });
}

void IniFile::eraseSection(const QString& section)
{
    changeContents([&](IniContents& contents) { return contents.removeSection(section); });
}

void IniFile::deleteKey(const QString& section, const QString& key)
{
    changeContents([&](IniContents& contents) { return contents.removeKey(section, key); });
}

QStringList IniFile::readList(const QString& section, const QString& prefix) const
{
    return withContents([&](const IniContents& contents) {
        QStringList lines;
        for (int i = 0;; ++i) {
            const QString* value = contents.value(section, listKey(prefix, i));
            const QString line = value ? unquote(*value) : QString();
            if (line.isEmpty())
                break;
            lines << line;
        }
        return lines;
    });
}

void IniFile::writeList(const QString& section, const QString& prefix, int previousCount,
                        const QStringList& lines)
{
    changeContents([&](IniContents& contents) {
        for (int i = 0; i < previousCount; ++i)
            contents.removeKey(section, listKey(prefix, i));
        for (int i = 0; i < lines.size(); ++i)
            contents.setValue(section, listKey(prefix, i), '"' + lines[i] + '"');
        return true;
    });
}
