#pragma once

#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QString>

#include <functional>

// One folder row as the folder tree shows it.
struct FolderRow
{
    QString id;
    QString name;
    int imageIndex = 0;
    int selectImageIndex = 0;
    int stateIndex = 0; // folder kind: 0 received, 1 sent
};

// Folder kinds (StateIndex) and the pictures of the folder tree.
namespace FolderKind {
inline constexpr int received = 0;
inline constexpr int sent = 1;
inline constexpr int listsNothing = 10;
} // namespace FolderKind

namespace FolderImage {
inline constexpr int receivedRoot = 0;
inline constexpr int folder = 1;
inline constexpr int folderSelected = 2;
inline constexpr int sentRoot = 3;
} // namespace FolderImage

// n random decimal digits; the folder rows' unique names are ten of them.
using DigitSource = std::function<QString(int)>;
QString localRandomDigits(int count);

// Reads and changes the message folders (T_NaviFolderMaster) of one account.
class TableNaviFolderMaster
{
public:
    TableNaviFolderMaster(const QSqlDatabase& db, const QString& loginId,
                          DigitSource digits = localRandomDigits);

    const QString& loginId() const { return m_loginId; }

    // The account's folders ordered by id (parents before their children).
    QList<FolderRow> folders() const;
    bool hasFolders() const;

    // True when another folder under the same parent (for a root: any root of the account, of
    // either kind) already has the name; names compare without regard to case.
    bool existsFolderName(const QString& folderId, const QString& name) const;
    // Writes the new name; false for an empty account or when the statement failed.
    bool renameFolder(const QString& folderId, const QString& newName);
    // "新規作成" + the lowest n not yet used by a folder of the account with the new folder's
    // depth and kind; 新規作成998 when every name is taken.
    QString createFolderName(const QString& newId, int kind) const;
    // The lowest free child id of the parent, empty when all 999 are taken.
    QString createChildId(const QString& parentId) const;
    // Inserts an ordinary folder (pictures 1 and 2, sort number 0, expanded) with a fresh unique
    // name.
    void insertFolder(const QString& folderId, const QString& name, const QString& kind);
    // Deletes the folder row; its messages stay where they are.
    void deleteFolder(const QString& folderId);

    // Picks the child id and the name and inserts the folder in one transaction, so two quick
    // commands never share an id. Returns the new id (empty when the parent is full).
    QString createFolder(const QString& parentId, int kind, QString* name);

    // Inserts the six default folders when the account has no folder at all; true when it did.
    bool createDefaultFolders();

private:
    QString uniqueIdName(QSet<QString>* taken) const;
    void insertRow(const FolderRow& row, int sortNumber, bool expanded, const QString& uniqueName);

    QSqlDatabase m_db;
    QString m_loginId;
    DigitSource m_digits;
};

// Gives the account its default folders unless this run already did (knownFolderLogins) or
// the account has any folder row.
void createDefaultFolders(const QSqlDatabase& db, const QString& loginId,
                          QSet<QString>* knownFolderLogins, DigitSource digits = localRandomDigits);
