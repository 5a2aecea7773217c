#pragma once

#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>

class IniFile;
struct SettingValues;

// The seller's own data, the one row of T_PersonalData.
struct PersonalData
{
    QString name;
    QString namePhonetic;
    QString post;
    QString address1;
    QString tel;
    QString mail;
};

// What the settings dialog reads from the tables and writes on OK.
namespace SettingSave {

struct LoginRow
{
    QString id;
    QString password;
    bool main = false;
};
// The rows of T_LoginId in table order.
QList<LoginRow> readLogins(const QSqlDatabase& db);
// The first row of T_PersonalData; empty texts when it has none.
PersonalData readPersonalData(const QSqlDatabase& db);

// Rewrites T_PersonalData as exactly one row and, when accounts is given, T_LoginId in map
// order with Main on the row of mainLoginId (none when it is empty). Both land in one
// transaction: a DatabaseError leaves both tables as they were.
void writeTables(const QSqlDatabase& db, const QMap<QString, QString>* accounts,
                 const QString& mainLoginId, const PersonalData& personal);

// Writes every key of `Setting` that the dialog shows.
void writeOptions(IniFile& ini, const SettingValues& values);

// The account menu's caption of the n-th saved account: id + "&(" + n + ")".
QString loginMenuCaption(const QString& id, int n);

} // namespace SettingSave
