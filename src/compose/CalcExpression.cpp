#include "compose/CalcExpression.h"

#include "compose/KeywordError.h"

#include <QList>

#include <vector>

namespace {

// One element of the postfix sequence: a number text, or an operator when op is set.
struct PostfixElement
{
    QString number;
    char16_t op = 0;
};

bool isNumberChar(char16_t c)
{
    return (c >= u'0' && c <= u'9') || c == u'.';
}

// The expression in postfix order by the operator-stack rules: "(" does not end a number,
// a surplus ")" is passed over, operators left on the stack at the end are dropped.
std::vector<PostfixElement> toPostfix(const QString& expression)
{
    std::vector<PostfixElement> postfix;
    std::vector<char16_t> operators;
    QString number;
    const auto endNumber = [&] {
        if (!number.isEmpty()) {
            postfix.push_back({number, 0});
            number.clear();
        }
    };
    const auto popOperator = [&] {
        postfix.push_back({QString(), operators.back()});
        operators.pop_back();
    };

    const QString text = u'(' + expression + u')';
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (isNumberChar(c)) {
            number += ch;
        } else if (c == u'(') {
            operators.push_back(c);
        } else if (c == u')') {
            endNumber();
            while (!operators.empty() && operators.back() != u'(')
                popOperator();
            if (!operators.empty())
                operators.pop_back();
        } else if (c == u'*' || c == u'/') {
            endNumber();
            if (!operators.empty() && (operators.back() == u'*' || operators.back() == u'/'))
                popOperator();
            operators.push_back(c);
        } else if (c == u'+' || c == u'-') {
            endNumber();
            while (!operators.empty() && operators.back() != u'(')
                popOperator();
            operators.push_back(c);
        }
    }
    return postfix;
}

} // namespace

ExactDecimal evaluateCalcExpression(const QString& expression)
{
    std::vector<ExactDecimal> values;
    for (const PostfixElement& element : toPostfix(expression)) {
        if (element.op == 0) {
            const std::optional<ExactDecimal> value = ExactDecimal::parse(element.number);
            if (!value)
                throw KeywordError::notAFloat(element.number);
            values.push_back(*value);
            continue;
        }
        if (values.size() < 2)
            throw KeywordError::calcError();
        const ExactDecimal b = values.back();
        values.pop_back();
        const ExactDecimal a = values.back();
        values.pop_back();
        switch (element.op) {
        case u'+':
            values.push_back(a + b);
            break;
        case u'-':
            values.push_back(a - b);
            break;
        case u'*':
            values.push_back(a.flooredProduct(b));
            break;
        default:
            values.push_back(a.flooredQuotient(b));
            break;
        }
    }
    if (values.empty())
        throw KeywordError::calcError();
    return values.back();
}
