#pragma once

#include <QTreeWidget>

// A list's item index: its first selected row in list order, or none.
inline QTreeWidgetItem* itemIndexRow(const QTreeWidget* list)
{
    QTreeWidgetItem* first = nullptr;
    int firstIndex = -1;
    for (QTreeWidgetItem* row : list->selectedItems()) {
        const int index = list->indexOfTopLevelItem(row);
        if (firstIndex < 0 || index < firstIndex) {
            first = row;
            firstIndex = index;
        }
    }
    return first;
}
