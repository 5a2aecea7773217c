#include "site/SiteEndpoints.h"

#include "platform/DataFolder.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString siteSection = QStringLiteral("Site");

} // namespace

SiteEndpoints SiteEndpoints::defaults()
{
    SiteEndpoints site;
    site.loginHost = QStringLiteral("login.yahoo.co.jp");
    site.portalHost = QStringLiteral("www.yahoo.co.jp");
    site.accountHost = QStringLiteral("auctions.yahoo.co.jp");
    site.closedListHost = QStringLiteral("closeduser.auctions.yahoo.co.jp");
    site.itemHost = QStringLiteral("page.auctions.yahoo.co.jp");
    site.profileHost = QStringLiteral("openuser.auctions.yahoo.co.jp");
    site.webServiceHost = QStringLiteral("auctions.yahooapis.jp");
    site.webServiceAppId =
        QStringLiteral("Xk4Tn8Qw2Rz7LpVb3Hs9DmYc6Fj1Gu5NaWe0Kq_PtBr4Zx8Mv2Cy7Lh3Sd9Fn6Jg1Xa-");
    site.itemPagePrefix = QStringLiteral("page");
    site.feedbackHostPrefix = QStringLiteral("edit");
    site.auctionDomain = QStringLiteral("auctions.yahoo.co.jp");
    return site;
}

SiteEndpoints SiteEndpoints::load()
{
    SiteEndpoints site = defaults();
    const IniFile ini(DataFolder::filePath(QStringLiteral("setting.ini")));
    const auto read = [&ini](const char* key, QString& value) {
        value = ini.readString(siteSection, QString::fromLatin1(key), value);
    };
    read("LoginHost", site.loginHost);
    read("PortalHost", site.portalHost);
    read("AccountHost", site.accountHost);
    read("ClosedListHost", site.closedListHost);
    read("ItemHost", site.itemHost);
    read("ProfileHost", site.profileHost);
    read("WebServiceHost", site.webServiceHost);
    read("WebServiceAppId", site.webServiceAppId);
    read("UpdateHost", site.updateHost);
    read("ItemPagePrefix", site.itemPagePrefix);
    read("FeedbackHostPrefix", site.feedbackHostPrefix);
    read("AuctionDomain", site.auctionDomain);
    read("CaCertificates", site.caCertificates);
    return site;
}

QString SiteEndpoints::httpUrl(const QString& host, const QString& pathAndQuery)
{
    return QStringLiteral("http://") + host + pathAndQuery;
}

QString SiteEndpoints::httpsUrl(const QString& host, const QString& pathAndQuery)
{
    return QStringLiteral("https://") + host + pathAndQuery;
}

bool SiteEndpoints::isSiteHost(const QUrl& address) const
{
    const QString scheme = address.scheme().toLower();
    if (address.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    const int defaultPort = scheme == QLatin1String("https") ? 443 : 80;
    for (const QString* host : {&loginHost, &portalHost, &accountHost, &closedListHost, &itemHost,
                                &profileHost, &webServiceHost}) {
        if (host->isEmpty())
            continue;
        const QUrl site(scheme + QStringLiteral("://") + *host);
        if (site.host().compare(address.host(), Qt::CaseInsensitive) == 0 &&
            site.port(defaultPort) == address.port(defaultPort))
            return true;
    }
    return false;
}

QList<QSslCertificate> SiteEndpoints::extraCaCertificates() const
{
    if (caCertificates.isEmpty())
        return {};
    QString path = caCertificates;
    if (QFileInfo(path).isRelative())
        path = DataFolder::filePath(path);
    return QSslCertificate::fromPath(path, QSsl::Pem, QSslCertificate::PatternSyntax::FixedString);
}
