#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

// Writes the progress flags checked in the composer into the transaction after a successful
// post, and, on request, into the same winner's other listed transactions. The value is bound,
// never pasted into the statement.
namespace ProgressFlagUpdate {

// The five flag boxes, in column order FirstFlg, PaymentFlg, ReceiptFlg, EvaluationFlg, EndFlg.
struct Choice
{
    bool first = false, payment = false, receipt = false, evaluation = false, end = false;
    bool any() const { return first || payment || receipt || evaluation || end; }
};

// One listed row of the listing list: its auction id and winner.
struct ListedRow
{
    QString aid, bidId;
};

// The UPDATE of the checked columns keyed by :AID and :BID_ID; empty when none is checked.
QString statement(const Choice& choice);
// The listing-list cells (sub-item numbers 8 to 12) of the checked flags.
QList<int> cells(const Choice& choice);

// Runs the update for the transaction (aid, bidId) and, with plural, for every listed row of
// the same winner with another auction id, in list order. Returns the indexes of the listed
// rows that take the value: the first row of the transaction, or with plural every row of the
// winner. Nothing runs when no flag is checked.
QList<int> apply(const QSqlDatabase& db, const Choice& choice, const QString& value,
                 const QString& aid, const QString& bidId, const QList<ListedRow>& rows,
                 bool plural);

} // namespace ProgressFlagUpdate
