#include "compose/ExactDecimal.h"

#include "compose/KeywordError.h"

#include <algorithm>
#include <array>

namespace {

using u64 = std::uint64_t;
using u128 = unsigned __int128;

constexpr u128 pow10u128(int n)
{
    u128 value = 1;
    for (int i = 0; i < n; ++i)
        value *= 10;
    return value;
}

constexpr u128 magnitudeLimit = pow10u128(ExactDecimal::MaxDigits); // 10^38 < 2^127
constexpr u64 tenToThe19 = 10000000000000000000ull;

// An unsigned 256-bit whole number, enough for the product of two magnitudes or a magnitude
// shifted by 38 decimal places.
struct U256
{
    std::array<u64, 4> limb{}; // least significant first

    static U256 from(u128 value)
    {
        U256 x;
        x.limb[0] = u64(value);
        x.limb[1] = u64(value >> 64);
        return x;
    }
    bool isZero() const { return (limb[0] | limb[1] | limb[2] | limb[3]) == 0; }
    // True when the value is below 10^38, which then is its low 128 bits.
    bool fitsMagnitude() const { return limb[2] == 0 && limb[3] == 0 && low128() < magnitudeLimit; }
    u128 low128() const { return (u128(limb[1]) << 64) | limb[0]; }
    bool bit(int i) const { return (limb[i / 64] >> (i % 64)) & 1; }
    void setBit(int i) { limb[i / 64] |= u64(1) << (i % 64); }

    // x × factor; the callers stay below 2^256.
    void multiplySmall(u64 factor)
    {
        u128 carry = 0;
        for (u64& l : limb) {
            const u128 part = u128(l) * factor + carry;
            l = u64(part);
            carry = part >> 64;
        }
    }
    // x ÷ divisor in place; returns the remainder.
    u64 divideSmall(u64 divisor)
    {
        u128 remainder = 0;
        for (int i = 3; i >= 0; --i) {
            const u128 current = (remainder << 64) | limb[i];
            limb[i] = u64(current / divisor);
            remainder = current % divisor;
        }
        return u64(remainder);
    }
    void multiplyPow10(int n)
    {
        for (; n >= 19; n -= 19)
            multiplySmall(tenToThe19);
        u64 factor = 1;
        for (int i = 0; i < n; ++i)
            factor *= 10;
        multiplySmall(factor);
    }
    void increment()
    {
        for (u64& l : limb)
            if (++l != 0)
                break;
    }
    void shiftLeftOne()
    {
        for (int i = 3; i > 0; --i)
            limb[i] = (limb[i] << 1) | (limb[i - 1] >> 63);
        limb[0] <<= 1;
    }
    friend bool operator<(const U256& a, const U256& b)
    {
        for (int i = 3; i >= 0; --i)
            if (a.limb[i] != b.limb[i])
                return a.limb[i] < b.limb[i];
        return false;
    }
    friend U256 operator+(const U256& a, const U256& b)
    {
        U256 sum;
        u64 carry = 0;
        for (int i = 0; i < 4; ++i) {
            const u128 part = u128(a.limb[i]) + b.limb[i] + carry;
            sum.limb[i] = u64(part);
            carry = u64(part >> 64);
        }
        return sum;
    }
    // a − b for a ≥ b.
    friend U256 operator-(const U256& a, const U256& b)
    {
        U256 difference;
        u64 borrow = 0;
        for (int i = 0; i < 4; ++i) {
            const u64 subtrahend = b.limb[i] + borrow;
            const bool wrapped = borrow && subtrahend == 0;
            difference.limb[i] = a.limb[i] - subtrahend;
            borrow = (wrapped || a.limb[i] < subtrahend) ? 1 : 0;
        }
        return difference;
    }
};

U256 multiply(u128 a, u128 b)
{
    const u64 a0 = u64(a), a1 = u64(a >> 64), b0 = u64(b), b1 = u64(b >> 64);
    U256 product;
    const u128 p00 = u128(a0) * b0, p01 = u128(a0) * b1, p10 = u128(a1) * b0, p11 = u128(a1) * b1;
    product.limb[0] = u64(p00);
    const u128 middle = (p00 >> 64) + u64(p01) + u64(p10);
    product.limb[1] = u64(middle);
    const u128 upper = (middle >> 64) + (p01 >> 64) + (p10 >> 64) + u64(p11);
    product.limb[2] = u64(upper);
    product.limb[3] = u64((upper >> 64) + (p11 >> 64));
    return product;
}

// numerator ÷ denominator (not zero), by shift and subtract; *inexact tells a remainder.
U256 divide(const U256& numerator, const U256& denominator, bool* inexact)
{
    U256 quotient, remainder;
    for (int i = 255; i >= 0; --i) {
        remainder.shiftLeftOne();
        if (numerator.bit(i))
            remainder.limb[0] |= 1;
        if (!(remainder < denominator)) {
            remainder = remainder - denominator;
            quotient.setBit(i);
        }
    }
    *inexact = !remainder.isZero();
    return quotient;
}

QString digitsOf(u128 value)
{
    if (value == 0)
        return QStringLiteral("0");
    char buffer[40];
    int at = 40;
    while (value != 0) {
        buffer[--at] = char('0' + int(value % 10));
        value /= 10;
    }
    return QString::fromLatin1(buffer + at, 40 - at);
}

} // namespace

struct ExactDecimalAccess
{
    // The value sign × magnitude ÷ 10^scale, brought to its stored form: no trailing zeros
    // after the point, digits past the 38th cut off, overflow when the whole part is too long.
    static ExactDecimal make(bool negative, U256 magnitude, int scale)
    {
        while (scale > 0 && !magnitude.isZero()) {
            U256 shorter = magnitude;
            if (shorter.divideSmall(10) != 0 && magnitude.fitsMagnitude())
                break;
            magnitude = shorter;
            --scale;
        }
        if (magnitude.isZero())
            scale = 0;
        if (!magnitude.fitsMagnitude())
            throw KeywordError::overflow();
        return ExactDecimal(negative, magnitude.low128(), scale);
    }
};

ExactDecimal ExactDecimal::fromInt64(std::int64_t value)
{
    const bool negative = value < 0;
    const u128 magnitude = negative ? u128(-(__int128(value))) : u128(value);
    return ExactDecimal(negative, magnitude, 0);
}

std::optional<ExactDecimal> ExactDecimal::parse(QStringView text)
{
    qsizetype point = -1;
    int digits = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            ++digits;
        } else if (c == u'.' && point < 0) {
            point = i;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    const QStringView whole = point < 0 ? text : text.left(point);
    const QStringView fraction = point < 0 ? QStringView() : text.mid(point + 1);

    u128 magnitude = 0;
    int wholeDigits = 0;
    for (QChar c : whole) {
        if (wholeDigits == 0 && c == u'0')
            continue;
        if (++wholeDigits > MaxDigits)
            throw KeywordError::overflow();
        magnitude = magnitude * 10 + (c.unicode() - u'0');
    }
    int scale = 0;
    for (QChar c : fraction) {
        if (scale == MaxDigits || magnitude >= magnitudeLimit / 10)
            break;
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        ++scale;
    }
    return ExactDecimalAccess::make(false, U256::from(magnitude), scale);
}

ExactDecimal ExactDecimal::operator+(const ExactDecimal& other) const
{
    const int scale = std::max(m_scale, other.m_scale);
    U256 a = U256::from(m_magnitude), b = U256::from(other.m_magnitude);
    a.multiplyPow10(scale - m_scale);
    b.multiplyPow10(scale - other.m_scale);
    if (m_negative == other.m_negative)
        return ExactDecimalAccess::make(m_negative, a + b, scale);
    if (b < a)
        return ExactDecimalAccess::make(m_negative, a - b, scale);
    return ExactDecimalAccess::make(other.m_negative, b - a, scale);
}

ExactDecimal ExactDecimal::operator-() const
{
    return ExactDecimal(!m_negative, m_magnitude, m_scale);
}

ExactDecimal ExactDecimal::operator-(const ExactDecimal& other) const
{
    return *this + -other;
}

ExactDecimal ExactDecimal::flooredProduct(const ExactDecimal& other) const
{
    U256 product = multiply(m_magnitude, other.m_magnitude);
    bool inexact = false;
    for (int scale = m_scale + other.m_scale; scale > 0;) {
        const int step = std::min(scale, 19);
        u64 divisor = 1;
        for (int i = 0; i < step; ++i)
            divisor *= 10;
        inexact |= product.divideSmall(divisor) != 0;
        scale -= step;
    }
    const bool negative = m_negative != other.m_negative;
    if (negative && inexact)
        product.increment();
    return ExactDecimalAccess::make(negative, product, 0);
}

ExactDecimal ExactDecimal::flooredQuotient(const ExactDecimal& divisor) const
{
    if (divisor.isZero())
        throw isZero() ? KeywordError::invalidOperation() : KeywordError::zeroDivide();
    U256 numerator = U256::from(m_magnitude), denominator = U256::from(divisor.m_magnitude);
    numerator.multiplyPow10(divisor.m_scale);
    denominator.multiplyPow10(m_scale);
    bool inexact = false;
    U256 quotient = divide(numerator, denominator, &inexact);
    const bool negative = m_negative != divisor.m_negative;
    if (negative && inexact)
        quotient.increment();
    return ExactDecimalAccess::make(negative, quotient, 0);
}

QString ExactDecimal::toString() const
{
    QString digits = digitsOf(m_magnitude);
    if (m_scale > 0) {
        if (digits.size() <= m_scale)
            digits.prepend(QString(m_scale + 1 - digits.size(), u'0'));
        digits.insert(digits.size() - m_scale, u'.');
    }
    return m_negative ? u'-' + digits : digits;
}

QString ExactDecimal::toGeneralString(int significant) const
{
    if (isZero())
        return QStringLiteral("0");
    significant = std::clamp(significant, 1, MaxDigits);
    QString digits = digitsOf(m_magnitude);
    // The first digit stands for 10^exponent.
    int exponent = int(digits.size()) - m_scale - 1;
    if (digits.size() > significant) {
        const bool roundUp = digits.at(significant) >= u'5';
        digits.truncate(significant);
        if (roundUp) {
            qsizetype i = digits.size() - 1;
            while (i >= 0 && digits.at(i) == u'9')
                digits[i--] = u'0';
            if (i >= 0) {
                digits[i] = QChar(digits.at(i).unicode() + 1);
            } else {
                digits.prepend(u'1');
                digits.chop(1);
                ++exponent;
            }
        }
    }
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);

    QString text;
    if (exponent < significant && exponent >= -5) {
        if (exponent >= 0) {
            if (digits.size() <= exponent + 1) {
                text = digits + QString(exponent + 1 - digits.size(), u'0');
            } else {
                text = digits.left(exponent + 1) + u'.' + digits.mid(exponent + 1);
            }
        } else {
            text = QStringLiteral("0.") + QString(-exponent - 1, u'0') + digits;
        }
    } else {
        text = digits.left(1);
        if (digits.size() > 1)
            text += u'.' + digits.mid(1);
        text += u'E' + QString::number(exponent);
    }
    return m_negative ? u'-' + text : text;
}
