#include "site/PageLineReader.h"

#include <algorithm>

PageLineReader::PageLineReader(const QString& text, qsizetype begin, qsizetype end)
{
    begin = std::clamp<qsizetype>(begin, 0, text.size());
    end = std::clamp<qsizetype>(end, begin, text.size());
    m_block = QStringView(text).mid(begin, end - begin);
}

bool PageLineReader::readLine()
{
    if (m_pos >= m_block.size()) {
        m_ended = true;
        return false;
    }
    qsizetype lineEnd = m_block.indexOf(u'\n', m_pos);
    if (lineEnd < 0) {
        m_line = m_block.mid(m_pos);
        m_pos = m_block.size();
    } else {
        m_line = m_block.mid(m_pos, lineEnd - m_pos);
        m_pos = lineEnd + 1;
    }
    return true;
}

PageLineReader::Seek PageLineReader::seek(QStringView marker, int limit, int& counted)
{
    for (;;) {
        if (!readLine())
            return Seek::BlockEnded;
        if (contains(m_line, marker))
            return Seek::Found;
        ++counted;
        if (limit > 0 && counted >= limit)
            return Seek::LimitReached;
    }
}

PageLineReader::Seek PageLineReader::seek(QStringView marker, int limit)
{
    int counted = 0;
    return seek(marker, limit, counted);
}

bool PageLineReader::contains(QStringView line, QStringView marker)
{
    return !marker.isEmpty() && line.contains(marker);
}

namespace PageText {

QStringView slice(QStringView line, qsizetype from, qsizetype to)
{
    if (from < 0 || to > line.size() || to < from)
        return {};
    // A valid but empty slice is still distinguishable from a failed one.
    return to == from ? QStringView(u"") : line.mid(from, to - from);
}

QStringView firstDigitRun(QStringView line)
{
    auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    qsizetype start = 0;
    while (start < line.size() && !isDigit(line[start]))
        ++start;
    if (start == line.size())
        return {};
    qsizetype end = start;
    while (end < line.size() && isDigit(line[end]))
        ++end;
    if (end == line.size())
        return {};
    return line.mid(start, end - start);
}

} // namespace PageText
