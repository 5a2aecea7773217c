#pragma once

#include <QString>

class IniFile;
class QSplitter;
class QTreeWidget;

// The layout keys of the side message lists: the list's height and its nine column widths.
namespace SideListLayout {

void read(const IniFile& ini, const QString& section, const QString& heightKey, QSplitter* splitter,
          QTreeWidget* list);
void write(IniFile& ini, const QString& section, const QString& heightKey,
           const QSplitter* splitter, const QTreeWidget* list);

} // namespace SideListLayout
