#include "site/HttpRedirect.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace HttpRedirect {

bool isRedirect(int status)
{
    return turnsIntoGet(status) || status == 307 || status == 308;
}

bool turnsIntoGet(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 305;
}

QUrl target(const QNetworkReply* reply, const QUrl& from)
{
    if (reply->error() != QNetworkReply::NoError ||
        !isRedirect(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt()))
        return QUrl();
    const QByteArray location = reply->rawHeader("Location");
    if (location.isEmpty())
        return QUrl();
    QUrl url(QString::fromUtf8(location));
    if (!url.isValid())
        url = QUrl(QString::fromLatin1(location));
    return url.isValid() ? from.resolved(url) : QUrl();
}

} // namespace HttpRedirect
