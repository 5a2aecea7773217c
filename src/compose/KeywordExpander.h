#pragma once

#include <QList>
#include <QString>

#include <cstdint>

// One listing of the winner as the item placeholders show it. The subtotal is the decimal text
// of price × quantity.
struct AuctionInfo
{
    QString aid;
    QString title;
    QString price;
    QString quantity;
    QString subtotal;
};

// The seller's own data (the first row of T_PersonalData).
struct SellerData
{
    QString name;
    QString namePhonetic;
    QString post;
    QString address1;
    QString tel;
    QString mail;
};

// Everything one expansion reads.
struct KeywordSource
{
    QString templateText;
    QList<AuctionInfo> auctions; // the listing of the call first, then the winner's others
    QString winnerId;
    QString winnerName;
    QString carriage;   // of the listing of the call
    QString forwarding; // of the listing of the call
    SellerData seller;
    QString loginId;
};

struct KeywordResult
{
    QString text;
    bool error = false;            // a placeholder was left unfilled
    QString errorText;             // one line per placeholder left unfilled
    bool calcCloseMissing = false; // a "%CALC%" without "%/CALC%" after it
};

// A strict 64-bit integer: an optional sign and ASCII digits. Throws
// KeywordError::notAnInteger(text) for anything else, the empty text included.
std::int64_t toStrictInteger(const QString& text);

// One entry of the auction list: an empty quantity counts "1"; the price and the quantity must
// be integers and their product must fit 64 bits (KeywordError::notAnInteger otherwise).
AuctionInfo makeAuctionInfo(const QString& aid, const QString& title, const QString& price,
                            const QString& quantity);

// The template with its placeholders filled, its item lines repeated once per listing and its
// %CALC% spans evaluated. Placeholders and markers are those the template writes: a value put
// in is text, never searched again nor evaluated, unless it stands inside a span the template
// writes ("%CALC%%price%*2%/CALC%"). Shows nothing: a missing closing marker is reported in the
// result.
// Throws KeywordError (a total or sum that does not fit, a span that cannot be evaluated).
KeywordResult expandTemplateKeywords(const KeywordSource& source);
