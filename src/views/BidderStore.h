#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// One winner's data as the bidder panel shows it.
struct BidInfo
{
    QString mail;
    QString name;
    QString post;
    QString address;
    QString tel;
};

// The winners' table T_BidMaster, every value bound. Ids compare without regard to ASCII case,
// as the table's key does.
namespace BidderStore {

// The key under which a winner is cached and compared.
QString idKey(const QString& id);
bool sameId(const QString& a, const QString& b);
// Mail, post, address and tel of the winner (name from the table too); all empty without a row.
// query, when given, is a prepared "SELECT Name,MailMain,Post,Address1,Tel ... WHERE Id=:DATA_ID".
BidInfo read(const QSqlDatabase& db, const QString& id, QSqlQuery* query = nullptr);
// Updates the winner's row, or inserts it when there is none. Throws DatabaseError.
void save(const QSqlDatabase& db, const QString& id, const BidInfo& info);

} // namespace BidderStore
