#include "common/TextColumn.h"

#include <algorithm>
#include <cstring>

void TextColumn::reserve(int rows, qsizetype units)
{
    m_start.reserve(size_t(rows));
    m_length.reserve(size_t(rows));
    m_units.reserve(size_t(units));
}

void TextColumn::clear()
{
    m_units.clear();
    m_start.clear();
    m_length.clear();
    m_unused = 0;
}

void TextColumn::append(QStringView text)
{
    append(reinterpret_cast<const char16_t*>(text.utf16()), text.size());
}

void TextColumn::append(const char16_t* units, qsizetype count)
{
    m_start.push_back(qsizetype(m_units.size()));
    m_length.push_back(std::int32_t(count));
    if (count > 0)
        m_units.insert(m_units.end(), units, units + count);
}

void TextColumn::set(int row, QStringView text)
{
    const size_t r = size_t(row);
    const qsizetype old = m_length[r];
    const auto* units = reinterpret_cast<const char16_t*>(text.utf16());
    if (text.size() <= old) {
        // Fits where the old text was: the rest of its place stays unused.
        if (text.size() > 0)
            std::memmove(m_units.data() + m_start[r], units,
                         size_t(text.size()) * sizeof(char16_t));
        m_unused += old - text.size();
    } else {
        // The text may be a view into this buffer: copy it before the buffer grows.
        const std::vector<char16_t> copy(units, units + text.size());
        m_start[r] = qsizetype(m_units.size());
        m_units.insert(m_units.end(), copy.begin(), copy.end());
        m_unused += old;
    }
    m_length[r] = std::int32_t(text.size());
    if (m_unused > 65536 && m_unused > qsizetype(m_units.size()) / 2)
        compact();
}

void TextColumn::compact()
{
    std::vector<char16_t> units;
    units.reserve(m_units.size() - size_t(m_unused));
    for (size_t r = 0; r < m_start.size(); ++r) {
        const qsizetype start = qsizetype(units.size());
        units.insert(units.end(), m_units.begin() + m_start[r],
                     m_units.begin() + m_start[r] + m_length[r]);
        m_start[r] = start;
    }
    m_units = std::move(units);
    m_unused = 0;
}
