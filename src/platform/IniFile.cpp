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

} // namespace

IniFile::IniFile(const QString& path) : m_path(path)
{
    load();
}

void IniFile::load()
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = QString::fromUtf8(file.readAll());
    Section* current = nullptr;
    for (QString line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith('[') && trimmed.contains(']')) {
            m_sections.append({trimmed.mid(1, trimmed.indexOf(']') - 1).trimmed(), {}});
            current = &m_sections.last();
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
        (current ? current->entries : m_preamble).append(entry);
    }
}

void IniFile::save() const
{
    QString text;
    for (const Entry& entry : m_preamble)
        text += entry.rawLine + '\n';
    for (const Section& section : m_sections) {
        text += '[' + section.name + "]\n";
        for (const Entry& entry : section.entries)
            text += (entry.key.isEmpty() ? entry.rawLine : entry.key + '=' + entry.value) + '\n';
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        throw std::runtime_error(
            QStringLiteral("設定ファイルに書き込めません: %1").arg(m_path).toStdString());
    DataFolder::restrictFile(m_path);
}

const IniFile::Section* IniFile::findSection(const QString& name) const
{
    for (const Section& section : m_sections)
        if (sameName(section.name, name))
            return &section;
    return nullptr;
}

IniFile::Section* IniFile::findSection(const QString& name)
{
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

const IniFile::Entry* IniFile::findEntry(const QString& section, const QString& key) const
{
    const Section* found = findSection(section);
    if (!found)
        return nullptr;
    for (const Entry& entry : found->entries)
        if (!entry.key.isEmpty() && sameName(entry.key, key))
            return &entry;
    return nullptr;
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    const Entry* entry = findEntry(section, key);
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
    Section* found = findSection(section);
    if (!found) {
        m_sections.append({section, {}});
        found = &m_sections.last();
    }
    Entry* target = nullptr;
    for (Entry& entry : found->entries)
        if (!entry.key.isEmpty() && sameName(entry.key, key))
            target = &entry;
    if (target)
        target->value = value;
    else
        found->entries.append({key, value, {}});
    save();
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
    return findSection(section) != nullptr;
}

bool IniFile::valueExists(const QString& section, const QString& key) const
{
    return findEntry(section, key) != nullptr;
}

QStringList IniFile::readSection(const QString& section) const
{
    QStringList keys;
    if (const Section* found = findSection(section))
        for (const Entry& entry : found->entries)
            if (!entry.key.isEmpty())
                keys << entry.key;
    return keys;
}

void IniFile::eraseSection(const QString& section)
{
    for (qsizetype i = 0; i < m_sections.size(); ++i) {
        if (sameName(m_sections[i].name, section)) {
            m_sections.removeAt(i);
            save();
            return;
        }
    }
}

void IniFile::deleteKey(const QString& section, const QString& key)
{
    Section* found = findSection(section);
    if (!found)
        return;
    const auto removed = found->entries.removeIf(
        [&](const Entry& entry) { return !entry.key.isEmpty() && sameName(entry.key, key); });
    if (removed > 0)
        save();
}

QStringList IniFile::readList(const QString& section, const QString& prefix) const
{
    QStringList lines;
    for (int i = 0;; ++i) {
        const QString value = readString(section, prefix + "Item" + QString::number(i), QString());
        if (value.isEmpty())
            break;
        lines << value;
    }
    return lines;
}

void IniFile::writeList(const QString& section, const QString& prefix, int previousCount,
                        const QStringList& lines)
{
    for (int i = 0; i < previousCount; ++i)
        deleteKey(section, prefix + "Item" + QString::number(i));
    for (int i = 0; i < lines.size(); ++i)
        writeString(section, prefix + "Item" + QString::number(i), '"' + lines[i] + '"');
}
