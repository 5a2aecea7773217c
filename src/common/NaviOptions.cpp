#include "common/NaviOptions.h"

#include "common/CommonDefine.h"
#include "platform/IniFile.h"

NaviOptions NaviOptions::read(const IniFile& ini, bool balloonCapable)
{
    const QString& s = CommonDefine::Section::Setting;
    NaviOptions o;
    o.bidFlg = ini.readInteger(s, "BidFlg", o.bidFlg);
    o.bidFlgString = ini.readString(s, "BidFlgString", o.bidFlgString);
    o.bidDblClickFlgChange = ini.readBool(s, "BidDblClickFlgChange", o.bidDblClickFlgChange);
    // The row colour is taken from the file only while PrInsert is on.
    if (ini.readBool(s, "PrInsert", true))
        o.bidBackColor = ini.readString(s, "BidBackColor", o.bidBackColor);
    o.bidDownloadNowDetailed =
        ini.readBool(s, "BidDownloadNowDetailed", o.bidDownloadNowDetailed);
    o.bidDownloadDetailed = ini.readBool(s, "BidDownloadDetailed", o.bidDownloadDetailed);
    o.naviKeywordErrorMsg = ini.readBool(s, "NaviKeywordErrorMsg", o.naviKeywordErrorMsg);
    o.operationBidListDblClick =
        ini.readInteger(s, "OperationBidListDblClick", o.operationBidListDblClick);
    o.operationBidListEnter = ini.readInteger(s, "OperationBidListEnter", o.operationBidListEnter);
    o.operationNaviListDblClick =
        ini.readInteger(s, "OperationNaviListDblClick", o.operationNaviListDblClick);
    o.operationNaviListEnter =
        ini.readInteger(s, "OperationNaviListEnter", o.operationNaviListEnter);
    o.operationStatusBarClick =
        ini.readInteger(s, "OperationStatusBarClick", o.operationStatusBarClick);
    o.operationNaviTemplateTree =
        ini.readInteger(s, "OperationNaviTemplateTree", o.operationNaviTemplateTree);
    o.operationEvaluationTemplateTree =
        ini.readInteger(s, "OperationEvaluationTemplateTree", o.operationEvaluationTemplateTree);
    o.loginTaskTrayShowBalloon =
        ini.readInteger(s, "LoginTaskTrayShowBalloon", balloonCapable ? 1 : 0) != 0;
    o.loginTaskTrayShowMessageTime =
        ini.readInteger(s, "LoginTaskTrayShowMessageTime", o.loginTaskTrayShowMessageTime);
    o.mailEncloses = ini.readBool(s, "MailEncloses", o.mailEncloses);
    o.confirmationBidDownload =
        ini.readBool(s, "ConfirmationBidDownload", o.confirmationBidDownload);
    o.confirmationNaviDownload =
        ini.readBool(s, "ConfirmationNaviDownload", o.confirmationNaviDownload);
    o.confirmationNaviTransmission =
        ini.readBool(s, "ConfirmationNaviTransmission", o.confirmationNaviTransmission);
    o.confirmationNaviUnsealing =
        ini.readBool(s, "ConfirmationNaviUnsealing", o.confirmationNaviUnsealing);
    o.confirmationNaviOpen = ini.readBool(s, "ConfirmationNaviOpen", o.confirmationNaviOpen);
    o.confirmationEvaluationTransmission = ini.readBool(s, "ConfirmationEvaluationTransmission",
                                                        o.confirmationEvaluationTransmission);
    return o;
}

bool NaviOptions::readTaskTray(const IniFile& ini)
{
    return ini.readBool(CommonDefine::Section::Setting, "TaskTray", false);
}

bool NaviOptions::readLoginAutoLogin(const IniFile& ini)
{
    return ini.readBool(CommonDefine::Section::Setting, "LoginAutoLogin", false);
}

BidInfoKeywords BidInfoKeywords::readCreatingDefaults(IniFile& ini)
{
    const QString& s = CommonDefine::Section::SettingGetBidInfo;
    if (!ini.sectionExists(s)) {
        IniFile::Batch batch(ini);
        ini.writeBool(s, "ExistsSection", true);
        ini.writeString(s, "NameItem0", QStringLiteral("氏名："));
        ini.writeString(s, "PostItem0", QStringLiteral("郵便番号："));
        ini.writeString(s, "Address1Item0", QStringLiteral("住所："));
        ini.writeString(s, "TelItem0", QStringLiteral("電話番号："));
        ini.writeString(s, "MailItem0", QStringLiteral("メール："));
        batch.save();
    }
    BidInfoKeywords k;
    k.name = ini.readList(s, "Name");
    k.post = ini.readList(s, "Post");
    k.address1 = ini.readList(s, "Address1");
    k.tel = ini.readList(s, "Tel");
    k.mail = ini.readList(s, "Mail");
    return k;
}
