#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// setting.ini as the Windows private-profile functions read and write it: sections and keys in
// file order and without regard to case, values trimmed, one pair of enclosing double quotes
// removed on read, booleans "1"/"0", a value that is not a number gives the default. Every
// IniFile of one path shares one copy of the file's contents, read again only when the file
// changed on disk; every write changes that copy and saves the whole file at once, so objects on
// one file see each other's writes and the file always holds them. Lines the program does not
// change keep their bytes. The file is UTF-8.
class IniFile
{
public:
    explicit IniFile(const QString& path);

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    // The writes throw std::runtime_error when the file cannot be read or written; the file then
    // stays as it was.
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

    // A group of writes saved once. While a batch is open on a file, the writes to it (through
    // any IniFile of that path) change the shared contents only; save() writes the file once and
    // throws its write error as a single write would. A batch that ends without save(), as when
    // an exception leaves its scope, drops its writes and the file stays as it was. A batch
    // opened inside another on the same file joins it: the outermost one saves. The IniFile
    // outlives its batch.
    class Batch
    {
    public:
        explicit Batch(IniFile& ini);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

        void save();

    private:
        void end(bool keep);

        IniFile& m_ini;
        bool m_open = true;
    };

    // For tests: how often a settings file has been parsed from disk and saved by this process.
    static int parseCount();
    static int saveCount();

private:
    struct Shared;

    template <typename Read> auto withContents(Read read) const;
    // change returns whether it changed anything; a change outside a batch is saved at once.
    template <typename Change> void changeContents(Change change);
    void saveLocked() const;
    [[noreturn]] void throwWriteError() const;

    QString m_path;
    std::shared_ptr<Shared> m_shared;
};
