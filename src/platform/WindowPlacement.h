#pragma once

#include <QObject>
#include <QRect>
#include <QString>

class IniFile;
class QWidget;

// Keeps a window's placement in its own section of setting.ini: Left, Top, Width, Height and
// WindowState. A maximised or minimised window is stored with the bounds of its last normal
// state.
class WindowPlacement : public QObject
{
    Q_OBJECT
public:
    enum class MinimisedAs {
        Normal,      // a minimised window is stored with WindowState 0
        StateBefore, // it is stored with the state it had before minimising
    };

    WindowPlacement(QWidget* window, const QString& section, MinimisedAs minimisedAs,
                    const QRect& defaultBounds = QRect(100, 100, 900, 600));

    // Applies the stored bounds, fitted to the available screen; returns the stored WindowState (0 normal, 1 min, 2 max),
    // which the caller applies when it shows the window.
    int restore(const IniFile& ini);
    void save(IniFile& ini) const { saveTo(ini, m_section); }
    // The same keys into another window's section (a window that takes this one's place).
    void saveTo(IniFile& ini, const QString& section) const;

    QRect normalBounds() const;
    int stateBeforeMinimize() const { return m_stateBeforeMinimize; }
    static int stateCode(Qt::WindowStates states);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    QString m_section;
    MinimisedAs m_minimisedAs;
    QRect m_default;
    QRect m_restored;
    int m_stateBeforeMinimize = 0;
    Qt::WindowStates m_lastState = Qt::WindowNoState;
};
