#pragma once

#include <QStringList>

// The captions of the tray menu: one item per saved account ("id(&n)"), a separator when there
// are any, then the fixed items. "-" stands for a separator.
QStringList trayMenuAccountCaptions(const QStringList& accounts);
QStringList trayMenuFixedCaptions();
