#pragma once

#include <QUrl>

#include <functional>

// Hands a web address or a file to the desktop (the user's browser or the file's program).
// Tests replace the desktop with a handler, so no test starts a program of the machine.
class UrlOpener
{
public:
    using Handler = std::function<bool(const QUrl&)>;

    // True when the desktop (or the test's handler) took the address.
    static bool open(const QUrl& url);

    // Test hook: nullptr restores the desktop.
    static void setHandler(Handler handler);
};
