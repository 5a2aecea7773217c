// The message-board download of the main window: its commands and the stores that write each
// board into the database and the message lists.
#include "app/UnitNavi.h"

void TFormNavi::connectNaviDownloadCommands() {}
