#pragma once

// The column layout of the deleted-listings and bidder-transactions window's ListViewBid: the
// listing list's layout without its quantity column. Column 0 is the caption (Index), column
// n + 1 sub-item n.
namespace BidDataEtcColumns {

enum SubItem : int {
    Aid = 0,
    Title = 1,
    BidId = 2,
    Name = 3,
    Price = 4,
    EndDataTime = 5,
    NaviCount = 6, // "N" or "N(M)", empty without messages
    FirstFlg = 7,
    PaymentFlg = 8,
    ReceiptFlg = 9,
    EvaluationFlg = 10,
    EndFlg = 11,
    ContactMethod = 12,
    Carriage = 13,
    Forwarding = 14,
    EvaluationUnnecessary = 15,
    Remarks = 16,
    Url = 17,
};

constexpr int SubItemCount = 18;
constexpr int ColumnCount = SubItemCount + 1;

constexpr int CaptionColumn = 0;
constexpr int column(int subItem)
{
    return subItem + 1;
}

inline const char* const HeaderCaptions[ColumnCount] = {
    "",         "商品ID",   "商品名", "落札者", "氏名", "現在価格", "終了日時",
    "ナビ件数", "住所連絡", "入金",   "発送",   "評価", "終了",     "連絡方法",
    "送料",     "発送番号", "要評価", "メモ",   "URL",
};

} // namespace BidDataEtcColumns
