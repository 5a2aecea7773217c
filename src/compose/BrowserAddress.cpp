#include "compose/BrowserAddress.h"

#include <QUrl>

namespace BrowserAddress {

bool isWebPage(const QString& address)
{
    const QUrl url(address);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

QString refusalText(const QString& address)
{
    return QStringLiteral("http:、https: 以外のアドレスは表示できません。\r\n") + address;
}

} // namespace BrowserAddress
