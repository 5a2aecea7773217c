#pragma once

#include <QString>

#include <stdexcept>

// The error that ends a keyword expansion or a %CALC% evaluation without a result. Its message
// is the text the application shows for it.
class KeywordError : public std::runtime_error
{
public:
    explicit KeywordError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }

    // "'text' は整数ではありません": the text is no 64-bit integer.
    static KeywordError notAnInteger(const QString& text);
    // "'text' は浮動小数点数ではありません": the number text is no number.
    static KeywordError notAFloat(const QString& text);
    // An operator without two values, or an expression without a number.
    static KeywordError calcError();
    static KeywordError zeroDivide();       // x / 0
    static KeywordError invalidOperation(); // 0 / 0
    static KeywordError overflow();         // a result out of range
};
