#include "X11Desktop.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// xcb hands out replies that the caller frees.
template <typename T> std::unique_ptr<T, decltype(&std::free)> owned(T* reply)
{
    return {reply, &std::free};
}

} // namespace

X11Desktop::X11Desktop() = default;

X11Desktop::~X11Desktop()
{
    if (m_connection)
        xcb_disconnect(m_connection);
    if (m_server.state() != QProcess::NotRunning) {
        m_server.terminate();
        if (!m_server.waitForFinished(5000))
            m_server.kill();
        m_server.waitForFinished(5000);
    }
}

bool X11Desktop::start()
{
    // The server picks a free display and writes its number once it takes connections.
    m_server.start(QStringLiteral("Xvfb"),
                   {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1600x1200x24"});
    if (!m_server.waitForStarted(10000))
        return false;
    QByteArray number;
    while (!number.endsWith('\n')) {
        if (!m_server.waitForReadyRead(10000))
            return false;
        number += m_server.readAllStandardOutput();
    }
    m_display = ':' + QString::fromLatin1(number.trimmed());
    m_connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
    return !xcb_connection_has_error(m_connection);
}

std::uint32_t X11Desktop::atom(const char* name)
{
    const auto reply = owned(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, std::uint16_t(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : XCB_ATOM_NONE;
}

std::uint32_t X11Desktop::shownWindowOf(qint64 pid)
{
    const QList<std::uint32_t> windows = shownWindowsOf(pid);
    return windows.isEmpty() ? 0 : windows.first();
}

QList<std::uint32_t> X11Desktop::shownWindowsOf(qint64 pid)
{
    QList<std::uint32_t> shown;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const auto tree =
        owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, root), nullptr));
    if (!tree)
        return shown;
    const xcb_atom_t pidAtom = atom("_NET_WM_PID");
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const auto attributes = owned(xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        const auto property = owned(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, children[i], pidAtom, XCB_ATOM_CARDINAL, 0, 1),
            nullptr));
        if (property && xcb_get_property_value_length(property.get()) == 4 &&
            *static_cast<const std::uint32_t*>(xcb_get_property_value(property.get())) ==
                std::uint32_t(pid))
            shown << children[i];
    }
    return shown;
}

void X11Desktop::requestClose(std::uint32_t window)
{
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(m_connection);
}
