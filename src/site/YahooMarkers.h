#pragma once

#include <QString>

// The checks of the site's account pages, as text functions: each takes the decoded page (or
// web-service answer) and reads what its marker texts say.
namespace YahooMarkers {

inline const QString loginRequest = QStringLiteral("ログインしてください");
inline const QString automaticForward = QStringLiteral("自動的にページ");
inline const QString greeting = QStringLiteral("こんにちは、");
inline const QString reconfirmation = QStringLiteral("パスワードの再確認");
inline const QString reconfirmationStart = QStringLiteral("複数の");
inline const QString reconfirmationEnd = QStringLiteral("さんではない");

// The answer to a login form: accepted unless it asks to log in, and also when it announces an
// automatic forward. An empty answer (no answer at all) is not an accepted login.
bool loginAccepted(const QString& answer);

// The account the status page greets: after the first greeting and any half-width blanks, up
// to the next half-width blank or the end of the page. Empty when there is no greeting.
QString loginIdFromStatusPage(const QString& page);

// Whether the status page asks for the password again. When it does, accountId is set to the id
// the notice names (empty when none is readable); when the notice's frame is missing, accountId
// is emptied and the result is false; a page without the notice leaves accountId as it is.
bool passwordReconfirmation(const QString& page, QString& accountId);

// The text between the first "<endtime>" and the first "</endtime>" of a web-service answer;
// empty when either is missing or they stand in the wrong order.
QString endTimeFromWebService(const QString& answer);

} // namespace YahooMarkers
