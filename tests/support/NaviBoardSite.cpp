#include "NaviBoardSite.h"

#include "platform/DataFolder.h"
#include "platform/IniFile.h"
#include "site/NaviDownloadRun.h"

#include <QStringEncoder>
#include <QUrl>

namespace {

QByteArray shiftJis(const QString& text)
{
    QStringEncoder encoder("CP932");
    return encoder.encode(text);
}

FakeSite::Response shiftJisPage(const QByteArray& body)
{
    FakeSite::Response response;
    response.contentType = "text/html; charset=Shift_JIS";
    response.body = body;
    return response;
}

} // namespace

NaviBoardSite::NaviBoardSite(FakeSite& site, const QString& loginId) : m_site(site)
{
    const QByteArray status = shiftJis(
        QStringLiteral("<html><head><title>マイ・オークション</title></head><body>\n"
                       "<table><tr><td><b>こんにちは、  %1 さん</b></td></tr></table>\n"
                       "</body></html>\n")
            .arg(loginId));
    m_site.setRoute("GET", "/jp/show/mystatus", shiftJisPage(status));
    const auto handler = [this](const FakeSite::Request& request) { return answer(request); };
    m_site.setHandler("GET", "/jp/show/contact", handler);
    m_site.setHandler("GET", "/show/contact_detail", handler);
}

void NaviBoardSite::useAsSite() const
{
    m_site.useAsSite();
    IniFile ini(DataFolder::filePath(QStringLiteral("setting.ini")));
    ini.writeString(QStringLiteral("Site"), QStringLiteral("ProfileHost"),
                    QUrl(NaviTestPages::profileBase).host());
}

QByteArray NaviBoardSite::boardTarget(const QString& aid, const QString& bidId)
{
    return NaviDownloadRun::boardUrl(NaviSiteUrls{}, aid, bidId).toLatin1();
}

QByteArray NaviBoardSite::messageTarget(const QString& aid, const QString& number,
                                        const QString& bidId)
{
    return NaviTestPages::messageLink(aid, number, bidId).toLatin1();
}

void NaviBoardSite::addBoard(const QString& aid, const QString& bidId,
                             const QList<NaviTestPages::Message>& messages)
{
    QMutexLocker lock(&m_pages->mutex);
    m_pages->bodies.insert(boardTarget(aid, bidId),
                           shiftJis(NaviTestPages::boardPage(aid, bidId, messages)));
    for (const NaviTestPages::Message& message : messages)
        m_pages->bodies.insert(messageTarget(aid, message.number, bidId),
                               shiftJis(NaviTestPages::messagePage(message.text)));
}

void NaviBoardSite::setMessagePage(const QString& aid, const QString& number,
                                   const QString& bidId, const QString& page)
{
    QMutexLocker lock(&m_pages->mutex);
    m_pages->bodies.insert(messageTarget(aid, number, bidId), shiftJis(page));
}

void NaviBoardSite::setBoardDelay(const QString& aid, const QString& bidId, int delayMs)
{
    QMutexLocker lock(&m_pages->mutex);
    m_pages->delays.insert(boardTarget(aid, bidId), delayMs);
}

FakeSite::Response NaviBoardSite::answer(const FakeSite::Request& request) const
{
    QMutexLocker lock(&m_pages->mutex);
    const auto found = m_pages->bodies.constFind(request.target);
    if (found == m_pages->bodies.constEnd()) {
        FakeSite::Response missing;
        missing.status = 404;
        missing.body = "Not Found";
        return missing;
    }
    FakeSite::Response response = shiftJisPage(found.value());
    response.delayMs = m_pages->delays.value(request.target, 0);
    return response;
}

QList<QByteArray> NaviBoardSite::pageRequests() const
{
    QList<QByteArray> targets;
    for (const FakeSite::Request& request : m_site.requests())
        if (request.path() == "/jp/show/contact" || request.path() == "/show/contact_detail")
            targets << request.target;
    return targets;
}

bool NaviBoardSite::wasRequested(const QByteArray& target) const
{
    return pageRequests().contains(target);
}
