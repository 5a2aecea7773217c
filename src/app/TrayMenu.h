#pragma once

#include <QStringList>
#include <Qt>

// The captions of the tray menu: one item per saved account ("id(&n)"), a separator when there
// are any, then the fixed items. "-" stands for a separator.
QStringList trayMenuAccountCaptions(const QStringList& accounts);
QStringList trayMenuFixedCaptions();

// A minimised window hides into the notification area only when the option asks for it and
// there is an icon the user can click to bring it back; otherwise it stays a normal minimised
// window.
bool hidesIntoTray(bool taskTrayOption, bool trayAvailable, bool iconVisible);

// The state a window comes back in from the tray or the task bar, from the state code it had
// before it was minimised (0 normal, 2 maximised): a maximised window stays maximised.
Qt::WindowState windowStateOnRestore(int stateBeforeMinimize);
