#include "compose/KeywordError.h"

KeywordError::KeywordError(const QString& message) : std::runtime_error(message.toStdString()) {}

KeywordError KeywordError::notAnInteger(const QString& text)
{
    return KeywordError(QStringLiteral("'%1' は整数ではありません").arg(text));
}

KeywordError KeywordError::notAFloat(const QString& text)
{
    return KeywordError(QStringLiteral("'%1' は浮動小数点数ではありません").arg(text));
}

KeywordError KeywordError::calcError()
{
    return KeywordError(QStringLiteral("%CALC%キーワード計算エラー"));
}

KeywordError KeywordError::zeroDivide()
{
    return KeywordError(QStringLiteral("0 による浮動小数点数除算"));
}

KeywordError KeywordError::invalidOperation()
{
    return KeywordError(QStringLiteral("不正な浮動小数点数演算命令"));
}

KeywordError KeywordError::overflow()
{
    return KeywordError(QStringLiteral("浮動小数点数のオーバーフロー"));
}
