#pragma once

#include <QString>

// Which stored listing addresses the in-app browser loads: web pages only. A listing's address
// comes from the database, so a "file:", "javascript:" or other address there is refused with a
// warning instead of being shown.
namespace BrowserAddress {

// True for an "http:" or "https:" address with a host.
bool isWebPage(const QString& address);

inline const QString refusalCaption = QStringLiteral("警告");
// The warning for a refused address.
QString refusalText(const QString& address);

} // namespace BrowserAddress
