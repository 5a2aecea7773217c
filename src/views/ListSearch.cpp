#include "views/ListSearch.h"

namespace ListSearch {

namespace {

// A hit that starts on the low half of a surrogate pair, or ends between the halves, would
// match inside one character.
bool isWholeCharacters(const QString& haystack, qsizetype at, qsizetype length)
{
    if (at > 0 && haystack.at(at).isLowSurrogate() && haystack.at(at - 1).isHighSurrogate())
        return false;
    const qsizetype end = at + length;
    if (end < haystack.size() && haystack.at(end).isLowSurrogate() &&
        haystack.at(end - 1).isHighSurrogate())
        return false;
    return true;
}

} // namespace

qsizetype indexOf(const QString& haystack, const QString& text, qsizetype from)
{
    if (text.isEmpty())
        return -1;
    qsizetype at = haystack.indexOf(text, qMax<qsizetype>(from, 0), Qt::CaseSensitive);
    while (at >= 0 && !isWholeCharacters(haystack, at, text.size()))
        at = haystack.indexOf(text, at + 1, Qt::CaseSensitive);
    return at;
}

qsizetype lastIndexOf(const QString& haystack, const QString& text, qsizetype from)
{
    if (text.isEmpty() || haystack.size() < text.size())
        return -1;
    qsizetype start = from < 0 ? haystack.size() - text.size() : qMin(from, haystack.size());
    while (start >= 0) {
        const qsizetype at = haystack.lastIndexOf(text, start, Qt::CaseSensitive);
        if (at < 0 || isWholeCharacters(haystack, at, text.size()))
            return at;
        start = at - 1;
    }
    return -1;
}

int findNextRow(int rowCount, int start, const RowText& cell, const QString& text)
{
    if (text.isEmpty() || rowCount <= 0)
        return -1;
    const int s = qBound(0, start, rowCount - 1);
    for (int i = 1; i <= rowCount; ++i) {
        const int row = (s + i) % rowCount;
        if (contains(cell(row), text))
            return row;
    }
    return -1;
}

int findPreviousRow(int rowCount, int selected, const RowText& cell, const QString& text)
{
    if (text.isEmpty() || rowCount <= 0)
        return -1;
    if (selected < 0 || selected >= rowCount) {
        for (int row = rowCount - 1; row >= 0; --row) {
            if (contains(cell(row), text))
                return row;
        }
        return -1;
    }
    for (int i = 1; i < rowCount; ++i) {
        const int row = (selected - i + rowCount) % rowCount;
        if (contains(cell(row), text))
            return row;
    }
    return -1;
}

std::optional<BodyHit> findBodyNext(int rowCount, int selected, const PaneState& pane,
                                    const RowText& message, const QString& text)
{
    if (text.isEmpty() || rowCount <= 0)
        return std::nullopt;
    const bool hasSelection = selected >= 0 && selected < rowCount;
    if (hasSelection) {
        const qsizetype at = indexOf(pane.text, text, pane.selectionStart + pane.selectionLength);
        if (at >= 0)
            return BodyHit{selected, at, text.size(), true};
    }
    const int first = hasSelection ? selected + 1 : 0;
    const int count = hasSelection ? rowCount - 1 : rowCount;
    for (int i = 0; i < count; ++i) {
        const int row = (first + i) % rowCount;
        const qsizetype at = indexOf(message(row), text, 0);
        if (at >= 0)
            return BodyHit{row, at, text.size(), false};
    }
    return std::nullopt;
}

std::optional<BodyHit> findBodyPrevious(int rowCount, int selected, const PaneState& pane,
                                        const RowText& message, const QString& text)
{
    if (text.isEmpty() || rowCount <= 0)
        return std::nullopt;
    const bool hasSelection = selected >= 0 && selected < rowCount;
    if (hasSelection && (pane.selectionStart != 0 || pane.selectionLength == 0)) {
        const qsizetype at = lastIndexOf(pane.text, text, pane.selectionStart - 1);
        if (at >= 0)
            return BodyHit{selected, at, text.size(), true};
    }
    const int count = hasSelection ? rowCount - 1 : rowCount;
    const int first = hasSelection ? selected - 1 : rowCount - 1;
    for (int i = 0; i < count; ++i) {
        const int row = ((first - i) % rowCount + rowCount) % rowCount;
        const qsizetype at = lastIndexOf(message(row), text, -1);
        if (at >= 0)
            return BodyHit{row, at, text.size(), false};
    }
    return std::nullopt;
}

qsizetype crlfToShownOffset(const QString& crlfText, qsizetype offset)
{
    const qsizetype end = qMin(offset, crlfText.size());
    qsizetype pairs = 0;
    for (qsizetype i = 1; i < end; ++i) {
        if (crlfText.at(i) == u'\n' && crlfText.at(i - 1) == u'\r')
            ++pairs;
    }
    return offset - pairs;
}

qsizetype shownToCrlfOffset(const QString& crlfText, qsizetype shownOffset)
{
    qsizetype shown = 0;
    qsizetype i = 0;
    while (i < crlfText.size() && shown < shownOffset) {
        if (crlfText.at(i) == u'\r' && i + 1 < crlfText.size() && crlfText.at(i + 1) == u'\n')
            ++i;
        ++i;
        ++shown;
    }
    return i + (shownOffset - shown);
}

} // namespace ListSearch
