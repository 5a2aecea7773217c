#pragma once

#include <QString>

#include <optional>

// Reads a line of the message log that names a transaction: the message download's and the
// duplicate clean-up's lines (auction id, "：", …, the winner id in parentheses at the end) and
// the feedback post's line (auction id, "：", title, "の評価をしました"), which names no winner.
namespace LogJumpLine {

struct Target
{
    QString aid;
    QString bidId;          // empty for a feedback line
    bool anyWinner = false; // a feedback line: the listing's first row of any winner
};

// The transaction the line names; nothing for any other line.
std::optional<Target> read(const QString& line);

} // namespace LogJumpLine
