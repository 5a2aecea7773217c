#pragma once

#include "compose/ExactDecimal.h"

#include <QString>

// The value of the text a template writes between "%CALC%" and "%/CALC%": numbers of ASCII
// digits and one point, "+", "-", "*", "/" and parentheses, "*" and "/" before "+" and "-", left
// to right among equals. Every other character is passed over without ending a number ("1,000"
// reads 1000, "3,000円" 3000). Sums are exact; products and quotients are floored.
// Throws KeywordError: an operator without two values or an expression without a number
// (calcError), a number that is no number ("1.2.3"), a division by zero, an overflow.
ExactDecimal evaluateCalcExpression(const QString& expression);
