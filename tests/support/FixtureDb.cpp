#include "FixtureDb.h"

#include "platform/Sql.h"

#include <QSqlQuery>
#include <QStringList>

namespace FixtureDb {

void insert(const QSqlDatabase& db, const QString& table, const QVariantMap& columns)
{
    QStringList names;
    QStringList placeholders;
    SqlParams params;
    int n = 0;
    for (auto it = columns.cbegin(); it != columns.cend(); ++it, ++n) {
        names << '[' + it.key() + ']';
        const QString placeholder = QStringLiteral(":P%1").arg(n);
        placeholders << placeholder;
        params.append({placeholder, it.value()});
    }
    Sql::exec(db,
              QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(table, names.join(','), placeholders.join(',')),
              params);
}

void addListing(const QSqlDatabase& db, const Listing& listing)
{
    QVariantMap columns{{"Aid", listing.aid},
                        {"BidId", listing.bidId},
                        {"LoginId", listing.loginId},
                        {"Title", listing.title},
                        {"Price", listing.price},
                        {"Index", listing.index},
                        {"Quantity", listing.quantity},
                        {"DeleteFlg", listing.deleted},
                        {"UpdateFlg", true},
                        {"Url", "https://page.auctions.yahoo.co.jp/jp/auction/" + listing.aid}};
    for (auto it = listing.extra.cbegin(); it != listing.extra.cend(); ++it)
        columns.insert(it.key(), it.value());
    insert(db, QStringLiteral("T_BidData"), columns);
}

void addMessage(const QSqlDatabase& db, const Message& message)
{
    const QString folder =
        message.folderId.isEmpty() ? (message.received ? "000" : "001") : message.folderId;
    const QString writer =
        message.writeId.isEmpty() ? (message.received ? message.bidId : message.loginId)
                                  : message.writeId;
    insert(db, QStringLiteral("T_Navi"),
           {{"Aid", message.aid},
            {"BidId", message.bidId},
            {"Number", message.number},
            {"RecFlg", message.received},
            {"NewFlg", message.received},
            {"UnsealingFlg", message.read},
            {"LoginId", message.loginId},
            {"FolderID", folder},
            {"WriteId", writer},
            {"Subject", message.subject},
            {"Message", message.message},
            {"WriteDate", message.writeDate}});
}

void addBidder(const QSqlDatabase& db, const Bidder& bidder)
{
    insert(db, QStringLiteral("T_BidMaster"),
           {{"Id", bidder.id},
            {"Name", bidder.name},
            {"MailMain", bidder.mail},
            {"Post", bidder.post},
            {"Address1", bidder.address},
            {"Tel", bidder.tel}});
}

void addLogin(const QSqlDatabase& db, const QString& loginId, const QString& password, bool main)
{
    insert(db, QStringLiteral("T_LoginId"),
           {{"LoginId", loginId}, {"PassWord", password}, {"Main", main}});
}

void addMessages(const QSqlDatabase& db, const QList<Message>& messages)
{
    Sql::Transaction transaction(db);
    QSqlQuery query = Sql::prepare(
        db, QStringLiteral("INSERT INTO T_Navi (Aid,BidId,[Number],RecFlg,NewFlg,UnsealingFlg,"
                           "LoginId,FolderID,WriteId,Subject,Message,WriteDate) VALUES "
                           "(:AID,:BID,:NO,:REC,:NEW,:READ,:LOGIN,:FOLDER,:WRITER,:SUBJECT,"
                           ":MESSAGE,:DATE)"));
    for (const Message& message : messages) {
        const QString folder =
            message.folderId.isEmpty() ? (message.received ? "000" : "001") : message.folderId;
        const QString writer =
            message.writeId.isEmpty() ? (message.received ? message.bidId : message.loginId)
                                      : message.writeId;
        Sql::exec(query, {{":AID", message.aid},
                          {":BID", message.bidId},
                          {":NO", message.number},
                          {":REC", message.received},
                          {":NEW", message.received},
                          {":READ", message.read},
                          {":LOGIN", message.loginId},
                          {":FOLDER", folder},
                          {":WRITER", writer},
                          {":SUBJECT", message.subject},
                          {":MESSAGE", message.message},
                          {":DATE", message.writeDate}});
    }
    transaction.commit();
}

void addFolder(const QSqlDatabase& db, const QString& id, const QString& name, int kind,
               const QString& loginId)
{
    static int serial = 0;
    const bool root = id.size() == 3;
    const int image = root ? (kind == 1 ? 3 : 0) : 1;
    const int selectImage = root ? image : 2;
    insert(db, QStringLiteral("T_NaviFolderMaster"),
           {{"ID", id},
            {"Name", name},
            {"ImageIndex", image},
            {"SelectImageIndex", selectImage},
            {"StateIndex", kind},
            {"SortNumber", 0},
            {"ExpandFlg", true},
            {"LoginId", loginId},
            {"UniqueIdName", QStringLiteral("%1").arg(++serial, 10, 10, QLatin1Char('9'))}});
}

} // namespace FixtureDb
