#pragma once

#include <QList>
#include <QProcess>
#include <QString>

#include <cstdint>

struct xcb_connection_t;

// A private X server (Xvfb) for a program started by a test, or for the test's own windows, and
// what a window manager does to those windows: the close request of a window's close button.
class X11Desktop
{
public:
    X11Desktop();
    ~X11Desktop();
    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    // Starts the server and connects to it; false when it did not come up.
    bool start();
    // The DISPLAY value of the server.
    QString display() const { return m_display; }

    // The shown top-level window of the process, 0 while there is none.
    std::uint32_t shownWindowOf(qint64 pid);
    // Every shown top-level window of the process: the main window and the boxes over it.
    QList<std::uint32_t> shownWindowsOf(qint64 pid);
    // Sends the window the close request (WM_DELETE_WINDOW) a window manager sends.
    void requestClose(std::uint32_t window);

private:
    std::uint32_t atom(const char* name);

    QProcess m_server;
    QString m_display;
    xcb_connection_t* m_connection = nullptr;
};
