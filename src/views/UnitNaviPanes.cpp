// The main window's share of the listing and message panes: what an account change and the
// download control ask of them.
#include "app/UnitNavi.h"

#include <QPlainTextEdit>
#include <QTreeWidget>

void TFormNavi::createDefaultFolders() {}

void TFormNavi::loadFolderTree() {}

void TFormNavi::ToolButtonBidSearchSearchClick() {}

void TFormNavi::clearBidderInfo() {}

void TFormNavi::clearBidNaviPanel()
{
    ListViewBidNavi->clear();
    MemoBidNavi->clear();
}

void TFormNavi::setBidSearchButtonEnabled(bool) {}
