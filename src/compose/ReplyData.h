#pragma once

#include "compose/KeywordExpander.h"
#include "views/NaviListQuery.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <array>

// What the composer reads from the database at show, every value bound.
namespace ReplyData {

// The transaction row of T_BidData: its price and the five progress flags (FirstFlg,
// PaymentFlg, ReceiptFlg, EvaluationFlg, EndFlg). Empty texts when the row is not stored.
struct Transaction
{
    QString url;
    QString price;
    std::array<QString, 5> flags;
};
Transaction readTransaction(const QSqlDatabase& db, const QString& aid, const QString& bidId);

// Status panel i (0 to 4) of the flags: its caption, with "●" when the flag holds any text.
QString flagPanelText(int index, const QString& flag);

// The winner's row of T_BidMaster (empty texts when the winner is not stored).
struct Winner
{
    QString name;
    QString post;
    QString address1;
    QString tel;
    QString mailMain;
};
Winner readWinner(const QSqlDatabase& db, const QString& bidId);
// The first row of T_PersonalData (empty texts when there is none).
SellerData readSeller(const QSqlDatabase& db);

// Every stored message of the listing under the account.
QList<NaviRow> listingMessages(const QSqlDatabase& db, const QString& aid, const QString& loginId);

} // namespace ReplyData
