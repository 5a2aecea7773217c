#pragma once

#include <QString>
#include <QUrl>

// The fixed scripts that drive the site's feedback pages; values reach them only as JSON data.
// As the message form's scripts, each acts only on a page of site's origin and fills or submits
// only a form whose action resolves to it (else it answers offSite).
namespace EvaluationWriteScripts {

// The form of the last text area is the one filled: its text areas get the comment, its select
// "rating" the rating number as its selected index; then it is submitted.
QString fillFeedbackForm(const QUrl& site, int rating, const QString& comment);
// Submits the form of the first submit button whose value holds "送".
QString pressSendButton(const QUrl& site);

// The site's marker of sent feedback.
inline const QString sentMarker = QStringLiteral("評価を送信しました");

} // namespace EvaluationWriteScripts
