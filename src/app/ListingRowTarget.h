#pragma once

class BidRow;
class QString;
struct ComposerTarget;

// Fills a composer's target from a row of the listing list: its auction, title and winner,
// under the account.
void fillFromListingRow(ComposerTarget& target, const BidRow& row, const QString& loginId);
