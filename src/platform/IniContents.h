#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The lines of an INI file as the private-profile functions see them: sections and keys in file
// order, found without regard to case, values trimmed. Every line keeps the bytes it was read
// with, so a line the program does not change is written back exactly as it was (bytes that are
// not UTF-8 included); a changed or new line is written as key=value in UTF-8.
class IniContents
{
public:
    static IniContents parse(const QByteArray& bytes);
    // The file's bytes, each line ending with LF.
    QByteArray bytes() const;

    bool hasSection(const QString& section) const;
    // The trimmed value as stored (enclosing quotes kept); nullptr when the key is missing.
    const QString* value(const QString& section, const QString& key) const;
    // The key names of the section, in file order.
    QStringList keys(const QString& section) const;

    // The first key of that name takes the value; a new key goes after the section's last line
    // that is not blank, a new section at the end. The value is stored without its CR and LF, so
    // it stays on its line.
    void setValue(const QString& section, const QString& key, const QString& value);
    bool removeKey(const QString& section, const QString& key);
    bool removeSection(const QString& section);

private:
    struct Line
    {
        QString key; // empty for a line that is not key=value
        QString value;
        QByteArray raw;
    };
    struct Section
    {
        QString name;
        QByteArray rawHeader;
        QList<Line> lines;
    };

    const Section* findSection(const QString& name) const;
    Section* findSection(const QString& name);

    QList<Line> m_preamble; // the lines before the first section
    QList<Section> m_sections;
};
