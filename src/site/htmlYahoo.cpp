#include "site/htmlYahoo.h"

#include "common/CommonRoutines.h"

#include <QUrl>

#include "site/SiteEndpoints.h"
#include "site/YahooMarkers.h"
#include "site/html.h"

namespace {

const QString loginPath = QStringLiteral("/config/login?");
const QString statusPath = QStringLiteral("/jp/show/mystatus");
const QString itemServicePath = QStringLiteral("/AuctionWebService/V1/AuctionItem");
// The lookup runs on the GUI thread: a silent web service blocks the window no longer than this.
constexpr int itemServiceTimeoutMs = 5000;

QString statusPage()
{
    html client;
    client.get(SiteEndpoints::httpUrl(SiteEndpoints::load().accountHost, statusPath));
    return client.responseText();
}

} // namespace

htmlYahoo::htmlYahoo() = default;

htmlYahoo::~htmlYahoo() = default;

bool htmlYahoo::logout()
{
    const SiteEndpoints site = SiteEndpoints::load();
    html client;
    client.addParam(QStringLiteral(".lg"), QStringLiteral("jp"));
    client.addParam(QStringLiteral(".intl"), QStringLiteral("jp"));
    client.addParam(QStringLiteral("logout"), QStringLiteral("1"));
    client.addParam(QStringLiteral(".src"), QStringLiteral("www"));
    client.addParam(QStringLiteral(".done"), SiteEndpoints::httpUrl(site.portalHost, QString()));
    client.post(SiteEndpoints::httpUrl(site.loginHost, loginPath));
    return true;
}

bool htmlYahoo::login(const QString& id, const QString& password)
{
    logout();
    const SiteEndpoints site = SiteEndpoints::load();
    html client;
    client.addParam(QStringLiteral("login"), id);
    client.addParam(QStringLiteral("passwd"), password);
    client.addParam(QStringLiteral(".persistent"), QStringLiteral("y"));
    client.postSecure(SiteEndpoints::httpsUrl(site.loginHost, loginPath));
    return YahooMarkers::loginAccepted(client.responseText());
}

QString htmlYahoo::getLoginId()
{
    return YahooMarkers::loginIdFromStatusPage(statusPage());
}

bool htmlYahoo::isPasswordReconfirmation()
{
    return YahooMarkers::passwordReconfirmation(statusPage(), accountId);
}

QString htmlYahoo::getEndTime(const QString& auctionId)
{
    const SiteEndpoints site = SiteEndpoints::load();
    html client;
    client.setTimeout(itemServiceTimeoutMs);
    client.setTotalTimeout(itemServiceTimeoutMs);
    client.get(SiteEndpoints::httpUrl(site.webServiceHost, itemServicePath +
                                                               "?appid=" + site.webServiceAppId +
                                                               "&auctionID=" +
                                                               QString::fromLatin1(QUrl::toPercentEncoding(auctionId))));
    // The web service answers in UTF-8; the list shows the end time in its fixed-width form.
    const QString endTime =
        YahooMarkers::endTimeFromWebService(QString::fromUtf8(client.response()));
    return endTime.isEmpty() ? endTime : padEndDateText(endTime);
}
