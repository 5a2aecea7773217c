// The main window's opener of the settings dialog.
#include "app/UnitNavi.h"

#include "app/NaviWiring.h"
#include "app/UnitSetting.h"

#include <QAction>

void NaviWiring::connectSettingCommand(TFormNavi& navi)
{
    QAction* command = navi.action("ActionShowSetting");
    QObject::connect(command, &QAction::triggered, &navi, &TFormNavi::ActionShowSettingExecute);
    navi.markWired(command);
}

void TFormNavi::ActionShowSettingExecute()
{
    auto* dialog = new TFormSetting(this);
    formSetting = dialog;
    dialog->exec();
    delete dialog;
    formSetting = nullptr;
}
