#pragma once

#include <QString>

// The program's own texts of the listing downloads: command captions, questions, log lines.
namespace ListingTexts {

inline constexpr char16_t bidDownloadCaption[] = u"出品終了データダウンロード(&D)";
inline constexpr char16_t bidDownloadNowCaption[] = u"新規出品終了データダウンロード(&L)";
inline constexpr char16_t bidDetailedDownloadCaption[] = u"出品終了詳細データダウンロード(&J)";
inline constexpr char16_t bidPromptDecisionDownloadCaption[] =
    u"即決出品終了データダウンロード(&P)";

inline constexpr char16_t confirmCaption[] = u"確認";
inline constexpr char16_t bidDownloadQuestion[] = u"出品終了データをダウンロードしますか？";
inline constexpr char16_t bidDownloadNowQuestion[] = u"新規出品終了データをダウンロードしますか？";

inline constexpr char16_t bidDownloadStarted[] = u"出品情報ダウンロード開始…";
inline constexpr char16_t bidDownloadNowStarted[] = u"新規出品情報ダウンロード開始…";
inline constexpr char16_t bidDetailedDownloadStarted[] = u"出品終了詳細データダウンロード開始…";
inline constexpr char16_t bidPromptDecisionDownloadStarted[] =
    u"即決出品終了データダウンロード開始…";
inline constexpr char16_t selectRows[] = u"行を選択してください";

// The instant-buy input box and its refusals.
inline constexpr char16_t auctionIdInputCaption[] = u"オークションID入力";
inline constexpr char16_t auctionIdInputPrompt[] = u"取得するオークションIDを入力してください";
inline constexpr char16_t auctionIdInvalid[] = u"入力されたオークションIDは不正です";
inline constexpr char16_t alreadyClosedCaption[] = u"終了済み";
inline constexpr char16_t alreadyClosedMessage[] =
    u"既に終了しているオークションです。処理を中止します。";
// Follows the auction id when an instant-buy page has no winners table.
inline constexpr char16_t noWinnersSuffix[] = u"：落札者がいません";

// End lines of the closed-listing download by result code 0 to 3.
inline constexpr char16_t bidDownloadFinished[] = u"出品データダウンロード終了";
inline constexpr char16_t bidDownloadFailed[] = u"出品データダウンロードに失敗しました";
inline constexpr char16_t bidDownloadAborted[] = u"出品データダウンロードを中止しました";
inline constexpr char16_t bidDownloadNothing[] = u"ダウンロードするデータがありません";
// End line of the detailed download, whatever its result.
inline constexpr char16_t bidDetailedDownloadFinished[] = u"出品終了詳細データダウンロード終了";
// Follows the number of list rows in status-bar panel 1.
inline constexpr char16_t rowCountSuffix[] = u"件";

// After the auction id: a listing whose winners page could not be read; its stored rows stay.
inline const QString winnersUnreadable = QStringLiteral("：落札者一覧を読めませんでした");

inline QString closedListingEndLine(int result)
{
    switch (result) {
    case 0:
        return QString::fromUtf16(bidDownloadFinished);
    case 1:
        return QString::fromUtf16(bidDownloadFailed);
    case 2:
        return QString::fromUtf16(bidDownloadAborted);
    default:
        return QString::fromUtf16(bidDownloadNothing);
    }
}

} // namespace ListingTexts
