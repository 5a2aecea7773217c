#include "app/SettingSave.h"

#include "common/CommonDefine.h"
#include "app/SettingPages.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"

#include <QSqlQuery>
#include <QVariant>

namespace SettingSave {

QList<LoginRow> readLogins(const QSqlDatabase& db)
{
    QList<LoginRow> rows;
    QSqlQuery query = Sql::exec(db, QStringLiteral("SELECT * FROM T_LoginId"));
    while (query.next())
        rows.append({query.value("LoginId").toString(), query.value("PassWord").toString(),
                     query.value("Main").toBool()});
    return rows;
}

PersonalData readPersonalData(const QSqlDatabase& db)
{
    PersonalData data;
    QSqlQuery query = Sql::exec(db, QStringLiteral("SELECT * FROM T_PersonalData"));
    if (query.next()) {
        data.name = query.value("Name").toString();
        data.namePhonetic = query.value("NamePhonetic").toString();
        data.post = query.value("Post").toString();
        data.address1 = query.value("Address1").toString();
        data.tel = query.value("Tel").toString();
        data.mail = query.value("Mail").toString();
    }
    return data;
}

void writeTables(const QSqlDatabase& db, const QMap<QString, QString>* accounts,
                 const QString& mainLoginId, const PersonalData& personal)
{
    Sql::Transaction transaction(db);
    if (accounts) {
        Sql::exec(db, QStringLiteral("DELETE FROM T_LoginId"));
        QSqlQuery insert =
            Sql::prepare(db, QStringLiteral("INSERT INTO T_LoginId([LoginId],[PassWord],[Main]) "
                                            "VALUES(:DATA_ID,:DATA_PASS,:DATA_MAIN)"));
        for (auto it = accounts->cbegin(); it != accounts->cend(); ++it)
            Sql::exec(insert, {{":DATA_ID", it.key()},
                               {":DATA_PASS", it.value()},
                               {":DATA_MAIN", !mainLoginId.isEmpty() && mainLoginId == it.key()}});
    }
    Sql::exec(db, QStringLiteral("DELETE FROM T_PersonalData"));
    Sql::exec(db,
              QStringLiteral("INSERT INTO T_PersonalData(Name,NamePhonetic,Post,Address1,Tel,Mail) "
                             "VALUES(:DATA_NAME,:DATA_NAME_PHONETIC,:DATA_POST,:DATA_ADDRESS1,"
                             ":DATA_TEL,:DATA_MAIL)"),
              {{":DATA_NAME", personal.name},
               {":DATA_NAME_PHONETIC", personal.namePhonetic},
               {":DATA_POST", personal.post},
               {":DATA_ADDRESS1", personal.address1},
               {":DATA_TEL", personal.tel},
               {":DATA_MAIL", personal.mail}});
    transaction.commit();
}

void writeOptions(IniFile& ini, const SettingValues& values)
{
    const QString& s = CommonDefine::Section::Setting;
    for (const SettingPages::Option& o : SettingPages::options()) {
        if (o.kind == SettingPages::Option::Check)
            ini.writeBool(s, o.key, values.*o.flag);
        else
            ini.writeInteger(s, o.key, values.*o.number);
        if (o.key == QLatin1String("BidFlg"))
            ini.writeString(s, "BidFlgString", values.bidFlgString);
        else if (o.key == QLatin1String("BidDblClickFlgChange"))
            ini.writeString(s, "BidBackColor", values.bidBackColor);
        else if (o.key == QLatin1String("LoginTaskTrayShowBalloon"))
            ini.writeInteger(s, "LoginTaskTrayShowMessageTime",
                             values.loginTaskTrayShowMessageTime);
    }
}

QString loginMenuCaption(const QString& id, int n)
{
    return id + QStringLiteral("&(") + QString::number(n) + QStringLiteral(")");
}

} // namespace SettingSave
