#include "platform/JsonKeyList.h"

void JsonKeyList::reserve(qsizetype rows, qsizetype charactersPerRow)
{
    m_text.reserve(rows * charactersPerRow + 2);
}

void JsonKeyList::beginRow()
{
    m_text += m_rows == 0 ? QStringLiteral("[[") : QStringLiteral("],[");
    ++m_rows;
    m_rowEmpty = true;
}

void JsonKeyList::add(const QString& text)
{
    if (!m_rowEmpty)
        m_text += QLatin1Char(',');
    m_rowEmpty = false;
    // Quotes, backslashes and control characters escaped; everything else as it stands.
    m_text += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
            m_text += QLatin1Char('\\');
            m_text += c;
        } else if (c.unicode() < 0x20) {
            m_text += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            m_text += c;
        }
    }
    m_text += QLatin1Char('"');
}

void JsonKeyList::add(qint64 number)
{
    if (!m_rowEmpty)
        m_text += QLatin1Char(',');
    m_rowEmpty = false;
    m_text += QString::number(number);
}

QString JsonKeyList::numbers(const std::vector<qint64>& values)
{
    QString text;
    text.reserve(qsizetype(values.size()) * 8 + 2);
    text += QLatin1Char('[');
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(',');
        text += QString::number(values[i]);
    }
    text += QLatin1Char(']');
    return text;
}

QString JsonKeyList::text() const
{
    if (m_rows == 0)
        return QStringLiteral("[]");
    return m_text + QStringLiteral("]]");
}
