#include "compose/UnitNaviWrite.h"

#include "compose/NaviWriteScripts.h"
#include "site/SiteEndpoints.h"

#include <QPointer>
#include <QUrl>

TFormNaviWrite::TFormNaviWrite(QWidget* owner)
    : BrowserPoster(owner, QStringLiteral("NaviWriteWindow"), QStringLiteral("ナビ"))
{
    setObjectName(QStringLiteral("TFormNaviWrite"));
}

QString TFormNaviWrite::contactPageUrl(const QString& aid, const QString& bidId)
{
    return SiteEndpoints::httpUrl(SiteEndpoints::load().itemHost,
                                  QStringLiteral("/jp/show/contact?aID=") +
                                      QString::fromLatin1(QUrl::toPercentEncoding(aid)) +
                                      QStringLiteral("&target=") +
                                      QString::fromLatin1(QUrl::toPercentEncoding(bidId)));
}

void TFormNaviWrite::openContactPage(const QString& aid, const QString& bidId)
{
    openSitePage(QUrl(contactPageUrl(aid, bidId)));
}

void TFormNaviWrite::fillMessageForm(int subject, const QString& text)
{
    if (!failed)
        runStepScript(NaviWriteScripts::fillMessageForm(siteAddress(), subject, text));
}

void TFormNaviWrite::pressConfirmButton()
{
    if (!failed)
        runStepScript(NaviWriteScripts::pressConfirmButton(siteAddress()));
}

bool TFormNaviWrite::isPostCompleted()
{
    QPointer<TFormNaviWrite> self(this);
    waitForPage();
    if (!self || failed)
        return false;
    return runStepScript(NaviWriteScripts::isPostCompleted(siteAddress()))
        .value(QStringLiteral("completed"))
        .toBool();
}
