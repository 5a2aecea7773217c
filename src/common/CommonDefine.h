#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The constants that every part of the program shares: file locations, settings sections,
// table names, marker words and captions.
namespace CommonDefine {

inline const QString applicationTitle = QStringLiteral("テサリー");

QString exeDir();          // the data folder (holds setting.ini and the database)
QString settingIniPath();  // exeDir() + "/setting.ini"

// The two updater programs of the update server, saved into exeDir() when fetched.
inline const QString updateExeName = QStringLiteral("UpdateExe.exe");
inline const QString updateMdbName = QStringLiteral("UpdateMdb.exe");

namespace Section {
inline const QString Main = QStringLiteral("Main");
inline const QString Version = QStringLiteral("Version");
inline const QString Setting = QStringLiteral("Setting");
inline const QString SettingGetBidInfo = QStringLiteral("SettingGetBidInfo");
inline const QString SettingOtherItem = QStringLiteral("SettingOtherItem");
inline const QString Site = QStringLiteral("Site");
inline const QString BrowserWindow = QStringLiteral("BrowserWindow");
inline const QString ReplyWindow = QStringLiteral("ReplyWindow");
inline const QString NaviMessageWindow = QStringLiteral("NaviMessageWindow");
inline const QString NaviWriteWindow = QStringLiteral("NaviWriteWindow");
inline const QString NaviTemplateWindow = QStringLiteral("NaviTemplateWindow");
inline const QString AuctionNaviListWindow = QStringLiteral("AuctionNaviListWindow");
inline const QString EvaluationTemplateWindow = QStringLiteral("EvaluationTemplateWindow");
inline const QString EvaluationWindow = QStringLiteral("EvaluationWindow");
inline const QString EvaluationWriteWindow = QStringLiteral("EvaluationWriteWindow");
inline const QString NaviPrintSetting = QStringLiteral("NaviPrintSetting");
inline const QString FindNaviWindow = QStringLiteral("FindNaviWindow");
inline const QString BidDataEtc = QStringLiteral("BidDataEtc");
} // namespace Section

inline const QString tableBidData = QStringLiteral("T_BidData");
inline const QString tableBidMaster = QStringLiteral("T_BidMaster");

inline const QStringList contactMethodWords = {QStringLiteral("ナビ"), QStringLiteral("メール")};
inline const QStringList evaluationWords = {QStringLiteral("必要"), QStringLiteral("不要")};
inline const QStringList flagCaptions = {QStringLiteral("住所："), QStringLiteral("入金："),
                                         QStringLiteral("発送："), QStringLiteral("評価："),
                                         QStringLiteral("終了：")};
inline const QString flagMarkSet = QStringLiteral("●");
inline const QString flagMarkClear = QString();

inline const QStringList templateKeywords = {
    "%id%",          "%name%",      "%aid%",         "%title%",           "%price%",
    "%price_em%",    "%quantity%",  "%quantity_em%", "%plural_price%",    "%plural_price_em%",
    "%total%",       "%total_em%",  "%carriage%",    "%carriage_em%",     "%sum%",
    "%sum_em%",      "%send_num%",  "%myid%",        "%myname_kana%",     "%myname%",
    "%mypost%",      "%myadd%",     "%mytel%",       "%mymail%",          "%CALC%",
    "%/CALC%",       "%IF%",        "%/IF%",         "%r%"};

struct DefaultFolder
{
    const char* id;
    const char* name;
};
inline constexpr std::array<DefaultFolder, 6> defaultFolders = {{
    {"000", "受信"},
    {"000-000", "受信_その他1"},
    {"000-001", "受信_その他2"},
    {"001", "送信"},
    {"001-000", "送信_その他1"},
    {"001-001", "送信_その他2"},
}};

// The signature footer that the composer appends when PrInsert is set.
QString prFooterText();

} // namespace CommonDefine
