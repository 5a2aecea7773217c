#pragma once

#include "compose/ReplySend.h"

#include <QString>

class htmlYahoo;

// The checks and texts of sending feedback that need no window, in the order the send makes
// them.
namespace EvaluationSend {

inline const QString noRating = QStringLiteral("評価が選択されていません");
inline const QString noComment = QStringLiteral("コメントが入力されていません");
inline const QString busy = QStringLiteral("ダウンロード中です。評価できません。");
// The account refusals are those of a message send, but for the re-confirmation's suffix.
inline const QString& notLoggedIn = ReplySend::notLoggedIn;
inline const QString& otherAccount = ReplySend::otherAccount;
inline const QString reconfirmationSuffix = QStringLiteral("：再パスワード要求がありました。");
inline const QString started = QStringLiteral("評価処理中…");
inline const QString stopped = QStringLiteral("評価の送信を中止しました");
inline const QString notSent = QStringLiteral("評価送信に失敗しました…");
inline const QString confirmCaption = QStringLiteral("確認");
inline const QString notBestQuestion =
    QStringLiteral("「非常に良い」以外の評価が選択されています。\n\r本当に評価を送信しますか？");
inline const QString stopQuestion = QStringLiteral("評価送信を中止しますか？");
inline const QString closeQuestion =
    QStringLiteral("フォームを閉じますか？\n\r評価送信に失敗する可能性があります。");
inline const QString failureCaption = QStringLiteral("評価失敗");

// The first confirmation: "「" + rating + "」\n\r評価を送信しますか？".
QString confirmationText(const QString& ratingText);
// The log line of a sent feedback.
QString sentLogLine(const QString& aid, const QString& title);

// Checks before the account: the refusal text, or empty when the send may go on. rating is the
// chosen position (-1 for none); idle: no download and no message post runs.
QString checkInput(int rating, const QString& comment, bool idle);
// The account checks against the site, asking it in order; the refusal text or empty.
QString checkAccount(htmlYahoo& site, const QString& loginId);

} // namespace EvaluationSend
