#include "platform/IniContents.h"

#include "platform/SingleLineText.h"

#include <QStringView>

namespace {

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isBlank(const QByteArray& raw)
{
    return raw.trimmed().isEmpty();
}

} // namespace

IniContents IniContents::parse(const QByteArray& bytes)
{
    IniContents contents;
    QList<QByteArray> raws = bytes.split('\n');
    if (bytes.endsWith('\n') || bytes.isEmpty())
        raws.removeLast(); // what follows the last line end is no line
    Section* current = nullptr;
    for (QByteArray& raw : raws) {
        QByteArrayView bytesOfLine(raw);
        if (bytesOfLine.endsWith('\r'))
            bytesOfLine.chop(1);
        const QString text = QString::fromUtf8(bytesOfLine);
        const QStringView trimmed = QStringView(text).trimmed();
        if (trimmed.startsWith(u'[') && trimmed.contains(u']')) {
            const QString name = trimmed.mid(1, trimmed.indexOf(u']') - 1).trimmed().toString();
            contents.m_sections.append({name, std::move(raw), {}});
            current = &contents.m_sections.last();
            continue;
        }
        Line line;
        const qsizetype equals = text.indexOf(u'=');
        if (equals > 0 && !trimmed.startsWith(u';')) {
            line.key = QStringView(text).left(equals).trimmed().toString();
            if (!line.key.isEmpty())
                line.value = QStringView(text).mid(equals + 1).trimmed().toString();
        }
        line.raw = std::move(raw);
        (current ? current->lines : contents.m_preamble).append(std::move(line));
    }
    return contents;
}

QByteArray IniContents::bytes() const
{
    qsizetype size = 0;
    for (const Line& line : m_preamble)
        size += line.raw.size() + 1;
    for (const Section& section : m_sections) {
        size += section.rawHeader.size() + 1;
        for (const Line& line : section.lines)
            size += line.raw.size() + 1;
    }
    QByteArray out;
    out.reserve(size);
    for (const Line& line : m_preamble)
        out.append(line.raw).append('\n');
    for (const Section& section : m_sections) {
        out.append(section.rawHeader).append('\n');
        for (const Line& line : section.lines)
            out.append(line.raw).append('\n');
    }
    return out;
}

const IniContents::Section* IniContents::findSection(const QString& name) const
{
    for (const Section& section : m_sections)
        if (sameName(section.name, name))
            return &section;
    return nullptr;
}

IniContents::Section* IniContents::findSection(const QString& name)
{
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

bool IniContents::hasSection(const QString& section) const
{
    return findSection(section) != nullptr;
}

const QString* IniContents::value(const QString& section, const QString& key) const
{
    const Section* found = findSection(section);
    if (!found)
        return nullptr;
    for (const Line& line : found->lines)
        if (!line.key.isEmpty() && sameName(line.key, key))
            return &line.value;
    return nullptr;
}

QStringList IniContents::keys(const QString& section) const
{
    QStringList names;
    if (const Section* found = findSection(section))
        for (const Line& line : found->lines)
            if (!line.key.isEmpty())
                names << line.key;
    return names;
}

void IniContents::setValue(const QString& section, const QString& key, const QString& given)
{
    // A line break would end the line early and put the rest on lines of their own; one of them
    // may read as a section header, and the keys after it would no longer be found. An escape
    // would change how a file that already holds the escape's characters reads, so the breaks
    // are dropped.
    const QString value = SingleLineText::withoutLineBreaks(given);
    Section* found = findSection(section);
    if (!found) {
        m_sections.append({section, ('[' + section + ']').toUtf8(), {}});
        found = &m_sections.last();
    }
    for (Line& line : found->lines) {
        if (!line.key.isEmpty() && sameName(line.key, key)) {
            line.value = value;
            line.raw = (line.key + '=' + value).toUtf8();
            return;
        }
    }
    // Blank lines that end a section stay between it and the next one.
    qsizetype at = found->lines.size();
    while (at > 0 && found->lines[at - 1].key.isEmpty() && isBlank(found->lines[at - 1].raw))
        --at;
    found->lines.insert(at, {key, value, (key + '=' + value).toUtf8()});
}

bool IniContents::removeKey(const QString& section, const QString& key)
{
    Section* found = findSection(section);
    if (!found)
        return false;
    return found->lines.removeIf([&](const Line& line) {
        return !line.key.isEmpty() && sameName(line.key, key);
    }) > 0;
}

bool IniContents::removeSection(const QString& section)
{
    return m_sections.removeIf(
               [&](const Section& found) { return sameName(found.name, section); }) > 0;
}
