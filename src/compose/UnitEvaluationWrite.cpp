#include "compose/UnitEvaluationWrite.h"

#include "compose/EvaluationWriteScripts.h"
#include "compose/FeedbackAddress.h"
#include "compose/FeedbackRating.h"
#include "compose/NaviWriteScripts.h"
#include "site/SiteEndpoints.h"

#include <QPointer>
#include <QUrl>

TFormEvaluationWrite::TFormEvaluationWrite(QWidget* owner)
    : BrowserPoster(owner, QStringLiteral("EvaluationWriteWindow"), QStringLiteral("評価"))
{
    setObjectName(QStringLiteral("TFormEvaluationWrite"));
}

void TFormEvaluationWrite::showEvent(QShowEvent* event)
{
    errorText.clear();
    BrowserPoster::showEvent(event);
}

void TFormEvaluationWrite::openFeedbackPage()
{
    if (failed)
        return;
    const QString address =
        FeedbackAddress::leaveFeedbackUrl(SiteEndpoints::load(), url, bidId, aid);
    if (address.isEmpty()) {
        errorText = FeedbackRating::changedSiteText;
        fail();
        return;
    }
    openSitePage(QUrl(address));
}

void TFormEvaluationWrite::fillFeedbackForm(int rating, const QString& comment)
{
    if (!failed)
        runStepScript(EvaluationWriteScripts::fillFeedbackForm(siteAddress(), rating, comment));
}

std::optional<QString> TFormEvaluationWrite::bodyHtml()
{
    QPointer<TFormEvaluationWrite> self(this);
    waitForPage();
    if (!self || failed)
        return std::nullopt;
    const QVariantMap answer = runStepScript(NaviWriteScripts::bodyHtml(siteAddress()));
    if (!self || failed)
        return std::nullopt;
    return answer.value(QStringLiteral("html")).toString();
}

void TFormEvaluationWrite::failOffSite()
{
    errorText = FeedbackRating::changedSiteText;
    BrowserPoster::failOffSite();
}

bool TFormEvaluationWrite::checkConfirmationRating()
{
    QPointer<TFormEvaluationWrite> self(this);
    const std::optional<QString> html = bodyHtml();
    if (!self || !html)
        return false;
    if (FeedbackRating::confirms(*html, ratingText))
        return true;
    errorText = FeedbackRating::changedSiteText;
    return false;
}

void TFormEvaluationWrite::pressSendButton()
{
    if (!failed)
        runStepScript(EvaluationWriteScripts::pressSendButton(siteAddress()));
}

bool TFormEvaluationWrite::isFeedbackSent()
{
    const std::optional<QString> html = bodyHtml();
    return html && html->contains(EvaluationWriteScripts::sentMarker);
}
