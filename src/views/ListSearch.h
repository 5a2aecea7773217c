#pragma once

#include <QString>

#include <functional>
#include <optional>

// Find next and find previous over list rows and message texts. Matching is a case-sensitive
// substring test by characters: a hit never starts or ends inside a character (a surrogate
// pair), and an empty search text matches nothing.
namespace ListSearch {

// The text of one row's searched cell.
using RowText = std::function<QString(int row)>;

// The first occurrence of text that starts at or after from, or -1.
qsizetype indexOf(const QString& haystack, const QString& text, qsizetype from = 0);
// The last occurrence of text that starts at or before from (from < 0: the end), or -1.
qsizetype lastIndexOf(const QString& haystack, const QString& text, qsizetype from = -1);
inline bool contains(const QString& haystack, const QString& text)
{
    return indexOf(haystack, text) >= 0;
}

// Find next and the row search of the listing downloads: rows start + 1 to the last, then rows
// 0 to start (the start row last); start -1 counts as 0. The first matching row, or -1.
int findNextRow(int rowCount, int start, const RowText& cell, const QString& text);

// Find previous from the selected row s: rows s - 1 down to 0, then the last down to s + 1 (s
// itself is not examined); with no selection (-1) every row from the last down to 0.
int findPreviousRow(int rowCount, int selected, const RowText& cell, const QString& text);

// A hit of the message-body search: the row whose message holds it, the offset in that message
// text (CR LF line breaks, counted in characters) and the length of the search text.
struct BodyHit
{
    int row = -1;
    qsizetype offset = -1;
    qsizetype length = 0;
    bool inShownMessage = false; // the hit is in the selected row's message as shown
    bool operator==(const BodyHit&) const = default;
};

// What the message pane shows of the selected row: its text (CR LF) and its selection, both in
// offsets of that text.
struct PaneState
{
    QString text;
    qsizetype selectionStart = 0;
    qsizetype selectionLength = 0;
};

// Forward body search. With a selected row: the shown message from the end of its selection,
// then rows selected + 1 to the last, then 0 to selected - 1, each from its start. With no
// selection: rows 0 to the last.
std::optional<BodyHit> findBodyNext(int rowCount, int selected, const PaneState& pane,
                                    const RowText& message, const QString& text);

// Backward body search. With a selected row: when the pane's selection does not start at 0 or
// is empty, the shown message backward from selection start - 1 (the whole text from its end
// for a caret at 0); then rows selected - 1 down to 0 and the last down to selected + 1, each
// for its last occurrence. With no selection: rows from the last down to 0.
std::optional<BodyHit> findBodyPrevious(int rowCount, int selected, const PaneState& pane,
                                        const RowText& message, const QString& text);

// Offsets between a CR LF text and the same text shown with LF line breaks (as a text widget
// holds it): each CR LF pair is one position of the shown text.
qsizetype crlfToShownOffset(const QString& crlfText, qsizetype offset);
qsizetype shownToCrlfOffset(const QString& crlfText, qsizetype shownOffset);

} // namespace ListSearch
