#include "platform/IniFile.h"

#include "platform/DataFolder.h"

#include <QFile>
#include <QSaveFile>

#include <stdexcept>

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
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

IniFile::IniFile(const QString& path) : m_path(path) {}

IniFile::Contents IniFile::load() const
{
    Contents contents;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        contents.unreadable = file.exists();
        return contents;
    }
    const QString text = QString::fromUtf8(file.readAll());
    Section* current = nullptr;
    for (QString line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith('[') && trimmed.contains(']')) {
            contents.sections.append({trimmed.mid(1, trimmed.indexOf(']') - 1).trimmed(), {}});
            current = &contents.sections.last();
            continue;
        }
        Entry entry;
        entry.rawLine = line;
        const int equals = line.indexOf('=');
        if (equals > 0 && !trimmed.startsWith(';')) {
            entry.key = line.left(equals).trimmed();
            entry.value = line.mid(equals + 1).trimmed();
        }
        if (entry.key.isEmpty() && trimmed.isEmpty())
            continue;
        (current ? current->entries : contents.preamble).append(entry);
    }
    return contents;
}

IniFile::Contents IniFile::loadForWrite() const
{
    Contents contents = load();
    // Writing back what could not be read would drop every other setting in the file.
    if (contents.unreadable)
        throwWriteError();
    return contents;
}

void IniFile::save(const Contents& contents) const
{
    QString text;
    for (const Entry& entry : contents.preamble)
        text += entry.rawLine + '\n';
    for (const Section& section : contents.sections) {
        text += '[' + section.name + "]\n";
        for (const Entry& entry : section.entries)
            text += (entry.key.isEmpty() ? entry.rawLine : entry.key + '=' + entry.value) + '\n';
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        throwWriteError();
    DataFolder::restrictFile(m_path);
}

void IniFile::throwWriteError() const
{
    throw std::runtime_error(
        QStringLiteral("設定ファイルに書き込めません: %1").arg(m_path).toStdString());
}

const IniFile::Section* IniFile::Contents::findSection(const QString& name) const
{
    for (const Section& section : sections)
        if (sameName(section.name, name))
            return &section;
    return nullptr;
}

IniFile::Section* IniFile::Contents::findSection(const QString& name)
{
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

const IniFile::Entry* IniFile::Contents::findEntry(const QString& section,
                                                   const QString& key) const
{
    const Section* found = findSection(section);
    if (!found)
        return nullptr;
    for (const Entry& entry : found->entries)
        if (!entry.key.isEmpty() && sameName(entry.key, key))
            return &entry;
    return nullptr;
}

void IniFile::Contents::setValue(const QString& section, const QString& key, const QString& value)
{
    Section* found = findSection(section);
    if (!found) {
        sections.append({section, {}});
        found = &sections.last();
    }
    for (Entry& entry : found->entries) {
        if (!entry.key.isEmpty() && sameName(entry.key, key)) {
            entry.value = value;
            return;
        }
    }
    found->entries.append({key, value, {}});
}

bool IniFile::Contents::removeKey(const QString& section, const QString& key)
{
    Section* found = findSection(section);
    if (!found)
        return false;
    return found->entries.removeIf([&](const Entry& entry) {
        return !entry.key.isEmpty() && sameName(entry.key, key);
    }) > 0;
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    const Contents contents = load();
    const Entry* entry = contents.findEntry(section, key);
    return entry ? unquote(entry->value) : defaultValue;
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
    Contents contents = loadForWrite();
    contents.setValue(section, key, value);
    save(contents);
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
    return load().findSection(section) != nullptr;
}

bool IniFile::valueExists(const QString& section, const QString& key) const
{
    return load().findEntry(section, key) != nullptr;
}

QStringList IniFile::readSection(const QString& section) const
{
    QStringList keys;
    const Contents contents = load();
    if (const Section* found = contents.findSection(section))
        for (const Entry& entry : found->entries)
            if (!entry.key.isEmpty())
                keys << entry.key;
    return keys;
}

void IniFile::eraseSection(const QString& section)
{
    Contents contents = loadForWrite();
    const auto removed = contents.sections.removeIf(
        [&](const Section& found) { return sameName(found.name, section); });
    if (removed > 0)
        save(contents);
}

void IniFile::deleteKey(const QString& section, const QString& key)
{
    Contents contents = loadForWrite();
    if (contents.removeKey(section, key))
        save(contents);
}

QStringList IniFile::readList(const QString& section, const QString& prefix) const
{
    const Contents contents = load();
    QStringList lines;
    for (int i = 0;; ++i) {
        const Entry* entry = contents.findEntry(section, listKey(prefix, i));
        const QString value = entry ? unquote(entry->value) : QString();
        if (value.isEmpty())
            break;
        lines << value;
    }
    return lines;
}

void IniFile::writeList(const QString& section, const QString& prefix, int previousCount,
                        const QStringList& lines)
{
    Contents contents = loadForWrite();
    for (int i = 0; i < previousCount; ++i)
        contents.removeKey(section, listKey(prefix, i));
    for (int i = 0; i < lines.size(); ++i)
        contents.setValue(section, listKey(prefix, i), '"' + lines[i] + '"');
    save(contents);
}
