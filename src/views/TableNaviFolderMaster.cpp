#include "views/TableNaviFolderMaster.h"

#include "platform/Sql.h"
#include "views/FolderId.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QThread>

#include <exception>

namespace {

struct DefaultFolder
{
    FolderRow row;
    int sortNumber;
    bool expanded;
};

const QList<DefaultFolder>& defaultFolders()
{
    static const QList<DefaultFolder> folders{
        {{"000", "受信", 0, 0, 0}, 1, true},
        {{"000-000", "受信_その他1", 1, 2, 0}, 2, false},
        {{"000-001", "受信_その他2", 1, 2, 0}, 3, false},
        {{"001", "送信", 3, 3, 1}, 4, true},
        {{"001-000", "送信_その他1", 1, 2, 1}, 5, false},
        {{"001-001", "送信_その他2", 1, 2, 1}, 6, false},
    };
    return folders;
}

const QString newFolderName = QStringLiteral("新規作成");

} // namespace

QString localRandomDigits(int count)
{
    QString digits;
    digits.reserve(count);
    for (int i = 0; i < count; ++i)
        digits += QChar('0' + QRandomGenerator::global()->bounded(10));
    return digits;
}

TableNaviFolderMaster::TableNaviFolderMaster(const QSqlDatabase& db, const QString& loginId,
                                             DigitSource digits)
    : m_db(db), m_loginId(loginId), m_digits(digits ? std::move(digits) : localRandomDigits)
{
}

QList<FolderRow> TableNaviFolderMaster::folders() const
{
    QSqlQuery query = Sql::exec(m_db,
                                QStringLiteral("SELECT [ID],Name,ImageIndex,SelectImageIndex,"
                                               "StateIndex FROM T_NaviFolderMaster "
                                               "WHERE LoginId=:LOGINID ORDER BY [ID]"),
                                {{":LOGINID", m_loginId}});
    QList<FolderRow> rows;
    while (query.next())
        rows.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toInt(),
                     query.value(3).toInt(), query.value(4).toInt()});
    return rows;
}

bool TableNaviFolderMaster::hasFolders() const
{
    return Sql::scalar(m_db,
                       QStringLiteral("SELECT ImageIndex FROM T_NaviFolderMaster "
                                      "WHERE LoginId=:DATA_LOGINID LIMIT 1"),
                       {{":DATA_LOGINID", m_loginId}})
        .isValid();
}

bool TableNaviFolderMaster::existsFolderName(const QString& folderId, const QString& name) const
{
    const QString prefix = FolderId::siblingPrefix(folderId);
    const QVariant count = Sql::scalar(
        m_db,
        QStringLiteral("SELECT COUNT([ID]) FROM T_NaviFolderMaster WHERE LoginId=:LOGINID "
                       "AND substr([ID],1,:PREFIX_LENGTH)=:PREFIX AND Name=:NAME COLLATE NOCASE "
                       "AND LENGTH([ID])=:ID_LENGTH AND [ID]<>:ID"),
        {{":LOGINID", m_loginId},
         {":PREFIX_LENGTH", prefix.size()},
         {":PREFIX", prefix},
         {":NAME", name},
         {":ID_LENGTH", folderId.size()},
         {":ID", folderId}});
    return count.toInt() != 0;
}

bool TableNaviFolderMaster::renameFolder(const QString& folderId, const QString& newName)
{
    if (m_loginId.isEmpty())
        return false;
    try {
        Sql::exec(m_db,
                  QStringLiteral("UPDATE T_NaviFolderMaster SET Name=:NAME "
                                 "WHERE [ID]=:ID AND LoginId=:LOGINID"),
                  {{":NAME", newName}, {":ID", folderId}, {":LOGINID", m_loginId}});
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

QString TableNaviFolderMaster::createFolderName(const QString& newId, int kind) const
{
    QSqlQuery query = Sql::prepare(
        m_db, QStringLiteral("SELECT COUNT([ID]) FROM T_NaviFolderMaster WHERE LoginId=:LOGINID "
                             "AND LENGTH([ID])=:ID_LENGTH AND Name=:DATA_NAME COLLATE NOCASE "
                             "AND StateIndex=:KIND"));
    QString candidate;
    for (int n = 0; n < FolderId::maxChildren; ++n) {
        candidate = newFolderName + QString::number(n);
        Sql::exec(query, {{":LOGINID", m_loginId},
                          {":ID_LENGTH", newId.size()},
                          {":DATA_NAME", candidate},
                          {":KIND", kind}});
        const bool taken = query.next() && query.value(0).toInt() != 0;
        query.finish();
        if (!taken)
            break;
    }
    return candidate;
}

QString TableNaviFolderMaster::createChildId(const QString& parentId) const
{
    const QString prefix = parentId + '-';
    QSqlQuery query = Sql::exec(
        m_db,
        QStringLiteral("SELECT [ID] FROM T_NaviFolderMaster WHERE LoginId=:LOGINID "
                       "AND substr([ID],1,:PREFIX_LENGTH)=:PREFIX AND LENGTH([ID])=:ID_LENGTH"),
        {{":LOGINID", m_loginId},
         {":PREFIX_LENGTH", prefix.size()},
         {":PREFIX", prefix},
         {":ID_LENGTH", prefix.size() + FolderId::groupLength}});
    QSet<QString> used;
    while (query.next())
        used.insert(query.value(0).toString());
    for (int n = 0; n < FolderId::maxChildren; ++n) {
        const QString candidate = FolderId::childId(parentId, n);
        if (!used.contains(candidate))
            return candidate;
    }
    return QString();
}

QString TableNaviFolderMaster::uniqueIdName(QSet<QString>* taken) const
{
    QSqlQuery query =
        Sql::prepare(m_db, QStringLiteral("SELECT COUNT(*) AS Cnt FROM T_NaviFolderMaster "
                                          "WHERE UniqueIdName=:DATA_UNIQUE_ID_NAME"));
    for (;;) {
        const QString candidate = m_digits(10);
        if (!taken->contains(candidate)) {
            Sql::exec(query, {{":DATA_UNIQUE_ID_NAME", candidate}});
            const bool used = query.next() && query.value(0).toInt() != 0;
            query.finish();
            if (!used)
                return candidate;
            taken->insert(candidate);
        }
        // A digit source seeded from the clock repeats itself within one second.
        QThread::msleep(10);
    }
}

void TableNaviFolderMaster::insertRow(const FolderRow& row, int sortNumber, bool expanded,
                                      const QString& uniqueName)
{
    Sql::exec(
        m_db,
        QStringLiteral("INSERT INTO T_NaviFolderMaster "
                       "([ID],Name,ImageIndex,SelectImageIndex,StateIndex,SortNumber,ExpandFlg,"
                       "LoginId,UniqueIdName) VALUES(:DATA_ID,:DATA_NAME,:DATA_IMAGE_INDEX,"
                       ":DATA_SELECT_IMAGE_INDEX,:DATA_STATE_INDEX,:DATA_SORT_NUMBER,"
                       ":DATA_EXPAND_FLG,:DATA_LOGINID,:DATA_UNIQUE_ID_NAME)"),
        {{":DATA_ID", row.id},
         {":DATA_NAME", row.name},
         {":DATA_IMAGE_INDEX", row.imageIndex},
         {":DATA_SELECT_IMAGE_INDEX", row.selectImageIndex},
         {":DATA_STATE_INDEX", row.stateIndex},
         {":DATA_SORT_NUMBER", sortNumber},
         {":DATA_EXPAND_FLG", expanded ? 1 : 0},
         {":DATA_LOGINID", m_loginId},
         {":DATA_UNIQUE_ID_NAME", uniqueName}});
}

void TableNaviFolderMaster::insertFolder(const QString& folderId, const QString& name,
                                         const QString& kind)
{
    QSet<QString> taken;
    const QString uniqueName = uniqueIdName(&taken);
    insertRow({folderId, name, FolderImage::folder, FolderImage::folderSelected, kind.toInt()}, 0,
              true, uniqueName);
}

void TableNaviFolderMaster::deleteFolder(const QString& folderId)
{
    Sql::exec(m_db,
              QStringLiteral("DELETE FROM T_NaviFolderMaster WHERE [ID]=:ID AND LoginId=:LOGINID"),
              {{":ID", folderId}, {":LOGINID", m_loginId}});
}

QString TableNaviFolderMaster::createFolder(const QString& parentId, int kind, QString* name)
{
    Sql::Transaction transaction(m_db);
    const QString id = createChildId(parentId);
    if (id.isEmpty())
        return QString();
    const QString folderName = createFolderName(id, kind);
    insertFolder(id, folderName, QString::number(kind));
    transaction.commit();
    if (name)
        *name = folderName;
    return id;
}

bool TableNaviFolderMaster::createDefaultFolders()
{
    if (m_loginId.isEmpty())
        return false;
    Sql::Transaction transaction(m_db);
    if (hasFolders())
        return false;
    QSet<QString> taken;
    for (const DefaultFolder& folder : defaultFolders())
        insertRow(folder.row, folder.sortNumber, folder.expanded, uniqueIdName(&taken));
    transaction.commit();
    return true;
}

void createDefaultFolders(const QSqlDatabase& db, const QString& loginId,
                          QSet<QString>* knownFolderLogins, DigitSource digits)
{
    if (knownFolderLogins->contains(loginId))
        return;
    TableNaviFolderMaster table(db, loginId, std::move(digits));
    if (table.createDefaultFolders())
        knownFolderLogins->insert(loginId);
}
