#include "app/StatusPanelLayout.h"

#include "app/StatusPanel.h"

#include <QWidget>

#include <algorithm>

namespace {

// Takes up to `deficit` pixels from the widths, as evenly as their floors allow; returns what
// could not be taken.
int shrinkEvenly(QList<int>& widths, const QList<int>& floors, int deficit)
{
    while (deficit > 0) {
        int shrinkable = 0;
        for (int i = 0; i < widths.size(); ++i)
            if (widths[i] > floors[i])
                ++shrinkable;
        if (shrinkable == 0)
            break;
        const int share = qMax(1, deficit / shrinkable);
        for (int i = 0; i < widths.size() && deficit > 0; ++i) {
            const int take = std::min({share, widths[i] - floors[i], deficit});
            if (take > 0) {
                widths[i] -= take;
                deficit -= take;
            }
        }
    }
    return deficit;
}

} // namespace

QList<int> StatusPanelLayout::widths(int available, const QList<Need>& needs)
{
    QList<int> result, wholeFloors, leastFloors;
    for (const Need& need : needs) {
        const int least = qMin(need.least, need.needed);
        result << std::max({need.wanted, need.needed, least});
        wholeFloors << need.needed;
        leastFloors << least;
    }
    int deficit = 0;
    for (int width : result)
        deficit += width;
    deficit -= available;
    if (deficit <= 0) {
        if (!result.isEmpty())
            result.last() -= deficit;
        return result;
    }
    deficit = shrinkEvenly(result, wholeFloors, deficit);
    shrinkEvenly(result, leastFloors, deficit);
    return result;
}

StatusPanelLayout::StatusPanelLayout(QWidget* parent) : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(6);
}

StatusPanelLayout::~StatusPanelLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void StatusPanelLayout::addItem(QLayoutItem* item)
{
    m_items.append(item);
}

QLayoutItem* StatusPanelLayout::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    return m_items.takeAt(index);
}

QList<QLayoutItem*> StatusPanelLayout::shownItems() const
{
    QList<QLayoutItem*> shown;
    for (QLayoutItem* item : m_items)
        if (!item->isEmpty())
            shown << item;
    return shown;
}

StatusPanelLayout::Need StatusPanelLayout::needOf(QLayoutItem* item)
{
    if (const auto* panel = qobject_cast<const StatusPanel*>(item->widget()))
        return {panel->designWidth(), panel->neededWidth(), panel->leastWidth()};
    const int hint = item->sizeHint().width();
    return {hint, hint, item->minimumSize().width()};
}

QSize StatusPanelLayout::total(bool least) const
{
    const QList<QLayoutItem*> items = shownItems();
    int width = qMax(0, int(items.size()) - 1) * spacing();
    int height = 0;
    for (QLayoutItem* item : items) {
        const Need need = needOf(item);
        width += least ? qMin(need.least, need.needed) : qMax(need.wanted, need.needed);
        height = qMax(height, least ? item->minimumSize().height() : item->sizeHint().height());
    }
    const QMargins margins = contentsMargins();
    return {width + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

QSize StatusPanelLayout::sizeHint() const
{
    return total(false);
}

QSize StatusPanelLayout::minimumSize() const
{
    return total(true);
}

void StatusPanelLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    const QRect area = contentsRect();
    const QList<QLayoutItem*> items = shownItems();
    QList<Need> needs;
    for (QLayoutItem* item : items)
        needs << needOf(item);
    const int gaps = qMax(0, int(items.size()) - 1) * spacing();
    const QList<int> sizes = widths(area.width() - gaps, needs);
    int x = area.x();
    for (int i = 0; i < items.size(); ++i) {
        items[i]->setGeometry(QRect(x, area.y(), sizes[i], area.height()));
        x += sizes[i] + spacing();
    }
}
