#include "common/CommonDefine.h"

#include "platform/DataFolder.h"

namespace CommonDefine {

QString exeDir()
{
    return DataFolder::path();
}

QString settingIniPath()
{
    return DataFolder::filePath(QStringLiteral("setting.ini"));
}

QString prFooterText()
{
    const QString rule(41, '-');
    return QStringLiteral("\r\n\r\n") + rule + QStringLiteral("\r\n") +
           QStringLiteral("ナビ連絡支援ソフトミルカノ(フリーウエア)\r\n") +
           QStringLiteral("https://tessaly.example.jp/\r\n") +
           QStringLiteral("このメッセージはテサリーで作成しています\r\n") + rule;
}

} // namespace CommonDefine
