#pragma once

#include "compose/BrowserPoster.h"

#include <QString>

#include <optional>

// The hidden feedback poster ("評価"), driven through the site's feedback pages by the feedback
// composer: the form, the confirmation page checked against the chosen rating, the send, each on
// the feedback host of the listing's number.
class TFormEvaluationWrite : public BrowserPoster
{
    Q_OBJECT
public:
    explicit TFormEvaluationWrite(QWidget* owner);

    // ---- Filled by the composer before showing ----
    QString url;        // the listing's page address; its host number picks the feedback host
    QString bidId;      // the winner who receives the feedback
    QString aid;        // the auction id
    QString ratingText; // the chosen rating as the composer shows it
    // Set empty at show; the reason shown to the seller when the feedback page cannot be had, a
    // page or form is off the feedback host, or the confirmation page does not show ratingText.
    QString errorText;

    // Loads the leave-feedback page; an address without a usable host number fails the step
    // with errorText set, nothing requested.
    void openFeedbackPage();
    // Fills the comment and the rating (1 to 5) and submits the comment's form.
    void fillFeedbackForm(int rating, const QString& comment);
    // Waits for the page; whether its confirmation line shows ratingText (else errorText set).
    bool checkConfirmationRating();
    // Submits the form of the send button.
    void pressSendButton();
    // Waits for the page; whether it says the feedback was sent.
    bool isFeedbackSent();

protected:
    void showEvent(QShowEvent* event) override;
    // A page or form off the feedback host: failed, with errorText set.
    void failOffSite() override;

private:
    // The body's outer HTML after the page has loaded; nothing when the step failed.
    std::optional<QString> bodyHtml();
};
