#pragma once

#include <QString>
#include <QStringList>

// The ratings a seller leaves and the check of the site's confirmation page against the chosen
// one.
namespace FeedbackRating {

// Position 0 to 4 in the composer's list; the number sent is the position + 1.
const QStringList& texts();

// Whether the confirmation page's body (its outer HTML) shows ratingText: the line after the
// first line holding "<B>評価</B>" or "<b>評価</b>", from after its first "<SMALL>" (else
// "<small>") to its last "</SMALL>" (else "</small>"), equals ratingText exactly.
bool confirms(const QString& bodyHtml, const QString& ratingText);

// The text shown when the page does not confirm the rating (or gives no feedback address).
inline const QString changedSiteText =
    QStringLiteral("ヤフーの仕様変更があった可能性があります。\n\r評価投稿処理を中止します。");

} // namespace FeedbackRating
