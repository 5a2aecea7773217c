#pragma once

#include <QString>

// A winner's mail address as it may be handed to the mail program: one recipient. A "," or ";"
// would make the mail program see several recipients, and a line break would start a header of
// its own, so an address holding one is refused with a warning instead.
namespace MailRecipient {

// True when address holds no ",", ";", CR or LF (an empty address is one too: no recipient).
bool isSingle(const QString& address);

inline const QString refusalCaption = QStringLiteral("警告");
inline const QString refusalText =
    QStringLiteral("メールアドレスに「,」「;」または改行が含まれています。\r\n"
                   "メーラーには渡せません。");

} // namespace MailRecipient
