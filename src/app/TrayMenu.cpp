#include "app/TrayMenu.h"

QStringList trayMenuAccountCaptions(const QStringList& accounts)
{
    QStringList captions;
    for (int i = 0; i < accounts.size(); ++i)
        captions << QStringLiteral("%1(&%2)").arg(accounts[i]).arg(i);
    if (!captions.isEmpty())
        captions << QStringLiteral("-");
    return captions;
}

QStringList trayMenuFixedCaptions()
{
    return {QStringLiteral("元に戻す(&R)"), QStringLiteral("-"),
            QStringLiteral("アプリケーション終了(&X)")};
}

bool hidesIntoTray(bool taskTrayOption, bool trayAvailable, bool iconVisible)
{
    return taskTrayOption && trayAvailable && iconVisible;
}

Qt::WindowState windowStateOnRestore(int stateBeforeMinimize)
{
    return stateBeforeMinimize == 2 ? Qt::WindowMaximized : Qt::WindowNoState;
}
