#pragma once

// The column layout of the listing list ListViewBid. Other parts of the program read and write
// the cells by these numbers. A QTreeWidget column is the sub-item number + 1; column 0 is the
// row caption (Index).
namespace BidListColumns {

// Sub-item numbers (the cells after the caption).
enum SubItem : int {
    Aid = 0,
    Title = 1,
    BidId = 2,
    Name = 3,
    Quantity = 4,
    Price = 5,
    EndDataTime = 6,
    NaviCount = 7, // "N" or "N(M)": N messages stored, M received and unread; empty for none
    FirstFlg = 8,
    PaymentFlg = 9,
    ReceiptFlg = 10,
    EvaluationFlg = 11,
    EndFlg = 12,
    ContactMethod = 13,
    Carriage = 14,
    Forwarding = 15,
    EvaluationUnnecessary = 16,
    Remarks = 17,
    Url = 18,
};

constexpr int SubItemCount = 19;
constexpr int ColumnCount = SubItemCount + 1;

// QTreeWidget columns (header indexes).
constexpr int CaptionColumn = 0; // Index
constexpr int column(int subItem)
{
    return subItem + 1;
}
constexpr int subItem(int column)
{
    return column - 1;
}

// Header indexes that sort as integers (an empty cell counts as -1); the message-count cell
// sorts by its total. Every other column sorts as case-insensitive text.
constexpr bool isNumericColumn(int headerIndex)
{
    return headerIndex == CaptionColumn || headerIndex == column(Price) ||
           headerIndex == column(NaviCount);
}

// The header captions, by header index.
inline const char* const HeaderCaptions[ColumnCount] = {
    "",         "商品ID",   "商品名",   "落札者", "氏名", "個数", "現在価格",
    "終了日時", "ナビ件数", "住所連絡", "入金",   "発送", "評価", "終了",
    "連絡方法", "送料",     "発送番号", "要評価", "メモ", "URL",
};

} // namespace BidListColumns
