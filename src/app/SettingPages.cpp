#include "app/SettingPages.h"

#include "common/CommonDefine.h"
#include "platform/IniFile.h"
#include "views/WindowsColor.h"

namespace SettingPages {

const QList<Node>& treeNodes()
{
    static const QList<Node> nodes = {
        {"全般", -1, "全般"},
        {"出品終了", -1, "全般"},
        {"出品終了1", 1, "出品終了1"},
        {"出品終了2", 1, "出品終了2"},
        {"取引ナビ", -1, "取引ナビ"},
        {"操作", -1, "操作"},
        {"操作2", -1, "操作2"},
        {"ログイン", -1, "ログイン"},
        {"個人設定", -1, "個人設定"},
        {"落札者情報", -1, QString()},
        {"取得", 9, "落札者情報　取得"},
        {"メール", -1, "メール"},
        {"確認", -1, "確認"},
    };
    return nodes;
}

const QStringList& pageCaptions()
{
    static const QStringList pages = {
        "全般",     "出品終了1", "出品終了2",        "取引ナビ", "操作", "操作2",
        "ログイン", "個人設定",  "落札者情報　取得", "メール",   "確認"};
    return pages;
}

QString windowCaption(const QString& page)
{
    return QStringLiteral("設定　【") + page + QStringLiteral("】");
}

namespace {

Option check(const QString& page, const QString& name, const QString& caption, const QString& key,
             bool defaultValue, bool SettingValues::*flag)
{
    Option o{Option::Check, page, {}, {}, name, caption, {}, key, defaultValue ? 1 : 0};
    o.flag = flag;
    return o;
}

Option combo(const QString& page, const QString& group, const QString& label, const QString& name,
             const QStringList& items, const QString& key, int defaultValue,
             int SettingValues::*number)
{
    Option o{Option::Combo, page, group, label, name, {}, items, key, defaultValue};
    o.number = number;
    return o;
}

} // namespace

const QList<Option>& options()
{
    using V = SettingValues;
    static const QStringList bidListItems = {"ブラウザで表示", "選択行ナビデータダウンロード"};
    static const QStringList naviListItems = {"開封", "開く"};
    static const QStringList treeItems = {"シングルクリックで適用", "ダブルクリックで適用"};
    static const QList<Option> all = {
        check("全般", "CheckBoxWholeTaskTray", "最小化時にタスクトレイに格納する(&T)", "TaskTray",
              false, &V::taskTray),
        check("全般", "CheckBoxWholeTemplatePr", "テンプレート呼出し時にPR文を挿入する(&P)",
              "PrInsert", true, &V::prInsert),
        combo("出品終了1", {}, "進捗フラグ", "ComboBoxBidFlg", {"指定文字", "●", "日付(MM/DD)"},
              "BidFlg", 1, &V::bidFlg),
        check("出品終了1", "CheckBoxBidDblClickFlgChange", "ダブルクリックでフラグ変更",
              "BidDblClickFlgChange", true, &V::bidDblClickFlgChange),
        check("出品終了2", "CheckBoxBid2DownloadNowDetailed",
              "新規出品終了データダウンロード時に常に詳細データを取得する",
              "BidDownloadNowDetailed", false, &V::bidDownloadNowDetailed),
        check("出品終了2", "CheckBoxBid2DownloadDetailed",
              "出品終了データダウンロード時に常に詳細データを取得する", "BidDownloadDetailed",
              false, &V::bidDownloadDetailed),
        check("取引ナビ", "CheckBoxNaviKeywordErrorMsg",
              "キーワードが変換できなかった場合メッセージボックスを表示する", "NaviKeywordErrorMsg",
              false, &V::naviKeywordErrorMsg),
        combo("操作", "出品終了リスト", "ダブルクリック", "ComboBoxOperationBidListDblClick",
              bidListItems, "OperationBidListDblClick", 0, &V::operationBidListDblClick),
        combo("操作", "出品終了リスト", "エンター", "ComboBoxOperationBidListEnter", bidListItems,
              "OperationBidListEnter", 1, &V::operationBidListEnter),
        combo("操作", "ナビリスト", "ダブルクリック", "ComboBoxOperationNaviListDblClick",
              naviListItems, "OperationNaviListDblClick", 1, &V::operationNaviListDblClick),
        combo("操作", "ナビリスト", "エンター", "ComboBoxOperationNaviListEnter", naviListItems,
              "OperationNaviListEnter", 0, &V::operationNaviListEnter),
        combo("操作", "ステータスバー", "クリック", "ComboBoxOperationStatusBarClick",
              {"落札者情報入力パネル表示／表示切替", "メモ書きパネル表示／表示切替",
               "ナビパネル表示／表示切替"},
              "OperationStatusBarClick", 1, &V::operationStatusBarClick),
        combo("操作2", "テンプレートツリー", "ナビ", "ComboBoxOperationNaviTemplateTree", treeItems,
              "OperationNaviTemplateTree", 1, &V::operationNaviTemplateTree),
        combo("操作2", "テンプレートツリー", "評価", "ComboBoxOperationEvaluationTemplateTree",
              treeItems, "OperationEvaluationTemplateTree", 1, &V::operationEvaluationTemplateTree),
        check("ログイン", "CheckBoxLoginAutoLogin", "アプリケーション起動時メインID自動ログイン",
              "LoginAutoLogin", true, &V::loginAutoLogin),
        // Its default is the main window's current value, given to read().
        check("ログイン", "CheckBoxLoginTaskTrayShowBalloon",
              "タスクトレイのログイン結果をバルーンで表示する(&B)", "LoginTaskTrayShowBalloon",
              false, &V::loginTaskTrayShowBalloon),
        check("メール", "CheckBoxMailEncloses", "件名・本文を「\"」で囲って送る", "MailEncloses",
              true, &V::mailEncloses),
        check("確認", "CheckBoxConfirmationBidDownload", "出品終了データダウンロード時に確認する",
              "ConfirmationBidDownload", false, &V::confirmationBidDownload),
        check("確認", "CheckBoxConfirmationNaviDownload", "ナビデータダウンロード時に確認する",
              "ConfirmationNaviDownload", false, &V::confirmationNaviDownload),
        check("確認", "CheckBoxConfirmationNaviTransmission", "ナビ送信時に確認する",
              "ConfirmationNaviTransmission", false, &V::confirmationNaviTransmission),
        check("確認", "CheckBoxConfirmationNaviUnsealing", "ナビ開封／未開封時に確認する",
              "ConfirmationNaviUnsealing", false, &V::confirmationNaviUnsealing),
        check("確認", "CheckBoxConfirmationNaviOpen", "ナビを開く時に確認する",
              "ConfirmationNaviOpen", false, &V::confirmationNaviOpen),
        check("確認", "CheckBoxConfirmationEvaluationTransmission", "評価送信時に確認する",
              "ConfirmationEvaluationTransmission", true, &V::confirmationEvaluationTransmission),
    };
    return all;
}

const Option* option(const QString& objectName)
{
    for (const Option& o : options())
        if (o.objectName == objectName)
            return &o;
    return nullptr;
}

const QList<ListOption>& lists()
{
    const QString& other = CommonDefine::Section::SettingOtherItem;
    const QString& info = CommonDefine::Section::SettingGetBidInfo;
    const QString infoPage = QStringLiteral("落札者情報　取得");
    static const QList<ListOption> all = {
        {"出品終了1", "送料", other, "BidCarriage", "ListViewBidCarriage", "EditBidCarriage",
         "ButtonBidCarriage"},
        {"出品終了1", "発送番号", other, "BidForwarding", "ListViewBidForwarding",
         "EditBidForwarding", "ButtonBidForwarding"},
        {infoPage, "氏名", info, "Name", "ListViewGetBidInfoName", "EditGetBidInfoName",
         "ButtonGetBidInfoName"},
        {infoPage, "郵便番号", info, "Post", "ListViewGetBidInfoPost", "EditGetBidInfoPost",
         "ButtonGetBidInfoPost"},
        {infoPage, "住所", info, "Address1", "ListViewGetBidInfoAddress", "EditGetBidInfoAddress",
         "ButtonGetBidInfoAddress"},
        {infoPage, "電話番号", info, "Tel", "ListViewGetBidInfoTel", "EditGetBidInfoTel",
         "ButtonGetBidInfoTel"},
        {infoPage, "メールアドレス", info, "Mail", "ListViewGetBidInfoMail", "EditGetBidInfoMail",
         "ButtonGetBidInfoMail"},
    };
    return all;
}

} // namespace SettingPages

SettingValues SettingValues::read(const IniFile& ini, bool currentBalloon)
{
    const QString& s = CommonDefine::Section::Setting;
    SettingValues v;
    for (const SettingPages::Option& o : SettingPages::options()) {
        if (o.kind == SettingPages::Option::Check) {
            const bool byDefault = o.flag == &SettingValues::loginTaskTrayShowBalloon
                                       ? currentBalloon
                                       : o.defaultValue != 0;
            v.*o.flag = ini.readInteger(s, o.key, byDefault ? 1 : 0) != 0;
        } else {
            const int index = ini.readInteger(s, o.key, o.defaultValue);
            v.*o.number = index >= 0 && index < o.items.size() ? index : o.defaultValue;
        }
    }
    v.bidFlgString = ini.readString(s, "BidFlgString", QString());
    // Following the file's rule, a value that is not a colour number gives the default.
    v.bidBackColor = ini.readString(s, "BidBackColor", SettingPages::defaultBackColor);
    if (!colorFromWindowsText(v.bidBackColor).isValid())
        v.bidBackColor = SettingPages::defaultBackColor;
    v.loginTaskTrayShowMessageTime = ini.readInteger(s, "LoginTaskTrayShowMessageTime", 2000);
    return v;
}

NaviOptions SettingValues::toNaviOptions() const
{
    NaviOptions o = *this;
    if (!prInsert)
        o.bidBackColor = SettingPages::defaultBackColor;
    return o;
}
