#include "platform/WindowPlacement.h"

#include "platform/IniFile.h"
#include "platform/WindowBounds.h"

#include <QEvent>
#include <QWindow>
#include <QWidget>

WindowPlacement::WindowPlacement(QWidget* window, const QString& section, MinimisedAs minimisedAs,
                                 const QRect& defaultBounds)
    : QObject(window), m_window(window), m_section(section), m_minimisedAs(minimisedAs),
      m_default(defaultBounds), m_restored(defaultBounds)
{
    window->installEventFilter(this);
}

int WindowPlacement::stateCode(Qt::WindowStates states)
{
    if (states & Qt::WindowMinimized)
        return 1;
    if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return 2;
    return 0;
}

int WindowPlacement::restore(const IniFile& ini)
{
    // The stored bounds may come from another screen (or an edited file): the window takes
    // them only as far as they fit, with its frame, on the screen they mostly lie on.
    QMargins frame;
    if (m_window->isWindow()) {
        m_window->winId(); // the platform window knows the frame it will get
        if (const QWindow* handle = m_window->windowHandle())
            frame = handle->frameMargins();
    }
    m_restored = WindowBounds::fittedToScreens(
        {ini.readInteger(m_section, "Left", m_default.left()),
         ini.readInteger(m_section, "Top", m_default.top()),
         ini.readInteger(m_section, "Width", m_default.width()),
         ini.readInteger(m_section, "Height", m_default.height())},
        frame);
    m_window->setGeometry(m_restored);
    return ini.readInteger(m_section, "WindowState", 0);
}

void WindowPlacement::saveTo(IniFile& ini, const QString& section) const
{
    const int state = stateCode(m_window->windowState());
    const QRect bounds = state == 0 ? m_window->geometry() : normalBounds();
    IniFile::Batch batch(ini);
    ini.writeInteger(section, "Left", bounds.left());
    ini.writeInteger(section, "Top", bounds.top());
    ini.writeInteger(section, "Width", bounds.width());
    ini.writeInteger(section, "Height", bounds.height());
    int stored = state;
    if (state == 1)
        stored = m_minimisedAs == MinimisedAs::StateBefore ? m_stateBeforeMinimize : 0;
    ini.writeInteger(section, "WindowState", stored);
    batch.save();
}

QRect WindowPlacement::normalBounds() const
{
    // Qt keeps the bounds a top-level window returns to when it leaves the maximised state.
    const QRect qtNormal = m_window->normalGeometry();
    return qtNormal.isValid() ? qtNormal : m_restored;
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::WindowStateChange) {
        const Qt::WindowStates now = m_window->windowState();
        if ((now & Qt::WindowMinimized) && !(m_lastState & Qt::WindowMinimized))
            m_stateBeforeMinimize = stateCode(m_lastState);
        m_lastState = now;
    }
    return false;
}
