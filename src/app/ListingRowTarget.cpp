#include "app/ListingRowTarget.h"

#include "compose/ComposerTarget.h"
#include "views/BidListColumns.h"
#include "views/BidRow.h"

void fillFromListingRow(ComposerTarget& target, const BidRow& row, const QString& loginId)
{
    using namespace BidListColumns;
    target.aid = row.subItem(Aid);
    target.title = row.subItem(Title);
    target.bidId = row.subItem(BidId);
    target.bidName = row.subItem(Name);
    target.loginId = loginId;
}
