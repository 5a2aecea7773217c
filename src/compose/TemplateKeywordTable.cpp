#include "compose/TemplateKeywordTable.h"

namespace {

TemplateKeywordEntry entry(const char* label, const char* inserted, bool inMenu, const char* group,
                           bool separatorAfter = false)
{
    return {QString::fromUtf8(label), QString::fromUtf8(inserted), QString(), inMenu,
            separatorAfter,           QString::fromUtf8(group)};
}

} // namespace

const QList<TemplateKeywordEntry>& templateKeywordTable()
{
    static const QList<TemplateKeywordEntry> table = [] {
        const char* const bidder = "落札者";
        const char* const item = "商品";
        const char* const own = "個人設定";
        QList<TemplateKeywordEntry> t{
            entry("落札者YahooID", "%id%", true, bidder),
            entry("落札者氏名", "%name%", true, bidder, true),
            entry("オークションID", "%aid%", true, item),
            entry("商品名", "%title%", true, item),
            entry("価格", "%price%", true, item),
            entry("価格【全角】", "%price_em%", true, item),
            entry("個数", "%quantity%", false, item),
            entry("個数【全角】", "%quantity_em%", false, item),
            entry("複数価格（価格×個数）", "%plural_price%", false, item),
            entry("複数価格（価格×個数）【全角】", "%plural_price_em%", false, item),
            entry("商品合計価格", "%total%", true, item),
            entry("商品合計価格【全角】", "%total_em%", true, item),
            entry("送料", "%carriage%", true, item),
            entry("送料【全角】", "%carriage_em%", true, item),
            entry("商品合計価格+送料", "%sum%", true, item),
            entry("商品合計価格+送料【全角】", "%sum_em%", true, item),
            entry("発送番号", "%send_num%", true, item, true),
            entry("YahooID", "%myid%", true, own),
            entry("名前", "%myname%", true, own),
            entry("なまえ", "%myname_kana%", true, own),
            entry("郵便番号", "%mypost%", true, own),
            entry("住所", "%myadd%", true, own),
            entry("電話番号", "%mytel%", true, own),
            entry("メール", "%mymail%", true, own, true),
        };
        TemplateKeywordEntry calc = entry("計算", "%CALC%", false, "");
        calc.after = QStringLiteral("%/CALC%");
        t << calc << entry("改行", "%r%", true, "");
        return t;
    }();
    return table;
}
