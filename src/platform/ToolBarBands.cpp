#include "platform/ToolBarBands.h"

#include <algorithm>

QList<int> bandOrderFromStoredPositions(const QList<int>& storedPositionById)
{
    QList<int> order;
    for (int id = 0; id < storedPositionById.size(); ++id)
        order << id;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return storedPositionById[a] < storedPositionById[b];
    });
    return order;
}
