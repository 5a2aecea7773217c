#include "platform/UrlOpener.h"

#include <QDesktopServices>

namespace {

UrlOpener::Hook& hook()
{
    static UrlOpener::Hook current;
    return current;
}

} // namespace

void UrlOpener::open(const QUrl& url)
{
    if (hook()) {
        hook()(url);
        return;
    }
    QDesktopServices::openUrl(url);
}

void UrlOpener::setHook(Hook replacement)
{
    hook() = std::move(replacement);
}
