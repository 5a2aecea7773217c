#include "app/CsvExport.h"

#include "platform/SafeFileWriter.h"

#include <QFileInfo>
#include <QSqlRecord>
#include <QVariant>

namespace CsvExport {

namespace {

bool needsQuotes(const QString& field)
{
    for (const QChar c : field) {
        const char16_t u = c.unicode();
        if ((u >= 0x01 && u <= 0x20) || u == u',' || u == u'"')
            return true;
    }
    return false;
}

// The substitution of the CP932 converter decodes back to U+FFFD, so a U+FFFD in the text would
// pass the round-trip check while being written as that substitution.
constexpr char32_t replacementCharacter = 0xFFFD;

} // namespace

QString quoteField(const QString& field)
{
    if (!needsQuotes(field))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString makeLine(const QStringList& fields)
{
    if (fields.size() == 1 && fields.first().isEmpty())
        return QStringLiteral("\"\"");
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        line += quoteField(fields.at(i));
    }
    return line;
}

char32_t cp932Twin(char32_t c)
{
    switch (c) {
    case 0x301C: // WAVE DASH
        return 0xFF5E;
    case 0x2016: // DOUBLE VERTICAL LINE
        return 0x2225;
    case 0x2212: // MINUS SIGN
        return 0xFF0D;
    case 0x00A2: // CENT SIGN
        return 0xFFE0;
    case 0x00A3: // POUND SIGN
        return 0xFFE1;
    case 0x00AC: // NOT SIGN
        return 0xFFE2;
    case 0x2014: // EM DASH
        return 0x2015;
    case 0x00A5: // YEN SIGN
        return 0xFFE5;
    default:
        return c;
    }
}

QStringList bidderFields(const QSqlRecord& record)
{
    static const QStringList columns{QStringLiteral("Id"),   QStringLiteral("Name"),
                                     QStringLiteral("Post"), QStringLiteral("Address1"),
                                     QStringLiteral("Tel"),  QStringLiteral("MailMain")};
    QStringList fields;
    for (const QString& column : columns)
        fields << (record.contains(column) ? record.value(column).toString() : QString());
    return fields;
}

QString withDefaultSuffix(const QString& fileName)
{
    if (fileName.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QLatin1Char('.') + defaultSuffix;
}

QString doneText(int unwritableCount)
{
    if (unwritableCount <= 0)
        return doneMessage;
    return doneMessage +
           QStringLiteral("（CP932で書けない文字%1個を〓で書きました）").arg(unwritableCount);
}

QString failureText(const QString& error)
{
    return error + openFileHint;
}

Cp932Lines::Cp932Lines()
    : m_encoder("CP932", QStringConverter::Flag::Stateless),
      m_decoder("CP932", QStringConverter::Flag::Stateless)
{
}

void Cp932Lines::addLine(const QStringList& fields)
{
    appendText(makeLine(fields));
    m_bytes.append("\r\n", 2);
}

void Cp932Lines::appendText(const QString& text)
{
    // Twins and U+FFFD are replaced first, so that the whole text can usually be encoded in one
    // step and checked by reading it back.
    QString mapped;
    bool ascii = true;
    int marks = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80)
            continue;
        ascii = false;
        const char32_t twin = c == replacementCharacter ? unwritableMark.unicode() : cp932Twin(c);
        if (twin == c)
            continue;
        if (mapped.isNull())
            mapped = text;
        mapped[i] = QChar(char16_t(twin));
        if (c == replacementCharacter)
            ++marks;
    }
    if (ascii) {
        m_bytes.append(text.toLatin1());
        return;
    }
    const QString& source = mapped.isNull() ? text : mapped;
    m_unwritable += marks;
    const QByteArray encoded = m_encoder.encode(source);
    if (m_decoder.decode(encoded) == source) {
        m_bytes.append(encoded);
        return;
    }
    appendByCharacter(source);
}

void Cp932Lines::appendByCharacter(const QString& text)
{
    static const QByteArray mark = QByteArray("\x81\xac", 2);
    for (const char32_t original : text.toUcs4()) {
        const char32_t c = cp932Twin(original);
        if (c < 0x80) {
            m_bytes.append(char(c));
            continue;
        }
        const QString one = QString::fromUcs4(&c, 1);
        QByteArray encoded;
        if (c != replacementCharacter && !(c >= 0xD800 && c <= 0xDFFF)) {
            encoded = m_encoder.encode(one);
            if (m_decoder.decode(encoded) != one)
                encoded.clear();
        }
        if (encoded.isEmpty()) {
            m_bytes.append(mark);
            ++m_unwritable;
        } else {
            m_bytes.append(encoded);
        }
    }
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    return SafeFileWriter::writeWholeFile(path, bytes, error);
}

} // namespace CsvExport
