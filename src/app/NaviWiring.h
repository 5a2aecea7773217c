#pragma once

class TFormNavi;

// The main window's commands and components wired to their handlers, in the window's and its
// controllers' code. Qt runs a signal's slots in the order they were connected, so the window
// calls these in one fixed order: the menu commands as their menus are built, then the rest
// once the controllers are made.
namespace NaviWiring {

// ---- As the menus are built ----
// Print, print preview and print settings.
void connectPrintCommands(TFormNavi& navi);
// The message and feedback template editors.
void connectTemplateCommands(TFormNavi& navi);
// The in-app browser.
void connectBrowserCommand(TFormNavi& navi);
// A new message and a reply in the composer.
void connectReplyCommands(TFormNavi& navi);
// The feedback composer.
void connectEvaluationCommand(TFormNavi& navi);
// The deleted-listings and bidder-transactions window.
void connectBidDataEtcCommands(TFormNavi& navi);

// ---- Once the controllers are made ----
// Exit, select all, the log's popup menu, the tab switch and its menu items, the tray login
// notice's timer.
void connectSignals(TFormNavi& navi);
// The login bar, the login popup menu and the tray menu's accounts.
void connectLoginSignals(TFormNavi& navi);
// The listing search and find panels, the find commands, the sort state and the list's popup.
void connectListingPaneSignals(TFormNavi& navi);
// The message lists' popup, the folder tree's menu and Del key, the read commands.
void connectMessageTabSignals(TFormNavi& navi);
// The four listing downloads.
void connectBidDownloadCommands(TFormNavi& navi);
// The two board downloads and the stop command.
void connectNaviDownloadCommands(TFormNavi& navi);
// The three CSV exports.
void connectCsvCommands(TFormNavi& navi);
// The settings dialog.
void connectSettingCommand(TFormNavi& navi);
// The about box and the jump from a log line to its listing row.
void connectVersionCommands(TFormNavi& navi);
// The message viewer, the per-listing message list and the message search.
void connectViewerCommands(TFormNavi& navi);
// The progress markers, the contact methods and the feedback necessity.
void connectMarkerCommands(TFormNavi& navi);
// Ctrl+click selection, the message memos' popup menu and the bidder shown for a message.
void connectBidderSignals(TFormNavi& navi);
// The listing list's selection, double-click and keys, the board list's selection and the
// popup's reply and new-message items.
void connectSelectionSignals(TFormNavi& navi);
// The carriage, forwarding and memo inputs, the cell copies, the mail program, the side panels
// and the status-bar click.
void connectMemoSignals(TFormNavi& navi);

} // namespace NaviWiring
