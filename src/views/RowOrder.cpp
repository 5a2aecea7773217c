#include "views/RowOrder.h"

#include <QHash>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>
#include <numeric>

namespace RowOrder {

namespace {

// Rows by dense ranks 0 … rankCount-1: a stable counting sort.
std::vector<int> byRanks(const std::vector<int>& ranks, int rankCount, bool descending)
{
    std::vector<int> start(size_t(rankCount) + 1, 0);
    for (int rank : ranks)
        ++start[size_t(descending ? rankCount - 1 - rank : rank) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<int> order(ranks.size());
    for (size_t row = 0; row < ranks.size(); ++row) {
        const int rank = descending ? rankCount - 1 - ranks[row] : ranks[row];
        order[size_t(start[size_t(rank)]++)] = int(row);
    }
    return order;
}

} // namespace

std::vector<int> byNumbers(const std::vector<qint64>& keys, bool descending)
{
    struct Entry
    {
        qint64 key;
        int row;
    };
    std::vector<Entry> entries(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        entries[i] = {keys[i], int(i)};
    if (descending)
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return b.key < a.key; });
    else
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.key < b.key; });
    std::vector<int> order(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        order[i] = entries[i].row;
    return order;
}

std::vector<int> byTexts(const std::vector<QStringView>& keys, bool descending)
{
    // Equal texts are common (winners, titles and dates repeat over a transaction's messages,
    // flags and memos over listings): each distinct text is sorted once, the rows by its rank.
    QHash<QStringView, int> ids;
    ids.reserve(qsizetype(keys.size()));
    std::vector<int> idOfRow(keys.size());
    std::vector<QStringView> distinct;
    for (size_t row = 0; row < keys.size(); ++row) {
        const auto it = ids.constFind(keys[row]);
        if (it != ids.cend()) {
            idOfRow[row] = it.value();
        } else {
            const int id = int(distinct.size());
            ids.insert(keys[row], id);
            distinct.push_back(keys[row]);
            idOfRow[row] = id;
        }
    }
    std::vector<int> byText(distinct.size());
    std::iota(byText.begin(), byText.end(), 0);
    std::sort(byText.begin(), byText.end(), [&distinct](int a, int b) {
        return distinct[size_t(a)].compare(distinct[size_t(b)]) < 0;
    });
    std::vector<int> rankOfId(distinct.size());
    for (size_t rank = 0; rank < byText.size(); ++rank)
        rankOfId[size_t(byText[rank])] = int(rank);
    for (int& id : idOfRow)
        id = rankOfId[size_t(id)];
    return byRanks(idOfRow, int(distinct.size()), descending);
}

bool apply(QTreeWidget* list, const std::vector<int>& order)
{
    const int rows = list->topLevelItemCount();
    if (int(order.size()) != rows)
        return false;
    bool moved = false;
    for (int row = 0; row < rows && !moved; ++row)
        moved = order[size_t(row)] != row;
    if (!moved)
        return true;

    QAbstractItemModel* model = list->model();
    QItemSelectionModel* selection = list->selectionModel();
    const int lastColumn = model->columnCount() - 1;
    std::vector<char> selected(size_t(rows), 0);
    bool everything = false;
    const QItemSelection ranges = selection->selection();
    for (const QItemSelectionRange& range : ranges) {
        if (range.parent().isValid() || range.left() != 0 || range.right() != lastColumn)
            return false;
        for (int row = range.top(); row <= range.bottom(); ++row)
            selected[size_t(row)] = 1;
        everything = ranges.size() == 1 && range.top() == 0 && range.bottom() == rows - 1;
    }
    QTreeWidgetItem* root = list->invisibleRootItem();
    for (int row = 0; row < rows; ++row) {
        if (root->child(row)->childCount() > 0)
            return false;
    }
    const QModelIndex current = selection->currentIndex();
    const int currentRow = current.isValid() && !current.parent().isValid() ? current.row() : -1;
    const int currentColumn = current.column();
    const int vertical = list->verticalScrollBar()->value();
    const int horizontal = list->horizontalScrollBar()->value();

    {
        // The rows leave and come back in one step each; the list's and the selection's
        // signals would tell of a selection change that a sort does not make.
        const QSignalBlocker blockList(list);
        const QSignalBlocker blockSelection(selection);
        const QList<QTreeWidgetItem*> items = root->takeChildren();
        QList<QTreeWidgetItem*> sorted;
        sorted.reserve(rows);
        std::vector<int> newRowOf(static_cast<size_t>(rows));
        for (int row = 0; row < rows; ++row) {
            sorted.append(items.at(order[size_t(row)]));
            newRowOf[size_t(order[size_t(row)])] = row;
        }
        root->addChildren(sorted);

        QItemSelection restored;
        for (int row = 0; row < rows; ++row) {
            if (!selected[size_t(order[size_t(row)])])
                continue;
            int last = row;
            while (last + 1 < rows && selected[size_t(order[size_t(last + 1)])])
                ++last;
            restored.select(model->index(row, 0), model->index(last, lastColumn));
            row = last;
        }
        if (!restored.isEmpty()) {
            selection->select(restored, QItemSelectionModel::Select);
            // A whole selected list stays one selection that the next click replaces; parts
            // become settled ranges, as a sort leaves them.
            if (!everything)
                selection->select(QItemSelection(), QItemSelectionModel::Select);
        }
        if (currentRow >= 0)
            selection->setCurrentIndex(model->index(newRowOf[size_t(currentRow)], currentColumn),
                                       QItemSelectionModel::NoUpdate);
    }
    if (list->verticalScrollBar()->value() != vertical ||
        list->horizontalScrollBar()->value() != horizontal) {
        list->doItemsLayout();
        list->verticalScrollBar()->setValue(vertical);
        list->horizontalScrollBar()->setValue(horizontal);
    }
    list->viewport()->update();
    return true;
}

} // namespace RowOrder
