#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// A decimal number held exactly: a sign, a whole number of at most 38 digits and how many of
// those digits stand after the point (0 to 38). Sums and differences are exact; digits past the
// 38th significant one are cut off towards zero. Products and quotients are computed exactly and
// then floored (towards minus infinity) to a whole number. A value that does not fit raises
// KeywordError::overflow(); it never wraps.
class ExactDecimal
{
public:
    static constexpr int MaxDigits = 38;

    ExactDecimal() = default;
    static ExactDecimal fromInt64(std::int64_t value);
    // ASCII digits with at most one point and at least one digit ("12", "1.5", ".5", "5.");
    // nullopt for any other text. More than 38 digits before the point raise overflow; digits
    // after the point that do not fit are cut off.
    static std::optional<ExactDecimal> parse(QStringView text);

    ExactDecimal operator+(const ExactDecimal& other) const;
    ExactDecimal operator-(const ExactDecimal& other) const;
    ExactDecimal operator-() const;
    // floor(this × other).
    ExactDecimal flooredProduct(const ExactDecimal& other) const;
    // floor(this ÷ divisor). A zero divisor raises zeroDivide(), or invalidOperation() when this
    // is zero too.
    ExactDecimal flooredQuotient(const ExactDecimal& divisor) const;

    bool isZero() const { return m_magnitude == 0; }
    bool isNegative() const { return m_negative; }
    bool isInteger() const { return m_scale == 0; }
    bool operator==(const ExactDecimal& other) const = default;

    // The exact value: "-12.5", "0", "1000".
    QString toString() const;
    // The general form with at most `significant` significant digits, rounded half away from
    // zero: fixed-point while the value has no more than that many digits before the point and
    // is at least 0.00001 in size ("1080", "2.5", "0.00001"), otherwise exponent form ("1E15",
    // "-1.5E-6").
    QString toGeneralString(int significant = 15) const;

private:
    using Magnitude = unsigned __int128;
    ExactDecimal(bool negative, Magnitude magnitude, int scale)
        : m_negative(negative && magnitude != 0), m_magnitude(magnitude), m_scale(scale)
    {
    }
    friend struct ExactDecimalAccess;

    bool m_negative = false;
    Magnitude m_magnitude = 0; // below 10^38, without trailing zeros after the point
    int m_scale = 0;
};
