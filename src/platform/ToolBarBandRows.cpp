#include "platform/ToolBarBandRows.h"

#include "platform/IniFile.h"
#include "platform/RowBreaks.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QToolBar>

#include <algorithm>

ToolBarBandRows::ToolBarBandRows(QMainWindow* window, const QList<QToolBar*>& bands)
    : QObject(window), m_window(window), m_bands(bands)
{
    for (int id = 0; id < bands.size(); ++id) {
        m_order << id;
        // Bands stay in the window's band area, as the settings know nothing else.
        bands[id]->setAllowedAreas(Qt::TopToolBarArea);
        bands[id]->setFloatable(false);
    }
    window->installEventFilter(this);
}

void ToolBarBandRows::apply(const QList<int>& order, const QList<bool>& storedBreaks)
{
    m_order = order;
    m_storedBreaks.clear();
    for (int position = 1; position < m_order.size(); ++position)
        if (storedBreaks.value(m_order[position]))
            m_storedBreaks.insert(m_order[position]);
    m_wrapBreaks.clear();
    for (QToolBar* band : std::as_const(m_bands))
        m_window->removeToolBar(band);
    for (int id : std::as_const(m_order)) {
        m_window->addToolBar(Qt::TopToolBarArea, m_bands[id]);
        m_bands[id]->show();
    }
    wrap();
    settle();
}

void ToolBarBandRows::write(IniFile& ini, const QString& section)
{
    takeMovedBands();
    for (int position = 0; position < m_order.size(); ++position) {
        const int id = m_order[position];
        const QString key = QString::number(id);
        ini.writeInteger(section, QStringLiteral("CoolBarIndex") + key, position);
        ini.writeBool(section, QStringLiteral("CoolBarBreak") + key, m_storedBreaks.contains(id));
        ini.writeInteger(section, QStringLiteral("CoolBarWidth") + key, m_bands[id]->width());
    }
}

bool ToolBarBandRows::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Resize) {
        takeMovedBands();
        wrap();
    }
    return QObject::eventFilter(watched, event);
}

void ToolBarBandRows::wrap()
{
    QList<int> widths;
    QList<bool> stored;
    for (int id : std::as_const(m_order)) {
        const QToolBar* band = m_bands[id];
        widths << (band->isHidden() ? 0 : band->sizeHint().width());
        stored << m_storedBreaks.contains(id);
    }
    const QList<bool> breaks = rowBreaks(widths, stored, m_window->width());
    m_wrapBreaks.clear();
    bool changed = false;
    for (int position = 1; position < m_order.size(); ++position) {
        const int id = m_order[position];
        QToolBar* band = m_bands[id];
        if (breaks[position] && !stored[position])
            m_wrapBreaks.insert(id);
        if (breaks[position] == m_window->toolBarBreak(band))
            continue;
        if (breaks[position])
            m_window->insertToolBarBreak(band);
        else
            m_window->removeToolBarBreak(band);
        changed = true;
    }
    if (changed)
        settle();
}

void ToolBarBandRows::settle()
{
    // The bands' geometry then shows the rows just set, so a drag can be told from them.
    if (m_window->isVisible() && m_window->layout())
        m_window->layout()->activate();
}

void ToolBarBandRows::takeMovedBands()
{
    if (!m_window->isVisible())
        return;
    for (const QToolBar* band : std::as_const(m_bands))
        if (band->isHidden() || !band->geometry().isValid() ||
            m_window->toolBarArea(band) != Qt::TopToolBarArea)
            return;
    QList<int> shown = m_order;
    std::stable_sort(shown.begin(), shown.end(), [this](int a, int b) {
        const QRect ra = m_bands[a]->geometry();
        const QRect rb = m_bands[b]->geometry();
        return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
    });
    QSet<int> breaks;
    for (int position = 1; position < shown.size(); ++position) {
        const int id = shown[position];
        const bool rowStarts =
            m_bands[id]->geometry().top() > m_bands[shown[position - 1]]->geometry().top();
        // A layout not yet redone after a change shows the rows before it: nothing to take.
        if (rowStarts != m_window->toolBarBreak(m_bands[id]))
            return;
        if (rowStarts)
            breaks.insert(id);
    }
    if (shown == m_order && breaks == (m_storedBreaks | m_wrapBreaks))
        return;
    m_order = shown;
    m_storedBreaks = breaks - m_wrapBreaks;
    m_wrapBreaks &= breaks;
}
