#pragma once

#include <QUrl>

#include <functional>

// Hands an address (a web page, a mailto: address, a file) to the desktop's handler for it. The
// result is not examined. Tests replace the hand-over with a hook that records the address.
namespace UrlOpener {

void open(const QUrl& url);

using Hook = std::function<void(const QUrl&)>;
// Test hook: nullptr restores the desktop hand-over.
void setHook(Hook hook);

} // namespace UrlOpener
