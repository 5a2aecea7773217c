#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// setting.ini as the Windows private-profile functions read and write it: sections and keys in
// file order and without regard to case, values trimmed, one pair of enclosing double quotes
// removed on read, booleans "1"/"0", a value that is not a number gives the default. The object
// keeps no copy of the file: every read reads the file and every write re-reads it, changes
// one thing and writes it back at once, so two objects on one file see each other's writes.
// The file is UTF-8.
class IniFile
{
public:
    explicit IniFile(const QString& path);

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);

    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;
    QStringList readSection(const QString& section) const; // the key names, in file order
    void eraseSection(const QString& section);
    void deleteKey(const QString& section, const QString& key);

    // A numbered list: prefix + "Item" + n from 0, read until the first empty value.
    QStringList readList(const QString& section, const QString& prefix) const;
    // Deletes the keys that were read (previousCount of them), then writes every line quoted.
    void writeList(const QString& section, const QString& prefix, int previousCount,
                   const QStringList& lines);

    QString path() const { return m_path; }

private:
    struct Entry
    {
        QString key; // empty for a line that is not key=value (kept as it stands)
        QString value;
        QString rawLine;
    };
    struct Section
    {
        QString name;
        QList<Entry> entries;
    };
    struct Contents
    {
        QList<Entry> preamble;
        QList<Section> sections;
        bool unreadable = false; // the file exists but could not be read

        const Section* findSection(const QString& name) const;
        Section* findSection(const QString& name);
        const Entry* findEntry(const QString& section, const QString& key) const;
        void setValue(const QString& section, const QString& key, const QString& value);
        bool removeKey(const QString& section, const QString& key);
    };

    Contents load() const;
    // The file as it is now, for a change that is written back; throws when it cannot be read.
    Contents loadForWrite() const;
    void save(const Contents& contents) const;
    [[noreturn]] void throwWriteError() const;

    QString m_path;
};
