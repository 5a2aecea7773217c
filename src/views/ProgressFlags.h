#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The text written into a progress flag when it is set, by the BidFlg option: 0 the seller's own
// text, 1 "●", 2 today as "MM/dd"; any other option writes the empty text.
QString flagValue(int bidFlg, const QString& bidFlgString, const QDate& today);

// One marker command on listing rows: the UPDATE of T_BidData over a set of (Aid, BidId), the value
// bound to each of its parameters, the listing-list cells that show it and the question asked
// before it runs.
struct MarkerUpdate
{
    QString statement;
    QStringList parameters; // every one gets the value
    QList<int> cells;       // sub-items of ListViewBid
    QString value;
    QString confirmation;
};

namespace MarkerUpdates {

// The flag columns 8 to 12 or -1 for all five; set writes the flag value, clear the empty text.
std::optional<MarkerUpdate> progressFlags(int column, bool set, const QString& flagValue);
// Contact method by menu tag: 0 blank, 1 message board, 2 mail.
std::optional<MarkerUpdate> contactMethod(int tag);
// Feedback needed by kind: 0 blank, 1 needed, 2 not needed.
std::optional<MarkerUpdate> evaluationNecessity(int kind);

} // namespace MarkerUpdates
