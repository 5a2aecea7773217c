// Feeds arbitrary text to the %CALC% evaluator.
#include "compose/CalcExpression.h"
#include "compose/KeywordError.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString expression =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const ExactDecimal value = evaluateCalcExpression(expression);
        if (value.toGeneralString(15).isEmpty())
            __builtin_trap();
        // The exact text reads back as the same value.
        const QString exact = value.toString();
        const std::optional<ExactDecimal> again =
            ExactDecimal::parse(value.isNegative() ? exact.mid(1) : exact);
        if (!again || (value.isNegative() ? -*again : *again) != value)
            __builtin_trap();
    } catch (const KeywordError&) {
        // Errors of the expression are the evaluator's answer, not a fault.
    }
    return 0;
}
