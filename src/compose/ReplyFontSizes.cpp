#include "compose/ReplyFontSizes.h"

namespace ReplyFontSizes {

QString caption(int index)
{
    static const QString mnemonics = QStringLiteral("0123456789abcdef");
    return QString::number(sizes[index]) + QStringLiteral("\t(&") + mnemonics.at(index) +
           QStringLiteral(")");
}

int wheelStep(int points, bool towardsUser)
{
    if (towardsUser)
        return points >= wheelMaximum ? points : points + 2;
    return points <= wheelMinimum ? points : points - 2;
}

} // namespace ReplyFontSizes
