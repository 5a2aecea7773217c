// The closed-listing and detailed listing downloads of the main window: their commands and
// the stores that write their results into the database and the listing list.
#include "app/UnitNavi.h"

void TFormNavi::connectBidDownloadCommands() {}
