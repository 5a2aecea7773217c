#pragma once

#include <QString>

// The message board's marker texts and the log lines of the board download and its store, named
// once here so the scanners, the run, the store and the tests use the same texts.
namespace NaviMarkers {

// Board page (the list of a transaction's messages).
inline const QString boardStart = QStringLiteral("メッセージ一覧");
inline const QString bodyEnd = QStringLiteral("</body>");
inline const QString bodyEndUpper = QStringLiteral("</BODY>");
inline const QString messageLink = QStringLiteral("/show/contact_detail");
inline const QString linkStart = QStringLiteral("/show");
inline const QString numberKey = QStringLiteral("no=");
inline const QString subjectStart = QStringLiteral("<b>");
inline const QString subjectEnd = QStringLiteral("</b>");
inline const QString writerAnchor = QStringLiteral("<A");
inline const QString dateLine = QStringLiteral("月");
inline const QString dateSmall = QStringLiteral("small");

// Message page (one message's text).
inline const QString accessNotice = QStringLiteral("正しい手順でアクセスされていません");
inline const QString spanStart = QStringLiteral("<span");
inline const QString spanEnd = QStringLiteral("</span");
inline const QString textStart = QStringLiteral("<small>");
inline const QString textEnd = QStringLiteral("</small>");
inline const QString lineBreakTag = QStringLiteral("<br>");

// Paths and query keys on the item-page host.
inline const QString boardPath = QStringLiteral("/jp/show/contact");
inline const QString boardAidKey = QStringLiteral("aID");
inline const QString boardTargetKey = QStringLiteral("target");

} // namespace NaviMarkers

namespace NaviTexts {

// Error texts of a message page; the log line is the auction id followed directly by the text.
inline const QString accessErrorText = QStringLiteral(
    "：メッセージ取得時に正しい手順でアクセスされていません。というエラーが発生しました。"
    "ブラウザでアクセスして確認してください。");
inline const QString unexpectedErrorText =
    QStringLiteral("メッセージ取得時に予期せぬエラーが発生しました。");
// A message number on the board that is not a decimal number: auction id, text, number, ")".
inline const QString numberNotDecimalText = QStringLiteral("：ナビNoが数値ではありません(");

// Store lines: auction id, "：", title, then these.
inline const QString newMessages = QStringLiteral("：新着");
inline const QString newMessagesCount = QStringLiteral("件(");
inline const QString duplicateBeforeDownload =
    QStringLiteral(" ナビNo重複 取得前にナビを削除します(");
inline const QString duplicateReDownload = QStringLiteral(" ナビNo重複 自動再取得を行います(");
inline const QString duplicateAgain = QStringLiteral(" ナビNo重複 ナビ取得を再取得してください(");
// A store that failed on a database error: auction id, "：", title, this, the driver's message.
inline const QString storeFailed = QStringLiteral(" ナビ情報の保存に失敗しました：");

inline const QString separator = QStringLiteral("：");
inline const QString closeParen = QStringLiteral(")");

// Start and end lines of the download, by result code.
inline const QString downloadStart = QStringLiteral("ナビ情報ダウンロード開始…");
inline const QString endFinished = QStringLiteral("ナビ情報をダウンロード終了");
inline const QString endFailed = QStringLiteral("ナビ情報ダウンロードに失敗しました");
inline const QString endStopped = QStringLiteral("ナビ情報ダウンロードを中止しました");
inline const QString endNothing = QStringLiteral("ダウンロードするデータがありません");

// The end line of the result code: 0 finished, 1 failed, 2 stopped, 3 nothing to download.
inline QString endLine(int result)
{
    switch (result) {
    case 0:
        return endFinished;
    case 1:
        return endFailed;
    case 2:
        return endStopped;
    default:
        return endNothing;
    }
}

} // namespace NaviTexts
