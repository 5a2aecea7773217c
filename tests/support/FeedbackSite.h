#pragma once

#include "FakeSite.h"

#include <QList>
#include <QString>

#include <memory>
#include <utility>

// The site's feedback pages on the fake site: the leave-feedback form (a text area and the
// select "rating" with a placeholder first), the confirmation page (the rating lines, an edit
// form echoing the comment in hidden and text inputs, and the send form with "評価を送信する"),
// and the result page. Every request is recorded with its Host header; variants of the
// confirmation and result pages stand for the site's odd answers, a redirect and a foreign form
// for pages that would send the post elsewhere.
class FeedbackSite
{
public:
    enum class Confirmation {
        Upper,      // "<B>評価</B>" then "<SMALL>rating</SMALL>"
        Lower,      // "<b>評価</b>" then "<small>rating</small>"
        MarkerLast, // the marker on the body's last line
        OtherRating // the confirmed rating is "非常に良い" whatever was chosen
    };
    enum class Result {
        Sent,    // "評価を送信しました"
        NoMarker // a page without it
    };

    // A hidden form whose action is another host.
    enum class ForeignForm {
        None,
        AfterTheFeedbackForm, // on the form page, after the site's form: its text area is last
        BeforeTheSendForm     // on the confirmation page, first, with "評価を送信する"
    };

    struct Hit
    {
        QByteArray method, path, query, host;
        QList<std::pair<QString, QString>> fields; // a POST's form fields, decoded from UTF-8
        QString field(const QString& name) const;
    };

    static inline const QByteArray formPath = "/jp/config/leavefeedback";
    static inline const QByteArray previewPath = "/jp/config/leavefeedback_preview";
    static inline const QByteArray editPath = "/jp/config/leavefeedback_edit";
    static inline const QByteArray submitPath = "/jp/config/leavefeedback_submit";
    static const QStringList& ratingTexts();

    // Serves the pages on site and points the site's numbered hosts at it: item pages on
    // "page" + N + ".localhost:PORT", feedback on "edit" + N + ".localhost:PORT".
    explicit FeedbackSite(FakeSite& site);

    void setConfirmation(Confirmation variant);
    void setResult(Result variant);
    // The form page answers only after this long.
    void setFormDelay(int delayMs);
    // The form page answers 302 to address (empty: it answers with the form).
    void redirectFormTo(const QString& address);
    void setForeignForm(ForeignForm variant, const QString& action);
    // The listing address on the numbered item-page host N.
    QString listingUrl(int number, const QString& aid) const;

    QList<Hit> hits() const;
    QList<Hit> hits(const QByteArray& path) const;

private:
    struct State;
    FakeSite& m_site;
    std::shared_ptr<State> m_state;
};
