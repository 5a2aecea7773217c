#include "views/SideListLayout.h"

#include "platform/IniFile.h"

#include <QSplitter>
#include <QTreeWidget>

namespace SideListLayout {

void read(const IniFile& ini, const QString& section, const QString& heightKey, QSplitter* splitter,
          QTreeWidget* list)
{
    const int height = ini.readInteger(section, heightKey, 200);
    splitter->setSizes({height, qMax(1, splitter->height() - height)});
    for (int column = 0; column < list->columnCount(); ++column)
        list->setColumnWidth(
            column,
            ini.readInteger(section,
                            QStringLiteral("ListViewNaviColWidth") + QString::number(column), 120));
}

void write(IniFile& ini, const QString& section, const QString& heightKey,
           const QSplitter* splitter, const QTreeWidget* list)
{
    ini.writeInteger(section, heightKey, splitter->sizes().value(0, 200));
    for (int column = 0; column < list->columnCount(); ++column)
        ini.writeInteger(section, QStringLiteral("ListViewNaviColWidth") + QString::number(column),
                         list->columnWidth(column));
}

} // namespace SideListLayout
