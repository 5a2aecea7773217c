#pragma once

class TFormNavi;
class TFormSetting;

// The settings dialog on the main window's session, over the window, with what its OK saves
// shown in the window: the login bar and menu, the carriage and forwarding lists, the listing
// list's colour. The caller shows it and deletes it.
TFormSetting* makeSettingDialog(TFormNavi& navi);
