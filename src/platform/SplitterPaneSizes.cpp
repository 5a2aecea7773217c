#include "platform/SplitterPaneSizes.h"

#include "platform/IniFile.h"

#include <QSplitter>

void SplitterPaneSizes::track(QObject* context, QSplitter* splitter, int index, const QString& key,
                              int defaultSize)
{
    m_panes.append({splitter, index, key, defaultSize, defaultSize});
    QObject::connect(splitter, &QSplitter::splitterMoved, context, [this, key] {
        for (Pane& pane : m_panes)
            if (pane.key == key)
                pane.size = pane.splitter->sizes().value(pane.index, pane.size);
    });
}

void SplitterPaneSizes::read(const IniFile& ini, const QString& section)
{
    for (Pane& pane : m_panes)
        pane.size = ini.readInteger(section, pane.key, pane.defaultSize);
}

void SplitterPaneSizes::write(IniFile& ini, const QString& section) const
{
    for (const Pane& pane : m_panes)
        ini.writeInteger(section, pane.key, pane.size);
}

int& SplitterPaneSizes::size(const QString& key)
{
    for (Pane& pane : m_panes)
        if (pane.key == key)
            return pane.size;
    Q_UNREACHABLE();
}

void SplitterPaneSizes::apply() const
{
    for (const Pane& pane : m_panes) {
        QList<int> sizes = pane.splitter->sizes();
        if (sizes.size() < 2)
            continue;
        const int total = qMax(sizes[0] + sizes[1], pane.size + 50);
        sizes[pane.index] = pane.size;
        sizes[1 - pane.index] = total - pane.size;
        pane.splitter->setSizes(sizes);
    }
}
