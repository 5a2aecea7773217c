#pragma once

#include <QString>

// The fixed scripts that drive the site's feedback pages; values reach them only as JSON data.
namespace EvaluationWriteScripts {

// The text areas get the comment, the select "rating" the rating number as its selected
// index; the form of the last text area is submitted.
QString fillFeedbackForm(int rating, const QString& comment);
// Submits the form of the first submit button whose value holds "送".
QString pressSendButton();

// The site's marker of sent feedback.
inline const QString sentMarker = QStringLiteral("評価を送信しました");

} // namespace EvaluationWriteScripts
