#include "views/FontSizeMenu.h"

#include <QAction>
#include <QMenu>

QString FontSizeMenu::caption(int index)
{
    const QChar key = QLatin1Char("0123456789abcdef"[index]);
    return QString::number(sizes[index]) + QStringLiteral("\t(&") + key + QLatin1Char(')');
}

void FontSizeMenu::append(QMenu* menu, const std::function<void(int)>& chosen)
{
    for (int i = 0; i < count; ++i) {
        const int size = sizes[i];
        QAction* item = menu->addAction(caption(i));
        item->setToolTip(QString::number(size));
        item->setStatusTip(QString::number(size));
        item->setData(size);
        QObject::connect(item, &QAction::triggered, menu, [chosen, size] { chosen(size); });
    }
}
