#pragma once

#include "compose/BrowserPoster.h"

#include <QString>

// The hidden message poster ("ナビ"), driven through the site's message form by the reply
// composer; every step runs on the item-page host the contact page is opened from.
class TFormNaviWrite : public BrowserPoster
{
    Q_OBJECT
public:
    explicit TFormNaviWrite(QWidget* owner);

    // Loads the transaction's message form from the item-page host.
    void openContactPage(const QString& aid, const QString& bidId);
    // Fills the text areas and the subject radios and submits the form of the last text area.
    void fillMessageForm(int subject, const QString& text);
    // Submits the confirmation page's posting form.
    void pressConfirmButton();
    // Waits for the page, then whether it says the message was posted.
    bool isPostCompleted();

    // The address of the transaction's message form, the two ids percent-encoded.
    static QString contactPageUrl(const QString& aid, const QString& bidId);
};
