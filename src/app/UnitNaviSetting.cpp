// The main window's opener of the settings dialog.
#include "app/UnitNavi.h"

#include "app/UnitSetting.h"

#include <QAction>

void TFormNavi::connectSettingCommand()
{
    QAction* command = action("ActionShowSetting");
    connect(command, &QAction::triggered, this, &TFormNavi::ActionShowSettingExecute);
    markWired(command);
}

void TFormNavi::ActionShowSettingExecute()
{
    auto* dialog = new TFormSetting(this);
    formSetting = dialog;
    dialog->exec();
    delete dialog;
    formSetting = nullptr;
}
