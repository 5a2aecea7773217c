#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// One text column of a table held as a single UTF-16 buffer with a start and length per row, so
// that a column of many rows costs one allocation instead of one string per cell.
class TextColumn
{
public:
    int size() const { return int(m_start.size()); }
    bool isEmpty() const { return m_start.empty(); }
    void reserve(int rows, qsizetype units);
    void clear();

    void append(QStringView text);
    void append(const char16_t* units, qsizetype count);

    // Valid until the next write to the column.
    QStringView at(int row) const
    {
        return QStringView(m_units.data() + m_start[size_t(row)], m_length[size_t(row)]);
    }
    QString string(int row) const { return at(row).toString(); }
    qsizetype length(int row) const { return m_length[size_t(row)]; }
    // Replaces the text of a row; earlier views of the column become invalid.
    void set(int row, QStringView text);

private:
    void compact();

    std::vector<char16_t> m_units;
    std::vector<qsizetype> m_start;
    std::vector<std::int32_t> m_length;
    qsizetype m_unused = 0; // units of replaced texts still in the buffer
};

// A flag per row, eight rows to a byte.
class BitColumn
{
public:
    int size() const { return m_size; }
    void clear()
    {
        m_words.clear();
        m_size = 0;
    }
    void reserve(int rows) { m_words.reserve(size_t(rows + 63) / 64); }
    void append(bool value)
    {
        if (m_size % 64 == 0)
            m_words.push_back(0);
        ++m_size;
        set(m_size - 1, value);
    }
    bool at(int row) const { return (m_words[size_t(row) / 64] >> (row % 64)) & 1u; }
    void set(int row, bool value)
    {
        const std::uint64_t bit = std::uint64_t(1) << (row % 64);
        if (value)
            m_words[size_t(row) / 64] |= bit;
        else
            m_words[size_t(row) / 64] &= ~bit;
    }

private:
    std::vector<std::uint64_t> m_words;
    int m_size = 0;
};
