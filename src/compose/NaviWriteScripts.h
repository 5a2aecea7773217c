#pragma once

#include <QString>
#include <QUrl>
#include <QVariantMap>

// The fixed scripts that drive the site's message form, one per step. Each answers an object
// {ok, submitted, error} (the completion check {ok, completed, error}); values reach a script
// only as JSON data, never as script text. Every script first checks that the page is on the
// scheme, host and port of site and answers {ok, offSite: true} without touching it when not;
// a form is filled or submitted only when its action resolves to that origin too (else offSite).
namespace NaviWriteScripts {

// The form of the last text area is the one filled: its text areas get the text and its radios
// "subject" valued 1 to 4 follow the subject number; then it is submitted. Text areas and radios
// of other forms are left alone.
QString fillMessageForm(const QUrl& site, int subject, const QString& text);
// Submits the form of the first submit button (an input of type submit, image or button) whose
// value holds "投"; other inputs never count.
QString pressConfirmButton(const QUrl& site);
// Whether the page says the message was posted.
QString isPostCompleted(const QUrl& site);

// Shared by the posting scripts: body(data) run inside try/catch, with data as JSON, after the
// page's origin check; body returns the answer object and may call onSite(form), whether the
// form's action resolves to the site's origin.
QString stepScript(const QUrl& site, const QString& body, const QVariantMap& data);
// Fills the form of the last text area, when it is on the site, and submits it: fill runs for
// each element e of that form (and of no other).
QString fillFormScript(const QUrl& site, const QString& fill, const QVariantMap& data);
// Submits the form of the first submit button (an input of type submit, image or button) whose
// value holds mark; hidden, text and other inputs never count.
QString pressSubmitButton(const QUrl& site, const QString& mark);
// Answers {ok, html} with the body's outer HTML.
QString bodyHtml(const QUrl& site);

// The site's marker of a posted message.
inline const QString postCompletedMarker = QStringLiteral("投稿が完了しました");

} // namespace NaviWriteScripts
