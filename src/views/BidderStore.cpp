#include "views/BidderStore.h"

#include "platform/Sql.h"

namespace BidderStore {

QString idKey(const QString& id)
{
    QString key = id;
    for (QChar& c : key)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return key;
}

bool sameId(const QString& a, const QString& b)
{
    return a.size() == b.size() && idKey(a) == idKey(b);
}

BidInfo read(const QSqlDatabase& db, const QString& id, QSqlQuery* query)
{
    QSqlQuery own;
    if (!query) {
        own = Sql::prepare(db,
                           QStringLiteral("SELECT Name,MailMain,Post,Address1,Tel FROM T_BidMaster "
                                          "WHERE Id=:DATA_ID"));
        query = &own;
    }
    Sql::exec(*query, {{QStringLiteral(":DATA_ID"), id}});
    BidInfo info;
    if (query->next()) {
        info.name = query->value(0).toString();
        info.mail = query->value(1).toString();
        info.post = query->value(2).toString();
        info.address = query->value(3).toString();
        info.tel = query->value(4).toString();
    }
    query->finish();
    return info;
}

void save(const QSqlDatabase& db, const QString& id, const BidInfo& info)
{
    const SqlParams values{{QStringLiteral(":ID"), id},
                           {QStringLiteral(":NAME"), info.name},
                           {QStringLiteral(":MAIL"), info.mail},
                           {QStringLiteral(":POST"), info.post},
                           {QStringLiteral(":ADDRESS"), info.address},
                           {QStringLiteral(":TEL"), info.tel}};
    const bool known = Sql::scalar(db, QStringLiteral("SELECT Id FROM T_BidMaster WHERE Id=:ID"),
                                   {{QStringLiteral(":ID"), id}})
                           .isValid();
    if (known)
        Sql::exec(db,
                  QStringLiteral("UPDATE T_BidMaster SET Name=:NAME,MailMain=:MAIL,Post=:POST,"
                                 "Address1=:ADDRESS,Tel=:TEL WHERE Id=:ID"),
                  values);
    else
        Sql::exec(db,
                  QStringLiteral("INSERT INTO T_BidMaster(Id,Name,MailMain,Post,Address1,Tel) "
                                 "VALUES(:ID,:NAME,:MAIL,:POST,:ADDRESS,:TEL)"),
                  values);
}

} // namespace BidderStore
