#pragma once

#include <QString>
#include <QStringView>

// Reads one block of a fetched page line by line, as the site's page scanners walk it: a line
// ends at a line feed (not part of the line; a carriage return stays), and the block's bounds
// are never crossed. Searches are plain substring searches; an empty marker never matches.
class PageLineReader
{
public:
    enum class Seek { Found, LimitReached, BlockEnded };

    // The block is [begin, end) of text, clamped to the text; text must outlive the reader.
    PageLineReader(const QString& text, qsizetype begin, qsizetype end);

    // Moves to the next line. At the end of the block it fails, leaves the current line as it
    // was and marks the block as ended.
    bool readLine();
    QStringView line() const { return m_line; }
    bool ended() const { return m_ended; }

    // Reads lines until one contains marker. Every line read without it adds one to counted;
    // when counted reaches limit (limit > 0) the search gives up with LimitReached.
    Seek seek(QStringView marker, int limit, int& counted);
    Seek seek(QStringView marker, int limit = 0);

    static bool contains(QStringView line, QStringView marker);

private:
    QStringView m_block;
    qsizetype m_pos = 0;
    QStringView m_line;
    bool m_ended = false;
};

// Slices of a line that never reach outside it: an empty optional-like result is a null
// QStringView when the bounds do not form a slice.
namespace PageText {

// The text of line in [from, to); null when from < 0, to > size or to < from.
QStringView slice(QStringView line, qsizetype from, qsizetype to);
// The first run of decimal digits '0'-'9' in line; null when there is none or it runs to the
// line's end.
QStringView firstDigitRun(QStringView line);

} // namespace PageText
