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
                                  QStringLiteral("/jp/show/contact?aID=") + aid +
                                      QStringLiteral("&target=") + bidId);
}

void TFormNaviWrite::openContactPage(const QString& aid, const QString& bidId)
{
    navigate(QUrl(contactPageUrl(aid, bidId)));
}

void TFormNaviWrite::fillMessageForm(int subject, const QString& text)
{
    if (!failed)
        runStepScript(NaviWriteScripts::fillMessageForm(subject, text));
}

void TFormNaviWrite::pressConfirmButton()
{
    if (!failed)
        runStepScript(NaviWriteScripts::pressConfirmButton());
}

bool TFormNaviWrite::isPostCompleted()
{
    QPointer<TFormNaviWrite> self(this);
    waitForPage();
    if (!self || failed)
        return false;
    return runStepScript(NaviWriteScripts::isPostCompleted())
        .value(QStringLiteral("completed"))
        .toBool();
}
