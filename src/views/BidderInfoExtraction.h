#pragma once

#include "common/NaviOptions.h"

#include <QString>

#include <optional>

// What the label lists found in a message for each field of the bidder panel: the text after
// the winning label, trimmed of half-width and full-width blanks; no value where no label gave
// a non-empty rest of its line.
struct ExtractedBidInfo
{
    std::optional<QString> name;
    std::optional<QString> post;
    std::optional<QString> address;
    std::optional<QString> tel;
    std::optional<QString> mail;
};

// Picks the bidder's data out of a message. The text is read line by line (CR LF, CR or LF end
// a line). Per field the label with the lowest list position that occurs wins; among lines
// holding the same best label the first wins; the first label of a list ends that field's
// search at once. An empty label never matches.
ExtractedBidInfo extractBidderInfo(const QString& text, const BidInfoKeywords& keywords);
