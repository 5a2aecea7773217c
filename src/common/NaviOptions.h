#pragma once

#include <QString>
#include <QStringList>

class IniFile;

// The options of the `Setting` section as the main window uses them, with its defaults.
struct NaviOptions
{
    int bidFlg = 1;
    QString bidFlgString;
    bool bidDblClickFlgChange = true;
    QString bidBackColor = defaultBidBackColor();
    bool bidDownloadNowDetailed = false;
    bool bidDownloadDetailed = false;
    bool naviKeywordErrorMsg = false;
    int operationBidListDblClick = 0;
    int operationBidListEnter = 1;
    int operationNaviListDblClick = 1;
    int operationNaviListEnter = 0;
    int operationStatusBarClick = 1;
    int operationNaviTemplateTree = 1;
    int operationEvaluationTemplateTree = 1;
    bool loginTaskTrayShowBalloon = false;
    int loginTaskTrayShowMessageTime = 2000;
    bool mailEncloses = true;
    bool confirmationBidDownload = false;
    bool confirmationNaviDownload = false;
    bool confirmationNaviTransmission = false;
    bool confirmationNaviUnsealing = false;
    bool confirmationNaviOpen = false;
    bool confirmationEvaluationTransmission = true;
    bool taskTray = false;

    static QString defaultBidBackColor() { return QStringLiteral("16772829"); }
    // Reads every option but TaskTray (read after the Main section) and LoginAutoLogin.
    static NaviOptions read(const IniFile& ini, bool balloonCapable);
    static bool readTaskTray(const IniFile& ini);
    static bool readLoginAutoLogin(const IniFile& ini);
};

// The five label lists of `SettingGetBidInfo` used to pick bidder data out of message text.
struct BidInfoKeywords
{
    QStringList name;
    QStringList post;
    QStringList address1;
    QStringList tel;
    QStringList mail;

    // Writes the first-run lines when the section does not exist, then reads the lists.
    static BidInfoKeywords readCreatingDefaults(IniFile& ini);
};
