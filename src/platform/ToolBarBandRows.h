#pragma once

#include <QList>
#include <QObject>
#include <QSet>

class IniFile;
class QMainWindow;
class QString;
class QToolBar;

// The bands of a window's top tool-bar area, in the order and with the line breaks the settings
// keep, wrapped onto further rows where they do not fit the window's width. The stored breaks
// always hold; the others follow the width whenever the window is resized. A band the seller
// drags elsewhere keeps its new place: its order and its break count as stored from then on.
class ToolBarBandRows : public QObject
{
    Q_OBJECT
public:
    // The bands by their identifier (0, 1, …); the rows start out in this order.
    ToolBarBandRows(QMainWindow* window, const QList<QToolBar*>& bands);

    // Lays the bands out in this order of identifiers, each starting a row where its stored
    // break (by identifier) says so and wherever the row is full.
    void apply(const QList<int>& order, const QList<bool>& storedBreaks);

    // For each band by its place, row by row from the top: its position, whether it starts its
    // row by a stored break (not for want of room) and its width, under the keys
    // "CoolBarIndex", "CoolBarBreak" and "CoolBarWidth" followed by its identifier.
    void write(IniFile& ini, const QString& section);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wrap();
    // Takes over where the seller has dragged bands since the last layout.
    void takeMovedBands();
    void settle();

    QMainWindow* m_window;
    QList<QToolBar*> m_bands;
    QList<int> m_order;
    QSet<int> m_storedBreaks;
    QSet<int> m_wrapBreaks;
};
