#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>

// Builds database rows for a test scenario. Each add* fills the columns a test does not name
// with plain defaults, so a test states only what matters to it.
namespace FixtureDb {

struct Listing
{
    QString aid;
    QString bidId;
    QString loginId = QStringLiteral("seller");
    QString title = QStringLiteral("商品");
    QString price = QStringLiteral("1000");
    int index = 1;
    QString quantity = QStringLiteral("1");
    bool deleted = false;
    QVariantMap extra; // any further column: {"FirstFlg", "●"}
};

struct Message
{
    QString aid;
    QString bidId;
    int number = 1;
    bool received = true;
    bool read = false;
    QString loginId = QStringLiteral("seller");
    QString folderId; // empty: "000" for received, "001" for sent
    QString writeId;  // empty: the bidder for received, the seller for sent
    QString subject = QStringLiteral("件名");
    QString message = QStringLiteral("本文");
    QString writeDate = QStringLiteral("2026/12/01 10:00");
};

struct Bidder
{
    QString id;
    QString name;
    QString mail;
    QString post;
    QString address;
    QString tel;
};

// Inserts one row of the given columns; throws DatabaseError on failure.
void insert(const QSqlDatabase& db, const QString& table, const QVariantMap& columns);
void addListing(const QSqlDatabase& db, const Listing& listing);
void addMessage(const QSqlDatabase& db, const Message& message);
void addBidder(const QSqlDatabase& db, const Bidder& bidder);
void addLogin(const QSqlDatabase& db, const QString& loginId, const QString& password,
              bool main = false);
// Many messages through one prepared statement in one transaction (large data sets).
void addMessages(const QSqlDatabase& db, const QList<Message>& messages);
// A message folder of an account; roots get the root pictures (0 received, 3 sent), other
// folders 1 and 2. The unique name is ten digits not used before in this process.
void addFolder(const QSqlDatabase& db, const QString& id, const QString& name, int kind,
               const QString& loginId = QStringLiteral("seller"));

} // namespace FixtureDb
