#pragma once

#include <QString>

class htmlYahoo;

// The checks and texts of sending a reply that need no window: the subject table, the input
// and busy checks, and the account checks against the site, in the order the send makes them.
namespace ReplySend {

inline const QString noSubject = QStringLiteral("件名が選択されていません");
inline const QString noText = QStringLiteral("本文が入力されていません");
inline const QString busy = QStringLiteral("ダウンロード中です。送信できません。");
inline const QString notLoggedIn = QStringLiteral("ログインしていません。送信を中止します。");
inline const QString otherAccount =
    QStringLiteral("別のIDでログインされています。送信を中止します。");
inline const QString reconfirmationSuffix =
    QStringLiteral("：再パスワード要求がありました。送信を中止します。");
inline const QString started = QStringLiteral("送信処理中…");
inline const QString stopped = QStringLiteral("送信を中止しました");
inline const QString notConfirmed = QStringLiteral("送信に失敗しました…");
inline const QString confirmCaption = QStringLiteral("確認");
inline const QString stopQuestion = QStringLiteral("送信を中止しますか？");
inline const QString failureCaption = QStringLiteral("送信エラー");
inline const QString failureText =
    QStringLiteral("送信に失敗した可能性があります。\n\r再送信してください。\n\r\n\r"
                   "念のため2重投稿防止に取引ナビダウンロードし確認する事をお勧めします。");

// The subject number of the first checked button, in the order first, payment, receipt,
// others; 0 when none is checked.
int subjectNumber(bool first, bool payment, bool receipt, bool others);
// The confirmation question for subject 1 to 4.
QString confirmationText(int subject);

// Checks before the account: the refusal text, or empty when the send may go on. A text of
// blanks or line breaks only is not empty. postAllowed: no post runs and the busy state lets
// a post begin.
QString checkInput(int subject, const QString& text, bool postAllowed);
// The account checks against the site, asking it in order; the refusal text or empty. A
// re-confirmation request is refused with the account id followed by reconfirmation.
QString accountRefusal(htmlYahoo& site, const QString& loginId, const QString& reconfirmation);
// The account checks of a message send.
QString checkAccount(htmlYahoo& site, const QString& loginId);

} // namespace ReplySend
