#pragma once

#include <QList>
#include <QSslCertificate>
#include <QString>

class QUrl;

// The auction site's endpoints in one place: the site's real host names by default, each
// overridable in setting.ini, section "Site". A host may carry a port ("127.0.0.1:8123").
struct SiteEndpoints
{
    QString loginHost;       // LoginHost: log in and out (HTTPS and HTTP)
    QString portalHost;      // PortalHost: the portal top page, sent as the logout's ".done"
    QString accountHost;     // AccountHost: the seller's status page
    QString closedListHost;  // ClosedListHost: closed listings
    QString itemHost;        // ItemHost: item pages and message boards
    QString profileHost;     // ProfileHost: public profiles (linked from message pages)
    QString webServiceHost;  // WebServiceHost: the item web service
    QString webServiceAppId; // WebServiceAppId: the application id sent to the web service
    QString updateHost;      // UpdateHost: the update server; empty means none
    // ItemPagePrefix, FeedbackHostPrefix, AuctionDomain: item pages come from numbered hosts
    // ItemPagePrefix + N + "." + AuctionDomain; feedback is left on FeedbackHostPrefix + N + "."
    // + AuctionDomain (the domain may carry a port).
    QString itemPagePrefix;
    QString feedbackHostPrefix;
    QString auctionDomain;
    QString caCertificates; // CaCertificates: a PEM file trusted for HTTPS besides the system's

    // The built-in values.
    static SiteEndpoints defaults();
    // The built-in values overridden by the "Site" section of DataFolder's setting.ini.
    static SiteEndpoints load();

    // "http://" + host + pathAndQuery and "https://" + host + pathAndQuery.
    static QString httpUrl(const QString& host, const QString& pathAndQuery);
    static QString httpsUrl(const QString& host, const QString& pathAndQuery);

    // Whether the address is on one of the site's fixed hosts above (the update server is not the
    // site's), its port included: a host written without a port stands for the address scheme's
    // default one (80, 443). The host is compared without regard to case.
    bool isSiteHost(const QUrl& address) const;

    // The certificates of the caCertificates file (relative paths are taken from the data
    // folder); empty when none is named or the file cannot be read.
    QList<QSslCertificate> extraCaCertificates() const;
};
