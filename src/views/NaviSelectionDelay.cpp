#include "views/NaviSelectionDelay.h"

#include "views/NaviListItem.h"

#include <QItemSelectionModel>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include <algorithm>

NaviSelectionDelay::NaviSelectionDelay(QTreeWidget* list, QPlainTextEdit* memo, int delayMs,
                                       QObject* parent)
    : QObject(parent), m_list(list), m_delayMs(delayMs)
{
    m_fields.memo = memo;
    qRegisterMetaType<NaviListItem*>();
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMs);
    connect(&m_timer, &QTimer::timeout, this, &NaviSelectionDelay::showDetail);
    connect(list, &QTreeWidget::itemSelectionChanged, this, &NaviSelectionDelay::selectionChanged);
    connect(list, &QTreeWidget::currentItemChanged, this, &NaviSelectionDelay::selectionChanged);
}

NaviListItem* NaviSelectionDelay::currentNaviItem() const
{
    QTreeWidgetItem* current = m_list->currentItem();
    if (current && current->isSelected())
        return NaviListItem::of(current);
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return nullptr;
    const auto first = std::min_element(
        rows.cbegin(), rows.cend(),
        [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    return NaviListItem::of(m_list->topLevelItem(first->row()));
}

void NaviSelectionDelay::selectionChanged()
{
    m_timer.stop();
    if (!currentNaviItem())
        return;
    if (m_delayMs <= 0)
        showDetail();
    else
        m_timer.start();
}

void NaviSelectionDelay::showDetail()
{
    m_timer.stop();
    NaviListItem* item = currentNaviItem();
    if (!item)
        return;
    if (!item->row().wholeMessage && m_messageText)
        item->setWholeMessage(m_messageText(item->row()));
    NaviDetailPane::show(m_fields, *item);
    emit detailShown(item);
}

void NaviSelectionDelay::clearDetail()
{
    NaviDetailPane::clear(m_fields);
}
