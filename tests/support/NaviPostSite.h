#pragma once

#include "FakeSite.h"
#include "NaviBoardSite.h"

#include <QList>
#include <QMutex>
#include <QString>

#include <memory>
#include <utility>

// The site's message form on top of the fake boards: the login form sets the login cookie,
// the contact page shows the board with the form only to a request that carries it, the
// confirmation page repeats the fields, and the result page stores the message on the board,
// so a later board download finds it. Variants of the confirmation and result pages stand for
// the site's odd answers, a redirect and a foreign form for pages that would send the post
// elsewhere.
class NaviPostSite
{
public:
    enum class Confirmation {
        Plain,        // one form with the submit "投稿する"
        EditFormFirst // before it, a form "修正する" whose hidden field holds "投"
    };
    // A hidden form whose action is another host, with a text area and a submit "投稿する".
    enum class ForeignForm {
        None,
        AfterTheContactForm,  // on the contact page, after the site's form: its text area is last
        BeforeTheContactForm, // on the contact page, before the site's form; on leaving, the
                              // page sends what its text area holds to the other host
        BeforeThePostingForm  // on the confirmation page, first, holding the posted fields
    };
    enum class Result {
        Completed,   // "投稿が完了しました"
        NoMarker,    // a page without it
        Status500,   // status 500 (its body has the marker)
        OpensWindow, // the page opens a window (its body has the marker)
    };

    struct Post
    {
        QByteArray path;
        QList<std::pair<QString, QString>> fields; // in order, decoded from Shift_JIS
        QByteArray cookie;
        QString field(const QString& name) const;
        int count(const QString& name) const;
    };

    static inline const QByteArray loginCookieName = "Y";
    static QByteArray loginCookieValue(const QString& loginId);
    static inline const QByteArray previewPath = "/jp/config/contact_preview";
    static inline const QByteArray submitPath = "/jp/config/contact_submit";
    static inline const QByteArray editPath = "/jp/config/contact_edit";

    NaviPostSite(FakeSite& site, NaviBoardSite& boards, const QString& loginId);

    // The board of the transaction, newest first; a posted message is put on top of it.
    void setBoard(const QString& aid, const QString& bidId,
                  const QList<NaviTestPages::Message>& messages);
    void setConfirmation(Confirmation variant);
    void setResult(Result variant);
    // The contact page answers only after this long.
    void setContactDelay(int delayMs);
    // The contact page answers 302 to address (empty: it answers with the form).
    void redirectContactTo(const QString& address);
    void setForeignForm(ForeignForm variant, const QString& action);

    QList<Post> posts() const;
    QList<Post> posts(const QByteArray& path) const;
    // The contact page requests so far, each with its Cookie header.
    QList<std::pair<QByteArray, QByteArray>> contactRequests() const;

    // Decodes an urlencoded form body sent in Shift_JIS.
    static QList<std::pair<QString, QString>> formFields(const QByteArray& body);

private:
    struct State;
    FakeSite& m_site;
    std::shared_ptr<State> m_state;
};
