#include "views/NaviSelectionDelay.h"

#include "views/NaviFolderList.h"
#include "views/NaviRows.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QPlainTextEdit>
#include <QTreeWidget>

NaviSelectionDelay::NaviSelectionDelay(QAbstractItemView* list, QPlainTextEdit* memo, int delayMs,
                                       QObject* parent)
    : QObject(parent), m_list(list), m_delayMs(delayMs)
{
    m_fields.memo = memo;
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMs);
    connect(&m_timer, &QTimer::timeout, this, &NaviSelectionDelay::showDetail);
    QItemSelectionModel* selection = list->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            &NaviSelectionDelay::selectionChanged);
    connect(selection, &QItemSelectionModel::currentRowChanged, this,
            &NaviSelectionDelay::selectionChanged);
    // A refill resets the model: the rows the selection held are gone without a signal.
    connect(list->model(), &QAbstractItemModel::modelReset, this,
            &NaviSelectionDelay::selectionChanged);
}

int NaviSelectionDelay::currentNaviRow() const
{
    return NaviRows(m_list).detailRow();
}

void NaviSelectionDelay::selectionChanged()
{
    m_timer.stop();
    if (currentNaviRow() < 0)
        return;
    if (m_delayMs <= 0)
        showDetail();
    else
        m_timer.start();
}

void NaviSelectionDelay::showDetail()
{
    m_timer.stop();
    const NaviRows rows(m_list);
    const int row = rows.detailRow();
    if (row < 0)
        return;
    NaviRow shown = rows.row(row);
    if (!shown.wholeMessage && m_messageText) {
        rows.setWholeMessage(row, m_messageText(shown));
        shown = rows.row(row);
    }
    NaviList kind = NaviList::Folder;
    if (!qobject_cast<NaviFolderList*>(m_list)) {
        auto* items = qobject_cast<QTreeWidget*>(m_list);
        if (const NaviListItem* item = items ? NaviListItem::of(items->topLevelItem(row)) : nullptr)
            kind = item->list();
    }
    NaviDetailPane::show(m_fields, kind, shown);
    emit detailShown(QPersistentModelIndex(rows.index(row)));
}

void NaviSelectionDelay::clearDetail()
{
    NaviDetailPane::clear(m_fields);
}
