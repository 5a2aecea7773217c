#include "views/MailtoUrl.h"

QUrl mailtoUrl(const QString& address)
{
    if (address.isEmpty())
        return QUrl();
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address, QUrl::DecodedMode);
    return url;
}
