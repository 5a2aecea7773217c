#pragma once

#include <QString>
#include <QVariantMap>

// The fixed scripts that drive the site's message form, one per step. Each answers an object
// {ok, submitted, error} (the completion check {ok, completed, error}); values reach a script
// only as JSON data, never as script text.
namespace NaviWriteScripts {

// Every text area gets the text and the radios "subject" valued 1 to 4 follow the subject
// number; the form of the last text area is submitted.
QString fillMessageForm(int subject, const QString& text);
// Submits the form of the first submit button (an input of type submit, image or button) whose
// value holds "投"; other inputs never count.
QString pressConfirmButton();
// Whether the page says the message was posted.
QString isPostCompleted();

// Shared by the posting scripts: body(data) run inside try/catch, with data as JSON; body
// returns the answer object.
QString stepScript(const QString& body, const QVariantMap& data);
// Submits the form of the first submit button (an input of type submit, image or button) whose
// value holds mark; hidden, text and other inputs never count.
QString pressSubmitButton(const QString& mark);
// Answers {ok, html} with the body's outer HTML.
QString bodyHtml();

// The site's marker of a posted message.
inline const QString postCompletedMarker = QStringLiteral("投稿が完了しました");

} // namespace NaviWriteScripts
