#pragma once

#include <QIcon>

// The program's icon, for its windows and the notification area: a blue rounded square with a
// white "T" and an orange coin, drawn at the usual icon sizes. Needs a QGuiApplication.
QIcon tessalyIcon();
