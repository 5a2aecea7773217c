#include "app/LogJumpLine.h"

namespace LogJumpLine {

std::optional<Target> read(const QString& line)
{
    const QString colon = QStringLiteral("：");
    const qsizetype colonAt = line.indexOf(colon);
    if (colonAt < 0)
        return std::nullopt;
    if (!line.contains(QStringLiteral("新着")) &&
        !line.contains(QStringLiteral("評価をしました")) &&
        !line.contains(QStringLiteral("ナビNo重複")))
        return std::nullopt;
    Target target;
    target.aid = line.left(colonAt);
    if (target.aid.isEmpty())
        return std::nullopt;
    if (line.endsWith(QStringLiteral("の評価をしました"))) {
        target.anyWinner = true;
        return target;
    }
    const qsizetype open = line.lastIndexOf('(');
    const qsizetype close = line.lastIndexOf(')');
    if (open < 0 || close <= open + 1)
        return std::nullopt;
    target.bidId = line.mid(open + 1, close - open - 1);
    return target;
}

} // namespace LogJumpLine
